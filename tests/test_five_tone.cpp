// The five-tone page's rules without widgets: the option rows of the table
// of fields, and the cells of its four grids as `vkt410-cli get`/`set` and
// the page read and type them.
#include "field_texts.h"
#include "five_tone.h"
#include "localisation.h"
#include "program_state.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string_view>

namespace vkt {
namespace {

ProgramState NewState()
{
    TAppLang::instance().fSetLangType(TAppLang::English);
    ProgramState s;
    SetDefaultAll(s);
    return s;
}

const Field &Row(std::string_view name)
{
    for (const Field &f : FiveToneFields())
        if (f.name == name)
            return f;
    ADD_FAILURE() << "no row " << name;
    return FiveToneFields().front();
}

bool SameRecord(const RadioData &a, const RadioData &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::array<std::uint8_t, 4> Bytes(const std::uint8_t (&code)[4]) { return {code[0], code[1], code[2], code[3]}; }

// ---- the standards ----------------------------------------------------------------

TEST(FiveToneStandards, ToneListShowsTheTableAndThePeriods)
{
    const ProgramState s = NewState();
    const GridCells &g = kFiveToneListGridCells;
    EXPECT_EQ(g.rows, 19);
    EXPECT_EQ(g.columns, 9);
    const char *names[] = {"ZVZI1", "ZVZI2", "PZVEI", "DZVEI", "CCIR1", "CCIR2", "EEA", "EIA"};
    for (int st = 0; st < kFiveToneStandardCount; ++st)
        EXPECT_EQ(kFiveToneStandards[st].name, names[st]);
    struct Cell {
        int row, column;
        const char *shown;
    };
    const Cell cells[] = {
        {1, 1, "2400"},  {11, 1, "2800"}, {16, 1, "680"},  // ZVZI1 "0", "A", "F"
        {11, 2, "885"},  {13, 3, "2800"}, {1, 4, "2200"},  // ZVZI2 "A", PZVEI "C", DZVEI "0"
        {12, 5, "930"},  {16, 7, "2247"}, {16, 8, "1091"}, // CCIR1 "B", EEA "F", EIA "F"
        {17, 1, "70"},   {18, 1, "105"},  {17, 6, "100"}, {18, 7, "60"}, {17, 8, "33"}, {18, 8, "45"},
        {19, 1, ""},     {17, 9, ""},
    };
    for (const Cell &c : cells)
        EXPECT_EQ(g.shown(s, c.row, c.column), QString::fromLatin1(c.shown)) << c.row << "," << c.column;
}

TEST(FiveToneStandards, PeriodsTypedKeepTheGapRule)
{
    struct Case {
        int row, column;
        const char *typed;
        bool ok;
        std::uint8_t tone, gap; // of that standard afterwards
    };
    const Case cases[] = {
        {17, 1, "70", true, 70, 105},
        {17, 1, "20", true, 20, 45},
        {17, 1, "200", true, 200, 255},
        {17, 1, "31", true, 31, 45},   // 46 down to 45
        {17, 1, "1234", true, 123, 180}, // a fourth digit is not taken
        {17, 1, "7x0", true, 70, 105},   // nor a letter
        {17, 1, "19", false, 70, 105},
        {17, 1, "256", false, 70, 105},
        {17, 1, "", true, 70, 105},      // nothing typed, nothing changes
        {18, 1, "44", false, 70, 105},
        {18, 1, "45", true, 70, 45},     // a gap period alone
        {18, 8, "255", true, 33, 255},
        {16, 1, "5", false, 70, 105},    // the tones are fixed
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        ProgramState s = NewState();
        const RadioData before = s.data;
        EXPECT_EQ(kFiveToneListGridCells.assign(s, c.row, c.column, QString::fromLatin1(c.typed)).ok, c.ok);
        const TonePeriod &p = s.data.tonePeriods[c.column - 1];
        EXPECT_EQ(p.tone, c.tone);
        EXPECT_EQ(p.gap, c.gap);
        // Nothing but that standard's pair changes.
        s.data.tonePeriods[c.column - 1] = before.tonePeriods[c.column - 1];
        EXPECT_TRUE(SameRecord(s.data, before));
    }
}

// ---- codes --------------------------------------------------------------------------

TEST(FiveToneCodes, TypedCodesArePackedTwoDigitsAByteLowNibbleFirst)
{
    struct Case {
        const char *typed;
        const char *shown;
        std::uint8_t length;
        std::array<std::uint8_t, 4> code;
    };
    const Case cases[] = {
        {"12a345678", "12A34567", 8, {0x21, 0x3A, 0x54, 0x76}}, // the ninth key is dropped
        {"123", "123", 3, {0x21, 0xF3, 0xFF, 0xFF}},
        {"F", "F", 1, {0xFF, 0xFF, 0xFF, 0xFF}},                 // only the length says a code is there
        {"0000000F", "0000000F", 8, {0x00, 0x00, 0x00, 0xF0}},
        {"x1-g2 B", "12B", 3, {0x21, 0xFB, 0xFF, 0xFF}},         // keys the editor does not take
        {"", "", 0, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        ProgramState s = NewState();
        const QString typed = QString::fromLatin1(c.typed);
        ASSERT_TRUE(kFiveToneEncodeGridCells.assign(s, 32, 1, typed).ok);
        ASSERT_TRUE(kFiveToneDecodeGridCells.assign(s, 16, 1, typed).ok);
        const FiveToneEncode &e = s.data.fiveToneEncode[31];
        const FiveToneDecode &d = s.data.fiveToneDecode[15];
        EXPECT_EQ(e.length, c.length);
        EXPECT_EQ(Bytes(e.code), c.code);
        EXPECT_EQ(d.length, c.length);
        EXPECT_EQ(Bytes(d.code), c.code);
        EXPECT_EQ(d.decodeType, 0);  // the other bytes of the entry stay
        EXPECT_EQ(d.transpond, 255);
        EXPECT_EQ(kFiveToneEncodeGridCells.shown(s, 32, 1), QString::fromLatin1(c.shown));
        EXPECT_EQ(kFiveToneDecodeGridCells.shown(s, 16, 1), QString::fromLatin1(c.shown));
    }
}

TEST(FiveToneCodes, ShownFromTheLengthAtMostEightDigits)
{
    const std::uint8_t code[4] = {0x21, 0x3A, 0x54, 0x76};
    EXPECT_EQ(FiveToneCodeText(0, code), "");
    EXPECT_EQ(FiveToneCodeText(5, code), "12A34");
    EXPECT_EQ(FiveToneCodeText(8, code), "12A34567");
    EXPECT_EQ(FiveToneCodeText(200, code), "12A34567"); // a length from a file past 8
}

// ---- systems ----------------------------------------------------------------------------

TEST(FiveToneSystems, ClickedCellsCycleAndToggleTheirOwnBitsOnly)
{
    ProgramState s = NewState();
    RadioData &d = s.data;
    const GridCells &g = kFiveToneSystemGridCells;
    // The sending order: Call, ID-CALL, CALL-ID, Call; bit 0 stays.
    const char *cycle[] = {"Call", "ID-CALL", "CALL-ID", "Call"};
    const std::uint8_t bytes[] = {0x01, 0x03, 0x05, 0x01};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g.shown(s, 2, k5tColSequence), QString::fromLatin1(cycle[i]));
        EXPECT_EQ(d.fiveToneSystems[1].sequence, bytes[i]);
        EXPECT_TRUE(ClickFiveToneSystemCell(d, 2, k5tColSequence));
    }
    d.fiveToneSystems[1].sequence = 0xFF; // a 3 from a file shows nothing, then goes to Call
    EXPECT_EQ(g.shown(s, 2, k5tColSequence), QString());
    ClickFiveToneSystemCell(d, 2, k5tColSequence);
    EXPECT_EQ(d.fiveToneSystems[1].sequence, 0xF9);

    // Auto reset and sub-audio, on in new data (options 0x1C).
    struct Toggle {
        int column;
        std::uint8_t options;
    };
    for (const Toggle t : {Toggle{k5tColAutoReset, 0x18}, Toggle{k5tColSubaudio, 0x08}}) {
        EXPECT_TRUE(g.assign(s, 3, t.column, QStringLiteral("Off")).ok);
        EXPECT_EQ(g.shown(s, 3, t.column), QStringLiteral("Off"));
    }
    EXPECT_EQ(d.fiveToneSystems[2].options, 0x08);
    EXPECT_TRUE(g.assign(s, 3, k5tColAutoReset, QStringLiteral("On")).ok);
    EXPECT_EQ(d.fiveToneSystems[2].options, 0x0C);
    EXPECT_TRUE(g.assign(s, 3, k5tColSequence, QStringLiteral("CALL-ID")).ok);
    EXPECT_EQ(d.fiveToneSystems[2].sequence, 0x05);

    // Texts a cell never shows are errors and change nothing.
    const RadioData before = d;
    EXPECT_FALSE(g.assign(s, 3, k5tColSequence, QStringLiteral("ID")).ok);
    EXPECT_FALSE(g.assign(s, 3, k5tColSubaudio, QString()).ok);
    EXPECT_FALSE(g.assign(s, 3, k5tColFirstDecode, QStringLiteral("On")).ok); // decode entry 1 has no code
    EXPECT_FALSE(g.assign(s, 17, 1, QStringLiteral("A")).ok);
    EXPECT_FALSE(g.assign(s, 1, 24, QStringLiteral("On")).ok);
    EXPECT_TRUE(SameRecord(d, before));
}

TEST(FiveToneSystems, EmptyingDecodeEntryFourClearsItsColumnInEverySystem)
{
    ProgramState s = NewState();
    RadioData &d = s.data;
    const GridCells &g = kFiveToneSystemGridCells;
    const int fourth = k5tColFirstDecode + 3;
    ASSERT_TRUE(kFiveToneDecodeGridCells.assign(s, 4, 1, QStringLiteral("1234")).ok);
    ASSERT_TRUE(kFiveToneDecodeGridCells.assign(s, 5, 1, QStringLiteral("5")).ok);
    for (int system : {1, 7, 16}) {
        ASSERT_TRUE(g.assign(s, system, fourth, QStringLiteral("On")).ok);
        ASSERT_TRUE(g.assign(s, system, fourth + 1, QStringLiteral("On")).ok);
    }
    EXPECT_EQ(d.fiveToneSystems[6].decodeEntries, 0x18);

    ASSERT_TRUE(kFiveToneDecodeGridCells.assign(s, 4, 1, QString()).ok);
    for (int system = 1; system <= kFiveToneSystems; ++system) {
        EXPECT_EQ(g.shown(s, system, fourth), QString()) << system;
        const bool had = system == 1 || system == 7 || system == 16;
        EXPECT_EQ(d.fiveToneSystems[system - 1].decodeEntries, had ? 0x10 : 0x00) << system;
    }
    // The emptied entry's column no longer answers a click.
    EXPECT_FALSE(ClickFiveToneSystemCell(d, 2, fourth));
}

TEST(FiveToneSystems, CallAndIdListTheEncodeEntriesWithACode)
{
    ProgramState s = NewState();
    RadioData &d = s.data;
    const GridCells &g = kFiveToneSystemGridCells;
    for (int entry : {3, 7})
        ASSERT_TRUE(kFiveToneEncodeGridCells.assign(s, entry, 1, QStringLiteral("12345")).ok);
    EXPECT_EQ(FiveToneCodeItems(d), (std::vector<std::string>{"Off", "Enc- 3", "Enc- 7"}));

    EXPECT_TRUE(g.assign(s, 5, k5tColCall, QStringLiteral("Enc- 7")).ok);
    EXPECT_TRUE(g.assign(s, 5, k5tColId, QStringLiteral("#1")).ok);
    EXPECT_EQ(d.fiveToneSystems[4].callCode, 6);
    EXPECT_EQ(d.fiveToneSystems[4].idCode, 2);
    EXPECT_EQ(g.shown(s, 5, k5tColCall), QStringLiteral("Enc- 7"));
    EXPECT_FALSE(g.assign(s, 5, k5tColCall, QStringLiteral("Enc- 4")).ok);

    // An emptied encode entry: a call naming it shows "Off" and stores 255
    // in the same step; the reply code is never touched.
    d.fiveToneSystems[4].repeatCode = 6;
    ASSERT_TRUE(kFiveToneEncodeGridCells.assign(s, 7, 1, QString()).ok);
    EXPECT_EQ(g.shown(s, 5, k5tColCall), QStringLiteral("Off"));
    EXPECT_EQ(d.fiveToneSystems[4].callCode, 255);
    EXPECT_EQ(d.fiveToneSystems[4].idCode, 2);
    EXPECT_EQ(d.fiveToneSystems[4].repeatCode, 6);
    EXPECT_TRUE(g.assign(s, 5, k5tColId, QStringLiteral("Off")).ok);
    EXPECT_EQ(d.fiveToneSystems[4].idCode, 255);
}

TEST(FiveToneSystems, ValuesWithoutAnItemShowEmptyCellsAndAreKept)
{
    ProgramState s = NewState();
    RadioData &d = s.data;
    d.fiveToneSystems[0].standard = 9;
    d.fiveToneDecode[0].decodeType = 7;
    EXPECT_EQ(kFiveToneSystemGridCells.shown(s, 1, k5tColType), QString());
    EXPECT_EQ(kFiveToneDecodeGridCells.shown(s, 1, kDecodeTypeColumn), QString());
    // Leaving their lists without a choice keeps them.
    EXPECT_TRUE(kFiveToneSystemGridCells.assign(s, 1, k5tColType, QString()).ok);
    EXPECT_TRUE(kFiveToneDecodeGridCells.assign(s, 1, kDecodeTypeColumn, QString()).ok);
    EXPECT_EQ(d.fiveToneSystems[0].standard, 9);
    EXPECT_EQ(d.fiveToneDecode[0].decodeType, 7);

    EXPECT_TRUE(kFiveToneSystemGridCells.assign(s, 1, k5tColType, QStringLiteral("EIA")).ok);
    EXPECT_TRUE(kFiveToneDecodeGridCells.assign(s, 1, kDecodeTypeColumn, QStringLiteral("UnStun")).ok);
    EXPECT_EQ(d.fiveToneSystems[0].standard, 7);
    EXPECT_EQ(d.fiveToneDecode[0].decodeType, 3);
    EXPECT_FALSE(kFiveToneDecodeGridCells.assign(s, 1, kDecodeTypeColumn, QStringLiteral("Emergency Off")).ok);
    EXPECT_FALSE(kFiveToneEncodeGridCells.assign(s, 1, 2, QStringLiteral("1")).ok); // no type column
}

TEST(FiveToneSystems, NamesTakeSixBytesWithoutTheBarredCharacters)
{
    ProgramState s = NewState();
    const GridCells &g = kFiveToneSystemGridCells;
    struct Case {
        QString typed, shown;
    };
    const Case cases[] = {
        {QStringLiteral("BASE-12345"), QStringLiteral("BASE-1")},
        {QStringLiteral("A (b) {c}!"), QStringLiteral("Abc")},
        {QStringLiteral("欢迎使用"), QStringLiteral("欢迎使")}, // two bytes a character
        {QString(), QString()},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(g.assign(s, 9, k5tColName, c.typed).ok);
        EXPECT_EQ(g.shown(s, 9, k5tColName), c.shown);
    }
    EXPECT_EQ(s.data.fiveToneSystems[8].name[0], 0);
}

// ---- option rows ---------------------------------------------------------------------

TEST(FiveToneOptions, RowsStoreWhatTheirControlsThenShow)
{
    struct Case {
        const char *control;
        std::optional<std::uint32_t> before; // the field before; nothing: new data
        const char *shownBefore;
        const char *text;
        bool ok;
        const char *shown;
        std::uint32_t after;
    };
    const Case cases[] = {
        {"cExtended_1st", {}, "1", "0", true, "0", 0},
        {"cExtended_2nd", 0, "0", "1", true, "1", 1},
        {"cbExtended_1st_time", {}, "100", "2500", true, "2500", 25},
        {"cbExtended_2nd_time", 0, "", "", true, "", 0}, // an unticked box's list keeps its 0
        {"cbAutoReset_5T", {}, "30", "75", true, "75", 75},
        {"cbAutoReset_5T", 80, "", "", true, "", 80},
        {"cbGroupTone", {}, "A", "F", true, "F", 15},
        {"cbRepeat_tone", {}, "E", "9", true, "9", 9},
        {"cbLast_gap_tone", {}, "OFF", "Mute", true, "Mute", 128},
        {"cbLast_gap_tone", {}, nullptr, "#3", true, "1", 1},
        {"cbLast_gap_tone", 16, "", "", true, "", 16},
        {"cbLast_gap_time", {}, "200", "2500", true, "2500", 24},
        {"cbTrans_delay_time", {}, "100", "1500", true, "1500", 14},
        {"cbClear_trans_delay_time", {}, "Diable", "Nolimit", true, "Nolimit", 16},
        {"cbClear_trans_delay_time", {}, nullptr, "1500", true, "1500", 15},
        {"cbANILock", {}, "2", "OFF", true, "OFF", 0},
        {"cbANILock", {}, nullptr, "120", true, "120", 121},
        {"cbAck_retry", {}, "3", "15", true, "15", 15},
        {"cbAck_decode_time", {}, "4", "1", true, "1", 0},
        {"cbId_decode_time", {}, "250", "500", true, "500", 8},
        {"cbAuto_tx_time", {}, "40", "180", true, "180", 17},
        {"cbLast_2nd_gap_time", {}, "20", "10", true, "10", 0},
        {"cbLast_2nd_gap_time", {}, nullptr, "190", false, "20", 1},
        {"cbCall_1_5T", {}, "Off", "Enc- 32", true, "Enc- 32", 31}, // every entry, with a code or not
        {"cbCall_2_5T", 4, "Enc- 5", "Off", true, "Off", 255},
        {"cPttCall", 0xF0, "0", "1", true, "1", 0xF1}, // bit 0 only
        {"cPttCall", 0xF1, "1", "0", true, "0", 0xF0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.control) + " <- " + c.text);
        ProgramState s = NewState();
        const Field &f = Row(c.control);
        if (c.before) {
            Field whole = f;
            whole.mask = 0;
            WriteFieldValue(whole, s.data, *c.before);
        }
        if (c.shownBefore) {
            EXPECT_EQ(ShownText(f, s), QString::fromUtf8(c.shownBefore));
        }
        EXPECT_EQ(AssignText(f, s, QString::fromUtf8(c.text)).ok, c.ok);
        EXPECT_EQ(ShownText(f, s), QString::fromUtf8(c.shown));
        Field whole = f;
        whole.mask = 0;
        EXPECT_EQ(ReadFieldValue(whole, s.data), c.after);
    }
}

// The lead delays share the two-tone page's rule (the table of fields hands
// them to these functions).
TEST(FiveToneOptions, LeadDelaysAreHeldIn100To3000)
{
    struct Case {
        const char *typed;
        const char *corrected;
        std::uint16_t stored;
    };
    const Case cases[] = {{"50", "50", 100},       {"4000", "4000", 3000}, {"2999", "2999", 2999},
                          {"", "", 100},           {"12345", "1234", 1234}, {"0", "0", 100}};
    for (const char *name : {"eLeadIn_5T", "eLeadOut_5T"}) {
        const Field &f = Row(name);
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(name) + " <- " + c.typed);
            ProgramState s = NewState();
            const std::string typed = CorrectLimitedNumberText(f, c.typed);
            EXPECT_EQ(typed, c.corrected);
            EXPECT_EQ(StoreLimitedNumberText(f, s.data, typed), TextStore::Stored);
            EXPECT_EQ(ReadFieldValue(f, s.data), c.stored);
            EXPECT_EQ(LimitedNumberText(f, s.data), std::to_string(c.stored));
        }
    }
    const ProgramState s = NewState();
    EXPECT_EQ(LimitedNumberText(Row("eLeadIn_5T"), s.data), "500");
    EXPECT_EQ(LimitedNumberText(Row("eLeadOut_5T"), s.data), "100");
}

TEST(FiveToneOptions, EveryRowNamesItsOwnControlAndShowsOnlyWhatThePageShows)
{
    const std::string_view shown[] = {"cExtended_1st", "cbExtended_1st_time", "cExtended_2nd", "cbExtended_2nd_time",
                                      "cbAutoReset_5T", "eLeadIn_5T", "eLeadOut_5T", "cbGroupTone", "cbRepeat_tone"};
    std::size_t visible = 0;
    for (const Field &f : FiveToneFields()) {
        SCOPED_TRACE(std::string(f.name));
        EXPECT_EQ(&Row(f.name), &f) << "two rows of one name";
        EXPECT_GE(f.offset, offsetof(RadioData, groupTone));
        EXPECT_LE(f.offset + f.width, offsetof(RadioData, tonePeriods));
        EXPECT_FALSE(FieldLabelText(f).isEmpty());
        if (f.shown) {
            ASSERT_LT(visible, std::size(shown));
            EXPECT_EQ(f.name, shown[visible++]);
        }
    }
    EXPECT_EQ(visible, std::size(shown));
}

} // namespace
} // namespace vkt
