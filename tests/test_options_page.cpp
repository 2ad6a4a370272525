// The options page and its two dialogs (the automatic repeater-offset table
// and the power-on message lines), driven with real key presses and mouse
// clicks on the offscreen platform and checked against the stored bytes.
#include "auto_offset_dialog.h"
#include "field_texts.h"
#include "main_window.h"
#include "message_answer.h"
#include "message_lines.h"
#include "offset_table.h"
#include "open_msg_dialog.h"
#include "pages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "project_arrange.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace vkt {
namespace {

// Runs `act` on the modal dialog named `name` once it is up.
class ModalDriver {
public:
    ModalDriver(const char *name, std::function<void(QDialog *)> act) : name_(name), act_(std::move(act))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!w || w->objectName() != name_)
                return;
            timer_.stop();
            seen = true;
            act_(w);
            if (w->isVisible()) // a failed step must not leave the test waiting
                w->reject();
        });
        timer_.start(10);
    }
    bool seen = false;

private:
    QString name_;
    std::function<void(QDialog *)> act_;
    QTimer timer_;
};

void ClickCell(Grid *grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, column).center());
}

// Clicks a cell of a dialog's grid; the editor it opened, when it is the
// one named.
QWidget *OpenCell(QDialog *d, const char *gridName, int row, int column, const char *editorName)
{
    QApplication::setActiveWindow(d);
    auto *grid = d->findChild<Grid *>(gridName);
    ClickCell(grid, row, column);
    QWidget *editor = grid->activeEditor();
    EXPECT_TRUE(editor && editor->objectName() == editorName) << gridName << " " << row << "," << column;
    return editor && editor->objectName() == editorName ? editor : nullptr;
}

void ClickCancel(QDialog *d) { QTest::mouseClick(d->findChild<QPushButton *>("CancelBtn"), Qt::LeftButton); }

class OptionsPageTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        page = window->optionsPage;
        window->PageControl->setCurrentWidget(page);
    }

    template <typename W = QWidget>
    W *control(const char *name)
    {
        auto *w = qobject_cast<W *>(page->control(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit *edit(const char *name)
    {
        QWidget *w = page->control(name);
        if (auto *box = qobject_cast<QComboBox *>(w))
            return box->lineEdit();
        return qobject_cast<QLineEdit *>(w);
    }
    // Types a text into an edit field as the user does: a click, the text
    // selected, the keys to the widget that has the focus (a tone list
    // hands them on to its edit field).
    void typeInto(const char *name, const char *text)
    {
        QLineEdit *e = edit(name);
        QTest::mouseClick(e, Qt::LeftButton);
        e->selectAll();
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
    void tabAway(QWidget *from) { QTest::keyClick(from, Qt::Key_Tab); }
    const RadioData &data() { return session->state().data; }

    OptionsPage *page = nullptr;
};

// ---- the page with keys and mouse -----------------------------------------------

TEST_F(OptionsPageTest, KeysAndMouseStoreOnLeaving)
{
    // A frequency: letters dropped, stored on Tab on the channel raster.
    typeInto("eFr_Freq_A", "446.0x0625");
    EXPECT_EQ(edit("eFr_Freq_A")->text(), "446.00625");
    EXPECT_EQ(data().vfoA.rxFreq.get(), 400000000u) << "nothing stored while typing";
    tabAway(edit("eFr_Freq_A"));
    EXPECT_EQ(data().vfoA.rxFreq.get(), 446006250u);
    EXPECT_EQ(edit("eFr_Freq_A")->text(), "446.00625");

    // Enter in the offset field ends the edit through the hidden button.
    typeInto("eFr_Offset_A", "80");
    pressEnter();
    EXPECT_TRUE(window->bHide->hasFocus());
    EXPECT_EQ(data().offsetA.get(), 38000000u);
    EXPECT_EQ(edit("eFr_Offset_A")->text(), "38.00000");

    // A tone typed into the tone list, exactly as typed (no completion).
    typeInto("cbFr_SubaudioDe_A", "88");
    EXPECT_EQ(edit("cbFr_SubaudioDe_A")->text(), "88");
    EXPECT_EQ(QApplication::focusWidget(), page->control("cbFr_SubaudioDe_A"));
    pressEnter();
    EXPECT_EQ(data().vfoA.decodeCode.get(), 880);
    EXPECT_EQ(data().vfoA.decodeType, kToneCtcss);
    EXPECT_EQ(edit("cbFr_SubaudioDe_A")->text(), "88.0");

    // A list chosen with keys, stored when it is left.
    auto *tot = control<QComboBox>("cbTOT");
    tot->setFocus();
    QTest::keyClick(tot, Qt::Key_Down); // 60 s -> 90 s
    EXPECT_EQ(tot->currentText(), "90");
    EXPECT_EQ(data().txTimeout.get(), 60);
    tabAway(tot);
    EXPECT_EQ(data().txTimeout.get(), 90);

    // A check box ticked off with the mouse, stored when it is left.
    auto *beep = control<QCheckBox>("cBeep");
    QTest::mouseClick(beep, Qt::LeftButton, {}, QPoint(8, beep->height() / 2));
    ASSERT_TRUE(beep->hasFocus());
    EXPECT_FALSE(beep->isChecked());
    EXPECT_EQ(data().keyBeep, 1);
    tabAway(beep);
    EXPECT_EQ(data().keyBeep, 0);

    // "Define" clicked, then Tab: type 3. "WELCOME(English)" clicked and left: 2.
    auto *define = control<QRadioButton>("rWelcome_define");
    QTest::mouseClick(define, Qt::LeftButton, {}, QPoint(8, define->height() / 2));
    ASSERT_TRUE(define->isChecked());
    tabAway(define);
    EXPECT_EQ(data().displayType, 3);
    auto *english = control<QRadioButton>("rWelcome_eng");
    QTest::mouseClick(english, Qt::LeftButton, {}, QPoint(8, english->height() / 2));
    EXPECT_EQ(data().displayType, 3) << "a click alone stores nothing";
    window->bHide->setFocus();
    EXPECT_EQ(data().displayType, 2);
}

TEST_F(OptionsPageTest, TheDotButtonsOpenTheDialogs)
{
    // The offset table: a new entry typed into row 9, then Cancel.
    ModalDriver offsets("TAutoOffsetDlg", [](QDialog *d) {
        QWidget *editor = OpenCell(d, "sgAutoOffset", 9, kOffColFrom, "eAutoOffsetFreq");
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "145.6");
        QTest::keyClick(editor, Qt::Key_Return);
        ClickCancel(d);
    });
    QTest::mouseClick(page->Button1, Qt::LeftButton);
    ASSERT_TRUE(offsets.seen);
    EXPECT_TRUE(OffsetRowInUse(data(), 9));
    EXPECT_EQ(data().offsetTable[8].start.get(), 145600000u);
    EXPECT_EQ(data().offsetTable[8].end.get(), 145700000u);

    // The message lines: "Large" for line 2 chosen with keys, then Cancel.
    ModalDriver lines("TOpenMsgDlg", [](QDialog *d) {
        QWidget *editor = OpenCell(d, "sgOpenMsgDefine", 2, kMsgColFont, "cbFont");
        ASSERT_NE(editor, nullptr);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
            QTest::keyClick(editor, key);
        EXPECT_EQ(d->findChild<Grid *>("sgOpenMsgDefine")->cellText(2, kMsgColFont), "Large");
        ClickCancel(d);
    });
    QTest::mouseClick(page->bOpenMsgDefind, Qt::LeftButton);
    ASSERT_TRUE(lines.seen);
    EXPECT_EQ(data().messageLines[1].font, 32) << "Cancel keeps the change";
}

TEST_F(OptionsPageTest, AFrequencyThatCannotBeReadIsReportedAndKept)
{
    MessageAnswer answer;
    typeInto("eFr_Freq_B", "145.");
    tabAway(edit("eFr_Freq_B"));
    ASSERT_TRUE(answer.waitForOne());
    EXPECT_TRUE(answer.texts.front().contains("\"145.\"")) << answer.texts.front().toStdString();
    EXPECT_EQ(data().vfoB.rxFreq.get(), 136000000u);
    EXPECT_EQ(edit("eFr_Freq_B")->text(), "136.00000") << "the field shows the stored value again";
}

TEST_F(OptionsPageTest, PowerOnPasswordTakesSixDigits)
{
    typeInto("ePasswordEdit", "12a3b4567");
    EXPECT_EQ(edit("ePasswordEdit")->text(), "123456") << "letters dropped, a seventh digit removed";
    pressEnter();
    EXPECT_TRUE(window->bHide->hasFocus());
    EXPECT_EQ(std::memcmp(data().powerOnPassword, "123456", 6), 0);

    typeInto("ePasswordEdit", "12345");
    tabAway(edit("ePasswordEdit"));
    EXPECT_EQ(std::memcmp(data().powerOnPassword, "531642", 6), 0);
    EXPECT_EQ(edit("ePasswordEdit")->text(), "531642");

    auto *on = control<QCheckBox>("cPasswordFun");
    QTest::mouseClick(on, Qt::LeftButton, {}, QPoint(8, on->height() / 2));
    tabAway(on);
    EXPECT_EQ(data().powerOnPasswordOn, 1);
}

// ---- values without an entry, and the hand-written rules ---------------------------

TEST_F(OptionsPageTest, ValuesWithoutAnEntryShowNothingAndAreKept)
{
    {
        Arrangement arranged(session->project);
        arranged.data().voxDelay = 750;
        arranged.data().txTimeout = 45;
        arranged.data().alarmCode = 500;
        arranged.data().squelchLevel = 12;
        arranged.data().vfoA.flags2 = static_cast<std::uint8_t>(5u << 5 | 3u); // signalling system 5
        arranged.data().stepA = 7000;
    }
    window->RefreshMainWindow();

    EXPECT_EQ(control<QComboBox>("cbTOT")->currentText(), "30") << "45 s shows 30";
    const struct {
        const char *name;
        std::function<std::uint32_t()> stored;
        std::uint32_t kept;
    } kKept[] = {
        {"cbVOX_DELAY", [&] { return data().voxDelay.get(); }, 750},
        {"cbAlarmCode", [&] { return data().alarmCode.get(); }, 500},
        {"cbSQL", [&] { return std::uint32_t{data().squelchLevel}; }, 12},
        {"cbFr_SignalSys_A", [&] { return std::uint32_t{data().vfoA.flags2}; }, 5u << 5 | 3u},
        {"cbFr_SignalNo_A", [&] { return std::uint32_t{data().vfoA.flags2}; }, 5u << 5 | 3u},
    };
    for (const auto &k : kKept) {
        auto *box = control<QComboBox>(k.name);
        EXPECT_EQ(box->currentIndex(), -1) << k.name;
        box->setFocus();
        tabAway(box);
        EXPECT_EQ(k.stored(), k.kept) << k.name;
    }
    EXPECT_EQ(control<QComboBox>("cbFr_SignalNo_A")->count(), 0);

    // Leaving either step list stores both steps; no selection gives 100 kHz.
    auto *stepB = control<QComboBox>("cbStep_B");
    EXPECT_EQ(control<QComboBox>("cbStep")->currentIndex(), -1);
    stepB->setFocus();
    QTest::keyClick(stepB, Qt::Key_Up); // 12.5K -> 10K
    tabAway(stepB);
    EXPECT_EQ(data().stepB.get(), 10000u);
    EXPECT_EQ(data().stepA.get(), 100000u);
    EXPECT_EQ(control<QComboBox>("cbStep")->currentText(), "100K");
}

TEST_F(OptionsPageTest, SignallingSystemStoresAtOnceAndRebuildsTheNumbers)
{
    {
        Arrangement arranged(session->project);
        arranged.data().vfoA.flags2 = static_cast<std::uint8_t>(kSignalDtmf << 5 | 11); // DTMF, number 12
    }
    window->RefreshMainWindow();
    auto *system = control<QComboBox>("cbFr_SignalSys_A");
    auto *number = control<QComboBox>("cbFr_SignalNo_A");
    EXPECT_EQ(number->count(), 30);
    EXPECT_EQ(number->currentText(), "12");

    system->setFocus();
    QTest::keyClick(system, Qt::Key_Down); // DTMF -> 2-TONE, stored before leaving
    EXPECT_EQ(data().vfoA.flags2, kSignal2Tone << 5);
    EXPECT_EQ(number->count(), 16);
    EXPECT_EQ(number->currentText(), "1");

    number->setFocus();
    QTest::keyClick(number, Qt::Key_End);
    tabAway(number);
    EXPECT_EQ(data().vfoA.flags2, kSignal2Tone << 5 | 15);

    system->setFocus();
    QTest::keyClick(system, Qt::Key_Home); // OFF
    EXPECT_EQ(data().vfoA.flags2, 0);
    EXPECT_EQ(number->count(), 0);
    EXPECT_EQ(data().vfoB.flags2, 0) << "VFO B untouched";
}

TEST_F(OptionsPageTest, HiddenControlsCarryTheirValues)
{
    {
        Arrangement arranged(session->project);
        arranged.data().squelchMode = 4;
        arranged.data().lampTimer = 20; // no entry
        arranged.data().deviceLock = 0;
        arranged.data().scramblingCarrier = 1234;
        std::memcpy(arranged.data().logo, "ABCDEFGH", 8);
        // A tone list left showing "Off" stores the code of "Off".
        for (ChannelEntry *vfo : {&arranged.data().vfoA, &arranged.data().vfoB}) {
            vfo->decodeCode = 0xFFFF;
            vfo->encodeCode = 0xFFFF;
        }
    }
    const auto before = std::make_unique<RadioData>(data());
    window->RefreshMainWindow();
    for (const char *name : {"cbSquelchMode", "cbBackLightTime", "cCW", "cCompandor", "cSaving", "cScrambling",
                             "cbScrFreq", "cDeviceLock", "eLogo", "sFr_Title"}) {
        QWidget *w = page->findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_FALSE(w->isVisible()) << name;
    }
    EXPECT_TRUE(control<QCheckBox>("cDeviceLock")->isChecked()) << "device lock 0 shows ticked";
    EXPECT_EQ(control<QComboBox>("cbSquelchMode")->currentIndex(), 4);
    EXPECT_EQ(edit("eLogo")->text(), "ABCDEFGH");
    // Walking through every visible control of the page changes nothing.
    control<QLineEdit>("eFr_Freq_A")->setFocus();
    for (int i = 0; i < 120 && QApplication::focusWidget(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    window->bHide->setFocus();
    EXPECT_EQ(std::memcmp(before.get(), &data(), sizeof(RadioData)), 0);
}

TEST_F(OptionsPageTest, ScramblingListsFollowTheFlagOfTheWindowsStart)
{
    auto shown = [](OptionsPage *p) {
        return !p->control("cbScrFreq_A")->isHidden() && !p->control("cbScrFreq_B")->isHidden() &&
               !p->fields().label("cbScrFreq_A")->isHidden() && !p->fields().label("cbScrFreq_B")->isHidden();
    };
    EXPECT_FALSE(shown(page)) << "new data has the flag off";
    EXPECT_FALSE(page->fields().label("cbScrFreq_A")->isVisible());
    EXPECT_EQ(page->fields().label("cbScrFreq_A")->objectName(), "sScrambling_A");
    {
        Arrangement arranged(session->project);
        arranged.data().showScrambling = 1;
    }
    window->RefreshMainWindow();
    EXPECT_FALSE(shown(page)) << "loading other data does not change it";

    OptionsPage built(*session, nullptr); // a page built while the flag is on
    EXPECT_TRUE(shown(&built));
}

// A language switch shows the same stored values in the new language: for
// every row, the position, tick or text comes from the record.
TEST_F(OptionsPageTest, LanguageSwitchShowsTheStoredValues)
{
    {
        Arrangement arranged(session->project);
        arranged.data().vfoA.flags2 = static_cast<std::uint8_t>(kSignal5Tone << 5 | 4);
        arranged.data().lampControl = 255;
        arranged.data().autoPowerOff = 30;
        arranged.data().alarmRing = 2;
        arranged.data().displayType = 1;
    }
    window->RefreshMainWindow();
    window->bHide->setFocus();
    const auto before = std::make_unique<RadioData>(data());
    const struct {
        LangId id;
        const char *power, *alarmRing, *logo;
    } kLanguages[] = {{1, "高", "铃声 2", "欢迎使用(中文)"},
                      {2, "高", "鈴聲 2", "歡迎使用(中文)"},
                      {0, "High", "Ring  2", "WELCOME(Chinese)"}};
    for (const auto &l : kLanguages) {
        window->setLanguage(l.id);
        EXPECT_EQ(control<QComboBox>("cbFr_Power_A")->currentText(), QString::fromUtf8(l.power));
        EXPECT_EQ(control<QComboBox>("cbAlarmBeep")->currentText(), QString::fromUtf8(l.alarmRing));
        EXPECT_EQ(control<QRadioButton>("rWelcome_chs")->text(), QString::fromUtf8(l.logo));
        for (const Field &f : OptionFields()) {
            QWidget *w = page->control(f.name);
            ASSERT_NE(w, nullptr) << f.name;
            const std::string name(f.name);
            if (f.kind == FieldKind::List) {
                auto *box = static_cast<QComboBox *>(w);
                EXPECT_EQ(box->currentIndex(), LoadIndex(f, data())) << name;
                EXPECT_EQ(box->currentText(), ShownText(f, session->state())) << name;
                EXPECT_EQ(box->count(), ItemCount(f, data())) << name;
            } else if (f.kind == FieldKind::Edit) {
                EXPECT_EQ(edit(name.c_str())->text(), ShownText(f, session->state())) << name;
            } else {
                EXPECT_EQ(static_cast<QAbstractButton *>(w)->isChecked(), LoadChecked(f, data())) << name;
                EXPECT_EQ(static_cast<QAbstractButton *>(w)->text(), FieldLabelText(f)) << name;
            }
        }
        EXPECT_EQ(std::memcmp(before.get(), &data(), sizeof(RadioData)), 0) << "language " << l.id;
    }
}

// ---- the two dialogs -------------------------------------------------------------

TEST_F(OptionsPageTest, OffsetTableWithKeysAndMouse)
{
    TAutoOffsetDlg dialog(session->project, window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    Grid *grid = dialog.sgAutoOffset;
    EXPECT_EQ(grid->cellText(0, 1), "From( >= )");
    EXPECT_EQ(grid->cellText(0, 4), "Offset Freq (MHz)");
    EXPECT_EQ(grid->cellText(16, 0), "16");
    EXPECT_FALSE(dialog.OKBtn->isVisible());

    // Only "from" opens in an empty row.
    ClickCell(grid, 10, kOffColTo);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    ClickCell(grid, 10, kOffColFrom);
    ASSERT_EQ(grid->activeEditor(), dialog.eAutoOffsetFreq);
    QTest::keyClicks(dialog.eAutoOffsetFreq, "1x45.6.25"); // x and the second point dropped
    EXPECT_EQ(dialog.eAutoOffsetFreq->text(), "145.625");
    QTest::keyClick(dialog.eAutoOffsetFreq, Qt::Key_Return);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(grid->cellText(10, 1), "145.62500");
    EXPECT_EQ(grid->cellText(10, 2), "145.72500");
    EXPECT_EQ(grid->cellText(10, 3), "+");
    EXPECT_EQ(grid->cellText(10, 4), "0.60000");

    // A digit typed on the offset cell opens its editor with the cell's
    // text; the digit itself is not typed.
    grid->setFocus();
    grid->setCurrentGridCell(10, kOffColOffset);
    QTest::keyClicks(grid, "8");
    ASSERT_EQ(grid->activeEditor(), dialog.eAutoOffsetFreq);
    EXPECT_EQ(dialog.eAutoOffsetFreq->text(), "0.60000");
    QTest::keyClicks(dialog.eAutoOffsetFreq, "80");
    ClickCell(grid, 10, kOffColDirection); // leaving it stores
    EXPECT_EQ(grid->cellText(10, 4), "38.00000");
    ASSERT_EQ(grid->activeEditor(), dialog.cbAutoOffsetDir);
    QTest::keyClick(dialog.cbAutoOffsetDir, Qt::Key_Down);
    QTest::keyClick(dialog.cbAutoOffsetDir, Qt::Key_Return);
    EXPECT_EQ(data().offsetTable[9].direction, kOffsetMinus);
    EXPECT_EQ(grid->cellText(10, 3), "-");

    // Clearing "from" removes the entry.
    ClickCell(grid, 3, kOffColFrom);
    dialog.eAutoOffsetFreq->selectAll();
    QTest::keyClick(dialog.eAutoOffsetFreq, Qt::Key_Delete);
    QTest::keyClick(dialog.eAutoOffsetFreq, Qt::Key_Return);
    EXPECT_FALSE(OffsetRowInUse(data(), 3));
    EXPECT_EQ(grid->cellText(3, 2), "");

    // Default restores the eight and empties the rest.
    QTest::mouseClick(dialog.bAutoOffser_Default, Qt::LeftButton);
    EXPECT_EQ(grid->cellText(3, 1), "146.00000");
    EXPECT_EQ(grid->cellText(10, 1), "");
    EXPECT_FALSE(OffsetRowInUse(data(), 10));
    ClickCell(grid, 1, kOffColTo);
    QTest::keyClicks(dialog.eAutoOffsetFreq, "144.4");
    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(data().offsetTable[0].end.get(), 144600000u) << "leaving for Cancel stored the edit, and it stays";
}

TEST_F(OptionsPageTest, MessageLinesWithKeysAndMouse)
{
    {
        Arrangement arranged(session->project);
        arranged.data().messageLines[2].font = 20; // no list entry
    }
    TOpenMsgDlg dialog(session->project, window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    Grid *grid = dialog.sgOpenMsgDefine;
    EXPECT_TRUE(grid->verticalHeader()->isHidden()) << "column 0 has no width";
    EXPECT_EQ(grid->cellText(0, 4), "Content");
    EXPECT_EQ(dialog.windowTitle(), "English Only");

    // An unknown font byte: empty, the list opens without a selection, and
    // leaving it keeps the byte.
    EXPECT_EQ(grid->cellText(3, kMsgColFont), "");
    ClickCell(grid, 3, kMsgColFont);
    ASSERT_EQ(grid->activeEditor(), dialog.cbFont);
    EXPECT_EQ(dialog.cbFont->currentIndex(), -1);
    ClickCell(grid, 3, kMsgColAlignment);
    EXPECT_EQ(data().messageLines[2].font, 20);
    ASSERT_EQ(grid->activeEditor(), dialog.cbAlignment);
    EXPECT_EQ(dialog.cbAlignment->currentText(), "Center");
    QTest::keyClick(dialog.cbAlignment, Qt::Key_Down);
    QTest::keyClick(dialog.cbAlignment, Qt::Key_Return);
    EXPECT_EQ(data().messageLines[2].alignment, 255);

    // A key on the content cell opens its editor; a 17th character goes.
    grid->setFocus();
    grid->setCurrentGridCell(1, kMsgColContent);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(grid->activeEditor(), dialog.eWord);
    QTest::keyClicks(dialog.eWord, "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(dialog.eWord->text(), "ABCDEFGHIJKLMNOP");
    QTest::keyClick(dialog.eWord, Qt::Key_Return);
    EXPECT_EQ(std::memcmp(data().messageLines[0].text, "ABCDEFGHIJKLMNOP", 16), 0);
    EXPECT_EQ(grid->cellText(1, kMsgColContent), "ABCDEFGHIJKLMNOP");

    // The line position; then Cancel keeps every change.
    ClickCell(grid, 4, kMsgColLine);
    ASSERT_EQ(grid->activeEditor(), dialog.cbLine);
    QTest::keyClick(dialog.cbLine, Qt::Key_End);
    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(data().messageLines[3].line, 7);
    EXPECT_EQ(data().messageLines[2].alignment, 255);
}

} // namespace
} // namespace vkt
