// The cells of the automatic repeater-offset table and of the power-on
// message lines, through the same functions the two dialogs and
// `vkt410-cli get`/`set` use.
#include "field_texts.h"
#include "localisation.h"
#include "message_lines.h"
#include "offset_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace vkt {
namespace {

class DialogRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        s = std::make_unique<ProgramState>();
        SetDefaultAll(*s);
        TAppLang::instance().fSetLangType(TAppLang::English);
    }
    void TearDown() override { TAppLang::instance().fSetLangType(TAppLang::English); }

    // The shown texts of a row's cells 1..4, joined by "|".
    std::string offsetRow(int row)
    {
        std::string joined;
        for (int c = 1; c <= 4; ++c)
            joined += (c > 1 ? "|" : "") + kAutoOffsetGridCells.shown(*s, row, c).toStdString();
        return joined;
    }
    AssignResult offset(int row, int column, const char *text)
    {
        return kAutoOffsetGridCells.assign(*s, row, column, QString::fromUtf8(text));
    }
    AssignResult message(int row, int column, const char *text)
    {
        return kOpenMsgGridCells.assign(*s, row, column, QString::fromUtf8(text));
    }
    QString shownMessage(int row, int column) { return kOpenMsgGridCells.shown(*s, row, column); }

    std::unique_ptr<ProgramState> s;
};

// ---- automatic repeater-offset table -------------------------------------

TEST_F(DialogRules, OffsetGridShape)
{
    EXPECT_EQ(kAutoOffsetGridCells.name, "sgAutoOffset");
    EXPECT_EQ(kAutoOffsetGridCells.rows, 17);
    EXPECT_EQ(kAutoOffsetGridCells.columns, 5);
    EXPECT_EQ(FindGrid("sgAutoOffset"), &AllGrids()[1]);
    EXPECT_EQ(offsetRow(1), "144.50000|144.90000|+|0.60000");
    EXPECT_EQ(offsetRow(8), "447.00000|450.00000|-|5.00000");
    EXPECT_EQ(offsetRow(9), "|||");
}

// Each case types into one cell of an entry (1: the default 144.5 - 144.9,
// "+", 0.6 MHz; 9: an entry not in use) and checks the row it leaves.
TEST_F(DialogRules, OffsetCellsTyped)
{
    const struct {
        int row, column;
        const char *typed;
        const char *shown; // the row afterwards
        bool inUse;
    } kCases[] = {
        {9, kOffColFrom, "145.6", "145.60000|145.70000|+|0.60000", true},   // a new entry
        {9, kOffColFrom, "1x45.6", "145.60000|145.70000|+|0.60000", true},  // the key filter drops x
        {1, kOffColFrom, "144.95", "144.95000|145.05000|+|0.60000", true},  // from above to moves to
        {1, kOffColFrom, "144.9", "144.90000|145.00000|+|0.60000", true},   // from equal to as well
        {1, kOffColFrom, "144.6", "144.60000|144.90000|+|0.60000", true},   // below to: to stays
        {1, kOffColTo, "144.4", "144.50000|144.60000|+|0.60000", true},     // to below from
        {1, kOffColTo, "144.5", "144.50000|144.60000|+|0.60000", true},     // to equal to from
        {1, kOffColTo, "", "144.50000|144.60000|+|0.60000", true},          // empty: 136 MHz, below from
        {1, kOffColTo, "145.1", "144.50000|145.10000|+|0.60000", true},
        {1, kOffColFrom, "0", "|||", false},                                // removes the entry
        {1, kOffColFrom, "", "|||", false},                                 // so does an empty text
        {1, kOffColOffset, "80", "144.50000|144.90000|+|38.00000", true},   // above both maxima
        {1, kOffColOffset, "50", "144.50000|144.90000|+|50.00000", true},   // above the VHF one only
        {1, kOffColOffset, "0", "144.50000|144.90000|+|0.60000", true},     // 0 is ignored
        {1, kOffColOffset, "0.0031", "144.50000|144.90000|+|0.60000", true}, // snaps to 0: ignored
        {1, kOffColOffset, "5.00626", "144.50000|144.90000|+|5.00625", true}, // raster
        {9, kOffColFrom, "100", "136.00000|136.10000|+|0.60000", true},     // VHF receive limits
        {9, kOffColFrom, "180", "174.00000|174.10000|+|0.60000", true},
        {9, kOffColFrom, "300", "400.00000|400.10000|+|0.60000", true},     // UHF receive limits
        {9, kOffColFrom, "146.0031", "146.00000|146.10000|+|0.60000", true}, // raster
        {1, kOffColDirection, "-", "144.50000|144.90000|-|0.60000", true},
        {1, kOffColDirection, "#0", "144.50000|144.90000|+|0.60000", true},
        {1, kOffColDirection, "", "144.50000|144.90000|+|0.60000", true},   // no selection: unchanged
    };
    for (const auto &c : kCases) {
        SetUp();
        const AssignResult r = offset(c.row, c.column, c.typed);
        EXPECT_TRUE(r.ok) << c.typed << ": " << r.error.toStdString();
        EXPECT_EQ(offsetRow(c.row), c.shown) << "typed " << c.typed << " into column " << c.column;
        EXPECT_EQ(OffsetRowInUse(s->data, c.row), c.inUse) << c.typed;
    }
}

TEST_F(DialogRules, OffsetRecordOfANewAndARemovedEntry)
{
    ASSERT_TRUE(offset(12, kOffColFrom, "145.6").ok);
    const OffsetTableRow &e = s->data.offsetTable[11];
    EXPECT_EQ(e.start.get(), 145600000u);
    EXPECT_EQ(e.end.get(), 145700000u);
    EXPECT_EQ(e.direction, kOffsetPlus);
    EXPECT_EQ(e.offset.get(), 600000u);
    EXPECT_EQ(s->data.offsetTableBits[1], 0x08) << "bit 11";

    ASSERT_TRUE(offset(12, kOffColFrom, "0").ok);
    const OffsetTableRow zero{};
    EXPECT_EQ(std::memcmp(&e, &zero, sizeof e), 0) << "the record is cleared";
    EXPECT_EQ(s->data.offsetTableBits[1], 0x00);
}

TEST_F(DialogRules, OffsetCellsThatTakeNothing)
{
    const auto before = std::make_unique<RadioData>(s->data);
    const struct {
        int row, column;
        const char *typed;
    } kRefused[] = {
        {9, kOffColTo, "146"},        // only "from" opens in an entry not in use
        {9, kOffColDirection, "+"},
        {9, kOffColOffset, "0.6"},
        {1, kOffColFrom, "145."},     // not a frequency
        {1, kOffColTo, ".5."},        // "5." after the corrections
        {1, kOffColDirection, "*"},   // not an item
        {1, kOffColDirection, "#2"},
        {0, kOffColFrom, "145"},      // outside the body
        {17, kOffColFrom, "145"},
        {1, 5, "145"},
    };
    for (const auto &c : kRefused) {
        const AssignResult r = offset(c.row, c.column, c.typed);
        EXPECT_FALSE(r.ok) << c.row << "," << c.column << " " << c.typed;
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_EQ(std::memcmp(before.get(), &s->data, sizeof s->data), 0) << "nothing changed";
    EXPECT_TRUE(offset(1, kOffColFrom, "145.").error.contains("145.")) << "the message names the text";
}

TEST_F(DialogRules, OffsetDefaultRestoresTheEightAndEmptiesTheRest)
{
    const auto fresh = std::make_unique<RadioData>(s->data);
    ASSERT_TRUE(offset(1, kOffColOffset, "7").ok);
    ASSERT_TRUE(offset(3, kOffColFrom, "0").ok);
    ASSERT_TRUE(offset(14, kOffColFrom, "440").ok);
    s->data.offsetTable[15].start = 1234; // a record left behind in an entry not in use
    RestoreDefaultOffsets(s->data, s->limits);
    for (int row = 1; row <= 16; ++row)
        EXPECT_EQ(OffsetRowInUse(s->data, row), row <= 8) << row;
    EXPECT_EQ(std::memcmp(s->data.offsetTable, fresh->offsetTable, sizeof fresh->offsetTable), 0);
    EXPECT_EQ(std::memcmp(s->data.offsetTableBits, fresh->offsetTableBits, 4), 0);
    EXPECT_EQ(offsetRow(3), "146.00000|146.40000|+|0.60000");
    EXPECT_EQ(offsetRow(14), "|||");
}

TEST_F(DialogRules, AnEntryNotInUseShowsEmptyAndIsClearedWhenShown)
{
    s->data.offsetTable[9].start = 145000000;
    s->data.offsetTable[9].direction = 1;
    EXPECT_EQ(offsetRow(10), "|||");
    EXPECT_EQ(OffsetDirectionIndex(s->data, 10), -1);
    ClearUnusedOffsetRows(s->data);
    EXPECT_EQ(s->data.offsetTable[9].start.get(), 0u);
    EXPECT_EQ(s->data.offsetTable[9].direction, 0);
    EXPECT_EQ(s->data.offsetTable[0].start.get(), 144500000u) << "entries in use are kept";
}

// ---- power-on message lines --------------------------------------------------

TEST_F(DialogRules, MessageGridShapeAndDefaults)
{
    EXPECT_EQ(kOpenMsgGridCells.name, "sgOpenMsgDefine");
    EXPECT_EQ(kOpenMsgGridCells.rows, 5);
    EXPECT_EQ(kOpenMsgGridCells.columns, 5);
    EXPECT_EQ(FindGrid("sgOpenMsgDefine"), &AllGrids()[2]);
    for (int line = 1; line <= 4; ++line) {
        EXPECT_EQ(shownMessage(line, kMsgColLine), "1");
        EXPECT_EQ(shownMessage(line, kMsgColFont), "Small");
        EXPECT_EQ(shownMessage(line, kMsgColAlignment), "Center");
        EXPECT_EQ(shownMessage(line, kMsgColContent), "");
    }
}

TEST_F(DialogRules, MessageListsStoreTheirBytes)
{
    const struct {
        int line, column;
        const char *chosen;
        int byteOffset; // in the line
        int stored;
        const char *shown;
    } kCases[] = {
        {2, kMsgColFont, "Large", 1, 32, "Large"},
        {2, kMsgColFont, "#1", 1, 24, "Medium"},
        {2, kMsgColFont, "", 1, 16, "Small"},       // no selection: unchanged
        {3, kMsgColAlignment, "Left", 2, 253, "Left"},
        {3, kMsgColAlignment, "Right", 2, 255, "Right"},
        {4, kMsgColLine, "8", 0, 7, "8"},
        {4, kMsgColLine, "#2", 0, 2, "3"},
        {1, kMsgColLine, "", 0, 0, "1"},
    };
    for (const auto &c : kCases) {
        SetUp();
        const AssignResult r = message(c.line, c.column, c.chosen);
        EXPECT_TRUE(r.ok) << c.chosen << ": " << r.error.toStdString();
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&s->data.messageLines[c.line - 1]);
        EXPECT_EQ(bytes[c.byteOffset], c.stored) << c.chosen;
        EXPECT_EQ(shownMessage(c.line, c.column).toStdString(), c.shown) << c.chosen;
    }
    const struct {
        int line, column;
        const char *chosen;
    } kRefused[] = {
        {1, kMsgColFont, "Huge"}, {1, kMsgColFont, "#3"}, {1, kMsgColFont, "#"}, {1, kMsgColFont, "#x"},
        {1, kMsgColFont, "大"},    // the English item names the entry
        {1, kMsgColLine, "0"},     {1, kMsgColLine, "9"}, {5, kMsgColFont, "Large"}, {1, 0, "1"},
    };
    SetUp();
    const auto before = std::make_unique<RadioData>(s->data);
    for (const auto &c : kRefused)
        EXPECT_FALSE(message(c.line, c.column, c.chosen).ok) << c.chosen;
    EXPECT_EQ(std::memcmp(before.get(), &s->data, sizeof s->data), 0) << "nothing changed";
}

TEST_F(DialogRules, LargeOfLineTwoShownInEachLanguage)
{
    ASSERT_TRUE(message(2, kMsgColFont, "Large").ok);
    EXPECT_EQ(s->data.messageLines[1].font, 32);
    const struct {
        std::uint8_t lang;
        const char *shown;
    } kLanguages[] = {{TAppLang::English, "Large"}, {TAppLang::Simplified, "大"}, {TAppLang::Traditional, "大"}};
    for (const auto &l : kLanguages) {
        TAppLang::instance().fSetLangType(l.lang);
        EXPECT_EQ(shownMessage(2, kMsgColFont), QString::fromUtf8(l.shown)) << int(l.lang);
    }
}

TEST_F(DialogRules, BytesWithoutAnEntryShowEmptyAndAreKept)
{
    MessageLine &m = s->data.messageLines[0];
    m.line = 9;
    m.font = 20;
    m.alignment = 0;
    for (int column : {kMsgColLine, kMsgColFont, kMsgColAlignment}) {
        EXPECT_EQ(shownMessage(1, column), "") << column;
        EXPECT_EQ(MessageListIndex(s->data, 1, column), -1) << column;
        // Leaving the list without choosing, as the dialog does.
        StoreMessageListIndex(s->data, 1, column, -1);
        EXPECT_TRUE(message(1, column, "").ok);
    }
    EXPECT_EQ(m.line, 9);
    EXPECT_EQ(m.font, 20);
    EXPECT_EQ(m.alignment, 0);
}

TEST_F(DialogRules, ContentKeepsSixteenBytes)
{
    const struct {
        const char *typed;
        const char *shown;
        std::size_t bytes;
    } kCases[] = {
        {"HELLO", "HELLO", 5},
        {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOP", 16},          // the 17th is removed
        {"中文中文中文中文中文", "中文中文中文中文", 16},          // two bytes each
        {"ABCDEFGHIJKLMNO中", "ABCDEFGHIJKLMNO", 15},           // a character that does not fit
        {"", "", 0},
    };
    for (const auto &c : kCases) {
        ASSERT_TRUE(message(3, kMsgColContent, c.typed).ok);
        EXPECT_EQ(shownMessage(3, kMsgColContent), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(MessageTextBytes(s->data, 3).size(), c.bytes) << c.typed;
    }
    EXPECT_EQ(CutMessageText(QStringLiteral("ABCDEFGHIJKLMNOPQ")), QStringLiteral("ABCDEFGHIJKLMNOP"));
    // Sixteen bytes fill the field: no terminator.
    ASSERT_TRUE(message(3, kMsgColContent, "0123456789ABCDEF").ok);
    EXPECT_EQ(std::memcmp(s->data.messageLines[2].text, "0123456789ABCDEF", 16), 0);
    EXPECT_EQ(s->data.messageLines[3].line, 0) << "the next line is untouched";
}

} // namespace
} // namespace vkt
