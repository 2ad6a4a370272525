#include "five_tone.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

constexpr std::uint8_t kNoNibble = 0x0F;
constexpr std::uint8_t kSequenceBits = 0x06; // bits 1-2 of the sequence byte

bool IsControlKey(unsigned code) { return code < 32 || (code >= 127 && code <= 255); }

FiveToneSystem *SystemAt(RadioData &d, int system)
{
    return system >= 1 && system <= kFiveToneSystems ? &d.fiveToneSystems[system - 1] : nullptr;
}
const FiveToneSystem *SystemAt(const RadioData &d, int system)
{
    return SystemAt(const_cast<RadioData &>(d), system);
}

// The length byte and code bytes of an entry (from 1); nullptr outside.
struct CodeRef {
    std::uint8_t *length = nullptr;
    std::uint8_t *code = nullptr;
};
CodeRef EntryCode(RadioData &d, FiveToneList list, int entry)
{
    if (entry < 1 || entry > FiveToneListEntries(list))
        return {};
    if (list == FiveToneList::Decode) {
        FiveToneDecode &e = d.fiveToneDecode[entry - 1];
        return {&e.length, e.code};
    }
    FiveToneEncode &e = d.fiveToneEncode[entry - 1];
    return {&e.length, e.code};
}
CodeRef EntryCode(const RadioData &d, FiveToneList list, int entry)
{
    return EntryCode(const_cast<RadioData &>(d), list, entry);
}

// The call or ID byte of a system (column 3 or 4); nullptr for another column.
std::uint8_t *CodeByteOf(FiveToneSystem &s, int column)
{
    return column == k5tColCall ? &s.callCode : column == k5tColId ? &s.idCode : nullptr;
}

// The encode entries (from 1, ascending) a call or ID can name.
std::vector<int> CodeEntries(const RadioData &d)
{
    std::vector<int> entries;
    for (int n = 1; n <= kFiveToneEncodeEntries; ++n)
        if (FiveToneEntryDefined(d, FiveToneList::Encode, n))
            entries.push_back(n);
    return entries;
}

unsigned SequenceOf(const FiveToneSystem &s) { return (s.sequence & kSequenceBits) >> 1; }

} // namespace

// ---- hex digits ---------------------------------------------------------------

char HexDigit(unsigned value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return value < 16 ? kDigits[value] : '\0';
}

std::optional<std::uint8_t> HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return std::uint8_t(c - '0');
    if (c >= 'A' && c <= 'F')
        return std::uint8_t(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return std::uint8_t(c - 'a' + 10);
    return std::nullopt;
}

// ---- tone list ----------------------------------------------------------------

std::string ToneListCellText(const RadioData &d, int row, int column)
{
    if (row < 1 || row >= kFiveToneListRows || column < 1 || column >= kFiveToneListColumns)
        return {};
    const int standard = column - 1;
    if (row == kTonePeriodRow)
        return std::to_string(d.tonePeriods[standard].tone);
    if (row == kGapPeriodRow)
        return std::to_string(d.tonePeriods[standard].gap);
    return std::to_string(kFiveToneStandards[standard].hz[row - 1]);
}

bool ToneListCellEditable(int row, int column)
{
    return (row == kTonePeriodRow || row == kGapPeriodRow) && column >= 1 && column < kFiveToneListColumns;
}

std::uint8_t GapForTonePeriod(unsigned tone)
{
    const unsigned gap = 3 * tone / 2 / 5 * 5;
    return std::uint8_t(std::clamp(gap, kGapPeriodMin, kPeriodMax));
}

bool PeriodKeyPasses(unsigned code) { return IsControlKey(code) || (code >= '0' && code <= '9'); }

std::string CorrectPeriodText(std::string text)
{
    std::erase_if(text, [](char c) { return c < '0' || c > '9'; });
    if (text.size() > kPeriodTextMaxLength)
        text.resize(kPeriodTextMaxLength);
    return text;
}

PeriodStore StorePeriodText(RadioData &d, int row, int column, std::string_view text)
{
    if (!ToneListCellEditable(row, column))
        return PeriodStore::NoCell;
    const std::string digits = CorrectPeriodText(std::string(text));
    if (digits.empty())
        return PeriodStore::Empty;
    const unsigned value = unsigned(std::stoul(digits));
    const bool tone = row == kTonePeriodRow;
    if (value < (tone ? kTonePeriodMin : kGapPeriodMin) || value > kPeriodMax)
        return PeriodStore::OutOfRange;
    TonePeriod &p = d.tonePeriods[column - 1];
    if (tone) {
        p.tone = std::uint8_t(value);
        p.gap = GapForTonePeriod(value);
    } else {
        p.gap = std::uint8_t(value);
    }
    return PeriodStore::Stored;
}

// ---- codes ----------------------------------------------------------------------

bool FiveToneCodeKeyPasses(unsigned code)
{
    return IsControlKey(code) || (code < 128 && HexDigitValue(char(code)));
}

char FiveToneCodeKey(char c) { return c >= 'a' && c <= 'f' ? char(c - 'a' + 'A') : c; }

std::string CorrectFiveToneCode(std::string text)
{
    std::string digits;
    for (char c : text)
        if (const std::optional<std::uint8_t> v = HexDigitValue(c))
            digits.push_back(HexDigit(*v));
    if (digits.size() > kFiveToneCodeMaxLength)
        digits.resize(kFiveToneCodeMaxLength);
    return digits;
}

std::string FiveToneCodeText(std::uint8_t length, std::span<const std::uint8_t, 4> code)
{
    std::string text;
    for (std::size_t i = 0; i < std::min<std::size_t>(length, kFiveToneCodeMaxLength); ++i)
        text.push_back(HexDigit((code[i / 2] >> (4 * (i % 2))) & 0x0F));
    return text;
}

void PackFiveToneCode(std::string_view text, std::uint8_t &length, std::span<std::uint8_t, 4> code)
{
    const std::string digits = CorrectFiveToneCode(std::string(text));
    std::uint8_t nibbles[kFiveToneCodeMaxLength];
    std::fill(std::begin(nibbles), std::end(nibbles), kNoNibble);
    for (std::size_t i = 0; i < digits.size(); ++i)
        nibbles[i] = *HexDigitValue(digits[i]);
    for (std::size_t b = 0; b < code.size(); ++b)
        code[b] = std::uint8_t(nibbles[2 * b] | nibbles[2 * b + 1] << 4);
    length = std::uint8_t(digits.size());
}

// ---- decode and encode lists ------------------------------------------------------

int FiveToneListEntries(FiveToneList list)
{
    return list == FiveToneList::Decode ? kFiveToneDecodeEntries : kFiveToneEncodeEntries;
}

bool FiveToneEntryDefined(const RadioData &d, FiveToneList list, int entry)
{
    const CodeRef c = EntryCode(d, list, entry);
    return c.length && *c.length != 0;
}

std::string FiveToneEntryCode(const RadioData &d, FiveToneList list, int entry)
{
    const CodeRef c = EntryCode(d, list, entry);
    return c.length ? FiveToneCodeText(*c.length, std::span<const std::uint8_t, 4>(c.code, 4)) : std::string();
}

bool StoreFiveToneEntryCode(RadioData &d, FiveToneList list, int entry, std::string_view text)
{
    const CodeRef c = EntryCode(d, list, entry);
    if (!c.length)
        return false;
    PackFiveToneCode(text, *c.length, std::span<std::uint8_t, 4>(c.code, 4));
    if (list == FiveToneList::Encode || *c.length != 0)
        return false;
    bool changed = false;
    const std::uint16_t bit = std::uint16_t(1u << (entry - 1));
    for (FiveToneSystem &s : d.fiveToneSystems)
        if (s.decodeEntries & bit) {
            s.decodeEntries = std::uint16_t(s.decodeEntries & ~bit);
            changed = true;
        }
    return changed;
}

int DecodeTypeIndex(const RadioData &d, int entry)
{
    if (entry < 1 || entry > kFiveToneDecodeEntries)
        return -1;
    const std::uint8_t type = d.fiveToneDecode[entry - 1].decodeType;
    return type < kDecodeTypeCount ? type : -1;
}

void StoreDecodeTypeIndex(RadioData &d, int entry, int index)
{
    if (entry >= 1 && entry <= kFiveToneDecodeEntries && index >= 0 && index < kDecodeTypeCount)
        d.fiveToneDecode[entry - 1].decodeType = std::uint8_t(index);
}

// ---- system grid -------------------------------------------------------------------

std::string FiveToneSystemCellText(const RadioData &d, int system, int column)
{
    const FiveToneSystem *s = SystemAt(d, system);
    if (!s)
        return {};
    switch (column) {
    case k5tColType: {
        const int index = FiveToneStandardIndex(d, system);
        return index >= 0 ? std::string(kFiveToneStandards[index].name) : std::string();
    }
    case k5tColCall:
    case k5tColId: return FiveToneCodeItems(d)[std::size_t(FiveToneCodeIndex(d, system, column))];
    case k5tColSequence: {
        const unsigned order = SequenceOf(*s);
        return order < std::size(kSequenceTexts) ? std::string(kSequenceTexts[order]) : std::string();
    }
    case k5tColAutoReset: return std::string(s->options & kSystemAutoReset ? kOnText : kOffText);
    case k5tColSubaudio: return std::string(s->options & kSystemSubaudio ? kOnText : kOffText);
    default: break;
    }
    if (column >= k5tColFirstDecode && column <= k5tColLastDecode)
        return s->decodeEntries & (1u << (column - k5tColFirstDecode)) ? std::string(kOnText) : std::string();
    return {};
}

std::span<const std::uint8_t> FiveToneSystemNameBytes(const RadioData &d, int system)
{
    const FiveToneSystem *s = SystemAt(d, system);
    if (!s)
        return {};
    return {s->name, FieldTextLength(s->name, sizeof s->name)};
}

bool FiveToneSystemCellClicks(int column) { return column >= k5tColSequence && column <= k5tColLastDecode; }

bool ClickFiveToneSystemCell(RadioData &d, int system, int column)
{
    FiveToneSystem *s = SystemAt(d, system);
    if (!s || !FiveToneSystemCellClicks(column))
        return false;
    switch (column) {
    case k5tColSequence: {
        const unsigned next = SequenceOf(*s) >= 2 ? 0 : SequenceOf(*s) + 1;
        s->sequence = std::uint8_t((s->sequence & ~kSequenceBits) | (next << 1));
        return true;
    }
    case k5tColAutoReset: s->options ^= kSystemAutoReset; return true;
    case k5tColSubaudio: s->options ^= kSystemSubaudio; return true;
    default: break;
    }
    // A decode column answers only for a decode entry with a code.
    const int entry = column - k5tColFirstDecode + 1;
    if (!FiveToneEntryDefined(d, FiveToneList::Decode, entry))
        return false;
    s->decodeEntries = std::uint16_t(s->decodeEntries ^ (1u << (entry - 1)));
    return true;
}

void StoreFiveToneSystemName(RadioData &d, int system, std::span<const std::uint8_t> name)
{
    FiveToneSystem *s = SystemAt(d, system);
    if (!s)
        return;
    std::memset(s->name, 0, sizeof s->name);
    if (!name.empty())
        std::memcpy(s->name, name.data(), std::min(name.size(), sizeof s->name));
}

int FiveToneStandardIndex(const RadioData &d, int system)
{
    const FiveToneSystem *s = SystemAt(d, system);
    return s && s->standard < kFiveToneStandardCount ? s->standard : -1;
}

void StoreFiveToneStandardIndex(RadioData &d, int system, int index)
{
    if (FiveToneSystem *s = SystemAt(d, system); s && index >= 0 && index < kFiveToneStandardCount)
        s->standard = std::uint8_t(index);
}

std::vector<std::string> FiveToneCodeItems(const RadioData &d)
{
    std::vector<std::string> items{std::string(kOffText)};
    for (int n : CodeEntries(d))
        items.push_back(std::string(kEncodeEntryPrefix) + std::to_string(n));
    return items;
}

int FiveToneCodeIndex(const RadioData &d, int system, int column)
{
    const FiveToneSystem *s = SystemAt(d, system);
    if (!s || (column != k5tColCall && column != k5tColId))
        return 0;
    const int named = (column == k5tColCall ? s->callCode : s->idCode) + 1;
    const std::vector<int> entries = CodeEntries(d);
    const auto at = std::find(entries.begin(), entries.end(), named);
    return at == entries.end() ? 0 : int(at - entries.begin()) + 1;
}

void StoreFiveToneCodeIndex(RadioData &d, int system, int column, int index)
{
    FiveToneSystem *s = SystemAt(d, system);
    std::uint8_t *code = s ? CodeByteOf(*s, column) : nullptr;
    if (!code || index < 0)
        return;
    const std::vector<int> entries = CodeEntries(d);
    if (index == 0)
        *code = kNoCall;
    else if (std::size_t(index) <= entries.size())
        *code = std::uint8_t(entries[std::size_t(index) - 1] - 1);
}

void SettleFiveToneSystem(RadioData &d, int system)
{
    FiveToneSystem *s = SystemAt(d, system);
    if (!s)
        return;
    for (int column : {k5tColCall, k5tColId})
        if (FiveToneCodeIndex(d, system, column) == 0)
            *CodeByteOf(*s, column) = kNoCall;
}

void FiveToneRefreshStores(RadioData &d)
{
    for (int system = 1; system <= kFiveToneSystems; ++system)
        SettleFiveToneSystem(d, system);
}

} // namespace vkt
