#include "channel_edit.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

bool ValidChannel(int ch) { return ch >= 1 && ch <= kChannelCount; }

// An empty text counts as 0 Hz.
bool ParseFrequency(std::string_view text, std::uint32_t &hz)
{
    if (text.empty()) {
        hz = 0;
        return true;
    }
    const auto v = ParseMHzText(text);
    if (!v)
        return false;
    hz = *v;
    return true;
}

} // namespace

StoreResult StoreRxText(RadioData &d, const BandLimits &limits, int ch, std::string_view text)
{
    if (!ValidChannel(ch))
        return StoreResult::Rejected;
    if (text.empty()) {
        ClearChannelInUse(d, ch);
        return StoreResult::Deleted;
    }
    std::uint32_t hz = 0;
    if (!ParseFrequency(text, hz))
        return StoreResult::Rejected;
    hz = LimitToBand(hz, false, limits);
    if (IsChannelInUse(d, ch))
        d.channels[ch].rxFreq = hz;
    else
        MakeNewChannel(d, ch, hz, limits);
    return StoreResult::Stored;
}

StoreResult StoreTxText(RadioData &d, const BandLimits &limits, int ch, std::string_view text)
{
    if (!ValidChannel(ch) || !IsChannelInUse(d, ch))
        return StoreResult::Rejected;
    std::uint32_t hz = 0;
    if (!ParseFrequency(text, hz))
        return StoreResult::Rejected;
    d.channels[ch].txFreq = hz == 0 ? 0 : LimitToBand(hz, true, limits);
    return StoreResult::Stored;
}

StoreResult StoreToneText(RadioData &d, int ch, bool encode, std::string_view text)
{
    if (!ValidChannel(ch) || !IsChannelInUse(d, ch))
        return StoreResult::Rejected;
    const auto tone = ParseToneText(text);
    if (!tone)
        return StoreResult::Rejected;
    ChannelEntry &e = d.channels[ch];
    if (encode) {
        e.encodeCode = tone->code;
        e.encodeType = tone->type;
    } else {
        e.decodeCode = tone->code;
        e.decodeType = tone->type;
    }
    return StoreResult::Stored;
}

bool HasNonstandardTone(const RadioData &d, int ch, bool encode)
{
    if (!ValidChannel(ch) || !IsChannelInUse(d, ch))
        return false;
    const ChannelEntry &e = d.channels[ch];
    const Tone t = encode ? Tone{e.encodeCode, e.encodeType} : Tone{e.decodeCode, e.decodeType};
    return !IsStandardTone(t);
}

char ToneBoxKey(char c)
{
    return (c == 'd' || c == 'n' || c == 'i') ? static_cast<char>(c - 'a' + 'A') : c;
}

int PowerListIndex(unsigned code)
{
    switch (code) {
    case kPowerLow: return 0;
    case kPowerMid: return 1;
    case kPowerHigh: return 2;
    default: return -1;
    }
}

unsigned PowerCodeForIndex(int index)
{
    static const unsigned kCodes[3] = {kPowerLow, kPowerMid, kPowerHigh};
    return index >= 0 && index < 3 ? kCodes[index] : unsigned(kPowerHigh);
}

int BusyListIndex(unsigned code) { return code <= kBusyCat ? int(code) : -1; }
int SignalSystemListIndex(unsigned system) { return system <= kSignal5Tone ? int(system) : -1; }

int SignalNumberCount(unsigned system)
{
    switch (system) {
    case kSignalDtmf: return 30;
    case kSignal2Tone:
    case kSignal5Tone: return 16;
    default: return 0;
    }
}

int SignalNumberListIndex(const ChannelEntry &e)
{
    const int index = int(SignalIndexOf(e));
    return index < SignalNumberCount(SignalSystemOf(e)) ? index : -1;
}

void StorePowerIndex(RadioData &d, int ch, int index)
{
    if (ValidChannel(ch) && index >= 0 && index < 3)
        SetPowerOf(d.channels[ch], PowerCodeForIndex(index));
}

void StoreBandwidthIndex(RadioData &d, int ch, int index)
{
    if (ValidChannel(ch) && (index == 0 || index == 1))
        SetWideOf(d.channels[ch], index == 1);
}

void StoreScanIndex(RadioData &d, int ch, int index)
{
    if (ValidChannel(ch) && (index == 0 || index == 1))
        SetScanAddOf(d.channels[ch], index == 1);
}

void StoreBusyIndex(RadioData &d, int ch, int index)
{
    if (ValidChannel(ch) && index >= 0 && index <= int(kBusyCat))
        SetBusyLockOf(d.channels[ch], unsigned(index));
}

void StoreSignalSystemIndex(RadioData &d, int ch, int index)
{
    if (!ValidChannel(ch) || index < 0 || index > int(kSignal5Tone))
        return;
    ChannelEntry &e = d.channels[ch];
    if (SignalSystemOf(e) != unsigned(index))
        SetSignalSystemOf(e, unsigned(index)); // the number goes back to the first entry
}

void StoreSignalNumberIndex(RadioData &d, int ch, int index)
{
    if (!ValidChannel(ch) || index < 0 || index >= SignalNumberCount(SignalSystemOf(d.channels[ch])))
        return;
    SetSignalIndexOf(d.channels[ch], unsigned(index));
}

void StoreNameBytes(RadioData &d, int ch, const std::uint8_t *bytes, std::size_t size)
{
    if (!ValidChannel(ch))
        return;
    ChannelEntry &e = d.channels[ch];
    std::memset(e.name, 0, sizeof e.name);
    if (bytes && size)
        std::memcpy(e.name, bytes, std::min(size, sizeof e.name));
}

bool FrequencyKeyPasses(unsigned code)
{
    return code < 32 || (code >= 127 && code <= 255) || (code >= '0' && code <= '9') || code == '.';
}

std::string CorrectFrequencyText(std::string text, std::size_t maxLength)
{
    while (text.size() > maxLength)
        text.pop_back();
    if (text == ".")
        text.clear();
    const std::size_t first = text.find('.');
    if (first != std::string::npos) {
        std::string kept = text.substr(0, first + 1);
        for (std::size_t i = first + 1; i < text.size(); ++i)
            if (text[i] != '.')
                kept.push_back(text[i]);
        text = kept;
    }
    return text;
}

bool NameKeyPasses(unsigned code)
{
    if (code >= ' ' && code <= ')')
        return false;
    return !(code == '{' || code == '|' || code == '}' || code == '~');
}

int ApplyBatchSet(RadioData &d, const BandLimits &limits, const BatchSetParams &p)
{
    const int s = std::clamp(p.startChannel, 1, kChannelCount);
    int last = 0;
    if (p.endByChannel) {
        last = std::clamp(p.endChannel, 1, kChannelCount);
        if (last < s)
            return 0;
    } else {
        if (p.endFreq < p.startRx || p.endFreq < p.startTx)
            return 0;
        last = kChannelCount;
    }

    int filled = 0;
    for (int ch = s; ch <= last; ++ch) {
        const std::uint64_t k = std::uint64_t(ch - s);
        // Sums past 32 bits are held at the top before the band limits
        // bring them back into range.
        auto at = [&](std::uint32_t start) {
            return std::uint32_t(std::min<std::uint64_t>(start + k * p.step, 0xFFFFFFFFu));
        };
        const std::uint32_t rx = LimitToBand(at(p.startRx), false, limits);
        const std::uint32_t tx = LimitToBand(at(p.startTx), true, limits);
        if (!p.endByChannel && (rx > p.endFreq || tx > p.endFreq))
            break;
        ChannelEntry &e = d.channels[ch];
        e.rxFreq = rx;
        e.txFreq = tx;
        SetChannelInUse(d, ch);
        e.decodeCode = p.decode.code;
        e.decodeType = p.decode.type;
        e.encodeCode = p.encode.code;
        e.encodeType = p.encode.type;
        e.flags0 = e.flags1 = e.flags2 = e.flags3 = 0;
        SetWideOf(e, p.wide);
        SetPowerOf(e, PowerCodeForIndex(p.powerIndex));
        SetScanAddOf(e, p.scanAdd);
        SetBusyLockOf(e, unsigned(std::clamp(p.busyIndex, 0, 2)));
        SetScramblingOf(e, unsigned(std::clamp(p.scramblingIndex, 0, 5)));
        ++filled;
    }
    return filled;
}

} // namespace vkt
