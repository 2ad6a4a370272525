#include "codeplug.h"

#include "codecs.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

// How a field moves between the record and the image.
enum class Kind : std::uint8_t {
    Raw,   // bytes copied unchanged
    Word,  // little-endian u16 in the record, big-endian in the image
    Long,  // little-endian u32 in the record, big-endian in the image
};

struct FieldMap {
    std::uint16_t image;
    std::uint16_t record;
    std::uint16_t size; // bytes; 2 for Word, 4 for Long
    Kind kind;
};

#define RAW(img, field, n) FieldMap{img, offsetof(RadioData, field), n, Kind::Raw}
#define BYTE(img, field) RAW(img, field, 1)
#define WORD(img, field) FieldMap{img, offsetof(RadioData, field), 2, Kind::Word}
#define LONG(img, field) FieldMap{img, offsetof(RadioData, field), 4, Kind::Long}

// The option bytes and words, DTMF, two-tone, five-tone, FM and power-on
// display values that sit at fixed addresses. Fields with a structure of
// their own (channels, VFOs, address book, offset table, signalling
// systems, band limits, clock) are converted separately below.
constexpr FieldMap kFieldMap[] = {
    RAW(0x1526, logo, 8),
    WORD(0x152E, txTimeout),
    BYTE(0x1530, timeoutPreAlert),
    BYTE(0x1531, scanResume),
    WORD(0x1532, priorityScan),
    BYTE(0x1534, lampControl),
    RAW(0x1535, idleColour, 3), // idle, transmit, receive colour
    BYTE(0x1538, keyLock),
    WORD(0x1539, autoPowerOff),
    BYTE(0x153B, keyBeep),
    BYTE(0x153C, batterySaver),
    BYTE(0x153D, fmRadioSwitching),
    BYTE(0x153E, showScrambling),
    BYTE(0x153F, scrambling),
    WORD(0x1540, scramblingCarrier),
    BYTE(0x1542, compandor),
    BYTE(0x1543, squelchLevel),
    BYTE(0x1544, voxLevel),
    WORD(0x1545, voxDelay),
    BYTE(0x1547, rogerBeep),
    BYTE(0x1548, callBeep),
    BYTE(0x1549, alarmRing),
    WORD(0x154A, priorityChannel),
    BYTE(0x154C, showChannelNames),
    BYTE(0x154D, reserved48B3),
    BYTE(0x154E, dualWatch),
    BYTE(0x154F, burst1750),
    BYTE(0x1550, autoOffset),
    BYTE(0x1551, lampTimer),
    BYTE(0x1552, screenSaver),
    BYTE(0x1553, reserved47DA),
    BYTE(0x1554, whisper),
    BYTE(0x1555, powerOnPasswordOn),
    RAW(0x1556, powerOnPassword, 6),
    BYTE(0x155C, displayLanguage),
    BYTE(0x155D, squelchMode),
    BYTE(0x155F, alarmMode),
    WORD(0x1560, alarmCode),
    BYTE(0x1562, rxAlarm),
    BYTE(0x1563, languageLock),
    RAW(0x1564, reserved49AD, 9), // both reserved groups, 0x49AD-0x49B5
    BYTE(0x1581, autoConnect),
    BYTE(0x1582, autoConnectRole),
    RAW(0x1583, masterTxPeriod, 3), // master period, slave time-out, slave alarm
    LONG(0x1587, fmFrequency),
    LONG(0x158B, fmMin),
    LONG(0x158F, fmMax),
    // DTMF
    BYTE(0x15E4, dtmfControl),
    BYTE(0x15E5, dtmfEncodeMode),
    BYTE(0x15E6, dtmfSideTone),
    BYTE(0x15E7, dtmfDigitDuration),
    BYTE(0x15E8, dtmfPauseDuration),
    WORD(0x15E9, dtmfFirstDelay),
    WORD(0x15EB, dtmfPreTime),
    WORD(0x15ED, dtmfStarHashDelay),
    BYTE(0x15EF, dtmfWhenEncode),
    BYTE(0x15F0, dtmfGroupCode),
    BYTE(0x15F1, dtmfAutoReset),
    BYTE(0x15F2, dtmfCleanCodeTime),
    RAW(0x1603, ownId, 16),
    BYTE(0x1613, ownIdLength),
    BYTE(0x1614, idOptions),
    BYTE(0x1615, dtmfWorkingState),
    RAW(0x1616, stunCode, 17),       // digits and length
    RAW(0x1627, killCode, 17),
    RAW(0x1638, activationCode, 17),
    RAW(0x1649, addrBookBits, 4),
    BYTE(0x1974, menu),
    RAW(0x1975, offsetTableBits, 4),
    BYTE(0x19A1, displayType),
    RAW(0x19A2, messageLines, 4 * sizeof(MessageLine)),
    // Two-tone
    WORD(0x41D0, leadIn2T),
    WORD(0x41D2, leadOut2T),
    RAW(0x41D4, call1_2T, 2),
    RAW(0x42C8, twoToneEncode, kTwoToneEncodeEntries),
    RAW(0x42E8, twoToneDecode, kTwoToneDecodeEntries),
    // Five-tone
    RAW(0x42F8, groupTone, 15), // group tone .. auto reset
    WORD(0x4307, leadIn5T),
    WORD(0x4309, leadOut5T),
    RAW(0x430B, call1_5T, 2),
    RAW(0x430D, reserved4AF3, 3), // two reserved options and PTT call
    RAW(0x43F0, fiveToneEncode, kFiveToneEncodeEntries * sizeof(FiveToneEncode)),
    RAW(0x4490, fiveToneDecode, kFiveToneDecodeEntries * sizeof(FiveToneDecode)),
    RAW(0x4500, tonePeriods, 10 * sizeof(TonePeriod)),
};

#undef RAW
#undef BYTE
#undef WORD
#undef LONG

constexpr bool FieldMapFitsRecordAndImage()
{
    for (const FieldMap &f : kFieldMap) {
        if (f.record + f.size > kRadioDataSize || f.image + f.size > kConfigImageSize)
            return false;
        if ((f.kind == Kind::Word && f.size != 2) || (f.kind == Kind::Long && f.size != 4))
            return false;
    }
    return true;
}
static_assert(FieldMapFitsRecordAndImage());

constexpr std::uint16_t kFmStepImage = 0x1586;
constexpr std::uint16_t kFmMemoriesImage = 0x1593;
constexpr std::uint16_t kAddressBookEntriesImage = 0x164D; // + 26 * j
constexpr std::uint16_t kTwoToneSystemsImage = 0x41D8;
constexpr std::uint16_t kFiveToneSystemsImage = 0x4310;
constexpr std::size_t kOffsetRowImageSize = 13;
constexpr std::size_t kClearedImageBytes = 0x2000;

const std::uint8_t *RecordBytes(const RadioData &d) { return reinterpret_cast<const std::uint8_t *>(&d); }
std::uint8_t *RecordBytes(RadioData &d) { return reinterpret_cast<std::uint8_t *>(&d); }

void ToImage(const FieldMap &f, const RadioData &d, CodeplugImage &img)
{
    const std::uint8_t *src = RecordBytes(d) + f.record;
    std::uint8_t *dst = img.at(f.image);
    switch (f.kind) {
    case Kind::Raw:
        std::memcpy(dst, src, f.size);
        break;
    case Kind::Word:
        PutBE16(dst, reinterpret_cast<const U16 *>(src)->get());
        break;
    case Kind::Long:
        PutBE32(dst, reinterpret_cast<const U32 *>(src)->get());
        break;
    }
}

void FromImage(const FieldMap &f, const CodeplugImage &img, RadioData &d)
{
    std::uint8_t *dst = RecordBytes(d) + f.record;
    const std::uint8_t *src = img.at(f.image);
    switch (f.kind) {
    case Kind::Raw:
        std::memcpy(dst, src, f.size);
        break;
    case Kind::Word:
        reinterpret_cast<U16 *>(dst)->set(GetBE16(src));
        break;
    case Kind::Long:
        reinterpret_cast<U32 *>(dst)->set(GetBE32(src));
        break;
    }
}

Tone ToneOf(const ChannelEntry &e, bool encode)
{
    return encode ? Tone{e.encodeCode, e.encodeType} : Tone{e.decodeCode, e.decodeType};
}

void StoreTone(ChannelEntry &e, bool encode, Tone t)
{
    if (encode) {
        e.encodeCode = t.code;
        e.encodeType = t.type;
    } else {
        e.decodeCode = t.code;
        e.decodeType = t.type;
    }
}

void PutFlags(const ChannelEntry &e, std::uint8_t *p)
{
    p[0] = e.flags0;
    p[1] = e.flags1;
    p[2] = e.flags2;
    p[3] = e.flags3;
}

void GetFlags(ChannelEntry &e, const std::uint8_t *p)
{
    e.flags0 = p[0];
    e.flags1 = p[1];
    e.flags2 = p[2];
    e.flags3 = p[3];
}

void ChannelToSlot(const ChannelEntry &e, std::uint8_t *slot)
{
    EncodeBcdFreq(e.rxFreq, slot + 0);
    EncodeBcdFreq(e.txFreq, slot + 4);
    EncodeTone(ToneOf(e, false), slot + 8);
    EncodeTone(ToneOf(e, true), slot + 10);
    PutFlags(e, slot + 12);
    std::memcpy(slot + 16, e.name, 6);
}

void SlotToChannel(std::uint8_t *slot, ChannelEntry &e)
{
    e.rxFreq = DecodeBcdFreq(slot + 0);
    e.txFreq = DecodeBcdFreq(slot + 4);
    StoreTone(e, false, DecodeTone(slot + 8));
    StoreTone(e, true, DecodeTone(slot + 10));
    GetFlags(e, slot + 12);
    std::memcpy(e.name, slot + 16, 6);
}

// VFO block: receive frequency, tones, flags, offset, work mode, step.
void VfoToImage(const ChannelEntry &e, std::uint32_t offset, std::uint8_t mode, std::uint32_t step,
                std::uint8_t *p)
{
    EncodeBcdFreq(e.rxFreq, p + 0);
    EncodeTone(ToneOf(e, false), p + 4);
    EncodeTone(ToneOf(e, true), p + 6);
    PutFlags(e, p + 8);
    EncodeBcdFreq(offset, p + 12);
    p[16] = mode;
    PutBE32(p + 17, step);
}

void ImageToVfo(std::uint8_t *p, ChannelEntry &e, U32 &offset, std::uint8_t &mode, U32 &step)
{
    e.rxFreq = DecodeBcdFreq(p + 0);
    StoreTone(e, false, DecodeTone(p + 4));
    StoreTone(e, true, DecodeTone(p + 6));
    GetFlags(e, p + 8);
    offset = DecodeBcdFreq(p + 12);
    mode = p[16];
    step = GetBE32(p + 17);
}

} // namespace

std::array<std::uint8_t, 16> ScramblePassword(std::string_view text, const RandomByteSource &random)
{
    std::array<std::uint8_t, 16> b{};
    for (auto &x : b)
        x = random();
    const std::size_t n = std::min<std::size_t>(text.size(), 12);
    const std::uint8_t k0 = b[0];
    const std::uint8_t k1 = b[1];
    b[0] = static_cast<std::uint8_t>(n);
    b[1] = k0;
    b[2] = static_cast<std::uint8_t>(~static_cast<std::uint8_t>(k0 + k1) ^ k0);
    for (std::size_t i = 0; i < n; ++i) {
        const auto t = static_cast<std::uint8_t>(text[i]);
        b[3 + i] = static_cast<std::uint8_t>(~static_cast<std::uint8_t>(t + k1) ^ k1);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < 15; ++i)
        sum += b[i];
    b[15] = static_cast<std::uint8_t>(sum);
    return b;
}

bool DescramblePassword(const std::uint8_t block[16], std::string &text)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < 15; ++i)
        sum += block[i];
    const std::size_t n = block[0];
    if (static_cast<std::uint8_t>(sum) != block[15] || n > 12)
        return false;
    const std::uint8_t k0 = block[1];
    // c = ~(k0 + k1) ^ k0, so k1 = ~(c ^ k0) - k0.
    const auto k1 = static_cast<std::uint8_t>(static_cast<std::uint8_t>(~(block[2] ^ k0)) - k0);
    text.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::uint8_t>(~(block[3 + i] ^ k1));
        text.push_back(static_cast<char>(static_cast<std::uint8_t>(v - k1)));
    }
    return true;
}

void GetDataForWrite(RadioData &d, const BandLimits &limits, CodeplugImage &img, const ClockTime &clock,
                     const RandomByteSource &random)
{
    std::fill_n(img.bytes.begin(), kClearedImageBytes, std::uint8_t{0});

    std::memcpy(img.at(addr::kChannelBits), d.channelBits, sizeof d.channelBits);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        if (IsChannelInUse(d, ch))
            ChannelToSlot(d.channels[ch], img.at(addr::kChannelSlots + kChannelSlotSize * ch));

    VfoToImage(d.vfoA, d.offsetA, d.modeA, d.stepA, img.at(addr::kVfoA));
    VfoToImage(d.vfoB, d.offsetB, d.modeB, d.stepB, img.at(addr::kVfoB));

    for (const FieldMap &f : kFieldMap)
        ToImage(f, d, img);

    for (int r = 0; r < kOffsetTableRows; ++r) {
        const OffsetTableRow &row = d.offsetTable[r];
        std::uint8_t *p = img.at(addr::kOffsetTable + kOffsetRowImageSize * r);
        PutBE32(p + 0, row.start);
        PutBE32(p + 4, row.end);
        p[8] = row.direction;
        PutBE32(p + 9, row.offset);
    }

    std::uint8_t firstEntry = 0;
    for (int j = 1; j <= kAddressBookCount; ++j) {
        d.addrBook[j].number = static_cast<std::uint8_t>(j);
        std::memcpy(img.at(kAddressBookEntriesImage + sizeof(AddressBookEntry) * j), &d.addrBook[j],
                    sizeof(AddressBookEntry));
        if (firstEntry == 0 && IsAddressBookInUse(d, j))
            firstEntry = static_cast<std::uint8_t>(j);
    }
    img.bytes[addr::kFirstAddressBookEntry] = firstEntry;

    for (int k = 0; k < kTwoToneSystems; ++k) {
        const TwoToneSystem &s = d.twoToneSystems[k];
        std::uint8_t *p = img.at(kTwoToneSystemsImage + sizeof(TwoToneSystem) * k);
        std::memcpy(p, &s, 7);
        PutBE16(p + 7, s.decodeEntries);
        std::memcpy(p + 9, s.name, 6);
    }
    for (int k = 0; k < kFiveToneSystems; ++k) {
        const FiveToneSystem &s = d.fiveToneSystems[k];
        std::uint8_t *p = img.at(kFiveToneSystemsImage + sizeof(FiveToneSystem) * k);
        std::memcpy(p, &s, 6);
        PutBE16(p + 6, s.decodeEntries);
        std::memcpy(p + 8, s.name, 6);
    }

    img.bytes[kFmStepImage] = static_cast<std::uint8_t>(d.fmStep.get());
    for (int m = 0; m < kFmMemories; ++m)
        PutBE32(img.at(kFmMemoriesImage + 4 * m), d.fmMemories[m]);

    const std::uint32_t bands[10] = {limits.vhfTxMin, limits.vhfTxMax, limits.vhfRxMin, limits.vhfRxMax,
                                     limits.uhfTxMin, limits.uhfTxMax, limits.uhfRxMin, limits.uhfRxMax,
                                     limits.vhfMaxOffset, limits.uhfMaxOffset};
    for (int i = 0; i < 10; ++i)
        PutBE32(img.at(addr::kBandLimits + 4 * i), bands[i]);

    const std::string_view password(reinterpret_cast<const char *>(d.radioPassword),
                                    FieldTextLength(d.radioPassword, 12));
    const auto block = ScramblePassword(password, random);
    std::memcpy(img.at(addr::kRadioPasswordBlock), block.data(), block.size());

    std::uint8_t *t = img.at(addr::kLastProgrammed);
    PutBE16(t, clock.year);
    t[2] = clock.month;
    t[3] = clock.day;
    t[4] = clock.hour;
    t[5] = clock.minute;
}

void SetDataToSoftware(CodeplugImage &img, RadioData &d, BandLimits &limits, IdentityValues &identity)
{
    std::memcpy(d.channelBits, img.at(addr::kChannelBits), sizeof d.channelBits);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        if (IsChannelInUse(d, ch))
            SlotToChannel(img.at(addr::kChannelSlots + kChannelSlotSize * ch), d.channels[ch]);

    ImageToVfo(img.at(addr::kVfoA), d.vfoA, d.offsetA, d.modeA, d.stepA);
    ImageToVfo(img.at(addr::kVfoB), d.vfoB, d.offsetB, d.modeB, d.stepB);

    for (const FieldMap &f : kFieldMap)
        FromImage(f, img, d);

    for (int r = 0; r < kOffsetTableRows; ++r) {
        OffsetTableRow &row = d.offsetTable[r];
        const std::uint8_t *p = img.at(addr::kOffsetTable + kOffsetRowImageSize * r);
        row.start = GetBE32(p + 0);
        row.end = GetBE32(p + 4);
        row.direction = p[8];
        row.offset = GetBE32(p + 9);
    }

    for (int j = 1; j <= kAddressBookCount; ++j)
        std::memcpy(&d.addrBook[j], img.at(kAddressBookEntriesImage + sizeof(AddressBookEntry) * j),
                    sizeof(AddressBookEntry));

    for (int k = 0; k < kTwoToneSystems; ++k) {
        TwoToneSystem &s = d.twoToneSystems[k];
        const std::uint8_t *p = img.at(kTwoToneSystemsImage + sizeof(TwoToneSystem) * k);
        std::memcpy(&s, p, 7);
        s.decodeEntries = GetBE16(p + 7);
        std::memcpy(s.name, p + 9, 6);
    }
    for (int k = 0; k < kFiveToneSystems; ++k) {
        FiveToneSystem &s = d.fiveToneSystems[k];
        const std::uint8_t *p = img.at(kFiveToneSystemsImage + sizeof(FiveToneSystem) * k);
        std::memcpy(&s, p, 6);
        s.decodeEntries = GetBE16(p + 6);
        std::memcpy(s.name, p + 8, 6);
    }

    // The radio holds only the low byte of the FM step list index.
    d.fmStep = img.bytes[kFmStepImage];
    for (int m = 0; m < kFmMemories; ++m)
        d.fmMemories[m] = GetBE32(img.at(kFmMemoriesImage + 4 * m));

    std::uint32_t *bands[8] = {&limits.vhfTxMin, &limits.vhfTxMax, &limits.vhfRxMin, &limits.vhfRxMax,
                               &limits.uhfTxMin, &limits.uhfTxMax, &limits.uhfRxMin, &limits.uhfRxMax};
    for (int i = 0; i < 8; ++i)
        *bands[i] = GetBE32(img.at(addr::kBandLimits + 4 * i));

    std::memset(d.firmwareVersion, 0, sizeof d.firmwareVersion);
    std::memcpy(d.firmwareVersion, img.at(addr::kFirmwareVersion), 12);

    const std::uint8_t *t = img.at(addr::kLastProgrammed);
    identity.year = GetBE16(t);
    identity.month = t[2];
    identity.day = t[3];
    identity.hour = t[4];
    identity.minute = t[5];
}

bool CheckAnChannelUsedOrNo_tmp(const CodeplugImage &img, int ch)
{
    if (ch < 0 || ch > kChannelCount)
        return false;
    return (img.bytes[addr::kChannelBits + ch / 8] >> (ch % 8)) & 1;
}

} // namespace vkt
