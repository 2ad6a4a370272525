// The main window on Qt's offscreen platform: start-up and the
// configuration file, languages, the save prompt, New, and exchanges
// through the exchange window against the simulated radio.
#include "main_window.h"
#include "message_answer.h"
#include "message_dialogs.h"
#include "pages.h"
#include "program_dialog.h"
#include "project_file.h"
#include "pty_radio_host.h"
#include "sample_project.h"
#include "simulated_radio.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace vkt {
namespace {

std::string ReadText(const fs::path &p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

int CountOf(const std::string &text, const std::string &part)
{
    int n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++n;
    return n;
}

// True when a label shows the whole of its text: every line within its
// width (a text that does not wrap is one line) and all lines within its
// height.
bool ShowsWholeText(const QLabel *label)
{
    const QRect room = label->contentsRect();
    QTextLayout layout(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(label->wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    qreal widest = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    const int height = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    return widest <= room.width() && height <= label->height();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vkt-gui-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        configPath = (dir / "_config.ini").string();
        TAppLang::instance().setSystemLangId(0x0409);
    }
    void TearDown() override
    {
        if (window) {
            window->chooseSaveFile = [] { return QString(); };
            ModalAnswer no("TMyWarnDlg_3", Click("NoBtn"));
            window->close();
        }
        window.reset();
        session.reset();
        fs::remove_all(dir);
    }
    void writeConfig(const std::string &text)
    {
        std::ofstream(configPath, std::ios::binary) << text;
    }
    void open()
    {
        session = std::make_unique<AppSession>();
        window = std::make_unique<TForm1>(*session, configPath);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    fs::path dir;
    std::string configPath;
    std::unique_ptr<AppSession> session;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowTest, FirstRunCreatesTheConfigurationAndSpeaksEnglish)
{
    open();
    EXPECT_TRUE(window->configCreated());
    const std::string ini = ReadText(configPath);
    EXPECT_EQ(CountOf(ini, "ChSG_Row"), 241);
    EXPECT_EQ(CountOf(ini, "ChSG_Col"), 12);
    EXPECT_EQ(CountOf(ini, "DtmfAbSG_Row"), 31);
    EXPECT_EQ(CountOf(ini, "DtmfAbSG_Col"), 3);
    for (const char *key : {"Port=", "Language=", "AutoSeachPort=", "ComInitMode=", "U_Tx min=", "V_Rx max=",
                            "AppName=", "Company="})
        EXPECT_GE(CountOf(ini, key), 1) << key;
    EXPECT_EQ(window->MenuFile->title(), "&File");
    EXPECT_EQ(window->windowTitle(), "Brelmoran VKT410");
    EXPECT_TRUE(window->MenuLanguage_En->isChecked());
    EXPECT_EQ(window->channelPage->sFreqBand->text(),
              "U[Tx:400.00000-470.00000   Rx:400.00000-470.00000]     V[Tx:136.00000-174.00000   "
              "Rx:136.00000-174.00000]");
    // Every heading of the channel table is shown whole at the first start,
    // and no column is narrower than its default.
    Grid *grid = window->channelPage->StringGrid1;
    const int defaults[] = {35, 100, 100, 80, 80, 70, 80, 80, 90, 100, 80, 80};
    for (int c = 1; c < kChannelGridCols; ++c) {
        EXPECT_GE(grid->columnSize(c), grid->horizontalHeader()->sectionSizeHint(c - 1)) << c;
        EXPECT_GE(grid->columnSize(c), defaults[c]) << c;
    }
}

// A first run that ended without closing the window left the default
// widths in the file: the next start still shows the headings whole. A
// width the user chose is shown as it is.
TEST_F(MainWindowTest, HeadingsShownWholeUntilTheUserSizesTheColumns)
{
    open();
    const std::string created = ReadText(configPath);
    {
        Arrangement arranged(session->project);
        arranged.data() = RadioData{};
    }
    window.reset(); // no close: the file keeps what the first start wrote
    session.reset();
    for (const bool userSized : {false, true}) {
        SCOPED_TRACE(userSized);
        std::string ini = created;
        if (userSized) {
            const std::size_t at = ini.find("ChSG_Col9=100");
            ASSERT_NE(at, std::string::npos);
            ini.replace(at, 13, "ChSG_Col9=60");
        }
        writeConfig(ini);
        open();
        ASSERT_FALSE(window->configCreated());
        Grid *grid = window->channelPage->StringGrid1;
        if (userSized)
            EXPECT_EQ(grid->columnSize(9), 60);
        else
            for (int c = 1; c < kChannelGridCols; ++c)
                EXPECT_GE(grid->columnSize(c), grid->horizontalHeader()->sectionSizeHint(c - 1)) << c;
        window->chooseSaveFile = [] { return QString(); };
        ModalAnswer no("TMyWarnDlg_3", Click("NoBtn"));
        window->close();
        window.reset();
        session.reset();
    }
}

TEST_F(MainWindowTest, StoredLanguageAndSystemLanguage)
{
    writeConfig("[config]\nLanguage=1\n");
    open();
    EXPECT_EQ(window->MenuFile->title(), QStringLiteral("文件(&F)"));
    EXPECT_EQ(window->windowTitle(), "Brelmoran VKT410");
    EXPECT_TRUE(window->MenuLanguage_Chs->isChecked());
    window.reset();

    // Language 7 follows the system language and ticks no item.
    writeConfig("[config]\nLanguage=7\n");
    TAppLang::instance().setSystemLangId(0x0804);
    open();
    EXPECT_EQ(window->MenuFile->title(), QStringLiteral("文件(&F)"));
    for (QAction *a : {window->MenuLanguage_En, window->MenuLanguage_Chs, window->MenuLanguage_Cht})
        EXPECT_FALSE(a->isChecked());
    window->writeConfig();
    EXPECT_NE(ReadText(configPath).find("Language=7"), std::string::npos);
}

TEST_F(MainWindowTest, ConfigurationValuesKeptAndDefaulted)
{
    writeConfig("[config]\nComInitMode=5\n[control]\nChSG_Col1=150\nChSG_Row7=33\nDtmfAbSG_Col0=99\n");
    open();
    Grid *grid = window->channelPage->StringGrid1;
    EXPECT_EQ(grid->columnSize(1), 150);
    EXPECT_EQ(grid->columnSize(3), 80) << "a missing key takes its default";
    EXPECT_EQ(grid->rowSize(7), 33);
    Grid *book = window->dtmfPage->sgD_AddrBook;
    EXPECT_EQ(book->columnSize(0), 34);
    EXPECT_EQ(book->columnSize(1), 70);
    EXPECT_EQ(book->columnSize(2), 130);

    grid->setRowSize(7, 41);
    window->writeConfig();
    const std::string ini = ReadText(configPath);
    EXPECT_NE(ini.find("ComInitMode=5"), std::string::npos);
    EXPECT_NE(ini.find("ChSG_Row7=41"), std::string::npos);
    EXPECT_NE(ini.find("DtmfAbSG_Col0=34"), std::string::npos);
}

TEST_F(MainWindowTest, LanguageSwitchStoresTheOpenEditFirst)
{
    open();
    window->PageControl->setCurrentWidget(window->optionsPage);
    QApplication::setActiveWindow(window.get());
    QRadioButton *define = window->optionsPage->logoButtons[3];
    // Click on the button's indicator, at its left end.
    QTest::mouseClick(define, Qt::LeftButton, {}, QPoint(8, define->height() / 2));
    ASSERT_TRUE(define->hasFocus());
    ASSERT_TRUE(define->isChecked());
    EXPECT_EQ(session->state().data.displayType, 2) << "stored only when the button is left";

    window->MenuLanguage_Cht->trigger();
    EXPECT_EQ(session->state().data.displayType, 3);
    EXPECT_TRUE(define->isChecked());
    EXPECT_EQ(define->text(), window->optionsPage->logoButtons[3]->text());
    EXPECT_EQ(window->optionsPage->logoButtons[1]->text(), QStringLiteral("歡迎使用(中文)"));
    EXPECT_TRUE(window->MenuLanguage_Cht->isChecked());
}

TEST_F(MainWindowTest, NewAsksFirst)
{
    open();
    {
        Arrangement arranged(session->project);
        arranged.data().squelchLevel = 9;
    }
    {
        ModalAnswer cancel("TMyWarnDlg_2", Click("CancelBtn"));
        window->MenuFile_New->trigger();
        EXPECT_TRUE(cancel.seen);
    }
    EXPECT_EQ(session->state().data.squelchLevel, 9);
    {
        ModalAnswer ok("TMyWarnDlg_2", Click("OKBtn"));
        window->MenuFile_New->trigger();
    }
    EXPECT_EQ(session->state().data.squelchLevel, 5);
}

TEST_F(MainWindowTest, SavePromptOnClose)
{
    const std::string project = (dir / "closing.Dvf").string();
    struct Case {
        const char *name;
        std::function<void(QWidget *)> answer;
        QString saveAs; // what the save dialog returns
        bool closes;
        bool saved;
    };
    auto escape = [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); };
    const Case cases[] = {
        {"Yes and a file", Click("OKBtn"), QString::fromStdString(project), true, true},
        {"Yes, save cancelled", Click("OKBtn"), QString(), false, false},
        {"Yes, save fails", Click("OKBtn"), QString::fromStdString((dir / "no" / "such" / "x.Dvf").string()), false,
         false},
        {"No", Click("NoBtn"), QString(), true, false},
        {"Cancel", Click("CancelBtn"), QString(), false, false},
        {"the prompt's close box", escape, QString(), false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(project);
        open();
        window->chooseSaveFile = [&] { return c.saveAs; };
        auto closeMessages = std::make_unique<QTimer>();
        QObject::connect(closeMessages.get(), &QTimer::timeout, [] {
            // The "not saved" message box of a failed save.
            if (auto *w = QApplication::activeModalWidget(); w && w->inherits("QMessageBox"))
                QTest::keyClick(w, Qt::Key_Escape);
        });
        closeMessages->start(10);
        ModalAnswer prompt("TMyWarnDlg_3", c.answer);
        window->close();
        EXPECT_TRUE(prompt.seen);
        EXPECT_EQ(!window->isVisible(), c.closes);
        EXPECT_EQ(fs::exists(project), c.saved);
        if (c.saved) {
            EXPECT_EQ(fs::file_size(project), kRadioDataSize);
        }
        if (c.closes) {
            window.reset(); // closed for good: nothing to tidy in TearDown
        } else {
            TearDown();
            SetUp();
        }
    }
}

// A file of another size than a project is loaded only when the user says
// so; the question names its size, and until it is answered (and after a
// "Cannel") the data stays as it was.
TEST_F(MainWindowTest, OpenAsksBeforeLoadingAFileThatIsNotAProject)
{
    std::string passwd;
    while (passwd.size() < 1500)
        passwd += "root:x:0:0:root:/root:/bin/bash\ndaemon:x:1:1:daemon:/usr/sbin:/usr/sbin/nologin\n";
    struct Case {
        const char *name;
        std::string contents;
        const char *answer;   // button of the question; nullptr: no question expected
        bool loaded;
    };
    const Case cases[] = {
        {"a project", std::string(kRadioDataSize, '\x02'), nullptr, true},
        {"a text file, Cannel", passwd, "CancelBtn", false},
        {"a text file, Ok", passwd, "OKBtn", true},
        {"a short file, Cannel", std::string(100, '\x01'), "CancelBtn", false},
        {"a short file, Ok", std::string(100, '\x01'), "OKBtn", true},
        {"a longer file, Ok", std::string(kRadioDataSize + 500, '\x03'), "OKBtn", true},
        {"an empty file, Cannel", std::string(), "CancelBtn", false},
    };
    open();
    int messages = 0; // any other message box: counted and closed
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto *w = QApplication::activeModalWidget(); w && w->inherits("QMessageBox")) {
            ++messages;
            QTest::keyClick(w, Qt::Key_Escape);
        }
    });
    watch.start(10);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages = 0;
        {
            Arrangement arranged(session->project);
            ProgramState &s = arranged.state();
            SetDefaultData(s.data, s.identity, s.limits);
            s.data.squelchLevel = 9; // an edit the user made
            MakeNewChannel(s.data, 240, 150000000, s.limits);
        }
        const auto before = std::make_unique<RadioData>(session->state().data);
        const fs::path file = dir / "file%2.Dvf"; // a name the message must take as it stands
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.contents;
        window->chooseOpenFile = [&] { return QString::fromStdString(file.string()); };

        bool keptWhileAsking = false;
        ModalAnswer question("TMyWarnDlg_2", [&](QWidget *w) {
            keptWhileAsking = std::memcmp(before.get(), &session->state().data, sizeof(RadioData)) == 0;
            Click(c.answer ? c.answer : "CancelBtn")(w);
        });
        window->MenuFile_Open->trigger();

        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&session->state().data);
        const auto *old = reinterpret_cast<const std::uint8_t *>(before.get());
        EXPECT_EQ(question.seen, c.answer != nullptr);
        EXPECT_EQ(messages, 0) << "the question is the only message";
        if (c.answer) {
            EXPECT_TRUE(keptWhileAsking) << "nothing is replaced before the answer";
            EXPECT_NE(question.text.indexOf(QString::number(c.contents.size()) + " bytes"), -1)
                << question.text.toStdString();
            EXPECT_NE(question.text.indexOf("\"file%2.Dvf\""), -1) << question.text.toStdString();
        }
        if (!c.loaded) {
            EXPECT_EQ(std::memcmp(old, bytes, sizeof(RadioData)), 0) << "the data is kept";
            continue;
        }
        // Read as far as it goes, the rest unchanged; then the pages' refresh
        // stores what it stores (an unknown DTMF group code becomes 0).
        const std::size_t held = std::min(c.contents.size(), kRadioDataSize);
        auto expected = std::make_unique<RadioData>(*before);
        std::memcpy(expected.get(), c.contents.data(), held);
        RefreshStores(*expected);
        EXPECT_EQ(std::memcmp(bytes, expected.get(), sizeof(RadioData)), 0) << "read as far as it goes";
        EXPECT_EQ(window->channelPage->StringGrid1->cellText(240, 1).isEmpty(),
                  !IsChannelInUse(session->state().data, 240))
            << "the window shows what was loaded";
    }
}

TEST_F(MainWindowTest, OpenReportsAFileThatCannotBeRead)
{
    open();
    {
        Arrangement arranged(session->project);
        arranged.data().squelchLevel = 9;
    }
    const auto before = std::make_unique<RadioData>(session->state().data);
    window->chooseOpenFile = [&] { return QString::fromStdString(dir.string()); }; // a folder
    QString message;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto *w = QApplication::activeModalWidget(); w && w->inherits("QMessageBox")) {
            message = w->findChild<QLabel *>("qt_msgbox_label")->text();
            QTest::keyClick(w, Qt::Key_Escape);
        }
    });
    watch.start(10);
    window->MenuFile_Open->trigger();
    EXPECT_NE(message.indexOf("could not be opened"), -1) << message.toStdString();
    EXPECT_EQ(std::memcmp(before.get(), &session->state().data, sizeof(RadioData)), 0);
}

TEST_F(MainWindowTest, ChannelListsThroughTheFileMenu)
{
    open();
    {
        Arrangement arranged(session->project);
        MakeNewChannel(arranged.data(), 1, 145600000, arranged.state().limits);
        MakeNewChannel(arranged.data(), 2, 439500000, arranged.state().limits);
    }
    const RadioData &d = session->state().data;
    window->RefreshMainWindow();

    // Export: the list as written, and a note in the status bar.
    const fs::path out = dir / "out.csv";
    window->chooseCsvSaveFile = [&] { return QString::fromStdString(out.string()); };
    window->MenuFile_ExportCsv->trigger();
    const std::string csv = ReadText(out);
    EXPECT_EQ(csv.rfind("Location,Name,Frequency,Duplex,", 0), 0u) << csv;
    EXPECT_EQ(CountOf(csv, "\r\n"), 3);
    EXPECT_NE(window->statusBar()->currentMessage().indexOf("Channels exported to \"out.csv\": 2."), -1);

    const fs::path in = dir / "in.csv";
    std::ofstream(in, std::ios::binary) << "Location,Name,Frequency,Mode\n5,NEW,146.500000,FM\n6,AIR,118.0,AM\n";
    window->chooseCsvOpenFile = [&] { return QString::fromStdString(in.string()); };

    // Cancel changes nothing.
    {
        const auto before = std::make_unique<RadioData>(d);
        ModalAnswer cancel("TMyWarnDlg_3", Click("CancelBtn"));
        window->MenuFile_ImportCsv->trigger();
        EXPECT_TRUE(cancel.seen);
        EXPECT_EQ(std::memcmp(before.get(), &d, sizeof d), 0);
    }
    // Merge: the row joins the channels, the report says what was skipped,
    // and the table shows the new channel.
    {
        ModalAnswer merge("TMyWarnDlg_3", Click("OKBtn"));
        QString report;
        ModalAnswer shown("TReportDlg", [&](QWidget *w) {
            report = w->findChild<QPlainTextEdit *>("ReportText")->toPlainText();
            ClickButton(w, "OKBtn");
        });
        window->MenuFile_ImportCsv->trigger();
        EXPECT_NE(merge.text.indexOf("\"in.csv\""), -1) << merge.text.toStdString();
        EXPECT_EQ(shown.text, "Channels imported: 1. Rows skipped: 1.");
        EXPECT_EQ(report, "Line 3, channel 6: skipped: the receive frequency 118.0 MHz is outside the band limits");
        EXPECT_TRUE(IsChannelInUse(d, 1) && IsChannelInUse(d, 2) && IsChannelInUse(d, 5));
        EXPECT_EQ(window->channelPage->StringGrid1->cellText(5, 1), "146.50000");
        EXPECT_EQ(window->channelPage->StringGrid1->cellText(5, 11), "NEW");
    }
    // Replace: every other channel goes.
    {
        ModalAnswer replace("TMyWarnDlg_3", Click("NoBtn"));
        ModalAnswer shown("TReportDlg", Click("OKBtn"));
        window->MenuFile_ImportCsv->trigger();
        EXPECT_TRUE(shown.seen);
        EXPECT_FALSE(IsChannelInUse(d, 1) || IsChannelInUse(d, 2));
        EXPECT_TRUE(IsChannelInUse(d, 5));
        EXPECT_TRUE(window->channelPage->StringGrid1->cellText(1, 1).isEmpty());
    }
    // A file that is no channel list: said in plain words, nothing changes.
    {
        const fs::path project = dir / "p.Dvf";
        std::ofstream(project, std::ios::binary) << std::string(kRadioDataSize, '\x01');
        window->chooseCsvOpenFile = [&] { return QString::fromStdString(project.string()); };
        const auto before = std::make_unique<RadioData>(d);
        ModalAnswer merge("TMyWarnDlg_3", Click("OKBtn"));
        MessageAnswer message;
        window->MenuFile_ImportCsv->trigger();
        ASSERT_TRUE(message.waitForOne());
        EXPECT_NE(message.texts[0].indexOf("\"p.Dvf\" is not a channel list"), -1) << message.texts[0].toStdString();
        EXPECT_EQ(std::memcmp(before.get(), &d, sizeof d), 0);
    }
    // The menu items in the three languages.
    const char *const texts[3][2] = {{"&Import channels (CSV)...", "Ex&port channels (CSV)..."},
                                     {"导入信道 (CSV)(&I)...", "导出信道 (CSV)(&P)..."},
                                     {"導入信道 (CSV)(&I)...", "導出信道 (CSV)(&P)..."}};
    // Qt's own texts follow too: the message boxes' buttons.
    const char *const ok[3] = {"OK", "确定", "確定"};
    for (int lang = 0; lang < 3; ++lang) {
        window->setLanguage(LangId(lang));
        EXPECT_EQ(window->MenuFile_ImportCsv->text(), QString::fromUtf8(texts[lang][0]));
        EXPECT_EQ(window->MenuFile_ExportCsv->text(), QString::fromUtf8(texts[lang][1]));
        QMessageBox box(QMessageBox::Warning, QString(), QString(), QMessageBox::Ok);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove(u'&'), QString::fromUtf8(ok[lang])) << lang;
    }
    window->setLanguage(0);
}

// No fixed text of the about box is cut, in any of the three languages.
TEST_F(MainWindowTest, AboutBoxShowsItsWholeTexts)
{
    open();
    for (LangId lang : {0, 1, 2}) {
        SCOPED_TRACE(lang);
        window->setLanguage(lang);
        ModalAnswer about("TAboutDlg", [](QWidget *w) {
            EXPECT_EQ(w->size(), QSize(360, 245));
            const auto labels = w->findChildren<QLabel *>();
            EXPECT_EQ(labels.size(), 4);
            for (const QLabel *l : labels) {
                const std::string what = l->objectName().toStdString() + ": " + l->text().toStdString();
                EXPECT_FALSE(l->text().isEmpty()) << what;
                EXPECT_TRUE(ShowsWholeText(l)) << what;
                EXPECT_TRUE(w->rect().contains(l->geometry())) << what;
            }
            Click("OKBtn")(w);
        });
        window->MenuAbout->trigger();
        EXPECT_TRUE(about.seen);
    }
}

// Exchanges through the exchange window, against the simulated radio on a
// pseudo-terminal.
class MainWindowExchangeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        LoadSampleIntoRadio(radio);
        host = std::make_unique<PtyRadioHost>(radio);
        std::string error;
        ASSERT_TRUE(host->start(error)) << error;
        open();
        const int port = session->line->portMap().add(QString::fromStdString(host->devicePath()));
        ASSERT_GT(port, 0);
        window->useTemporaryPort(port);
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        host.reset();
    }
    // Runs one exchange from a menu item; returns the message it ended with.
    QString exchange(QAction *item)
    {
        ModalAnswer start("TProgramDialog", Click("ProgramStart"));
        ModalAnswer message("TUserWarnDlg", Click("OKBtn"));
        item->trigger();
        EXPECT_TRUE(start.seen);
        return message.text;
    }

    SimulatedRadio radio;
    std::unique_ptr<PtyRadioHost> host;
};

TEST_F(MainWindowExchangeTest, ReadShowsTheRadiosChannels)
{
    EXPECT_EQ(window->channelPage->StringGrid1->cellText(1, 1), "");
    EXPECT_EQ(exchange(window->MenuEdit_Read), "SUCCESS");
    EXPECT_TRUE(IsChannelInUse(session->state().data, 1));
    EXPECT_EQ(window->channelPage->StringGrid1->cellText(1, 1), "145.50000");
    EXPECT_EQ(window->channelPage->StringGrid1->cellText(1, 11), "CALL2M");
    EXPECT_EQ(window->channelPage->sLastWriteTime->text(), "2026-1-15  9:30");
    EXPECT_NE(window->statusPanel0->text().indexOf("2026-1-15  9:30"), -1);
}

TEST_F(MainWindowExchangeTest, WriteSendsTheDataAndFailuresAreReported)
{
    { Arrangement arranged(session->project); MakeNewChannel(arranged.data(), 200, 147000000, arranged.state().limits); }
    EXPECT_EQ(exchange(window->MenuEdit_Write), "SUCCESS");
    host->withRadio([](SimulatedRadio &r) {
        EXPECT_EQ(r.memory()[0x4000 + 200 / 8] & (1 << (200 % 8)), 1 << (200 % 8));
        r.behaviour().silent = true;
    });

    const auto before = std::make_unique<RadioData>(session->state().data);
    EXPECT_EQ(exchange(window->MenuEdit_Read), "Communication False");
    EXPECT_EQ(std::memcmp(before.get(), &session->state().data, sizeof(RadioData)), 0);
}

// Closing the exchange window while the radio is being written asks first,
// by the close box and by Escape alike; stopping says plainly that the radio
// may be left partly written. A write that ends while the question is open
// takes the question away and reports its own outcome. Closing during a read
// stops it silently: nothing is lost.
TEST_F(MainWindowExchangeTest, ClosingTheWindowDuringAWriteAsksFirst)
{
    enum Answer { Stop, Continue, Wait };
    struct Case {
        const char *name;
        bool read;
        bool escape;     // Escape key instead of the close box
        Answer answer;
        bool asks;
        QString message; // the message the exchange ends with; empty: none
    };
    const Case cases[] = {
        {"write, close box, Stop", false, false, Stop, true, MainText(365)},
        {"write, Escape, Stop", false, true, Stop, true, MainText(365)},
        {"write, close box, Continue", false, false, Continue, true, "SUCCESS"},
        {"write, close box, no answer until it ends", false, false, Wait, true, "SUCCESS"},
        {"read, close box", true, false, Stop, false, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = std::make_unique<RadioData>(session->state().data);
        ModalAnswer start("TProgramDialog", Click("ProgramStart"));
        bool closed = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto *d = dynamic_cast<TProgramDialog *>(QApplication::activeModalWidget());
            if (!d || d->ProgressBar1->value() < 20)
                return;
            closer.stop();
            closed = true;
            if (c.escape)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        closer.start(5);
        ModalAnswer question("TMyWarnDlg_2", [&](QWidget *w) {
            if (c.answer != Wait)
                Click(c.answer == Stop ? "OKBtn" : "CancelBtn")(w);
        });
        bool messageFits = false;
        ModalAnswer message("TUserWarnDlg", [&](QWidget *w) {
            messageFits = ShowsWholeText(w->findChild<QLabel *>("WarnDlgText"));
            Click("OKBtn")(w);
        });
        (c.read ? window->MenuEdit_Read : window->MenuEdit_Write)->trigger();

        EXPECT_TRUE(start.seen);
        EXPECT_TRUE(closed);
        EXPECT_EQ(question.seen, c.asks);
        if (c.asks) {
            EXPECT_NE(question.text.indexOf("partial configuration"), -1) << question.text.toStdString();
        }
        EXPECT_EQ(message.seen, !c.message.isEmpty());
        EXPECT_EQ(message.text.toStdString(), c.message.toStdString());
        if (message.seen) {
            EXPECT_TRUE(messageFits) << message.text.toStdString();
        }
        EXPECT_FALSE(session->line->isOpen()) << "the port is released";
        if (c.read) {
            EXPECT_EQ(std::memcmp(before.get(), &session->state().data, sizeof(RadioData)), 0)
                << "a read broken off changes nothing";
        }
    }
}

TEST_F(MainWindowExchangeTest, ShortcutsOpenTheExchangeWindow)
{
    QApplication::setActiveWindow(window.get());
    ModalAnswer cancel("TProgramDialog", Click("CancelBtn"));
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(cancel.seen) << "Ctrl+R opens the read window; Cancel closes it unstarted";
    EXPECT_FALSE(session->line->isOpen());
}

} // namespace
} // namespace vkt
