// Copy and paste of channel-table rows: the tab-separated text written,
// what pasting it (or cells copied from a spreadsheet) stores, checked
// against the stored bytes; then the channel page with real Ctrl+C and
// Ctrl+V key presses on the offscreen platform.
#include "app_session.h"
#include "channel_page.h"
#include "channel_rows.h"
#include "field_texts.h"
#include "gbk_text.h"
#include "localisation.h"
#include "message_answer.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

namespace vkt {
namespace {

// A channel as stored: its 72 bytes and its in-use bit.
struct Stored {
    std::array<std::uint8_t, sizeof(ChannelEntry)> bytes{};
    bool inUse = false;
    bool operator==(const Stored &) const = default;
};

Stored StoredAt(const RadioData &d, int ch)
{
    Stored s;
    std::memcpy(s.bytes.data(), &d.channels[ch], sizeof(ChannelEntry));
    s.inUse = IsChannelInUse(d, ch);
    return s;
}

std::vector<Stored> AllStored(const RadioData &d)
{
    std::vector<Stored> all;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        all.push_back(StoredAt(d, ch));
    return all;
}

void Type(ProgramState &s, int ch, int column, const char *text)
{
    const AssignResult r = AssignChannelCell(s, ch, column, QString::fromUtf8(text));
    ASSERT_TRUE(r.ok) << ch << "/" << column << ": " << r.error.toStdString();
}

// Channels 1, 2, 4 and 5 as the table makes them (3 stays empty): CTCSS
// and DCS tones, the three power levels, busy lock, the signalling
// systems, a Chinese name.
void Fill(ProgramState &s)
{
    Type(s, 1, kColRx, "145.5");
    Type(s, 1, kColDecode, "88.5");
    Type(s, 1, kColEncode, "D023N");
    Type(s, 1, kColPower, "Low");
    Type(s, 1, kColName, GbkAvailable() ? "中文" : "CH1");
    Type(s, 2, kColRx, "435.025");
    Type(s, 2, kColTx, "440");
    Type(s, 2, kColDecode, "D754I");
    Type(s, 2, kColEncode, "67.1");
    Type(s, 2, kColBandwidth, "Narrow");
    Type(s, 2, kColScan, "DEL");
    Type(s, 2, kColBusy, "CAT");
    Type(s, 2, kColName, "RPT-2");
    Type(s, 4, kColRx, "146.52");
    Type(s, 4, kColTx, "0");
    Type(s, 4, kColPower, "Mid");
    Type(s, 4, kColBusy, "DQT");
    Type(s, 4, kColSignalSystem, "DTMF");
    Type(s, 4, kColSignalNumber, "#6");
    Type(s, 5, kColRx, "438.5");
    Type(s, 5, kColSignalSystem, "5-TONE");
    Type(s, 5, kColSignalNumber, "#15");
}

QString Tabs(int n) { return QString(n, QLatin1Char('\t')); }

class ChannelRowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAppLang::instance().fSetLangType(TAppLang::English);
        SetDefaultAll(s);
    }
    void TearDown() override { TAppLang::instance().fSetLangType(TAppLang::English); }
    QString cell(int ch, int column) const { return ChannelCellText(s.data, ch, column); }

    ProgramState s;
};

TEST_F(ChannelRowsTest, CopyWritesTheHeadingsAndTheCellsAsShown)
{
    Fill(s);
    const QStringList lines = CopyChannelRows(s.data, 2, 3).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << "every line ends in a line break";
    EXPECT_EQ(lines[0], "NO.\tRX Freq.\tTX Freq.\tQT/DQT Dec\tQT/DQT Enc\tTX Power\tBandwidth\tSCN\t"
                        "Busy Inhibit\tSignaling System\tSignaling No.\tName");
    EXPECT_EQ(lines[1], "2\t435.02500\t440.00000\tD754I\t67.1\tHigh\tNarrow\tDEL\tCAT\tOFF\t\tRPT-2");
    EXPECT_EQ(lines[2], "3" + Tabs(11)) << "an unused channel: its number, empty cells";
    EXPECT_EQ(lines[3], "");

    TAppLang::instance().fSetLangType(TAppLang::Simplified);
    EXPECT_TRUE(CopyChannelRows(s.data, 4, 4).startsWith("序号\t接收频率\t"));
    EXPECT_TRUE(CopyChannelRows(s.data, 4, 4).contains("\t中\t宽带\t添加\t亚音\tDTMF\t7\t"));
}

// Copied in any language and pasted under another, into an empty table
// and onto other rows of the same table: the same bytes.
TEST_F(ChannelRowsTest, CopiedRowsPasteToTheSameBytesFromEveryLanguage)
{
    Fill(s);
    for (std::uint8_t lang : {TAppLang::English, TAppLang::Simplified, TAppLang::Traditional}) {
        SCOPED_TRACE(int(lang));
        TAppLang::instance().fSetLangType(lang);
        const QString text = CopyChannelRows(s.data, 1, 5);
        TAppLang::instance().fSetLangType(lang == TAppLang::English ? TAppLang::Traditional : TAppLang::English);

        auto empty = std::make_unique<ProgramState>();
        SetDefaultAll(*empty);
        PasteReport r = PasteChannelRows(*empty, 1, text);
        EXPECT_EQ(r.pasted, 5);
        EXPECT_TRUE(r.skipped.empty());
        auto same = std::make_unique<ProgramState>(s);
        r = PasteChannelRows(*same, 11, text);
        EXPECT_EQ(r.pasted, 5);
        for (int ch = 1; ch <= 5; ++ch) {
            EXPECT_EQ(StoredAt(empty->data, ch), StoredAt(s.data, ch)) << ch;
            EXPECT_EQ(StoredAt(same->data, ch + 10), StoredAt(s.data, ch)) << ch;
        }
    }
}

// Values the table shows alike for different bytes (power code 3 shows
// "Mid", an Off tone stored as 0 or 0xFFFF), bytes no column reaches and
// name bytes after the zero survive a copy pasted back where it came from.
TEST_F(ChannelRowsTest, PastingACopyBackChangesNoByte)
{
    Fill(s);
    ChannelEntry &e = s.data.channels[2];
    SetPowerOf(e, 3);
    e.decodeCode = 0xFFFF;
    e.decodeType = kToneOff;
    std::memset(e.spare44, 0x5A, sizeof e.spare44);
    std::memcpy(e.name, "AB\0Z", 4);
    SetScramblingOf(s.data.channels[4], 3);
    const std::vector<Stored> before = AllStored(s.data);

    const PasteReport r = PasteChannelRows(s, 1, CopyChannelRows(s.data, 1, 5));
    EXPECT_EQ(r.pasted, 5);
    EXPECT_TRUE(r.skipped.empty());
    EXPECT_EQ(AllStored(s.data), before);
}

TEST_F(ChannelRowsTest, SpreadsheetCellsAreFoundByTheirHeadingsOrTakenInTableOrder)
{
    struct Case {
        const char *what;
        const char *text;
        int at;
        std::vector<std::tuple<int, int, const char *>> shown; // channel, column, text
    } cases[] = {
        {"English headings in another order, letter case and blanks aside, an unknown column, CR LF",
         "Name\tComment\t rx freq. \tTX POWER\tQT/DQT Dec\tscn\r\n"
         "RPT\tfirst\t145.6\tlow\t67.0\tdel\r\n"
         "\"Q,2\"\t\t433.2\tMid\tD023N\tADD\r\n",
         20,
         {{20, kColName, "RPT"}, {20, kColRx, "145.60000"}, {20, kColTx, "145.60000"}, {20, kColPower, "Low"},
          {20, kColDecode, "67.0"}, {20, kColScan, "DEL"}, {21, kColName, "Q,2"}, {21, kColRx, "433.20000"},
          {21, kColPower, "Mid"}, {21, kColDecode, "D023N"}, {21, kColScan, "ADD"}}},
        {"Chinese headings, list texts in Simplified and Traditional",
         "序号\t接收频率\t发射频率\t发射功率\t繁忙锁定\t信令系统\t信令编号\t别名\n"
         "9\t433.1\t438.1\t中\t載波\tDTMF\t12\tABC\n",
         30,
         {{30, kColRx, "433.10000"}, {30, kColTx, "438.10000"}, {30, kColPower, "Mid"}, {30, kColBusy, "CAT"},
          {30, kColSignalSystem, "DTMF"}, {30, kColSignalNumber, "12"}, {30, kColName, "ABC"}}},
        {"no headings: the table's order, the number column not choosing the channel",
         "77\t146\t146.6\t100.0\tOff\tHigh\tWide\tADD\tDQT\t2-TONE\t3\tNOHDR\n",
         40,
         {{40, kColRx, "146.00000"}, {40, kColTx, "146.60000"}, {40, kColDecode, "100.0"}, {40, kColBusy, "DQT"},
          {40, kColSignalSystem, "2-TONE"}, {40, kColSignalNumber, "3"}, {40, kColName, "NOHDR"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SetDefaultAll(s);
        const PasteReport r = PasteChannelRows(s, c.at, QString::fromUtf8(c.text));
        EXPECT_TRUE(r.skipped.empty()) << (r.skipped.empty() ? "" : r.skipped[0].reason.toStdString());
        for (const auto &[ch, column, text] : c.shown)
            EXPECT_EQ(cell(ch, column), QString::fromUtf8(text)) << ch << "/" << column;
        EXPECT_FALSE(IsChannelInUse(s.data, 77)) << "channel 77 of the text is not where it went";
    }
}

// A pasted cell goes through the rules a typed one does.
TEST_F(ChannelRowsTest, PastedCellsFollowTheTypingRules)
{
    const struct {
        int column;
        const char *pasted;
        const char *shown;
    } cases[] = {
        {kColRx, "180", "174.00000"},      // above the VHF band: its top
        {kColRx, "520", "470.00000"},      // above the UHF band
        {kColRx, "145.123", "145.11875"},  // off the raster
        {kColTx, "145.1231", "145.11875"},
        {kColDecode, "88", "88.0"},        // not completed to the list's 88.5
        {kColEncode, "d023i", "D023I"},    // d, n, i as typed into the tone box
        {kColName, "A B!C{", "ABC"},       // refused characters left out
        {kColName, "ABCDEFGH", "ABCDEF"},  // six bytes
        {kColName, "中文名字", "中文名"},  // six GBK bytes, whole characters
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pasted);
        if (!GbkAvailable() && QString::fromUtf8(c.pasted).front().unicode() >= 128)
            continue;
        SetDefaultAll(s);
        const QString heading = MainText(kChannelHeadingTexts[c.column]);
        const QString text = c.column == kColRx ? "RX Freq.\n" + QString::fromUtf8(c.pasted)
                                                : "RX Freq.\t" + heading + "\n145.5\t" + QString::fromUtf8(c.pasted);
        EXPECT_EQ(PasteChannelRows(s, 1, text).pasted, 1);
        EXPECT_EQ(cell(1, c.column), QString::fromUtf8(c.shown));
    }
}

// Rows the radio cannot hold leave their channel byte for byte as it was,
// even when the row had already created it; the reasons are in the active
// language.
TEST_F(ChannelRowsTest, RowsThatCannotBeStoredAreSkippedAndReported)
{
    Fill(s);
    const std::vector<Stored> before = AllStored(s.data);
    constexpr std::uint8_t zh = TAppLang::Simplified;
    TAppLang::instance().fSetLangType(zh);
    auto text = [](int n) { return TextIn(TextTable::Main, n, zh); };

    const PasteReport r = PasteChannelRows(s, 1, QStringLiteral(
        "1\t145,5\n"                                  // a comma is no decimal point
        "2\t435.025\t440\tD0\n"                       // no tone
        "3\t145.8\t145.8\tOff\tOff\tMedium\n"         // no power level; channel 3 was empty
        "4\t146.52\tabc\n"
        "5\t\t\t\t\t\t\t\t\t\t\tNAME\n"               // a name without a receive frequency
        "6\t147.1\t\t\t\t\t\t\t\tOFF\t5\n"            // no signalling system, so no number
        "7\t147.0\n"));
    EXPECT_EQ(r.pasted, 1);
    const std::vector<std::tuple<int, int, QString>> expected = {
        {1, 1, text(kTextPasteBadRx).arg("145,5")},
        {2, 2, text(kTextPasteBadTone).arg("D0")},
        {3, 3, text(kTextPasteNoItem).arg("Medium", "发射功率")},
        {4, 4, text(kTextPasteBadTx).arg("abc")},
        {5, 5, text(kTextPasteNoRx)},
        {6, 6, text(kTextPasteNoItem).arg("5", "信令编号")},
    };
    ASSERT_EQ(r.skipped.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.skipped[i].line, std::get<0>(expected[i]));
        EXPECT_EQ(r.skipped[i].channel, std::get<1>(expected[i]));
        EXPECT_EQ(r.skipped[i].reason, std::get<2>(expected[i]));
    }
    for (int ch = 1; ch <= 6; ++ch)
        EXPECT_EQ(StoredAt(s.data, ch), before[ch - 1]) << ch;
    EXPECT_EQ(cell(7, kColRx), "147.00000");
    EXPECT_EQ(PasteSkipText(r.skipped[4]), "第 5 行，信道 5：该行没有接收频率");
}

TEST_F(ChannelRowsTest, RowsPastTheTableAreReportedAndTheMessageStaysShort)
{
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("%1\t145.%2\n").arg(i + 1).arg(i);
    const PasteReport r = PasteChannelRows(s, 238, text);
    EXPECT_EQ(r.pasted, 3);
    ASSERT_EQ(r.skipped.size(), 27u);
    EXPECT_EQ(r.skipped[0].line, 4);
    EXPECT_EQ(r.skipped[0].channel, 241);
    EXPECT_EQ(r.skipped[0].reason, "there is no channel 241: the table ends at channel 240");
    EXPECT_EQ(cell(240, kColRx), "145.20000");

    const QStringList lines = PasteReportText(r).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[0], "Rows pasted: 3. Rows skipped, their channels left as they were: 27.");
    EXPECT_EQ(lines[1], "Line 4, channel 241: there is no channel 241: the table ends at channel 240");
    EXPECT_EQ(lines[21], "...");
}

// An empty row deletes its channel as an emptied receive frequency does;
// a row that is only a number, or a text far too large, changes nothing.
TEST_F(ChannelRowsTest, EmptyRowsDeleteAndNothingElseIsLost)
{
    Fill(s);
    const Stored second = StoredAt(s.data, 2);
    PasteReport r = PasteChannelRows(s, 1, "1" + Tabs(11) + "\n145.5\n");
    EXPECT_EQ(r.pasted, 1);
    EXPECT_FALSE(IsChannelInUse(s.data, 1));
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped[0].reason, MainText(kTextPasteNothing));
    EXPECT_EQ(StoredAt(s.data, 2), second) << "a lone cell is the number column, not an empty row";

    const std::vector<Stored> before = AllStored(s.data);
    const QString huge(int(kMaxPasteBytes) + 1, QLatin1Char('\n'));
    r = PasteChannelRows(s, 1, huge);
    EXPECT_EQ(r.error, MainText(kTextPasteTooLarge).arg(kMaxPasteBytes + 1));
    EXPECT_EQ(PasteReportText(r), r.error);
    EXPECT_EQ(AllStored(s.data), before);
    EXPECT_EQ(PasteChannelRows(s, 1, QString()).pasted, 0);
}

// ---- the page --------------------------------------------------------------

class ChannelClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAppLang::instance().fSetLangType(TAppLang::English);
        session = std::make_unique<AppSession>();
        {
            Arrangement arranged(session->project);
            SetDefaultAll(arranged.state());
            Fill(arranged.state());
        }
        page = std::make_unique<ChannelPage>(*session, nullptr);
        page->resize(1000, 600);
        page->retranslate();
        page->load();
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        QApplication::setActiveWindow(page.get());
        grid = page->StringGrid1;
        grid->setFocus();
    }
    void TearDown() override { page.reset(); }

    const RadioData &data() { return session->state().data; }
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    static void ctrl(QWidget *w, Qt::Key key) { QTest::keyClick(w, key, Qt::ControlModifier); }

    std::unique_ptr<AppSession> session;
    std::unique_ptr<ChannelPage> page;
    Grid *grid = nullptr;
};

TEST_F(ChannelClipboardTest, CtrlCCopiesTheSelectedRowsAndCtrlVPastesThemAtTheCurrentRow)
{
    grid->setCurrentGridCell(1, kColName);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    ctrl(grid, Qt::Key_C);
    EXPECT_EQ(clipboard()->text(), CopyChannelRows(data(), 1, 3));
    EXPECT_EQ(page->activeEditor(), nullptr);

    // On the name column any typed key opens the editor; Ctrl+V must not.
    grid->setCurrentGridCell(50, kColName);
    ctrl(grid, Qt::Key_V);
    EXPECT_EQ(page->activeEditor(), nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(StoredAt(data(), 50 + i), StoredAt(data(), 1 + i)) << i;
        for (int c = kColRx; c <= kColName; ++c)
            EXPECT_EQ(grid->cellText(50 + i, c), grid->cellText(1 + i, c)) << i << "/" << c;
    }

    // Nothing selected: the current row.
    grid->clearSelection();
    grid->selectionModel()->setCurrentIndex(grid->model()->index(4 - 1, kColRx - 1), QItemSelectionModel::NoUpdate);
    ctrl(grid, Qt::Key_C);
    EXPECT_EQ(clipboard()->text(), CopyChannelRows(data(), 4, 4));
}

TEST_F(ChannelClipboardTest, SkippedRowsAreShownInAMessageBox)
{
    const Stored before = StoredAt(data(), 7);
    clipboard()->setText("7\t145,5\n8\t146.5\n");
    grid->setCurrentGridCell(7, kColRx);
    MessageAnswer answer;
    ctrl(grid, Qt::Key_V);
    ASSERT_TRUE(answer.waitForOne());
    EXPECT_EQ(answer.texts[0], "Rows pasted: 1. Rows skipped, their channels left as they were: 1.\n"
                               "Line 1, channel 7: the receive frequency \"145,5\" cannot be read");
    EXPECT_EQ(StoredAt(data(), 7), before);
    EXPECT_EQ(grid->cellText(8, kColRx), "146.50000") << "the pasted row is shown";
}

// With the mouse: pressing a row's number selects it, Shift extends the
// run; an editor open at that moment stores its text first.
TEST_F(ChannelClipboardTest, RowsAreSelectedByTheirNumbers)
{
    QHeaderView *numbers = grid->verticalHeader();
    auto at = [&](int row) {
        return QPoint(numbers->width() / 2,
                      numbers->sectionViewportPosition(row - 1) + numbers->sectionSize(row - 1) / 2);
    };
    page->placeEditor(2, kColName);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChName);
    page->Edit_ChName->selectAll();
    QTest::keyClicks(page->Edit_ChName, "NEW");
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, Qt::NoModifier, at(1));
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(3));
    EXPECT_EQ(page->activeEditor(), nullptr);
    EXPECT_EQ(grid->cellText(2, kColName), "NEW") << "the editor stored its text";
    EXPECT_EQ(grid->selectedGridRows(), std::make_pair(1, 3));
    ctrl(grid, Qt::Key_C);
    EXPECT_EQ(clipboard()->text(), CopyChannelRows(data(), 1, 3));
}

// With an editor open the keys are the editor's: they copy and paste its
// text, through its typing rules, and the table is not touched.
TEST_F(ChannelClipboardTest, WithAnEditorOpenCtrlCAndCtrlVBelongToTheEditor)
{
    const std::vector<Stored> before = AllStored(data());
    clipboard()->setText("A B!C");
    page->placeEditor(2, kColName);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChName);
    page->Edit_ChName->selectAll();
    ctrl(page->Edit_ChName, Qt::Key_V);
    EXPECT_EQ(page->Edit_ChName->text(), "ABC") << "the name editor's key filter applies";
    EXPECT_EQ(AllStored(data()), before);
    page->Edit_ChName->selectAll();
    ctrl(page->Edit_ChName, Qt::Key_C);
    EXPECT_EQ(clipboard()->text(), "ABC");
    QTest::keyClick(page->Edit_ChName, Qt::Key_Return);
    EXPECT_EQ(grid->cellText(2, kColName), "ABC");

    clipboard()->setText("146.5 MHz");
    page->placeEditor(2, kColRx);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    page->Edit_ChFreq->selectAll();
    ctrl(page->Edit_ChFreq, Qt::Key_V);
    EXPECT_EQ(page->Edit_ChFreq->text(), "146.5");
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Return);
    EXPECT_EQ(grid->cellText(2, kColRx), "146.50000");
}

} // namespace
} // namespace vkt
