// Two-tone signalling without widgets: the tone-set table, the lead delays,
// and the cells of the system, decode and encode grids through the same
// functions the page and `vkt410-cli get`/`set` use.
#include "field_texts.h"
#include "fields.h"
#include "localisation.h"
#include "two_tone.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace vkt {
namespace {

class TwoTone : public ::testing::Test {
protected:
    void SetUp() override
    {
        s = std::make_unique<ProgramState>();
        SetDefaultAll(*s);
        TAppLang::instance().fSetLangType(TAppLang::English);
    }

    RadioData &d() { return s->data; }
    TwoToneSystem &system(int n) { return d().twoToneSystems[n - 1]; }
    std::string shown(const GridCells &g, int row, int column) { return g.shown(*s, row, column).toStdString(); }
    AssignResult set(const GridCells &g, int row, int column, const char *text)
    {
        return g.assign(*s, row, column, QString::fromUtf8(text));
    }
    std::string systemCell(int row, int column) { return shown(kTwoToneSystemGridCells, row, column); }
    AssignResult setSystem(int row, int column, const char *text) { return set(kTwoToneSystemGridCells, row, column, text); }

    std::unique_ptr<ProgramState> s;
};

// ---- tone sets -----------------------------------------------------------------

TEST(ToneSets, TableAndReferenceCells)
{
    struct Case {
        int set;
        const char *listName, *heading;
        int digit;
        const char *hz;
    };
    const Case cases[] = {
        {0, "Motorola-1", "Moto-1", 0, "330.5"},   {2, "Motorola-3", "Moto-3", 0, "1092.4"},
        {2, "Motorola-3", "Moto-3", 1, "288.5"},   {6, "Motorola-10", "Moto-10", 9, "1881.0"},
        {7, "Motorola-11", "Moto-11", 7, "2334.6"}, {8, "GE/99-A", "GE/99-A", 7, "547.5"},
        {10, "GE/99-C", "GE/99-C", 9, "622.5"},    {11, "REACH-A", "REACH-A", 1, "2704.0"},
        {14, "REACH-D", "REACH-D", 5, "990.0"},    {15, "REACH-E", "REACH-E", 9, "609.0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.listName);
        EXPECT_EQ(kToneSets[c.set].listName, c.listName);
        EXPECT_EQ(kToneSets[c.set].heading, c.heading);
        EXPECT_EQ(kToneSets[c.set].hz[c.digit], c.hz);
        EXPECT_EQ(ToneTableCellText(0, c.set + 1), c.heading);
        EXPECT_EQ(ToneTableCellText(c.digit + 1, c.set + 1), c.hz);
    }
    // Every tone reads as a number with one decimal, and no set repeats a tone.
    for (const ToneSet &t : kToneSets)
        for (int i = 0; i < kToneDigitCount; ++i) {
            const std::string_view hz = t.hz[i];
            EXPECT_TRUE(hz.size() >= 5 && hz[hz.size() - 2] == '.') << t.listName << " " << i;
            for (int j = 0; j < i; ++j)
                EXPECT_NE(hz, t.hz[j]) << t.listName;
        }
    EXPECT_EQ(ToneTableCellText(0, 0), "");
    EXPECT_EQ(ToneTableCellText(1, 0), "0");
    EXPECT_EQ(ToneTableCellText(10, 0), "9");
    EXPECT_EQ(ToneTableCellText(11, 1), "");
    EXPECT_EQ(ToneTableCellText(1, 17), "");
}

// ---- lead delays ------------------------------------------------------------------

// What typing `text` key by key into the field and leaving it stores.
std::uint32_t TypeLeadDelay(const Field &f, RadioData &d, std::string_view text)
{
    std::string typed;
    for (char c : text)
        if (LimitedNumberKeyPasses(static_cast<unsigned char>(c)))
            typed = CorrectLimitedNumberText(f, typed + c);
    EXPECT_EQ(StoreLimitedNumberText(f, d, typed), TextStore::Stored);
    return ReadFieldValue(f, d);
}

TEST_F(TwoTone, LeadDelaysAreHeldInTheirLimits)
{
    const std::span<const Field> rows = TwoToneFields();
    ASSERT_EQ(rows.size(), 4u);
    const struct {
        const char *typed;
        std::uint32_t stored;
    } cases[] = {{"50", 100}, {"4000", 3000}, {"2999", 2999}, {"", 100}, {"12345", 1234},
                 {"3x0-0", 300}, {"0100", 100}, {"99999999999", 3000}};
    for (const Field &f : rows.first(2)) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(f.name) + " <- " + c.typed);
            const RadioData before = d();
            EXPECT_EQ(TypeLeadDelay(f, d(), c.typed), c.stored);
            EXPECT_EQ(LimitedNumberText(f, d()), std::to_string(c.stored));
            // Only the field's two bytes change.
            RadioData other = d();
            std::memcpy(reinterpret_cast<std::uint8_t *>(&other) + f.offset,
                        reinterpret_cast<const std::uint8_t *>(&before) + f.offset, 2);
            EXPECT_EQ(std::memcmp(&other, &before, sizeof before), 0);
        }
    }
    EXPECT_EQ(rows[0].offset, offsetof(RadioData, leadIn2T));
    EXPECT_EQ(rows[1].offset, offsetof(RadioData, leadOut2T));
    // A paste with letters keeps its digits; a fifth digit goes at once.
    EXPECT_EQ(CorrectLimitedNumberText(rows[0], "1a2b"), "12");
    EXPECT_EQ(CorrectLimitedNumberText(rows[0], "29995"), "2999");
    EXPECT_FALSE(LimitedNumberKeyPasses('a'));
    EXPECT_FALSE(LimitedNumberKeyPasses('.'));
    EXPECT_TRUE(LimitedNumberKeyPasses('\b'));
}

TEST_F(TwoTone, HiddenCallRowsNameEveryEncodeEntry)
{
    const Field &call1 = TwoToneFields()[2];
    EXPECT_EQ(call1.name, "cbCall_1");
    EXPECT_EQ(call1.offset, offsetof(RadioData, call1_2T));
    EXPECT_EQ(TwoToneFields()[3].offset, offsetof(RadioData, call2_2T));
    EXPECT_FALSE(call1.shown);
    EXPECT_EQ(IndexForValue(call1, 255), 0);
    EXPECT_EQ(IndexForValue(call1, 8), 9);
    EXPECT_EQ(IndexForValue(call1, 32), -1);
    EXPECT_EQ(ValueForIndex(call1, 0, 7), 255u);
    EXPECT_EQ(ValueForIndex(call1, 32, 7), 31u);
    const QStringList items = FieldItemTexts(call1, d());
    ASSERT_EQ(items.size(), 33);
    EXPECT_EQ(items[0], "Off");
    EXPECT_EQ(items[9], "Enc- 9");
}

// The rows through the table of fields by name, as `vkt410-cli get`/`set`
// and the page's binder reach them.
TEST_F(TwoTone, RowsAreReachedByName)
{
    const Field *leadIn = FindField("eLeadIn_2T");
    ASSERT_NE(leadIn, nullptr);
    ASSERT_NE(FindField("eLeadOut_2T"), nullptr);
    ASSERT_NE(FindField("cbCall_2"), nullptr);
    for (const auto &[typed, stored] : {std::pair{"50", "100"}, {"4000", "3000"}, {"2999", "2999"}, {"29995", "2999"}}) {
        EXPECT_TRUE(AssignText(*leadIn, *s, typed).ok) << typed;
        EXPECT_EQ(ShownText(*leadIn, *s), stored) << typed;
    }
    EXPECT_EQ(d().leadIn2T, 2999);
    EXPECT_FALSE(FieldKeyPasses(*leadIn, 'x'));
    EXPECT_TRUE(AssignText(*FindField("cbCall_2"), *s, "Enc- 3").ok);
    EXPECT_EQ(d().call2_2T, 2);
    for (const GridCells *g : {&kTwoToneSystemGridCells, &kTwoToneDecodeGridCells, &kTwoToneEncodeGridCells}) {
        const GridCells *found = FindGrid(g->name);
        ASSERT_NE(found, nullptr) << g->name;
        EXPECT_TRUE(found->shown == g->shown && found->assign == g->assign && found->rows == g->rows &&
                    found->columns == g->columns)
            << g->name;
    }
}

// ---- system times ---------------------------------------------------------------------

TEST_F(TwoTone, TimesInTenthsWithTheirLimits)
{
    const struct {
        int column;
        const char *typed;
        std::uint8_t stored;
        const char *shows;
    } cases[] = {
        {k2tColToneATime, "0.45", 4, "0.4"}, {k2tColToneATime, "30", 250, "25"},  {k2tColToneATime, "", 4, "0.4"},
        {k2tColToneBTime, "2.3", 23, "2.3"}, {k2tColToneBTime, "0.3", 4, "0.4"},  {k2tColToneBTime, "1..5", 15, "1.5"},
        {k2tColGroupTime, "1", 30, "3"},     {k2tColGroupTime, "12.75", 127, "12.7"}, {k2tColGroupTime, ".", 30, "3"},
        {k2tColGroupTime, "a9b", 90, "9"},   {k2tColGroupTime, "99999", 250, "25"}, {k2tColToneATime, ".5", 50, "5"}, // a lone "." typed first is emptied
        {k2tColToneATime, "5.", 50, "5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " <- " + c.typed);
        ASSERT_TRUE(setSystem(3, c.column, c.typed).ok);
        const std::uint8_t stored = c.column == k2tColToneATime   ? system(3).toneATime
                                    : c.column == k2tColToneBTime ? system(3).toneBTime
                                                                  : system(3).groupTime;
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(systemCell(3, c.column), c.shows);
    }
    EXPECT_EQ(TenthsText(10), "1");
    EXPECT_EQ(TenthsText(4), "0.4");
    EXPECT_EQ(CorrectTimeText("1.2."), "1.2");
    EXPECT_EQ(CorrectTimeText("12.345"), "12.3");
    EXPECT_EQ(CorrectTimeText("."), "");
    EXPECT_FALSE(TimeKeyPasses('-'));
}

// ---- the other system columns ------------------------------------------------------------

TEST_F(TwoTone, SystemColumnsStoreTheirFields)
{
    // Name: key filter (blank, ! " # $ % & ' ( ) { | } ~ dropped), 6 bytes.
    ASSERT_TRUE(setSystem(1, k2tColName, "A B(C)D{E}F~GH").ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(system(1).name), 6), "ABCDEF");
    EXPECT_EQ(systemCell(1, k2tColName), "ABCDEF");
    ASSERT_TRUE(setSystem(1, k2tColName, "").ok);
    EXPECT_EQ(systemCell(1, k2tColName), "");
    EXPECT_EQ(system(1).name[5], 0);

    ASSERT_TRUE(setSystem(2, k2tColType, "REACH-C").ok);
    EXPECT_EQ(system(2).presetTable, 13);
    EXPECT_EQ(systemCell(2, k2tColType), "REACH-C");
    EXPECT_FALSE(setSystem(2, k2tColType, "Moto-1").ok); // a heading, not a list name
    ASSERT_TRUE(setSystem(2, k2tColAutoResetTime, "120").ok);
    EXPECT_EQ(system(2).autoResetTime, 120);
    EXPECT_FALSE(setSystem(2, k2tColAutoResetTime, "0").ok);

    // Values a file may hold that no item shows: empty cells, kept.
    system(5).presetTable = 16;
    system(5).autoResetTime = 0;
    EXPECT_EQ(systemCell(5, k2tColType), "");
    EXPECT_EQ(systemCell(5, k2tColAutoResetTime), "");
    ASSERT_TRUE(setSystem(5, k2tColType, "").ok);
    EXPECT_EQ(system(5).presetTable, 16);

    // The toggles flip their bit only, "On"/"Off" whatever the other bits.
    system(6).options = 0x2A; // duty, PTT switch, bit 3
    EXPECT_EQ(systemCell(6, k2tColAutoReset), "Off");
    ASSERT_TRUE(setSystem(6, k2tColAutoReset, "On").ok);
    ASSERT_TRUE(setSystem(6, k2tColSubaudio, "On").ok);
    EXPECT_EQ(system(6).options, 0x2A | kSystemAutoReset | kSystemSubaudio);
    ASSERT_TRUE(setSystem(6, k2tColSubaudio, "On").ok); // already shows it
    ASSERT_TRUE(setSystem(6, k2tColAutoReset, "Off").ok);
    EXPECT_EQ(system(6).options, 0x2A | kSystemSubaudio);
    EXPECT_FALSE(setSystem(6, k2tColAutoReset, "").ok);
    EXPECT_FALSE(setSystem(17, k2tColName, "X").ok);
    EXPECT_FALSE(setSystem(1, kSystemGridColumns, "On").ok);
}

// ---- decode columns and the decode list ----------------------------------------------------

TEST_F(TwoTone, DecodeColumnOfAnEmptyEntryDoesNotReact)
{
    const int seventh = k2tColFirstDecode + 6; // decode entry 7
    ASSERT_FALSE(ToneEntryDefined(d(), ToneList::Decode, 7));
    const RadioData before = d();
    EXPECT_FALSE(ToggleSystemCell(d(), 1, seventh));
    EXPECT_FALSE(setSystem(1, seventh, "On").ok);
    EXPECT_EQ(std::memcmp(&before, &d(), sizeof before), 0);
    EXPECT_EQ(systemCell(1, seventh), "");

    ASSERT_TRUE(set(kTwoToneDecodeGridCells, 7, kToneColumnA, "4").ok);
    ASSERT_TRUE(setSystem(1, seventh, "On").ok);
    EXPECT_EQ(system(1).decodeEntries.get(), 1u << 6);
    EXPECT_EQ(systemCell(1, seventh), "On");
    ASSERT_TRUE(setSystem(1, seventh, "").ok);
    EXPECT_EQ(system(1).decodeEntries.get(), 0u);
}

TEST_F(TwoTone, EmptyingDecodeEntry3ClearsItInEverySystem)
{
    d().twoToneDecode[2] = 0x51; // entry 3: tone A 1, tone B 5
    d().twoToneDecode[3] = 0xF2; // entry 4: tone A 2, no tone B
    for (int n : {1, 7, 16})
        system(n).decodeEntries = 0x000C; // entries 3 and 4
    system(9).decodeEntries = 0x0008;
    ASSERT_TRUE(set(kTwoToneDecodeGridCells, 3, kToneColumnA, "Off").ok);
    EXPECT_EQ(d().twoToneDecode[2], kEmptyCode);
    EXPECT_EQ(shown(kTwoToneDecodeGridCells, 3, kToneColumnA), "---");
    EXPECT_EQ(shown(kTwoToneDecodeGridCells, 3, kToneColumnB), "---");
    for (int n = 1; n <= kTwoToneSystems; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(system(n).decodeEntries.get() & 0x4, 0u);
        EXPECT_EQ(systemCell(n, k2tColFirstDecode + 2), "");
        EXPECT_EQ(systemCell(n, k2tColFirstDecode + 3), n == 1 || n == 7 || n == 9 || n == 16 ? "On" : "");
    }
}

// ---- encode list and calls ------------------------------------------------------------------

TEST_F(TwoTone, EmptyingEncodeEntry5TurnsSystem2sCallOff)
{
    d().twoToneEncode[1] = 0xF7; // entry 2
    d().twoToneEncode[4] = 0x21; // entry 5
    EXPECT_EQ(CallItems(d()), (std::vector<std::string>{"Off", "Enc- 2", "Enc- 5"}));
    ASSERT_TRUE(setSystem(2, k2tColCall, "Enc- 5").ok);
    ASSERT_TRUE(setSystem(3, k2tColCall, "#1").ok);
    EXPECT_EQ(system(2).call, 4);
    EXPECT_EQ(system(3).call, 1);
    EXPECT_EQ(systemCell(2, k2tColCall), "Enc- 5");
    EXPECT_FALSE(setSystem(4, k2tColCall, "Enc- 9").ok); // entry 9 is not in the list

    ASSERT_TRUE(set(kTwoToneEncodeGridCells, 5, kToneColumnA, "Off").ok);
    EXPECT_EQ(d().twoToneEncode[4], kEmptyCode);
    EXPECT_EQ(system(2).call, kNoCall);
    EXPECT_EQ(systemCell(2, k2tColCall), "Off");
    EXPECT_EQ(system(3).call, 1);
    EXPECT_EQ(CallItems(d()), (std::vector<std::string>{"Off", "Enc- 2"}));
}

TEST_F(TwoTone, StoredCallNamingAnEmptyEntryShowsOffAndIsSettled)
{
    system(4).call = 8; // encode entry 9, empty
    system(5).call = 8;
    EXPECT_EQ(systemCell(4, k2tColCall), "Off");
    EXPECT_EQ(system(4).call, 8); // showing alone stores nothing
    SettleSystemRow(d(), 4);
    EXPECT_EQ(system(4).call, kNoCall);
    EXPECT_EQ(system(5).call, 8);
    // Typing into another cell of the row redraws it too.
    ASSERT_TRUE(setSystem(5, k2tColToneATime, "1").ok);
    EXPECT_EQ(system(5).call, kNoCall);
}

TEST_F(TwoTone, ToneListRules)
{
    const GridCells &enc = kTwoToneEncodeGridCells;
    // Tone B of an empty entry cannot be chosen.
    EXPECT_FALSE(set(enc, 1, kToneColumnB, "3").ok);
    EXPECT_EQ(d().twoToneEncode[0], kEmptyCode);
    // Tone A keeps tone B; tone B keeps tone A; "Off" on tone B is "---".
    const struct {
        int column;
        const char *chosen;
        std::uint8_t code;
        const char *a, *b;
    } steps[] = {
        {kToneColumnA, "7", 0xF7, "7", "---"}, {kToneColumnB, "0", 0x07, "7", "0"},
        {kToneColumnA, "9", 0x09, "9", "0"},   {kToneColumnB, "Off", 0xF9, "9", "---"},
        {kToneColumnB, "#4", 0x39, "9", "3"},  {kToneColumnA, "", 0x39, "9", "3"},
        {kToneColumnA, "---", 0xFF, "---", "---"},
    };
    for (const auto &st : steps) {
        SCOPED_TRACE(std::to_string(st.column) + " <- " + st.chosen);
        ASSERT_TRUE(set(enc, 32, st.column, st.chosen).ok);
        EXPECT_EQ(d().twoToneEncode[31], st.code);
        EXPECT_EQ(shown(enc, 32, kToneColumnA), st.a);
        EXPECT_EQ(shown(enc, 32, kToneColumnB), st.b);
    }
    EXPECT_FALSE(set(enc, 32, kToneColumnA, "A").ok);
    EXPECT_FALSE(set(enc, 33, kToneColumnA, "1").ok);
    EXPECT_FALSE(set(kTwoToneDecodeGridCells, 17, kToneColumnA, "1").ok);
    // A nibble no item shows is an empty cell.
    d().twoToneDecode[0] = 0xFC;
    EXPECT_EQ(shown(kTwoToneDecodeGridCells, 1, kToneColumnA), "");
}

TEST_F(TwoTone, RefreshStoresSettleCallsAndToneB)
{
    d().twoToneEncode[2] = 0x3F;  // entry 3: no tone A, a stray tone B
    d().twoToneDecode[15] = 0x0F; // decode entry 16 likewise
    d().twoToneEncode[9] = 0x11;  // entry 10 in use
    system(1).call = 2;           // names entry 3, which is empty
    system(2).call = 9;           // names entry 10
    system(3).call = 200;         // names nothing at all
    EXPECT_EQ(shown(kTwoToneEncodeGridCells, 3, kToneColumnB), "---");
    TwoToneRefreshStores(d());
    EXPECT_EQ(d().twoToneEncode[2], kEmptyCode);
    EXPECT_EQ(d().twoToneDecode[15], kEmptyCode);
    EXPECT_EQ(d().twoToneEncode[9], 0x11);
    EXPECT_EQ(system(1).call, kNoCall);
    EXPECT_EQ(system(2).call, 9);
    EXPECT_EQ(system(3).call, kNoCall);
    // New data has nothing to settle.
    ProgramState fresh;
    SetDefaultAll(fresh);
    const RadioData before = fresh.data;
    TwoToneRefreshStores(fresh.data);
    EXPECT_EQ(std::memcmp(&before, &fresh.data, sizeof before), 0);
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
