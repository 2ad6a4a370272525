// Two-tone signalling: the 16 built-in tone sets, and what the two-tone
// page's grids show and what their editors store, as plain functions over
// the record. The page's editors and `vkt410-cli get`/`set` only route the
// typed texts and chosen list positions here.
//
// A two-tone code is one byte: tone A digit in bits 0-3, tone B digit in
// bits 4-7. 15 in tone A means the entry is empty (and then the whole byte
// is 0xFF); 15 in tone B means the code has no tone B.
#pragma once

#include "fields.h"
#include "radio_data.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vkt {

// ---- tone sets --------------------------------------------------------------

inline constexpr int kToneSetCount = 16;
inline constexpr int kToneDigitCount = 10;

struct ToneSet {
    std::string_view listName;             // in the system grid's type list
    std::string_view heading;              // over its column of the reference table
    std::string_view hz[kToneDigitCount];  // the tone of each digit, as the reference table shows it
};

// In list order: a system's tone-set byte is the index into this table.
// The radio holds its own tone tables; these texts are shown, never
// computed with.
inline constexpr ToneSet kToneSets[kToneSetCount] = {
    {"Motorola-1", "Moto-1", {"330.5", "349.0", "368.5", "389.0", "410.8", "433.7", "457.9", "483.5", "510.5", "539.0"}},
    {"Motorola-2", "Moto-2", {"569.1", "600.9", "634.5", "669.9", "707.3", "746.8", "788.5", "832.5", "879.0", "928.1"}},
    {"Motorola-3", "Moto-3", {"1092.4", "288.5", "296.5", "304.7", "313.0", "953.7", "979.9", "1006.9", "1034.7", "1063.2"}},
    {"Motorola-4", "Moto-4", {"321.7", "339.6", "358.6", "378.6", "399.8", "422.1", "445.7", "470.5", "496.8", "524.6"}},
    {"Motorola-5", "Moto-5", {"553.9", "584.8", "617.4", "651.9", "688.3", "726.8", "767.4", "810.2", "855.5", "903.2"}},
    {"Motorola-6", "Moto-6", {"1122.5", "1153.4", "1185.2", "1217.8", "1251.4", "1285.8", "1321.2", "1357.6", "1395.0", "1433.4"}},
    {"Motorola-10", "Moto-10", {"1472.9", "1513.5", "1555.2", "1598.0", "1642.0", "1687.2", "1733.7", "1781.5", "1830.5", "1881.0"}},
    {"Motorola-11", "Moto-11", {"1930.2", "1989.0", "2043.8", "2094.5", "2155.6", "2212.2", "2271.7", "2334.6", "2401.0", "2468.2"}},
    {"GE/99-A", "GE/99-A", {"682.5", "592.5", "757.5", "802.5", "847.5", "892.5", "937.5", "547.5", "727.5", "637.5"}},
    {"GE/99-B", "GE/99-B", {"652.5", "607.5", "787.5", "832.5", "877.5", "922.5", "967.5", "517.5", "562.5", "697.5"}},
    {"GE/99-C", "GE/99-C", {"667.5", "712.5", "772.5", "817.5", "862.5", "907.5", "952.5", "532.5", "577.5", "622.5"}},
    {"REACH-A", "REACH-A", {"1980.0", "2704.0", "2612.0", "2523.0", "2437.0", "2354.0", "2274.0", "2196.0", "2121.0", "2049.0"}},
    {"REACH-B", "REACH-B", {"1400.0", "1912.0", "1847.0", "1784.0", "1723.0", "1664.0", "1606.0", "1553.0", "1500.0", "1449.0"}},
    {"REACH-C", "REACH-C", {"1177.0", "1608.0", "1553.0", "1500.0", "1449.0", "1400.0", "1352.0", "1306.0", "1261.0", "1219.0"}},
    {"REACH-D", "REACH-D", {"832.0", "1137.0", "1093.0", "1061.0", "1025.0", "990.0", "956.0", "923.0", "892.0", "862.0"}},
    {"REACH-E", "REACH-E", {"588.0", "804.0", "776.0", "750.0", "725.0", "700.0", "676.0", "653.0", "631.0", "609.0"}},
};

// The read-only reference table "sg2Tone_List": row 0 the headings (the
// corner empty), column 0 the digits "0" to "9", then one column per tone
// set. Outside the table: empty.
inline constexpr int kToneTableRows = kToneDigitCount + 1;
inline constexpr int kToneTableColumns = kToneSetCount + 1;
std::string ToneTableCellText(int row, int column);

// ---- texts ------------------------------------------------------------------

// Fixed texts, the same in every language.
inline constexpr std::string_view kOnText = "On";
inline constexpr std::string_view kOffText = "Off";
inline constexpr std::string_view kEncodeEntryPrefix = "Enc- ";
inline constexpr std::string_view kNoToneText = "---";

// Main-table texts of the page.
inline constexpr int kText2ToneCaption = 243;
inline constexpr int kTextSubPages[4] = {252, 253, 255, 254}; // Option, System, Decode, Encode
inline constexpr int kTextCallTone = 269;                     // the hidden call group
inline constexpr int kTextCall = 273;                         // "Call" before 1 and 2
inline constexpr int kTextLeadIn = 262;
inline constexpr int kTextLeadOut = 263;
// Headings of the system grid's columns 0 to 9; columns 10 to 25 are
// kTextDecodeHeading followed by the decode entry's number.
inline constexpr int kSystemHeadingTexts[10] = {15, 148, 292, 286, 326, 328, 329, 324, 285, 330};
inline constexpr int kTextDecodeHeading = 283;
// Headings of the decode and encode grids.
inline constexpr int kToneListHeadingTexts[3] = {15, 325, 327};

// ---- lead delays (FieldRule::LimitedNumber) ---------------------------------

// The table of fields hands rows of the rule LimitedNumber to these.
// Key filter: digits and control keys (below 32, 127 to 255).
bool LimitedNumberKeyPasses(unsigned code);
// After every change: anything but digits removed, then past `maxLength`
// characters the last ones.
std::string CorrectLimitedNumberText(const Field &f, std::string text);
// The stored number in decimal.
std::string LimitedNumberText(const Field &f, const RadioData &d);
// Leaving: the digits read as a number (empty is 0), held in
// minimum..maximum, stored.
TextStore StoreLimitedNumberText(const Field &f, RadioData &d, std::string_view text);

// ---- call lists ---------------------------------------------------------------

// A call byte: 0-based encode entry, or this for none.
inline constexpr std::uint8_t kNoCall = 255;
// The encode entries (1 to 32, ascending) a call can name: those whose
// tone A is set.
std::vector<int> CallEntries(const RadioData &d);
// The items of a call list: "Off", then "Enc- n" for each of them.
std::vector<std::string> CallItems(const RadioData &d);
// The position that shows a call; 0 ("Off") when it names no listed entry.
int CallIndex(const RadioData &d, std::uint8_t call);
// The call a position stores: 255 for "Off"; `old` for no selection (-1)
// or a position past the list.
std::uint8_t CallForIndex(const RadioData &d, int index, std::uint8_t old);

// ---- rows of the table of fields ---------------------------------------------------

// The two lead delays, and the two call selections the page holds but
// never shows. A call row lists every encode entry, "Off" (255) then
// "Enc- 1" (0) to "Enc- 32" (31), so that every stored call has a name; the
// page's hidden lists hold only the entries in use (CallItems). The grids
// of the page are not rows: their cells have the rules of this header.
inline constexpr std::uint32_t kLeadDelayMin = 100;
inline constexpr std::uint32_t kLeadDelayMax = 3000;
inline constexpr int kLeadDelayMaxLength = 4;
inline constexpr ItemRun kCallItems[] = {
    {.literal = kOffText}, {.from = 1, .to = kTwoToneEncodeEntries, .numberPrefix = kEncodeEntryPrefix}};
inline constexpr auto kCallValues = [] {
    std::array<std::uint32_t, kTwoToneEncodeEntries + 1> v{};
    v[0] = kNoCall;
    for (std::size_t i = 1; i < v.size(); ++i)
        v[i] = std::uint32_t(i - 1);
    return v;
}();
inline constexpr std::array<Field, 4> kTwoToneFields = {{
    {.name = "eLeadIn_2T", .offset = offsetof(RadioData, leadIn2T), .width = 2, .kind = FieldKind::Edit,
     .rule = FieldRule::LimitedNumber, .label = kTextLeadIn, .maxLength = kLeadDelayMaxLength, .minimum = kLeadDelayMin,
     .maximum = kLeadDelayMax},
    {.name = "eLeadOut_2T", .offset = offsetof(RadioData, leadOut2T), .width = 2, .kind = FieldKind::Edit,
     .rule = FieldRule::LimitedNumber, .label = kTextLeadOut, .maxLength = kLeadDelayMaxLength, .minimum = kLeadDelayMin,
     .maximum = kLeadDelayMax},
    {.name = "cbCall_1", .offset = offsetof(RadioData, call1_2T), .width = 1, .kind = FieldKind::List,
     .rule = FieldRule::Lookup, .lookup = kCallValues, .label = kTextCall, .items = kCallItems, .shown = false},
    {.name = "cbCall_2", .offset = offsetof(RadioData, call2_2T), .width = 1, .kind = FieldKind::List,
     .rule = FieldRule::Lookup, .lookup = kCallValues, .label = kTextCall, .items = kCallItems, .shown = false},
}};

// ---- system grid "sgSystem_2T" -------------------------------------------------

enum TwoToneSystemColumn : int {
    k2tColNumber = 0,
    k2tColName = 1,
    k2tColType = 2,
    k2tColCall = 3,
    k2tColToneATime = 4,
    k2tColToneBTime = 5,
    k2tColGroupTime = 6,
    k2tColAutoResetTime = 7,
    k2tColAutoReset = 8,
    k2tColSubaudio = 9,
    k2tColFirstDecode = 10, // decode entry 1; column c is entry c - 9
    k2tColLastDecode = 25,
};
inline constexpr int kSystemGridRows = kTwoToneSystems + 1;
inline constexpr int kSystemGridColumns = k2tColLastDecode + 1;

// Option bits of a system the page edits; the others are kept.
inline constexpr std::uint8_t kSystemAutoReset = 0x04;
inline constexpr std::uint8_t kSystemSubaudio = 0x10;

// Auto reset time: 1 to 120 seconds, position = seconds - 1.
inline constexpr int kAutoResetTimeMax = 120;

// A body cell (system 1..16, column 2..25): the tone set's list name, the
// call ("Off" when it names no listed entry), the times in seconds, the
// auto reset seconds, "On"/"Off", a decode column "On" or empty. Empty for
// the name column (SystemNameBytes), for a tone set past the table and an
// auto reset time outside 1..120.
std::string SystemCellText(const RadioData &d, int system, int column);
// The name bytes up to the first zero byte; empty outside 1..16.
std::span<const std::uint8_t> SystemNameBytes(const RadioData &d, int system);

// Columns that change on a double-click or Enter instead of opening an
// editor: auto reset, sub-audio and the decode columns.
bool SystemCellToggles(int column);
// Flips the cell's flag or decode bit; a decode column whose decode entry
// is empty does not change. True when something changed.
bool ToggleSystemCell(RadioData &d, int system, int column);

// The items of a column's drop-down editor: the tone sets' list names,
// the call list as the encode entries stand now, the auto reset seconds
// "1" to "120"; none for the other columns.
std::vector<std::string> SystemListItems(const RadioData &d, int column);

// Leaving the name editor: the 6 bytes cleared, then the name (at most 6
// bytes) copied in.
void StoreSystemName(RadioData &d, int system, std::span<const std::uint8_t> name);
// The list positions of the tone set (-1 past the table) and of the auto
// reset time (-1 outside 1..120).
int ToneSetIndex(const RadioData &d, int system);
int AutoResetTimeIndex(const RadioData &d, int system);
// Committing the lists; -1 (nothing chosen) or a position past the list
// stores nothing.
void StoreToneSetIndex(RadioData &d, int system, int index);
void StoreAutoResetTimeIndex(RadioData &d, int system, int index);
void StoreSystemCallIndex(RadioData &d, int system, int index);
// What redrawing a system row stores: a call that names no listed encode
// entry becomes 255.
void SettleSystemRow(RadioData &d, int system);

// ---- system times (tone A, tone B, group time) ---------------------------------

// Stored in tenths of a second.
inline constexpr std::uint8_t kToneTimeMin = 4;
inline constexpr std::uint8_t kGroupTimeMin = 30;
inline constexpr std::uint8_t kTimeMax = 250;
inline constexpr std::size_t kTimeTextMaxLength = 4;

// Key filter: digits, "." and control keys.
bool TimeKeyPasses(unsigned code);
// After every change: past 4 characters the last ones removed, a lone "."
// emptied, every "." after the first removed.
std::string CorrectTimeText(std::string text);
// Tenths of a second as seconds in the shortest form: 4 "0.4", 10 "1",
// 250 "25".
std::string TenthsText(unsigned tenths);
// Seconds typed: times 10, cut toward zero, held in low..250; a text that
// is no number (empty too) gives `low`.
std::uint8_t TenthsForText(std::string_view text, std::uint8_t low);
// Leaving the time editor of column 4, 5 or 6.
void StoreSystemTimeText(RadioData &d, int system, int column, std::string_view text);

// ---- decode and encode lists ("sgDecode_2T", "sgEncode_2T") ------------------------

enum class ToneList : std::uint8_t { Decode, Encode };
inline constexpr int kToneListColumns = 3; // number, tone A, tone B
inline constexpr int kToneColumnA = 1;
inline constexpr int kToneColumnB = 2;
inline constexpr std::uint8_t kEmptyCode = 0xFF;
inline constexpr std::uint8_t kNoTone = 0x0F;

// Entries of a list: 16 decode, 32 encode.
int ToneListEntries(ToneList list);
// Whether an entry (from 1) is defined: its tone A is set.
bool ToneEntryDefined(const RadioData &d, ToneList list, int entry);
// The items of the tone A and tone B lists: "Off", then "0" to "9".
inline constexpr int kToneItemCount = 11;
std::string_view ToneItemText(int index);
// A cell: the digit, or "---" for a tone that is not set; empty for a
// nibble 10 to 14 (which no item shows).
std::string ToneCellText(const RadioData &d, ToneList list, int entry, int column);
// The position showing the cell: 0 ("Off") for no tone, 1 + the digit;
// -1 for a nibble no item shows.
int ToneItemIndex(const RadioData &d, ToneList list, int entry, int column);
// Tone B opens its editor only when tone A is set.
bool ToneCellEditable(const RadioData &d, ToneList list, int entry, int column);
// Committing a tone list with a position (0 "Off", 1..10 the digits 0..9):
// tone A "Off" empties the entry and takes it out of every system (an
// encode entry out of the calls, a decode entry out of the decode sets); a
// digit keeps the other tone. Tone B of an entry without tone A, -1 and
// positions past the list store nothing. True when a system changed.
bool StoreToneItem(RadioData &d, ToneList list, int entry, int column, int index);
// What redrawing an entry stores: without tone A, tone B is not set either.
void SettleToneEntry(RadioData &d, ToneList list, int entry);

// ---- the whole page ------------------------------------------------------------

// What showing the page stores (every system row and every entry
// redrawn): the window does it on every refresh, so a program that opens a
// file as the window does runs it after loading.
void TwoToneRefreshStores(RadioData &d);

} // namespace vkt
