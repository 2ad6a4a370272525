#include "two_tone.h"

#include "radio_data.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

bool IsControlKey(unsigned code) { return code < 32 || (code >= 127 && code <= 255); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

TwoToneSystem *SystemOf(RadioData &d, int system)
{
    return system >= 1 && system <= kTwoToneSystems ? &d.twoToneSystems[system - 1] : nullptr;
}
const TwoToneSystem *SystemOf(const RadioData &d, int system)
{
    return SystemOf(const_cast<RadioData &>(d), system);
}

std::uint8_t *CodeOf(RadioData &d, ToneList list, int entry)
{
    if (entry < 1 || entry > ToneListEntries(list))
        return nullptr;
    return list == ToneList::Decode ? &d.twoToneDecode[entry - 1] : &d.twoToneEncode[entry - 1];
}
const std::uint8_t *CodeOf(const RadioData &d, ToneList list, int entry)
{
    return CodeOf(const_cast<RadioData &>(d), list, entry);
}

std::uint8_t ToneA(std::uint8_t code) { return code & 0x0F; }
std::uint8_t ToneB(std::uint8_t code) { return code >> 4; }

// The decode entry of a decode column, and its bit in a decode set.
int DecodeEntryOf(int column) { return column - k2tColFirstDecode + 1; }
std::uint16_t DecodeBit(int entry) { return static_cast<std::uint16_t>(1u << (entry - 1)); }

std::uint8_t *TimeOf(TwoToneSystem &s, int column)
{
    switch (column) {
    case k2tColToneATime: return &s.toneATime;
    case k2tColToneBTime: return &s.toneBTime;
    case k2tColGroupTime: return &s.groupTime;
    default: return nullptr;
    }
}

std::string OnOff(bool on) { return std::string(on ? kOnText : kOffText); }

} // namespace

// ---- tone sets ----------------------------------------------------------------

std::string ToneTableCellText(int row, int column)
{
    if (row < 0 || row >= kToneTableRows || column < 0 || column >= kToneTableColumns || (row == 0 && column == 0))
        return {};
    if (row == 0)
        return std::string(kToneSets[column - 1].heading);
    if (column == 0)
        return std::to_string(row - 1);
    return std::string(kToneSets[column - 1].hz[row - 1]);
}

// ---- lead delays ----------------------------------------------------------------

bool LimitedNumberKeyPasses(unsigned code) { return IsControlKey(code) || (code >= '0' && code <= '9'); }

std::string CorrectLimitedNumberText(const Field &f, std::string text)
{
    // Pasted text may bring anything; only its digits stay.
    std::erase_if(text, [](char c) { return !IsDigit(c); });
    if (f.maxLength > 0 && text.size() > std::size_t(f.maxLength))
        text.resize(std::size_t(f.maxLength));
    return text;
}

std::string LimitedNumberText(const Field &f, const RadioData &d) { return std::to_string(ReadFieldValue(f, d)); }

TextStore StoreLimitedNumberText(const Field &f, RadioData &d, std::string_view text)
{
    std::uint64_t n = 0;
    for (char c : text)
        if (IsDigit(c))
            n = std::min<std::uint64_t>(n * 10 + std::uint64_t(c - '0'), f.maximum);
    WriteFieldValue(f, d, static_cast<std::uint32_t>(std::clamp<std::uint64_t>(n, f.minimum, f.maximum)));
    return TextStore::Stored;
}

// ---- call lists ------------------------------------------------------------------

std::vector<int> CallEntries(const RadioData &d)
{
    std::vector<int> entries;
    for (int n = 1; n <= kTwoToneEncodeEntries; ++n)
        if (ToneEntryDefined(d, ToneList::Encode, n))
            entries.push_back(n);
    return entries;
}

std::vector<std::string> CallItems(const RadioData &d)
{
    std::vector<std::string> items{std::string(kOffText)};
    for (int n : CallEntries(d))
        items.push_back(std::string(kEncodeEntryPrefix) + std::to_string(n));
    return items;
}

int CallIndex(const RadioData &d, std::uint8_t call)
{
    const std::vector<int> entries = CallEntries(d);
    const auto at = std::find(entries.begin(), entries.end(), int(call) + 1);
    return at == entries.end() ? 0 : int(at - entries.begin()) + 1;
}

std::uint8_t CallForIndex(const RadioData &d, int index, std::uint8_t old)
{
    const std::vector<int> entries = CallEntries(d);
    if (index < 0 || index > int(entries.size()))
        return old;
    return index == 0 ? kNoCall : static_cast<std::uint8_t>(entries[std::size_t(index) - 1] - 1);
}

// ---- system grid -------------------------------------------------------------------

std::string SystemCellText(const RadioData &d, int system, int column)
{
    const TwoToneSystem *s = SystemOf(d, system);
    if (!s)
        return {};
    switch (column) {
    case k2tColNumber: return std::to_string(system);
    case k2tColType: return s->presetTable < kToneSetCount ? std::string(kToneSets[s->presetTable].listName) : "";
    case k2tColCall: return SystemListItems(d, column)[std::size_t(CallIndex(d, s->call))];
    case k2tColToneATime: return TenthsText(s->toneATime);
    case k2tColToneBTime: return TenthsText(s->toneBTime);
    case k2tColGroupTime: return TenthsText(s->groupTime);
    case k2tColAutoResetTime: return AutoResetTimeIndex(d, system) >= 0 ? std::to_string(s->autoResetTime) : "";
    case k2tColAutoReset: return OnOff(s->options & kSystemAutoReset);
    case k2tColSubaudio: return OnOff(s->options & kSystemSubaudio);
    default: break;
    }
    if (column >= k2tColFirstDecode && column <= k2tColLastDecode)
        return (s->decodeEntries.get() & DecodeBit(DecodeEntryOf(column))) ? std::string(kOnText) : "";
    return {};
}

std::span<const std::uint8_t> SystemNameBytes(const RadioData &d, int system)
{
    const TwoToneSystem *s = SystemOf(d, system);
    if (!s)
        return {};
    return {s->name, FieldTextLength(s->name, sizeof s->name)};
}

bool SystemCellToggles(int column) { return column >= k2tColAutoReset && column <= k2tColLastDecode; }

bool ToggleSystemCell(RadioData &d, int system, int column)
{
    TwoToneSystem *s = SystemOf(d, system);
    if (!s || !SystemCellToggles(column))
        return false;
    if (column == k2tColAutoReset || column == k2tColSubaudio) {
        s->options ^= column == k2tColAutoReset ? kSystemAutoReset : kSystemSubaudio;
        return true;
    }
    const int entry = DecodeEntryOf(column);
    if (!ToneEntryDefined(d, ToneList::Decode, entry))
        return false;
    s->decodeEntries = static_cast<std::uint16_t>(s->decodeEntries.get() ^ DecodeBit(entry));
    return true;
}

std::vector<std::string> SystemListItems(const RadioData &d, int column)
{
    std::vector<std::string> items;
    if (column == k2tColCall)
        return CallItems(d);
    if (column == k2tColType)
        for (const ToneSet &t : kToneSets)
            items.emplace_back(t.listName);
    if (column == k2tColAutoResetTime)
        for (int s = 1; s <= kAutoResetTimeMax; ++s)
            items.push_back(std::to_string(s));
    return items;
}

void StoreSystemName(RadioData &d, int system, std::span<const std::uint8_t> name)
{
    TwoToneSystem *s = SystemOf(d, system);
    if (!s)
        return;
    std::memset(s->name, 0, sizeof s->name);
    std::copy_n(name.begin(), std::min(name.size(), sizeof s->name), s->name);
}

int ToneSetIndex(const RadioData &d, int system)
{
    const TwoToneSystem *s = SystemOf(d, system);
    return s && s->presetTable < kToneSetCount ? s->presetTable : -1;
}

int AutoResetTimeIndex(const RadioData &d, int system)
{
    const TwoToneSystem *s = SystemOf(d, system);
    return s && s->autoResetTime >= 1 && s->autoResetTime <= kAutoResetTimeMax ? s->autoResetTime - 1 : -1;
}

void StoreToneSetIndex(RadioData &d, int system, int index)
{
    if (TwoToneSystem *s = SystemOf(d, system); s && index >= 0 && index < kToneSetCount)
        s->presetTable = static_cast<std::uint8_t>(index);
}

void StoreAutoResetTimeIndex(RadioData &d, int system, int index)
{
    if (TwoToneSystem *s = SystemOf(d, system); s && index >= 0 && index < kAutoResetTimeMax)
        s->autoResetTime = static_cast<std::uint8_t>(index + 1);
}

void StoreSystemCallIndex(RadioData &d, int system, int index)
{
    if (TwoToneSystem *s = SystemOf(d, system))
        s->call = CallForIndex(d, index, s->call);
}

void SettleSystemRow(RadioData &d, int system)
{
    if (TwoToneSystem *s = SystemOf(d, system); s && CallIndex(d, s->call) == 0)
        s->call = kNoCall;
}

// ---- system times --------------------------------------------------------------------

bool TimeKeyPasses(unsigned code) { return IsControlKey(code) || (code >= '0' && code <= '9') || code == '.'; }

std::string CorrectTimeText(std::string text)
{
    if (text.size() > kTimeTextMaxLength)
        text.resize(kTimeTextMaxLength);
    if (text == ".")
        return {};
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text.erase(std::remove(text.begin() + std::ptrdiff_t(point) + 1, text.end(), '.'), text.end());
    return text;
}

std::string TenthsText(unsigned tenths)
{
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

std::uint8_t TenthsForText(std::string_view text, std::uint8_t low)
{
    // Whole seconds, a point, then decimals: read exactly, in tenths.
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    const auto digits = [](std::string_view s) { return std::all_of(s.begin(), s.end(), IsDigit); };
    if ((whole.empty() && decimals.empty()) || !digits(whole) || !digits(decimals))
        return low;
    unsigned tenths = 0;
    for (char c : whole)
        tenths = std::min(tenths * 10 + unsigned(c - '0'), 100000u);
    tenths = tenths * 10 + (decimals.empty() ? 0u : unsigned(decimals.front() - '0'));
    return static_cast<std::uint8_t>(std::clamp<unsigned>(tenths, low, kTimeMax));
}

void StoreSystemTimeText(RadioData &d, int system, int column, std::string_view text)
{
    TwoToneSystem *s = SystemOf(d, system);
    std::uint8_t *time = s ? TimeOf(*s, column) : nullptr;
    if (time)
        *time = TenthsForText(text, column == k2tColGroupTime ? kGroupTimeMin : kToneTimeMin);
}

// ---- decode and encode lists -------------------------------------------------------------

int ToneListEntries(ToneList list)
{
    return list == ToneList::Decode ? kTwoToneDecodeEntries : kTwoToneEncodeEntries;
}

bool ToneEntryDefined(const RadioData &d, ToneList list, int entry)
{
    const std::uint8_t *code = CodeOf(d, list, entry);
    return code && ToneA(*code) != kNoTone;
}

std::string_view ToneItemText(int index)
{
    static constexpr std::string_view kItems[kToneItemCount] = {kOffText, "0", "1", "2", "3", "4",
                                                                "5",      "6", "7", "8", "9"};
    return index >= 0 && index < kToneItemCount ? kItems[index] : std::string_view{};
}

int ToneItemIndex(const RadioData &d, ToneList list, int entry, int column)
{
    const std::uint8_t *code = CodeOf(d, list, entry);
    if (!code || (column != kToneColumnA && column != kToneColumnB))
        return -1;
    // Without tone A the entry is empty, whatever its tone B nibble holds.
    const std::uint8_t tone = column == kToneColumnA ? ToneA(*code) : ToneA(*code) == kNoTone ? kNoTone : ToneB(*code);
    if (tone == kNoTone)
        return 0;
    return tone < kToneDigitCount ? tone + 1 : -1;
}

std::string ToneCellText(const RadioData &d, ToneList list, int entry, int column)
{
    const int index = ToneItemIndex(d, list, entry, column);
    if (index < 0)
        return {};
    return std::string(index == 0 ? kNoToneText : ToneItemText(index));
}

bool ToneCellEditable(const RadioData &d, ToneList list, int entry, int column)
{
    if (!CodeOf(d, list, entry))
        return false;
    return column == kToneColumnA || (column == kToneColumnB && ToneEntryDefined(d, list, entry));
}

bool StoreToneItem(RadioData &d, ToneList list, int entry, int column, int index)
{
    std::uint8_t *code = CodeOf(d, list, entry);
    if (!code || index < 0 || index >= kToneItemCount || !ToneCellEditable(d, list, entry, column))
        return false;
    const std::uint8_t tone = index == 0 ? kNoTone : static_cast<std::uint8_t>(index - 1);
    if (column == kToneColumnB) {
        *code = static_cast<std::uint8_t>((*code & 0x0F) | (tone << 4));
        return false;
    }
    if (tone != kNoTone) {
        *code = static_cast<std::uint8_t>((*code & 0xF0) | tone);
        return false;
    }
    // Emptied: no system may refer to it any longer.
    *code = kEmptyCode;
    bool changed = false;
    for (TwoToneSystem &s : d.twoToneSystems) {
        if (list == ToneList::Encode && s.call == entry - 1) {
            s.call = kNoCall;
            changed = true;
        } else if (list == ToneList::Decode && (s.decodeEntries.get() & DecodeBit(entry))) {
            s.decodeEntries = static_cast<std::uint16_t>(s.decodeEntries.get() & ~DecodeBit(entry));
            changed = true;
        }
    }
    return changed;
}

void SettleToneEntry(RadioData &d, ToneList list, int entry)
{
    if (std::uint8_t *code = CodeOf(d, list, entry); code && ToneA(*code) == kNoTone)
        *code = kEmptyCode;
}

// ---- the whole page ---------------------------------------------------------------------

void TwoToneRefreshStores(RadioData &d)
{
    for (int s = 1; s <= kTwoToneSystems; ++s)
        SettleSystemRow(d, s);
    for (ToneList list : {ToneList::Decode, ToneList::Encode})
        for (int e = 1; e <= ToneListEntries(list); ++e)
            SettleToneEntry(d, list, e);
}

} // namespace vkt
