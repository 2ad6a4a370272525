// Five-tone signalling: the eight tone standards, the tone and gap periods
// of each standard, the hex codes of the encode and decode lists, and what
// the five-tone page's grids show and what their editors and clicks store,
// as plain functions over the record. The page's editors and
// `vkt410-cli get`/`set` only route typed texts, chosen list positions and
// clicks here.
//
// A five-tone code is 1 to 8 hex digits "0"-"9", "A"-"F", kept as a length
// byte and four code bytes of two digits each, the first digit of a pair in
// the low nibble; nibbles past the length are 15. "F" is a digit as well, so
// only the length tells where a code ends.
#pragma once

#include "radio_data.h"
#include "two_tone.h" // "On", "Off", "Enc- ", kNoCall and the system option bits both pages share

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vkt {

// ---- tone standards ---------------------------------------------------------

inline constexpr int kFiveToneStandardCount = 8;
inline constexpr int kFiveToneDigitCount = 16; // "0"-"9", "A"-"F"

struct FiveToneStandard {
    std::string_view name;                 // in the system grid's type list and over its column
    std::uint16_t hz[kFiveToneDigitCount]; // the tone of each digit, in hertz
};

// In list order: a system's standard byte is the index into this table
// (and standard s uses the tone period pair s). The radio holds its own
// tone tables; the page only shows these.
inline constexpr FiveToneStandard kFiveToneStandards[kFiveToneStandardCount] = {
    {"ZVZI1", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2800, 810, 970, 885, 2600, 680}},
    {"ZVZI2", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 885, 810, 740, 680, 970, 2600}},
    {"PZVEI", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 970, 810, 2800, 885, 2600, 680}},
    {"DZVEI", {2200, 970, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 825, 740, 2600, 885, 2400, 680}},
    {"CCIR1", {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 2400, 930, 2247, 991, 2110, 1055}},
    {"CCIR2", {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 2400, 930, 2247, 991, 2110, 1055}},
    {"EEA", {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 1055, 930, 2400, 991, 2110, 2247}},
    {"EIA", {600, 741, 882, 1023, 1164, 1305, 1446, 1587, 1728, 1869, 2151, 2433, 2010, 2292, 459, 1091}},
};

// The hex digit of a value 0..15 ('0'-'9', 'A'-'F'); '\0' for any other.
char HexDigit(unsigned value);
// The value of a hex digit in either case; nothing for any other character.
std::optional<std::uint8_t> HexDigitValue(char c);

// ---- the tone list "sg5Tone_List": standards, tones and periods ---------------

// Row 0 the standard names (the corner empty), column 0 the digits and the
// two period captions; rows 1-16 the tone of each digit, row 17 the tone
// period and row 18 the gap period of each standard (column s + 1).
inline constexpr int kFiveToneListRows = 19;
inline constexpr int kFiveToneListColumns = kFiveToneStandardCount + 1;
inline constexpr int kTonePeriodRow = 17;
inline constexpr int kGapPeriodRow = 18;
inline constexpr int kTextTonePeriod = 331; // "Tone Prd(ms)"
inline constexpr int kTextGapPeriod = 332;  // "Gap Prd(ms)"

// A period typed is accepted in these ranges (ms); its editor keeps at
// most 3 digits.
inline constexpr unsigned kTonePeriodMin = 20;
inline constexpr unsigned kGapPeriodMin = 45;
inline constexpr unsigned kPeriodMax = 255;
inline constexpr std::size_t kPeriodTextMaxLength = 3;

// A body cell: the tone in hertz, or the stored period; empty outside.
std::string ToneListCellText(const RadioData &d, int row, int column);
// Only the two period rows open an editor.
bool ToneListCellEditable(int row, int column);
// The gap period a tone period brings with it: 3/2 of it, down to a whole
// 5 ms, held in 45..255.
std::uint8_t GapForTonePeriod(unsigned tone);

// Key filter of the period editor: digits and control keys (below 32,
// 127 to 255).
bool PeriodKeyPasses(unsigned code);
// After every change: anything but digits removed, past 3 digits the last
// ones.
std::string CorrectPeriodText(std::string text);

enum class PeriodStore : std::uint8_t {
    Stored,     // stored (a tone period with its gap period)
    Empty,      // nothing typed: nothing changes
    OutOfRange, // not in 20..255 (tone) or 45..255 (gap): nothing changes
    NoCell,     // not a period cell: nothing changes
};
// Leaving the period editor of row 17 or 18 with `text`.
PeriodStore StorePeriodText(RadioData &d, int row, int column, std::string_view text);

// ---- five-tone codes ------------------------------------------------------------

inline constexpr std::size_t kFiveToneCodeMaxLength = 8;

// Key filter of the code editors: control keys, "0"-"9", "A"-"F", "a"-"f".
bool FiveToneCodeKeyPasses(unsigned code);
// A key as it is typed: "a"-"f" become "A"-"F".
char FiveToneCodeKey(char c);
// After every change: "a"-"f" in upper case, anything that is not a hex
// digit removed, past 8 digits the last ones.
std::string CorrectFiveToneCode(std::string text);
// The digits of a code: its length (at most 8) unpacked.
std::string FiveToneCodeText(std::uint8_t length, std::span<const std::uint8_t, 4> code);
// Packs a code (corrected as above): the length, the digits two a byte,
// first digit in the low nibble, the nibbles past the length 15.
void PackFiveToneCode(std::string_view text, std::uint8_t &length, std::span<std::uint8_t, 4> code);

// ---- decode and encode lists ("sgDecode_5T", "sgEncode_5T") ------------------

enum class FiveToneList : std::uint8_t { Decode, Encode };
inline constexpr int kFiveToneCodeColumn = 1;
inline constexpr int kDecodeTypeColumn = 2;
inline constexpr int kDecodeGridColumns = 3; // number, code, type
inline constexpr int kEncodeGridColumns = 2; // number, code

// Entries of a list: 16 decode, 32 encode.
int FiveToneListEntries(FiveToneList list);
// Whether an entry (from 1) has a code; false outside the list.
bool FiveToneEntryDefined(const RadioData &d, FiveToneList list, int entry);
// The code an entry shows; empty outside the list.
std::string FiveToneEntryCode(const RadioData &d, FiveToneList list, int entry);
// Leaving a code editor with `text`. An emptied decode entry is taken out
// of every system's decode set (true when a system changed); an emptied
// encode entry changes no system (a call or ID naming it shows "Off" and
// becomes 255 when its row is next redrawn).
bool StoreFiveToneEntryCode(RadioData &d, FiveToneList list, int entry, std::string_view text);

// Decode types, list position = stored value: "General", "Emergency On",
// "Stun", "UnStun", "Kill".
inline constexpr int kDecodeTypeCount = 5;
inline constexpr int kDecodeTypeTexts[kDecodeTypeCount] = {293, 294, 296, 297, 298};
// The position showing a decode entry's type; -1 for a type above 4.
int DecodeTypeIndex(const RadioData &d, int entry);
// Committing the type list; -1 or a position past the list stores nothing.
void StoreDecodeTypeIndex(RadioData &d, int entry, int index);

// ---- system grid "sgSystem_5T" ---------------------------------------------------

enum FiveToneSystemColumn : int {
    k5tColNumber = 0,
    k5tColName = 1,
    k5tColType = 2,
    k5tColCall = 3,
    k5tColId = 4,
    k5tColSequence = 5,
    k5tColAutoReset = 6,
    k5tColSubaudio = 7,
    k5tColFirstDecode = 8, // decode entry 1; column c is entry c - 7
    k5tColLastDecode = 23,
};
inline constexpr int kFiveToneSystemRows = kFiveToneSystems + 1;
inline constexpr int kFiveToneSystemColumns = k5tColLastDecode + 1;

// Headings of columns 0 to 7; the decode columns are kTextDecodeHeading
// (two_tone.h) followed by the decode entry's number.
inline constexpr int kFiveToneHeadingTexts[k5tColFirstDecode] = {15, 148, 292, 286, 287, 279, 285, 330};

// The sending order, bits 1-2 of the sequence byte: "Call" (call only),
// "ID-CALL", "CALL-ID"; 3 shows nothing and goes to "Call" when clicked.
inline constexpr std::string_view kSequenceTexts[3] = {"Call", "ID-CALL", "CALL-ID"};

// A body cell (system 1..16, column 2..23): the standard's name, the call
// and ID ("Off" when they name no encode entry with a code), the sending
// order, "On"/"Off", a decode column "On" or empty. Empty for the name
// column (FiveToneSystemNameBytes), a standard above 7 and a sending order
// of 3.
std::string FiveToneSystemCellText(const RadioData &d, int system, int column);
// The name bytes up to the first zero byte; empty outside 1..16.
std::span<const std::uint8_t> FiveToneSystemNameBytes(const RadioData &d, int system);

// Columns that change on a click or Enter instead of opening an editor:
// the sending order, auto reset, sub-audio and the decode columns.
bool FiveToneSystemCellClicks(int column);
// What a click changes: the sending order moves 0, 1, 2, 0 (3 to 0), a
// flag flips, a decode bit flips when its decode entry has a code. True
// when something changed.
bool ClickFiveToneSystemCell(RadioData &d, int system, int column);

// Leaving the name editor: the 6 bytes cleared, then the name (at most 6
// bytes) copied in.
void StoreFiveToneSystemName(RadioData &d, int system, std::span<const std::uint8_t> name);
// The standard list's position; -1 for a standard above 7.
int FiveToneStandardIndex(const RadioData &d, int system);
// Committing the standard list; -1 or a position past the list stores
// nothing.
void StoreFiveToneStandardIndex(RadioData &d, int system, int index);

// The call and ID lists: "Off", then "Enc- n" for every encode entry n
// (ascending) that has a code.
std::vector<std::string> FiveToneCodeItems(const RadioData &d);
// The position showing the call or ID of a system (column 3 or 4); 0
// ("Off") when it names no listed entry.
int FiveToneCodeIndex(const RadioData &d, int system, int column);
// Committing the call or ID list: "Off" stores 255, an entry its 0-based
// number; -1 or a position past the list stores nothing.
void StoreFiveToneCodeIndex(RadioData &d, int system, int column, int index);

// What redrawing a system row stores: a call or ID that names no encode
// entry with a code becomes 255.
void SettleFiveToneSystem(RadioData &d, int system);
// What showing the page stores (every system row redrawn): the window does
// it on every refresh, so a program that opens a file as the window does
// runs it after loading.
void FiveToneRefreshStores(RadioData &d);

// ---- rows of the table of fields ---------------------------------------------------

// The controls of the option sub-page, in page order, then those the page
// holds but never shows (they carry the values that New, Open or a read put
// into their fields). An extended-tone box and its time list share one
// byte: 0 when the box is not ticked, else the list position + 1; the page
// keeps the two in step. The two hidden call selections list every encode
// entry, as the two-tone page's do. The grids of the page are not rows:
// their cells have the rules above.
namespace five_tone_rows {

// Main-table texts.
inline constexpr int kOff = 75, kAutoResetTime = 238, kPttCall = 258, kAniLock = 261, kGroupTone = 265,
                     kFirstExtend = 302, kSecondExtend = 303, kRepeatTone = 304, kLastGapTone = 305,
                     kLastGapTime = 306, kTranspondDelay = 307, kClearToTranspond = 308, kAckRetry = 309,
                     kAckDecodingTime = 310, kFirstExtendTime = 311, kSecondExtendTime = 312, kDecodeTime = 313,
                     kAutoTxTime = 314, kSecondLastGapTime = 315, kMute = 316, kDisable = 319 /* "Diable" */,
                     kNoLimit = 320;

inline constexpr ItemRun kHexDigits[] = {{.from = 0, .to = 9}, {.literal = "A"}, {.literal = "B"}, {.literal = "C"},
                                         {.literal = "D"},     {.literal = "E"}, {.literal = "F"}};
// "Mute" 128, "OFF" 255, then the tone digits 0 to 15.
inline constexpr ItemRun kLastGapTones[] = {{kMute},          {kOff},           {.from = 0, .to = 9},
                                            {.literal = "A"}, {.literal = "B"}, {.literal = "C"},
                                            {.literal = "D"}, {.literal = "E"}, {.literal = "F"}};
inline constexpr std::uint32_t kLastGapToneValues[] = {128, 255, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
inline constexpr ItemRun kExtendTimes[] = {{.from = 100, .to = 2500, .step = 100}};
inline constexpr ItemRun kAutoResets[] = {{.from = 1, .to = 75}};
inline constexpr ItemRun kAniLocks[] = {{kOff}, {.from = 0, .to = 120}};
inline constexpr ItemRun kTranspondDelays[] = {{.from = 100, .to = 1500, .step = 100}};
inline constexpr ItemRun kClearToTransponds[] = {{kDisable}, {.from = 100, .to = 1500, .step = 100}, {kNoLimit}};
inline constexpr ItemRun kAckRetries[] = {{.from = 0, .to = 15}};
inline constexpr ItemRun kAckDecodingTimes[] = {{.from = 1, .to = 15}};
inline constexpr ItemRun kDecodeTimes[] = {{.from = 100, .to = 500, .step = 50}};
inline constexpr ItemRun kTenToHundredEighty[] = {{.from = 10, .to = 180, .step = 10}};

} // namespace five_tone_rows

inline constexpr std::array<Field, 22> kFiveToneFields = {{
#define VKT_5T_AT(member) .offset = offsetof(RadioData, member), .width = sizeof(RadioData::member)
    {.name = "cExtended_1st", VKT_5T_AT(firstToneExtension), .kind = FieldKind::Check, .rule = FieldRule::NonZero,
     .label = five_tone_rows::kFirstExtend},
    {.name = "cbExtended_1st_time", VKT_5T_AT(firstToneExtension), .kind = FieldKind::List,
     .rule = FieldRule::IndexPlus, .plus = 1, .label = five_tone_rows::kFirstExtendTime,
     .items = five_tone_rows::kExtendTimes},
    {.name = "cExtended_2nd", VKT_5T_AT(secondToneExtension), .kind = FieldKind::Check, .rule = FieldRule::NonZero,
     .label = five_tone_rows::kSecondExtend},
    {.name = "cbExtended_2nd_time", VKT_5T_AT(secondToneExtension), .kind = FieldKind::List,
     .rule = FieldRule::IndexPlus, .plus = 1, .label = five_tone_rows::kSecondExtendTime,
     .items = five_tone_rows::kExtendTimes},
    {.name = "cbAutoReset_5T", VKT_5T_AT(autoReset5T), .kind = FieldKind::List, .rule = FieldRule::IndexPlus,
     .plus = 1, .label = five_tone_rows::kAutoResetTime, .items = five_tone_rows::kAutoResets},
    {.name = "eLeadIn_5T", VKT_5T_AT(leadIn5T), .kind = FieldKind::Edit, .rule = FieldRule::LimitedNumber,
     .label = kTextLeadIn, .maxLength = kLeadDelayMaxLength, .minimum = kLeadDelayMin, .maximum = kLeadDelayMax},
    {.name = "eLeadOut_5T", VKT_5T_AT(leadOut5T), .kind = FieldKind::Edit, .rule = FieldRule::LimitedNumber,
     .label = kTextLeadOut, .maxLength = kLeadDelayMaxLength, .minimum = kLeadDelayMin, .maximum = kLeadDelayMax},
    {.name = "cbGroupTone", VKT_5T_AT(groupTone), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kGroupTone, .items = five_tone_rows::kHexDigits},
    {.name = "cbRepeat_tone", VKT_5T_AT(repeatTone), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kRepeatTone, .items = five_tone_rows::kHexDigits},
    // Never shown.
    {.name = "cPttCall", VKT_5T_AT(pttCall), .kind = FieldKind::Check, .rule = FieldRule::Flag, .mask = 0x1,
     .label = five_tone_rows::kPttCall, .shown = false},
    {.name = "cbANILock", VKT_5T_AT(aniLock), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kAniLock, .items = five_tone_rows::kAniLocks, .shown = false},
    {.name = "cbLast_gap_tone", VKT_5T_AT(lastGapTone), .kind = FieldKind::List, .rule = FieldRule::Lookup,
     .lookup = five_tone_rows::kLastGapToneValues, .label = five_tone_rows::kLastGapTone,
     .items = five_tone_rows::kLastGapTones, .shown = false},
    {.name = "cbLast_gap_time", VKT_5T_AT(lastGapTime), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kLastGapTime, .items = five_tone_rows::kExtendTimes, .shown = false},
    {.name = "cbTrans_delay_time", VKT_5T_AT(transpondDelay), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kTranspondDelay, .items = five_tone_rows::kTranspondDelays, .shown = false},
    {.name = "cbClear_trans_delay_time", VKT_5T_AT(clearToTranspond), .kind = FieldKind::List,
     .rule = FieldRule::Index, .label = five_tone_rows::kClearToTranspond,
     .items = five_tone_rows::kClearToTransponds, .shown = false},
    {.name = "cbAck_retry", VKT_5T_AT(ackRetries), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kAckRetry, .items = five_tone_rows::kAckRetries, .shown = false},
    {.name = "cbAck_decode_time", VKT_5T_AT(ackDecodeTime), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kAckDecodingTime, .items = five_tone_rows::kAckDecodingTimes, .shown = false},
    {.name = "cbId_decode_time", VKT_5T_AT(idDecodeTime), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kDecodeTime, .items = five_tone_rows::kDecodeTimes, .shown = false},
    {.name = "cbAuto_tx_time", VKT_5T_AT(autoTxTime), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kAutoTxTime, .items = five_tone_rows::kTenToHundredEighty, .shown = false},
    {.name = "cbLast_2nd_gap_time", VKT_5T_AT(secondLastGapTime), .kind = FieldKind::List, .rule = FieldRule::Index,
     .label = five_tone_rows::kSecondLastGapTime, .items = five_tone_rows::kTenToHundredEighty, .shown = false},
    {.name = "cbCall_1_5T", VKT_5T_AT(call1_5T), .kind = FieldKind::List, .rule = FieldRule::Lookup,
     .lookup = kCallValues, .label = kTextCall, .items = kCallItems, .shown = false},
    {.name = "cbCall_2_5T", VKT_5T_AT(call2_5T), .kind = FieldKind::List, .rule = FieldRule::Lookup,
     .lookup = kCallValues, .label = kTextCall, .items = kCallItems, .shown = false},
#undef VKT_5T_AT
}};

} // namespace vkt
