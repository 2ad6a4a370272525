#include "radio_data.h"

#include "adjustment.h"
#include "program_state.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

// Bit n of an in-use bit field (bit n % 8 of byte n / 8). A number outside
// [lo, hi] reads as not in use and is ignored by set and clear.
bool TestBit(const std::uint8_t *bits, int n, int lo, int hi)
{
    return n >= lo && n <= hi && ((bits[n / 8] >> (n % 8)) & 1);
}
void SetBit(std::uint8_t *bits, int n, int lo, int hi)
{
    if (n >= lo && n <= hi)
        bits[n / 8] = static_cast<std::uint8_t>(bits[n / 8] | (1u << (n % 8)));
}
void ClearBit(std::uint8_t *bits, int n, int lo, int hi)
{
    if (n >= lo && n <= hi)
        bits[n / 8] = static_cast<std::uint8_t>(bits[n / 8] & ~(1u << (n % 8)));
}

template <std::size_t N>
void PutText(std::uint8_t (&field)[N], const char *text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text, std::min(N, std::strlen(text)));
}

void ResetChannelToDefault(ChannelEntry &e, std::uint32_t rx)
{
    e.rxFreq = rx;
    e.txFreq = 0;
    e.decodeCode = 0;
    e.decodeType = kToneOff;
    e.encodeCode = 0;
    e.encodeType = kToneOff;
    e.flags0 = 0;
    e.flags1 = kNewChannelFlags1;
    e.flags2 = 0;
    e.flags3 = 0;
    std::memset(e.name, 0, sizeof e.name);
}

struct OffsetDefault {
    std::uint32_t start, end;
    std::uint8_t direction;
    std::uint32_t offset;
};

constexpr OffsetDefault kOffsetDefaults[8] = {
    {144500000, 144900000, 1, 600000},  {145100000, 145500000, 2, 600000},
    {146000000, 146400000, 1, 600000},  {146600000, 147000000, 2, 600000},
    {147000000, 147400000, 1, 600000},  {147600000, 148000000, 2, 600000},
    {442000000, 445000000, 1, 5000000}, {447000000, 450000000, 2, 5000000},
};

} // namespace

void RecomputeMaxOffsets(BandLimits &l)
{
    // An unsigned 32-bit difference: a maximum below its minimum wraps round
    // to a large value and so ends up at the 99.9875 MHz ceiling as well.
    auto span = [](std::uint32_t lo, std::uint32_t hi) -> std::uint32_t {
        const std::uint32_t v = hi - lo;
        return v >= 100000000 ? 99987500 : v;
    };
    l.uhfMaxOffset = span(l.uhfTxMin, l.uhfTxMax);
    l.vhfMaxOffset = span(l.vhfTxMin, l.vhfTxMax);
}

bool IsChannelInUse(const RadioData &d, int ch) { return TestBit(d.channelBits, ch, 0, kChannelCount); }
void SetChannelInUse(RadioData &d, int ch) { SetBit(d.channelBits, ch, 1, kChannelCount); }
void ClearChannelInUse(RadioData &d, int ch) { ClearBit(d.channelBits, ch, 1, kChannelCount); }

bool IsAddressBookInUse(const RadioData &d, int j) { return TestBit(d.addrBookBits, j, 0, kAddressBookCount); }
void SetAddressBookInUse(RadioData &d, int j) { SetBit(d.addrBookBits, j, 0, kAddressBookCount); }
void ClearAddressBookInUse(RadioData &d, int j) { ClearBit(d.addrBookBits, j, 0, kAddressBookCount); }

bool IsOffsetRowInUse(const RadioData &d, int bit) { return TestBit(d.offsetTableBits, bit, 0, kOffsetTableRows); }
void SetOffsetRowInUse(RadioData &d, int bit) { SetBit(d.offsetTableBits, bit, 0, kOffsetTableRows); }
void ClearOffsetRowInUse(RadioData &d, int bit) { ClearBit(d.offsetTableBits, bit, 0, kOffsetTableRows); }

std::size_t FieldTextLength(const std::uint8_t *field, std::size_t size)
{
    if (size == 0)
        return 0; // an empty text may come without any bytes behind it
    const void *zero = std::memchr(field, 0, size);
    return zero ? static_cast<std::size_t>(static_cast<const std::uint8_t *>(zero) - field) : size;
}

void SetDefaultData(RadioData &d, IdentityValues &identity, const BandLimits &limits)
{
    identity = IdentityValues{};
    std::memset(&d, 0, sizeof d);

    ResetChannelToDefault(d.vfoA, limits.uhfRxMin);
    d.vfoB = d.vfoA;
    d.vfoB.rxFreq = limits.vhfRxMin;

    d.modeA = 0;
    d.modeB = 0;
    PutText(d.logo, "Kelmora");
    d.squelchLevel = 5;
    d.squelchMode = 3;
    d.alarmRing = 1;
    d.stepA = 12500;
    d.stepB = 12500;
    d.voxDelay = 1000;
    d.txTimeout = 60;
    d.timeoutPreAlert = 5;
    d.priorityChannel = 1;
    d.scanResume = 1;
    d.lampTimer = 5;
    d.lampControl = 10;
    d.keyBeep = 1;
    d.batterySaver = 3;
    d.screenSaver = 1;
    for (int r = 0; r < 8; ++r) {
        OffsetTableRow &row = d.offsetTable[r];
        row.start = kOffsetDefaults[r].start;
        row.end = kOffsetDefaults[r].end;
        row.direction = kOffsetDefaults[r].direction;
        row.offset = kOffsetDefaults[r].offset;
        SetOffsetRowInUse(d, r);
    }
    d.scramblingCarrier = 9011;
    std::memcpy(d.powerOnPassword, "531642", 6);
    d.idleColour = 2;
    d.txColour = 0;
    d.rxColour = 1;
    d.menu = 1;
    d.alarmMode = 1;
    d.alarmCode = 600;
    d.masterTxPeriod = 30;
    d.slaveTimeout = 60;
    d.slaveAlarmPeriod = 5;
    d.fmFrequency = 76000000;
    d.fmStep = 1;
    d.fmMin = 76000000;
    d.fmMax = 108000000;

    // DTMF
    d.dtmfSideTone = 1;
    d.dtmfDigitDuration = 100;
    d.dtmfPauseDuration = 100;
    d.dtmfFirstDelay = 100;
    d.dtmfPreTime = 500;
    d.dtmfStarHashDelay = 50;
    d.dtmfAutoReset = 30;
    d.dtmfCleanCodeTime = 5;
    d.dtmfWhenEncode = 1;
    d.idOptions = 3;

    // Two-tone
    d.leadIn2T = 500;
    d.leadOut2T = 100;
    d.call1_2T = 255;
    d.call2_2T = 255;
    for (TwoToneSystem &s : d.twoToneSystems) {
        s.call = 255;
        s.groupTime = 30;
        s.toneATime = 4;
        s.toneBTime = 4;
        s.autoResetTime = 30;
        s.options = 0x1C;
    }
    std::memset(d.twoToneEncode, 0xFF, sizeof d.twoToneEncode);
    std::memset(d.twoToneDecode, 0xFF, sizeof d.twoToneDecode);

    // Five-tone
    d.groupTone = 10;
    d.repeatTone = 14;
    d.lastGapTone = 255;
    d.firstToneExtension = 1;
    d.secondToneExtension = 1;
    d.lastGapTime = 1;
    d.secondLastGapTime = 1;
    d.ackRetries = 3;
    d.ackDecodeTime = 3;
    d.idDecodeTime = 3;
    d.autoTxTime = 3;
    d.aniLock = 3;
    d.autoReset5T = 30;
    d.leadIn5T = 500;
    d.leadOut5T = 100;
    d.call1_5T = 255;
    d.call2_5T = 255;
    for (int s = 0; s < 5; ++s)
        d.tonePeriods[s] = {70, 105};
    d.tonePeriods[5] = {100, 150};
    d.tonePeriods[6] = {40, 60};
    d.tonePeriods[7] = {33, 45};
    for (FiveToneSystem &s : d.fiveToneSystems) {
        s.repeatCode = 255;
        s.callCode = 255;
        s.idCode = 255;
        s.options = 0x1C;
        s.sequence = 1;
    }
    for (FiveToneDecode &e : d.fiveToneDecode)
        e.transpond = 255;

    // Power-on display
    d.displayType = 2;
    for (MessageLine &l : d.messageLines) {
        l.line = 0;
        l.font = 16;
        l.alignment = 254;
    }
}

void MakeNewChannel(RadioData &d, int ch, std::uint32_t rx, const BandLimits &limits)
{
    if (ch < 1 || ch > kChannelCount)
        return;
    ChannelEntry &e = d.channels[ch];
    const bool vhf = rx >= limits.vhfRxMin && rx <= limits.vhfRxMax;
    const std::uint32_t lo = vhf ? limits.vhfTxMin : limits.uhfTxMin;
    const std::uint32_t hi = vhf ? limits.vhfTxMax : limits.uhfTxMax;
    std::uint32_t tx = rx;
    if (tx < lo)
        tx = lo;
    if (tx > hi)
        tx = hi;
    e.rxFreq = rx;
    e.txFreq = tx;
    e.decodeCode = 0;
    e.decodeType = kToneOff;
    e.encodeCode = 0;
    e.encodeType = kToneOff;
    e.flags0 = 0;
    e.flags1 = kNewChannelFlags1;
    e.flags2 = 0;
    e.flags3 = 0;
    SetChannelInUse(d, ch);
}

void SetDefaultAll(ProgramState &state)
{
    SetDefaultData(state.data, state.identity, state.limits);
    SetAdjustmentDefaults(state.adjustment);
}

void SetDefaultAll(ProgramState &state, int &port)
{
    SetDefaultAll(state);
    port = kDefaultPort;
}

} // namespace vkt
