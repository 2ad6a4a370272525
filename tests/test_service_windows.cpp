// The band-limit window and the password windows: their rules as plain
// functions, and the windows reached from the main window's menus.
#include "band_limits_edit.h"
#include "band_set_dialog.h"
#include "cli.h"
#include "codecs.h"
#include "main_window.h"
#include "message_answer.h"
#include "pages.h"
#include "password_dialogs.h"
#include "pty_radio_host.h"
#include "simulated_radio.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace vkt {
namespace {

// ---- rules ---------------------------------------------------------------------

TEST(BandLimitRules, EnteredTextIsNormalised)
{
    const struct {
        const char *typed;
        const char *shown; // nullptr: not a number, the limit keeps its value
    } cases[] = {
        {"100", "136.00000"},      {"180", "174.00000"},      {"300", "260.00000"},
        {"600", "520.00000"},      {"210", "210.00000"},      {"146.0051", "146.00000"},
        {"146.0075", "146.00750"}, {"146.0101", "146.00625"}, {"", "136.00000"},
        {"146.", "146.00000"},     {".5", "136.00000"},       {"999999999", "520.00000"},
        {"174", "174.00000"},      {"200", "200.00000"},      {"not a number", nullptr},
        {"1x5", nullptr},          {"1.2.3", nullptr},        {".", nullptr},
    };
    for (const auto &c : cases) {
        const std::optional<std::uint32_t> hz = CommitBandLimitText(c.typed);
        if (c.shown)
            EXPECT_EQ(hz ? ChannelFreqText(*hz) : "(kept)", c.shown) << '"' << c.typed << '"';
        else
            EXPECT_FALSE(hz.has_value()) << '"' << c.typed << '"';
    }
}

TEST(BandLimitRules, TypingCorrection)
{
    const struct {
        const char *typed;
        const char *kept;
    } cases[] = {
        {"1234567890", "123456789"}, {".", ""}, {"146.0.5", "146.05"},
        {"1..2.", "1.2"},            {"146.00625", "146.00625"}, {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CorrectBandLimitTyping(c.typed), c.kept) << '"' << c.typed << '"';
}

TEST(BandLimitRules, TextThatIsNoNumber)
{
    for (const char *text : {"abc", "1.2.3", ".", "14 6", "-146"})
        EXPECT_FALSE(ParseBandLimitText(text).has_value()) << text;
    EXPECT_EQ(ParseBandLimitText(""), 0u);
}

TEST(BandLimitRules, Verdict)
{
    const BandLimits current{};
    const struct {
        const char *name;
        std::function<void(BandLimitValues &)> edit;
        BandLimitsVerdict verdict;
    } cases[] = {
        {"unchanged", [](BandLimitValues &) {}, BandLimitsVerdict::Unchanged},
        {"UHF Tx min above max", [](BandLimitValues &v) { v[0] = 470000000, v[1] = 400000000; },
         BandLimitsVerdict::Inconsistent},
        {"VHF Rx min equal to max", [](BandLimitValues &v) { v[6] = v[7]; }, BandLimitsVerdict::Inconsistent},
        {"UHF Rx max below min", [](BandLimitValues &v) { v[3] = 350000000; }, BandLimitsVerdict::Inconsistent},
        {"VHF Tx max changed", [](BandLimitValues &v) { v[5] = 160000000; }, BandLimitsVerdict::Changed},
        {"UHF Rx min changed", [](BandLimitValues &v) { v[2] = 420000000; }, BandLimitsVerdict::Changed},
    };
    for (const auto &c : cases) {
        BandLimitValues v = BandLimitsToValues(current);
        c.edit(v);
        EXPECT_EQ(JudgeBandLimits(v, current), c.verdict) << c.name;
    }
}

TEST(BandLimitRules, ApplyDerivesTheMaximumOffsets)
{
    BandLimits l{};
    ApplyBandLimits(l, {320000000, 520000000, 320000000, 520000000, 140000000, 150000000, 136000000, 174000000});
    EXPECT_EQ(l.uhfTxMin, 320000000u);
    EXPECT_EQ(l.vhfRxMax, 174000000u);
    EXPECT_EQ(l.uhfMaxOffset, 99987500u); // 200 MHz is beyond what an offset can hold
    EXPECT_EQ(l.vhfMaxOffset, 10000000u);
}

TEST(BandLimitRules, NamesRoundTrip)
{
    for (std::size_t i = 0; i < kBandLimitCount; ++i)
        EXPECT_EQ(BandLimitByName(BandLimitName(BandLimit(i))), BandLimit(i));
    EXPECT_FALSE(BandLimitByName("U_Tx min").has_value());
}

TEST(PasswordRules, AccessCodes)
{
    const struct {
        const char *typed;
        ServiceWindow opens;
    } cases[] = {
        {"pvzj73", ServiceWindow::Adjustment}, {"mqwhaze", ServiceWindow::BandLimits},
        {"Mqwhaze", ServiceWindow::None},      {"PVZJ73", ServiceWindow::None},
        {"", ServiceWindow::None},             {"mqwhaze ", ServiceWindow::None},
        {"pvzj7", ServiceWindow::None},        {"mqwhazemqwhaze", ServiceWindow::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ServiceWindowForCode(c.typed), c.opens) << '"' << c.typed << '"';
}

TEST(PasswordRules, StoredPasswordField)
{
    const struct {
        const char *typed;
        const char *stored;
    } cases[] = {
        {"", ""}, {"abc", "abc"}, {"abcdefghijkl", "abcdefghijkl"}, {"abcdefghijklm", "abcdefghijkl"},
    };
    for (const auto &c : cases) {
        std::uint8_t field[13];
        std::memset(field, 'x', sizeof field);
        StorePasswordField(field, c.typed);
        EXPECT_STREQ(reinterpret_cast<const char *>(field), c.stored) << c.typed;
        EXPECT_EQ(field[12], 0) << c.typed;
    }
}

TEST(PasswordRules, TextBecomesOneBytePerCharacter)
{
    const struct {
        std::string text; // UTF-8
        const char *bytes; // nullptr: no password can hold it
    } cases[] = {
        {"", ""},
        {"Secret12", "Secret12"},
        {"\x7F ~", "\x7F ~"},
        {"é", "\xE9"},
        {"\xC2\x80", "\x80"},            // U+0080, the first two-byte character
        {"ÿÿ", "\xFF\xFF"},              // U+00FF, the last one kept
        {"Āb", nullptr},                 // U+0100
        {"中文", nullptr},
        {"a😀", nullptr},
        {std::string("a\0b", 3), nullptr}, // a zero would end the stored text
        {"\xE9", nullptr},               // Latin-1, not UTF-8
        {"\xC3", nullptr},               // cut short
        {"\xC3(", nullptr},              // no continuation byte
        {"\xC1\xBF", nullptr},           // over-long form of U+007F
        {"\xE0\x81\x81", nullptr},       // over-long form of U+0041
        {"\x80", nullptr},               // a continuation byte alone
    };
    for (const auto &c : cases) {
        const std::optional<std::string> bytes = PasswordBytesFromUtf8(c.text);
        if (c.bytes)
            EXPECT_EQ(bytes.value_or("(refused)"), c.bytes) << c.text;
        else
            EXPECT_FALSE(bytes.has_value()) << c.text;
    }
}

TEST(PasswordRules, Match)
{
    EXPECT_TRUE(PasswordsMatch("", ""));
    EXPECT_TRUE(PasswordsMatch("Secret12", "Secret12"));
    EXPECT_FALSE(PasswordsMatch("Secret12", "secret12"));
    EXPECT_FALSE(PasswordsMatch("Secret1", "Secret12"));
}

// ---- windows -------------------------------------------------------------------

// Types `text` into the line edit `edit` of the window, replacing what it held.
void TypeInto(QWidget *w, const char *edit, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(edit);
    ASSERT_NE(e, nullptr) << edit;
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}

TEST(BandSetWindow, KeysAreFilteredAndLeavingNormalises)
{
    BandLimits limits{};
    bool taken = false;
    TBandSetDlg dialog(limits, [&](const BandLimitValues &) { taken = true; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.eBand_U_Tx_MIN->text(), "400.00000");
    EXPECT_EQ(dialog.eBand_V_Rx_MAX->text(), "174.00000");
    const struct {
        const char *typed;
        const char *shown;
    } cases[] = {{"1a0-0", "136.00000"}, {"146.0.101", "146.00625"}, {"1234567890", "520.00000"}};
    for (const auto &c : cases) {
        TypeInto(&dialog, "eBand_V_Tx_MIN", c.typed);
        dialog.eBand_V_Tx_MAX->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(dialog.eBand_V_Tx_MIN->text(), c.shown) << c.typed;
    }
    EXPECT_FALSE(taken);
}

// Typing is filtered by the edits' key filter; pasting is not. A pasted
// text that is not a number leaves the limit the edit held before, and the
// user is told, whether the edit is left or OK is pressed with the text
// still in it (then the window stays open).
TEST(BandSetWindow, PastedTextThatIsNoNumberKeepsTheLimit)
{
    BandLimits limits{};
    std::optional<BandLimitValues> taken;
    TBandSetDlg dialog(limits, [&](const BandLimitValues &v) { taken = v; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto noConfirmation = std::make_unique<ModalAnswer>("TMyWarnDlg_2", Click("CancelBtn"));
    QLineEdit *e = dialog.eBand_V_Tx_MAX;
    // The edit holds a limit of its own first.
    TypeInto(&dialog, "eBand_V_Tx_MAX", "150");
    dialog.eBand_V_Rx_MAX->setFocus();
    QApplication::processEvents();
    const BandLimitValues held = dialog.values();
    ASSERT_EQ(held[std::size_t(BandLimit::VTxMax)], 150000000u);
    auto paste = [&](const char *text) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        // Back from a message box: the window is active again, as the
        // window system makes it.
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        e->setFocus();
        e->selectAll();
        e->paste(); // as the context menu's Paste does
        EXPECT_EQ(e->text().toStdString(), text);
    };

    for (const char *pasted : {"abc", "1x5", "14 6", "-146", "1e2"}) {
        SCOPED_TRACE(pasted);
        paste(pasted);
        MessageAnswer message;
        QTest::keyClick(e, Qt::Key_Tab);
        EXPECT_TRUE(message.waitForOne());
        EXPECT_TRUE(message.texts.value(0).contains(QString::fromUtf8(pasted)))
            << message.texts.value(0).toStdString();
        EXPECT_EQ(e->text().toStdString(), "150.00000");
        EXPECT_EQ(dialog.values(), held);
    }

    // OK pressed with the Enter key while the text is still in the edit.
    paste("1x5");
    {
        MessageAnswer message;
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_TRUE(message.waitForOne());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(e->text().toStdString(), "150.00000");
        EXPECT_EQ(dialog.focusWidget(), e);
    }
    // OK clicked with the mouse: leaving the edit refuses the text, and OK
    // says so once and stays open.
    paste("abc");
    {
        MessageAnswer message;
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
        EXPECT_TRUE(message.waitForOne());
        QTest::qWait(50);
        EXPECT_EQ(message.texts.size(), 1) << message.texts.join('|').toStdString();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(e->text().toStdString(), "150.00000");
    }
    EXPECT_FALSE(noConfirmation->seen);
    noConfirmation.reset();
    EXPECT_FALSE(taken);
    EXPECT_EQ(dialog.values(), held);

    // The limit kept is the one OK then takes.
    ModalAnswer confirm("TMyWarnDlg_2", Click("OKBtn"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 3000));
    EXPECT_TRUE(confirm.seen);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, held);
}

class ServiceWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vkt-service-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        configPath = (dir / "_config.ini").string();
        TAppLang::instance().setSystemLangId(0x0409);
        session = std::make_unique<AppSession>();
        window = std::make_unique<TForm1>(*session, configPath);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        ModalAnswer no("TMyWarnDlg_3", Click("NoBtn"));
        window->close();
        window.reset();
        session.reset();
        fs::remove_all(dir);
    }

    // Opens the band-limit window through the access-code box, lets `edit`
    // change it, presses its OK and answers the confirmation with `answer`.
    // Returns whether the window opened and whether it asked.
    std::pair<bool, bool> changeLimits(const QString &code, std::function<void(QWidget *)> edit,
                                       const char *answer = "CancelBtn")
    {
        ModalAnswer box("TPasswordDlg", [&](QWidget *w) {
            TypeInto(w, "eInput", code);
            ClickButton(w, "OKBtn");
        });
        ModalAnswer limits("TBandSetDlg", [&](QWidget *w) {
            edit(w);
            ClickButton(w, "OKBtn");
        });
        ModalAnswer confirm("TMyWarnDlg_2", Click(answer));
        window->MenuAdjustment->trigger();
        EXPECT_TRUE(box.seen);
        return {limits.seen, confirm.seen};
    }

    bool dataIsDefault() const
    {
        auto fresh = std::make_unique<ProgramState>();
        SetDefaultAll(*fresh);
        return std::memcmp(&fresh->data, &session->state().data, sizeof(RadioData)) == 0;
    }

    fs::path dir;
    std::string configPath;
    std::unique_ptr<AppSession> session;
    std::unique_ptr<TForm1> window;
};

TEST_F(ServiceWindowTest, WrongAccessCodesOpenNothing)
{
    for (const char *code : {"", "Mqwhaze", "PVZJ73"}) {
        const auto [opened, asked] = changeLimits(code, [](QWidget *) {});
        EXPECT_FALSE(opened) << '"' << code << '"';
        EXPECT_FALSE(asked) << code;
    }
}

TEST_F(ServiceWindowTest, LimitsThatChangeNothing)
{
    {
        Arrangement arranged(session->project);
        SetChannelInUse(arranged.data(), 200);
        arranged.data().squelchLevel = 9;
    }
    const BandLimits before = session->state().limits;
    const struct {
        const char *name;
        std::function<void(QWidget *)> edit;
        bool asks;
    } cases[] = {
        {"minimum above maximum",
         [](QWidget *w) {
             TypeInto(w, "eBand_U_Tx_MIN", "470");
             TypeInto(w, "eBand_U_Tx_MAX", "400");
         },
         false},
        {"unchanged values", [](QWidget *w) { TypeInto(w, "eBand_U_Tx_MIN", "400"); }, false},
        {"Cannel in the confirmation", [](QWidget *w) { TypeInto(w, "eBand_V_Tx_MAX", "160"); }, true},
    };
    for (const auto &c : cases) {
        const auto [opened, asked] = changeLimits("mqwhaze", c.edit, "CancelBtn");
        EXPECT_TRUE(opened) << c.name;
        EXPECT_EQ(asked, c.asks) << c.name;
        EXPECT_EQ(session->state().limits, before) << c.name;
        EXPECT_TRUE(IsChannelInUse(session->state().data, 200)) << c.name;
        EXPECT_EQ(session->state().data.squelchLevel, 9) << c.name;
    }
}

TEST_F(ServiceWindowTest, ConfirmedLimitsClearTheDataAndAreStored)
{
    {
        Arrangement arranged(session->project);
        SetChannelInUse(arranged.data(), 200);
        arranged.data().squelchLevel = 9;
    }
    session->ports.Port = 3;
    // The value still being typed when OK is pressed counts.
    const auto [opened, asked] = changeLimits(
        "mqwhaze",
        [](QWidget *w) {
            TypeInto(w, "eBand_U_Rx_MAX", "480");
            TypeInto(w, "eBand_V_Tx_MAX", "146.0101");
        },
        "OKBtn");
    ASSERT_TRUE(opened);
    EXPECT_TRUE(asked);
    EXPECT_EQ(session->state().limits.uhfRxMax, 480000000u);
    EXPECT_EQ(session->state().limits.vhfTxMax, 146006250u);
    EXPECT_EQ(session->state().limits.vhfMaxOffset, 146006250u - 136000000u);
    EXPECT_TRUE(dataIsDefault());
    EXPECT_FALSE(IsChannelInUse(session->state().data, 200));
    EXPECT_EQ(session->ports.Port, 1);
    EXPECT_TRUE(window->channelPage->sFreqBand->text().contains("Rx:400.00000-480.00000"))
        << window->channelPage->sFreqBand->text().toStdString();
    EXPECT_TRUE(window->channelPage->sFreqBand->text().contains("V[Tx:136.00000-146.00625"));
    AppConfig stored;
    ASSERT_TRUE(stored.read(configPath));
    EXPECT_EQ(stored.limits.uhfRxMax, 480000000u);
    EXPECT_EQ(stored.limits.vhfTxMax, 146006250u);
}

TEST_F(ServiceWindowTest, PasswordPrompt)
{
    {
        Arrangement arranged(session->project);
        std::memcpy(arranged.data().accessPassword, "old\0", 4);
    }
    {
        ModalAnswer cancel("TSetPasswordDlg", [](QWidget *w) {
            TypeInto(w, "eInput", "typed");
            ClickButton(w, "CancelBtn");
        });
        window->MenuEdit_Password->trigger();
        EXPECT_TRUE(cancel.seen);
    }
    EXPECT_STREQ(reinterpret_cast<const char *>(session->state().data.accessPassword), "old");
    const struct {
        const char *typed;
        const char *stored;
    } cases[] = {{"abcdefghijklm", "abcdefghijkl"}, {"Pass1", "Pass1"}, {"", ""}};
    for (const auto &c : cases) {
        QString shown;
        ModalAnswer ok("TSetPasswordDlg", [&](QWidget *w) {
            shown = w->windowTitle();
            TypeInto(w, "eInput", c.typed);
            EXPECT_EQ(w->findChild<QLineEdit *>("eInput")->text().toStdString(), c.stored);
            ClickButton(w, "OKBtn");
        });
        window->MenuEdit_Password->trigger();
        EXPECT_TRUE(ok.seen);
        EXPECT_EQ(shown, "Password");
        EXPECT_STREQ(reinterpret_cast<const char *>(session->state().data.accessPassword), c.stored) << c.typed;
    }
}

TEST_F(ServiceWindowTest, NewPasswordWindow)
{
    const struct {
        const char *name;
        const char *first, *second, *button;
        const char *message;  // shown in the message window
        bool exchange;        // the password exchange window opened
        const char *stored;   // RadioPassword afterwards
    } cases[] = {
        {"different texts, Write", "abc", "abd", "bWrite", "Password not match", false, "old"},
        {"different texts, OK", "abc", "ABC", "OKBtn", "Password not match", false, "old"},
        {"twelve characters, OK", "abcdefghijkl", "abcdefghijkl", "OKBtn", "OK", false, "abcdefghijkl"},
        {"thirteenth refused, OK", "abcdefghijklm", "abcdefghijkl", "OKBtn", "OK", false, "abcdefghijkl"},
        {"both empty, OK", "", "", "OKBtn", "OK", false, ""},
        {"matching, Write", "Secret", "Secret", "bWrite", "", true, "Secret"},
    };
    for (const auto &c : cases) {
        {
            Arrangement arranged(session->project);
            std::memcpy(arranged.data().radioPassword, "old\0", 4);
        }
        bool stayedOpen = false;
        ModalAnswer message("TUserWarnDlg", Click("OKBtn"));
        ModalAnswer exchange("TProgramDialog", Click("CancelBtn"));
        ModalAnswer dialog("TNewPasswordDlg", [&](QWidget *w) {
            TypeInto(w, "eInput", c.first);
            TypeInto(w, "eSureInput", c.second);
            ClickButton(w, c.button);
            stayedOpen = w->isVisible();
            if (stayedOpen)
                ClickButton(w, "CancelBtn");
        });
        window->MenuEdit_SetRadioNewPD->trigger();
        ASSERT_TRUE(dialog.seen) << c.name;
        EXPECT_EQ(stayedOpen, std::string(c.button) == "bWrite") << c.name;
        EXPECT_EQ(message.text.toStdString(), c.message) << c.name;
        EXPECT_EQ(exchange.seen, c.exchange) << c.name;
        EXPECT_STREQ(reinterpret_cast<const char *>(session->state().data.radioPassword), c.stored) << c.name;
    }
}

// Types `text` into `e` one character at a time, each as the key event a
// keyboard or an input method sends for it (QTest::keyClicks can only send
// Latin-1 characters).
void TypeCharacters(QLineEdit *e, const QString &text)
{
    for (char32_t c : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
}

// Pastes `text` into `e` at its caret through the clipboard.
void PasteInto(QLineEdit *e, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    e->paste();
}

// A password holds one byte per character. Characters above U+00FF are
// refused as they are typed or pasted, the rest of the text stays; the
// window and vkt410-cli store the same bytes for the same text, and the
// command line refuses a text it cannot store in one line with exit 64.
TEST_F(ServiceWindowTest, PasswordTextsAreStoredAsTheCommandLineStoresThem)
{
    SimulatedRadio radio;
    PtyRadioHost host(radio);
    std::string error;
    ASSERT_TRUE(host.start(error)) << error;
    auto radioPassword = [&] {
        std::string p;
        host.withRadio([&](SimulatedRadio &r) { p = r.password(); });
        return p;
    };
    auto cli = [&](std::vector<std::string> args, std::string &err) {
        args.insert(args.begin(), {"set-password", "--device", host.devicePath()});
        std::ostringstream o, e;
        const int rc = cli::Run(args, o, e, false);
        err = e.str();
        return rc;
    };
    auto field = [](const std::uint8_t (&f)[13]) { return std::string(reinterpret_cast<const char *>(f)); };

    const struct {
        const char *text;  // UTF-8
        const char *kept;  // what the window's fields keep of it
        bool cliTakes;     // otherwise vkt410-cli refuses it
        const char *bytes; // stored, one per character
    } cases[] = {
        {"Pass1", "Pass1", true, "Pass1"},
        {"é", "é", true, "\xE9"},
        {"Ünï çødé ÿ", "Ünï çødé ÿ", true, "\xDCn\xEF \xE7\xF8" "d\xE9 \xFF"},
        {"中文", "", false, ""},
        {"a中b日c", "abc", false, "abc"},
        {"x😀", "x", false, "x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);

        // The prompt: typed.
        ModalAnswer prompt("TSetPasswordDlg", [&](QWidget *w) {
            auto *e = w->findChild<QLineEdit *>("eInput");
            e->setFocus();
            TypeCharacters(e, text);
            EXPECT_EQ(e->text().toStdString(), c.kept);
            ClickButton(w, "OKBtn");
        });
        window->MenuEdit_Password->trigger();
        EXPECT_TRUE(prompt.seen);
        EXPECT_EQ(field(session->state().data.accessPassword), c.bytes);

        // The new-password window: typed into one field, pasted into the
        // other, after a character already there.
        {
            Arrangement arranged(session->project);
            std::memcpy(arranged.data().radioPassword, "old\0", 4);
        }
        ModalAnswer message("TUserWarnDlg", Click("OKBtn"));
        ModalAnswer dialog("TNewPasswordDlg", [&](QWidget *w) {
            auto *first = w->findChild<QLineEdit *>("eInput");
            auto *second = w->findChild<QLineEdit *>("eSureInput");
            first->setFocus();
            TypeCharacters(first, "-" + text);
            second->setFocus();
            TypeCharacters(second, "-");
            PasteInto(second, text);
            EXPECT_EQ(first->text().toStdString(), std::string("-") + c.kept);
            EXPECT_EQ(second->text().toStdString(), std::string("-") + c.kept);
            ClickButton(w, "OKBtn");
        });
        window->MenuEdit_SetRadioNewPD->trigger();
        EXPECT_TRUE(dialog.seen);
        EXPECT_EQ(message.text.toStdString(), "OK");
        EXPECT_EQ(field(session->state().data.radioPassword), std::string("-") + c.bytes);

        // The command line: --new gives the radio the same bytes, and
        // --password proves them.
        host.withRadio([](SimulatedRadio &r) { r.setPassword({}); });
        std::string err;
        if (c.cliTakes) {
            EXPECT_EQ(cli({"--new", c.text}, err), 0) << err;
            EXPECT_EQ(radioPassword(), c.bytes);
            EXPECT_EQ(cli({"--password", c.text, "--new", c.text}, err), 0) << err;
        } else {
            for (const char *option : {"--new", "--password"}) {
                EXPECT_EQ(cli({option, c.text, "--new", "ok"}, err), 64) << option;
                EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
                EXPECT_NE(err.find(option), std::string::npos) << err;
            }
            EXPECT_EQ(radioPassword(), "");
        }
    }
}

// Inside a field, a refused character leaves the caret where the rest of
// the text puts it.
TEST_F(ServiceWindowTest, RefusedPasswordCharactersKeepTheCaret)
{
    ModalAnswer dialog("TNewPasswordDlg", [&](QWidget *w) {
        auto *e = w->findChild<QLineEdit *>("eInput");
        e->setFocus();
        TypeCharacters(e, "ab");
        QTest::keyClick(e, Qt::Key_Left);
        PasteInto(e, QString::fromUtf8("中z文"));
        TypeCharacters(e, QString::fromUtf8("日q"));
        EXPECT_EQ(e->text().toStdString(), "azqb");
        ClickButton(w, "CancelBtn");
    });
    window->MenuEdit_SetRadioNewPD->trigger();
    EXPECT_TRUE(dialog.seen);
}

TEST_F(ServiceWindowTest, WriteWithNewPasswordSwitch)
{
    for (const std::uint8_t start : {0, 1}) {
        {
            Arrangement arranged(session->project);
            arranged.data().writeNewPassword = start;
        }
        bool ticked = false;
        ModalAnswer dialog("TNewPasswordDlg", [&](QWidget *w) {
            auto *box = w->findChild<QCheckBox *>("cbWriteWithNewPD");
            ticked = box->isChecked();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
            ClickButton(w, "CancelBtn");
        });
        window->MenuEdit_SetRadioNewPD->trigger();
        EXPECT_EQ(ticked, start == 1);
        EXPECT_EQ(session->state().data.writeNewPassword, 1 - start);
    }
}

// ---- the limits verb -----------------------------------------------------------

TEST(LimitsVerb, PrintsAndSetsWithTheWindowsRules)
{
    const fs::path dir = fs::temp_directory_path() / ("vkt-limits-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::string ini = (dir / "_config.ini").string();
    auto run = [&](std::vector<std::string> args, std::string *out = nullptr, std::string *err = nullptr) {
        args.push_back("--config");
        args.push_back(ini);
        std::ostringstream o, e;
        const int rc = cli::Run(args, o, e, false);
        if (out)
            *out = o.str();
        if (err)
            *err = e.str();
        return rc;
    };
    auto stored = [&] {
        AppConfig c;
        c.read(ini);
        return c.limits;
    };

    std::string out;
    ASSERT_EQ(run({"limits"}, &out), cli::kExitOk);
    EXPECT_EQ(out.substr(0, 21), "U_Tx_min = 400.00000\n");
    EXPECT_NE(out.find("V_Rx_max = 174.00000\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(ini)); // showing never creates the file

    const struct {
        const char *name;
        std::vector<std::string> args;
        int rc;
        std::uint32_t uhfTxMin, vhfTxMax; // stored afterwards
    } cases[] = {
        {"normalised and written", {"limits", "--set", "U_Tx_min=300", "V_Tx_max=146.0101"}, 0, 260000000, 146006250},
        {"minimum above maximum", {"limits", "--set", "U_Tx_min=470", "U_Tx_max=400"}, 64, 260000000, 146006250},
        {"unknown key", {"limits", "--set", "U_Tx min=410"}, 64, 260000000, 146006250},
        {"not a number", {"limits", "--set", "U_Tx_min=41O"}, 64, 260000000, 146006250},
        {"key twice", {"limits", "--set", "U_Tx_min=410", "U_Tx_min=420"}, 64, 260000000, 146006250},
        {"no --set", {"limits", "U_Tx_min=410"}, 64, 260000000, 146006250},
        {"between the bands", {"limits", "--set", "V_Tx_max=180"}, 0, 260000000, 174000000},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.args), c.rc) << c.name;
        EXPECT_EQ(stored().uhfTxMin, c.uhfTxMin) << c.name;
        EXPECT_EQ(stored().vhfTxMax, c.vhfTxMax) << c.name;
    }
    EXPECT_EQ(stored().vhfMaxOffset, 38000000u);

    // A text that is not a number keeps its limit, as the window's edit
    // does: one line names the limit and the value it keeps, and nothing is
    // written, not even the other limits given with it.
    for (const char *text : {"abc", "1x5", "14 6", "-146"}) {
        std::string out, err;
        EXPECT_EQ(run({"limits", "--set", "V_Tx_min=140", std::string("U_Tx_min=") + text}, &out, &err), 64)
            << text;
        EXPECT_EQ(err, std::string("vkt410-cli limits: U_Tx_min: '") + text +
                           "' is not a number of megahertz; U_Tx_min keeps 260.00000\n");
        EXPECT_EQ(stored().uhfTxMin, 260000000u) << text;
        EXPECT_EQ(stored().vhfTxMin, 136000000u) << text;
    }
    // What the window's edit keeps of a longer text counts, as there: its
    // first nine characters.
    EXPECT_EQ(run({"limits", "--set", "U_Tx_min=410.000001"}), 0);
    EXPECT_EQ(stored().uhfTxMin, 410000000u);
    fs::remove_all(dir);
}

} // namespace
} // namespace vkt
