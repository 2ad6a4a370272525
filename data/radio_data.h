// The radio configuration record.
//
// RadioData is the whole editable configuration of one radio, exactly as it
// is held in memory and as it is stored in a project file (.Dvf): 19815
// bytes, no header, multi-byte numbers little-endian. Every offset below is
// part of the file format and is checked at compile time at the end of this
// header. Spare and reserved bytes are plain byte arrays so that whatever a
// file or a radio put there is carried unchanged.
#pragma once

#include "byte_fields.h"

#include <cstddef>
#include <cstdint>

namespace vkt {

inline constexpr int kChannelCount = 240;      // memory channels 1..240
inline constexpr int kAddressBookCount = 30;   // address-book entries 1..30
inline constexpr int kOffsetTableRows = 16;    // repeater offset table rows 1..16
inline constexpr int kTwoToneSystems = 16;
inline constexpr int kTwoToneEncodeEntries = 32;
inline constexpr int kTwoToneDecodeEntries = 16;
inline constexpr int kFiveToneSystems = 16;
inline constexpr int kFiveToneEncodeEntries = 32;
inline constexpr int kFiveToneDecodeEntries = 16;
inline constexpr int kFmMemories = 20;
inline constexpr int kMessageLines = 4;

// Tone types of a channel's decode and encode tone.
enum ToneType : std::uint8_t {
    kToneOff = 0,
    kToneCtcss = 1,   // code in tenths of a hertz
    kToneDcsN = 2,    // code 0x2800 + octal value, normal polarity
    kToneDcsI = 3,    // same code, inverted polarity
};

// One memory channel, or VFO A / VFO B (72 bytes).
struct ChannelEntry {
    U32 rxFreq;                  // 0   Hz; 0 when the entry holds no channel
    std::uint8_t spare4[10];     // 4
    U32 txFreq;                  // 14  Hz; 0 means no transmit frequency
    std::uint8_t spare18[10];    // 18
    U16 decodeCode;              // 28
    std::uint8_t decodeType;     // 30  ToneType
    std::uint8_t spare31[10];    // 31
    U16 encodeCode;              // 41
    std::uint8_t encodeType;     // 43  ToneType
    std::uint8_t spare44[13];    // 44
    std::uint8_t flags0;         // 57  bits 3-4 busy lock
    std::uint8_t flags1;         // 58  bit 7 scan add, bits 5-6 power, bit 4 bandwidth
    std::uint8_t flags2;         // 59  bits 5-7 signalling system, bits 0-4 number-1
    std::uint8_t flags3;         // 60  bits 2-4 scrambling, bits 0-1 offset direction
    std::uint8_t name[6];        // 61  zero-padded, no terminator when 6 long
    std::uint8_t spare67[5];     // 67
};

// Values of the channel flag fields.
enum BusyLock : std::uint8_t { kBusyOff = 0, kBusyDqt = 1, kBusyCat = 2 };
enum TxPower : std::uint8_t { kPowerLow = 0, kPowerHigh = 1, kPowerMid = 2 };
enum SignalSystem : std::uint8_t { kSignalOff = 0, kSignalDtmf = 1, kSignal2Tone = 2, kSignal5Tone = 3 };
enum OffsetDirection : std::uint8_t { kOffsetNone = 0, kOffsetPlus = 1, kOffsetMinus = 2 };

// flags 1 of a fresh channel: scan add, power "High", bandwidth "Wide".
inline constexpr std::uint8_t kNewChannelFlags1 = 0xB0;

inline unsigned BusyLockOf(const ChannelEntry &e) { return (e.flags0 >> 3) & 0x3; }
inline void SetBusyLockOf(ChannelEntry &e, unsigned v)
{
    e.flags0 = static_cast<std::uint8_t>((e.flags0 & ~0x18) | ((v & 0x3) << 3));
}
inline bool ScanAddOf(const ChannelEntry &e) { return (e.flags1 & 0x80) != 0; }
inline void SetScanAddOf(ChannelEntry &e, bool on)
{
    e.flags1 = static_cast<std::uint8_t>((e.flags1 & ~0x80) | (on ? 0x80 : 0));
}
inline unsigned PowerOf(const ChannelEntry &e) { return (e.flags1 >> 5) & 0x3; }
inline void SetPowerOf(ChannelEntry &e, unsigned v)
{
    e.flags1 = static_cast<std::uint8_t>((e.flags1 & ~0x60) | ((v & 0x3) << 5));
}
inline bool WideOf(const ChannelEntry &e) { return (e.flags1 & 0x10) != 0; }
inline void SetWideOf(ChannelEntry &e, bool wide)
{
    e.flags1 = static_cast<std::uint8_t>((e.flags1 & ~0x10) | (wide ? 0x10 : 0));
}
inline unsigned SignalSystemOf(const ChannelEntry &e) { return (e.flags2 >> 5) & 0x7; }
// Changing the system resets the signalling number to the first entry.
inline void SetSignalSystemOf(ChannelEntry &e, unsigned v)
{
    e.flags2 = static_cast<std::uint8_t>((v & 0x7) << 5);
}
// Signalling number, 0-based (the stored number minus 1).
inline unsigned SignalIndexOf(const ChannelEntry &e) { return e.flags2 & 0x1F; }
inline void SetSignalIndexOf(ChannelEntry &e, unsigned v)
{
    e.flags2 = static_cast<std::uint8_t>((e.flags2 & ~0x1F) | (v & 0x1F));
}
inline unsigned ScramblingOf(const ChannelEntry &e) { return (e.flags3 >> 2) & 0x7; }
inline void SetScramblingOf(ChannelEntry &e, unsigned v)
{
    e.flags3 = static_cast<std::uint8_t>((e.flags3 & ~0x1C) | ((v & 0x7) << 2));
}
inline unsigned OffsetDirectionOf(const ChannelEntry &e) { return e.flags3 & 0x3; }
inline void SetOffsetDirectionOf(ChannelEntry &e, unsigned v)
{
    e.flags3 = static_cast<std::uint8_t>((e.flags3 & ~0x03) | (v & 0x3));
}

// DTMF address-book entry (26 bytes).
struct AddressBookEntry {
    std::uint8_t number;         // 0   entry number, stored by the image conversion
    std::uint8_t digits[17];     // 1   one DTMF digit code per byte
    std::uint8_t digitCount;     // 18
    std::uint8_t name[6];        // 19
    std::uint8_t spare25;        // 25
};

// Automatic repeater-offset table row (13 bytes).
struct OffsetTableRow {
    U32 start;                   // 0  Hz
    U32 end;                     // 4  Hz
    std::uint8_t direction;      // 8  1 "+", 2 "-"
    U32 offset;                  // 9  Hz
};

// Two-tone system (15 bytes).
struct TwoToneSystem {
    std::uint8_t presetTable;    // 0
    std::uint8_t call;           // 1  encode entry - 1, 255 none
    std::uint8_t groupTime;      // 2  tenths of a second
    std::uint8_t toneATime;      // 3
    std::uint8_t toneBTime;      // 4
    std::uint8_t autoResetTime;  // 5  seconds
    std::uint8_t options;        // 6
    U16 decodeEntries;           // 7  bit d-1: decode entry d
    std::uint8_t name[6];        // 9
};

// Five-tone standard's tone and gap periods (2 bytes).
struct TonePeriod {
    std::uint8_t tone;           // ms
    std::uint8_t gap;            // ms
};

// Five-tone system (14 bytes).
struct FiveToneSystem {
    std::uint8_t standard;       // 0
    std::uint8_t repeatCode;     // 1  encode entry - 1, 255 none
    std::uint8_t callCode;       // 2
    std::uint8_t idCode;         // 3
    std::uint8_t options;        // 4
    std::uint8_t sequence;       // 5
    U16 decodeEntries;           // 6
    std::uint8_t name[6];        // 8
};

// Five-tone encode-list entry (5 bytes): 8 code digits as nibbles.
struct FiveToneEncode {
    std::uint8_t length;
    std::uint8_t code[4];
};

// Five-tone decode-list entry (7 bytes).
struct FiveToneDecode {
    std::uint8_t length;
    std::uint8_t code[4];
    std::uint8_t decodeType;
    std::uint8_t transpond;      // encode entry - 1, 255 none
};

// Power-on message line (19 bytes).
struct MessageLine {
    std::uint8_t line;           // list index
    std::uint8_t font;           // 16, 24 or 32
    std::uint8_t alignment;      // 253, 254 or 255
    std::uint8_t text[16];
};

struct RadioData {
    std::uint8_t spare0000[9];
    std::uint8_t accessPassword[13];           // 0x0009 zero-terminated, up to 12 (password_text.h)
    std::uint8_t radioPassword[13];            // 0x0016 zero-terminated, up to 12 (password_text.h)
    std::uint8_t addrBookBits[4];              // 0x0023
    AddressBookEntry addrBook[kAddressBookCount + 1]; // 0x0027 entry 0 unused
    ChannelEntry channels[kChannelCount + 1];  // 0x034D channel 0 unused
    ChannelEntry vfoA;                         // 0x4715
    ChannelEntry vfoB;                         // 0x475D

    // Frequency mode and optional features.
    std::uint8_t modeA;                        // 0x47A5
    std::uint8_t modeB;                        // 0x47A6
    U32 offsetA;                               // 0x47A7
    U32 offsetB;                               // 0x47AB
    std::uint8_t logo[8];                      // 0x47AF
    std::uint8_t squelchLevel;                 // 0x47B7
    std::uint8_t squelchMode;                  // 0x47B8
    std::uint8_t rogerBeep;                    // 0x47B9
    std::uint8_t callBeep;                     // 0x47BA
    std::uint8_t alarmRing;                    // 0x47BB
    U32 stepA;                                 // 0x47BC
    U32 stepB;                                 // 0x47C0
    std::uint8_t voxLevel;                     // 0x47C4
    U16 voxDelay;                              // 0x47C5
    U16 txTimeout;                             // 0x47C7
    std::uint8_t spare47C9;                    // 0x47C9
    std::uint8_t timeoutPreAlert;              // 0x47CA
    U16 priorityChannel;                       // 0x47CB
    std::uint8_t showChannelNames;             // 0x47CD
    std::uint8_t scanResume;                   // 0x47CE
    U16 priorityScan;                          // 0x47CF
    std::uint8_t spare47D1;                    // 0x47D1
    std::uint8_t lampTimer;                    // 0x47D2
    std::uint8_t lampControl;                  // 0x47D3
    std::uint8_t keyBeep;                      // 0x47D4
    std::uint8_t keyLock;                      // 0x47D5
    std::uint8_t batterySaver;                 // 0x47D6
    U16 autoPowerOff;                          // 0x47D7
    std::uint8_t spare47D9;                    // 0x47D9
    std::uint8_t reserved47DA;                 // 0x47DA
    std::uint8_t deviceLock;                   // 0x47DB record only
    std::uint8_t screenSaver;                  // 0x47DC
    std::uint8_t autoOffset;                   // 0x47DD
    std::uint8_t offsetTableBits[4];           // 0x47DE
    OffsetTableRow offsetTable[kOffsetTableRows]; // 0x47E2 rows 1..16
    std::uint8_t burst1750;                    // 0x48B2
    std::uint8_t reserved48B3;                 // 0x48B3
    std::uint8_t dualWatch;                    // 0x48B4
    std::uint8_t fmRadioSwitching;             // 0x48B5
    std::uint8_t showScrambling;               // 0x48B6
    std::uint8_t scrambling;                   // 0x48B7
    U16 scramblingCarrier;                     // 0x48B8
    std::uint8_t compandor;                    // 0x48BA
    std::uint8_t spare48BB;                    // 0x48BB
    std::uint8_t whisper;                      // 0x48BC
    std::uint8_t powerOnPassword[6];           // 0x48BD
    std::uint8_t powerOnPasswordOn;            // 0x48C3
    std::uint8_t cw;                           // 0x48C4 record only
    std::uint8_t displayLanguage;              // 0x48C5
    std::uint8_t idleColour;                   // 0x48C6
    std::uint8_t txColour;                     // 0x48C7
    std::uint8_t rxColour;                     // 0x48C8
    std::uint8_t menu;                         // 0x48C9
    std::uint8_t alarmMode;                    // 0x48CA
    U16 alarmCode;                             // 0x48CB
    std::uint8_t rxAlarm;                      // 0x48CD
    std::uint8_t autoConnect;                  // 0x48CE
    std::uint8_t autoConnectRole;              // 0x48CF
    std::uint8_t masterTxPeriod;               // 0x48D0
    std::uint8_t slaveTimeout;                 // 0x48D1
    std::uint8_t slaveAlarmPeriod;             // 0x48D2
    U32 fmFrequency;                           // 0x48D3
    std::uint8_t spare48D7[4];                 // 0x48D7
    U32 fmStep;                                // 0x48DB list index; the radio gets the low byte
    U32 fmMin;                                 // 0x48DF
    U32 fmMax;                                 // 0x48E3
    std::uint8_t spare48E7;                    // 0x48E7
    std::uint8_t firmwareVersion[13];          // 0x48E8
    std::uint8_t writeNewPassword;             // 0x48F5 record only

    // DTMF.
    std::uint8_t dtmfEncodeMode;               // 0x48F6
    std::uint8_t dtmfSideTone;                 // 0x48F7
    std::uint8_t dtmfControl;                  // 0x48F8
    std::uint8_t dtmfDigitDuration;            // 0x48F9
    std::uint8_t dtmfPauseDuration;            // 0x48FA
    U16 dtmfFirstDelay;                        // 0x48FB
    U16 dtmfPreTime;                           // 0x48FD
    U16 dtmfStarHashDelay;                     // 0x48FF
    std::uint8_t dtmfGroupCode;                // 0x4901
    std::uint8_t dtmfAutoReset;                // 0x4902
    std::uint8_t dtmfCleanCodeTime;            // 0x4903
    std::uint8_t stunCode[16];                 // 0x4904
    std::uint8_t stunLength;                   // 0x4914
    std::uint8_t killCode[16];                 // 0x4915
    std::uint8_t killLength;                   // 0x4925
    std::uint8_t activationCode[16];           // 0x4926
    std::uint8_t activationLength;             // 0x4936
    std::uint8_t dtmfWorkingState;             // 0x4937
    std::uint8_t dtmfWhenEncode;               // 0x4938
    std::uint8_t spare4939[17];                // 0x4939
    std::uint8_t ownId[16];                    // 0x494A
    std::uint8_t ownIdLength;                  // 0x495A
    std::uint8_t idOptions;                    // 0x495B
    U32 fmMemories[kFmMemories];               // 0x495C

    // Two-tone.
    std::uint8_t languageLock;                 // 0x49AC
    std::uint8_t reserved49AD[2];              // 0x49AD
    std::uint8_t reserved49AF[7];              // 0x49AF
    U16 leadIn2T;                              // 0x49B6
    U16 leadOut2T;                             // 0x49B8
    std::uint8_t call1_2T;                     // 0x49BA
    std::uint8_t call2_2T;                     // 0x49BB
    std::uint8_t spare49BC[2];                 // 0x49BC
    TwoToneSystem twoToneSystems[kTwoToneSystems];      // 0x49BE
    std::uint8_t twoToneEncode[kTwoToneEncodeEntries];  // 0x4AAE
    std::uint8_t twoToneDecode[kTwoToneDecodeEntries];  // 0x4ACE

    // Five-tone.
    std::uint8_t groupTone;                    // 0x4ADE
    std::uint8_t repeatTone;                   // 0x4ADF
    std::uint8_t lastGapTone;                  // 0x4AE0
    std::uint8_t transpondDelay;               // 0x4AE1
    std::uint8_t clearToTranspond;             // 0x4AE2
    std::uint8_t firstToneExtension;           // 0x4AE3
    std::uint8_t secondToneExtension;          // 0x4AE4
    std::uint8_t lastGapTime;                  // 0x4AE5
    std::uint8_t secondLastGapTime;            // 0x4AE6
    std::uint8_t ackRetries;                   // 0x4AE7
    std::uint8_t ackDecodeTime;                // 0x4AE8
    std::uint8_t idDecodeTime;                 // 0x4AE9
    std::uint8_t autoTxTime;                   // 0x4AEA
    std::uint8_t aniLock;                      // 0x4AEB
    std::uint8_t autoReset5T;                  // 0x4AEC
    U16 leadIn5T;                              // 0x4AED
    U16 leadOut5T;                             // 0x4AEF
    std::uint8_t call1_5T;                     // 0x4AF1
    std::uint8_t call2_5T;                     // 0x4AF2
    std::uint8_t reserved4AF3;                 // 0x4AF3
    std::uint8_t reserved4AF4;                 // 0x4AF4
    std::uint8_t pttCall;                      // 0x4AF5
    TonePeriod tonePeriods[10];                // 0x4AF6 standards 1..10
    FiveToneSystem fiveToneSystems[kFiveToneSystems];    // 0x4B0A
    FiveToneEncode fiveToneEncode[kFiveToneEncodeEntries]; // 0x4BEA
    FiveToneDecode fiveToneDecode[kFiveToneDecodeEntries]; // 0x4C8A

    std::uint8_t channelBits[32];              // 0x4CFA
    std::uint8_t displayType;                  // 0x4D1A
    MessageLine messageLines[kMessageLines];   // 0x4D1B
};

inline constexpr std::size_t kRadioDataSize = 19815;

// Band limits in hertz; kept in the configuration file and carried in the
// radio image, never in a project file.
struct BandLimits {
    std::uint32_t uhfTxMin = 400000000;
    std::uint32_t uhfTxMax = 470000000;
    std::uint32_t uhfRxMin = 400000000;
    std::uint32_t uhfRxMax = 470000000;
    std::uint32_t vhfTxMin = 136000000;
    std::uint32_t vhfTxMax = 174000000;
    std::uint32_t vhfRxMin = 136000000;
    std::uint32_t vhfRxMax = 174000000;
    // Derived by RecomputeMaxOffsets(): transmit maximum minus minimum.
    std::uint32_t uhfMaxOffset = 70000000;
    std::uint32_t vhfMaxOffset = 38000000;

    bool operator==(const BandLimits &) const = default;
};

// Recomputes the two maximum offsets from the transmit limits: maximum minus
// minimum as an unsigned 32-bit difference, 99.9875 MHz when that is 100 MHz
// or more (so also when a maximum lies below its minimum).
void RecomputeMaxOffsets(BandLimits &limits);

// Values the radio reports about itself; not part of a project file.
struct IdentityValues {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t serialNumber[8] = {};
};

// Channel in-use bits: test accepts 0..240 (others read as not in use);
// set and clear accept 1..240 (others are ignored).
bool IsChannelInUse(const RadioData &d, int channel);
void SetChannelInUse(RadioData &d, int channel);
void ClearChannelInUse(RadioData &d, int channel);

// Address-book bits: 0..30 accepted by all three.
bool IsAddressBookInUse(const RadioData &d, int entry);
void SetAddressBookInUse(RadioData &d, int entry);
void ClearAddressBookInUse(RadioData &d, int entry);

// Offset-table bits: bit r-1 for row r; bits 0..16 accepted.
bool IsOffsetRowInUse(const RadioData &d, int bit);
void SetOffsetRowInUse(RadioData &d, int bit);
void ClearOffsetRowInUse(RadioData &d, int bit);

// Clears the identity values and the whole record, then stores every
// default value of a new configuration (VFO A starts at the UHF receive
// minimum, VFO B at the VHF receive minimum).
void SetDefaultData(RadioData &d, IdentityValues &identity, const BandLimits &limits);

// Turns channel `channel` (1..240) into a fresh channel receiving on
// `rxFreq`: the transmit frequency is the receive frequency held inside the
// transmit limits of its band, tones off, default flags, in-use bit set.
// The name and the spare bytes are kept.
void MakeNewChannel(RadioData &d, int channel, std::uint32_t rxFreq, const BandLimits &limits);

// Text of a fixed-size byte field up to its first zero byte (or the whole
// field when it has none).
std::size_t FieldTextLength(const std::uint8_t *field, std::size_t size);

// ---- layout checks -------------------------------------------------------
static_assert(sizeof(ChannelEntry) == 72);
static_assert(offsetof(ChannelEntry, txFreq) == 14);
static_assert(offsetof(ChannelEntry, decodeCode) == 28);
static_assert(offsetof(ChannelEntry, decodeType) == 30);
static_assert(offsetof(ChannelEntry, encodeCode) == 41);
static_assert(offsetof(ChannelEntry, encodeType) == 43);
static_assert(offsetof(ChannelEntry, flags0) == 57);
static_assert(offsetof(ChannelEntry, flags3) == 60);
static_assert(offsetof(ChannelEntry, name) == 61);
static_assert(sizeof(AddressBookEntry) == 26);
static_assert(offsetof(AddressBookEntry, digitCount) == 18);
static_assert(offsetof(AddressBookEntry, name) == 19);
static_assert(sizeof(OffsetTableRow) == 13);
static_assert(sizeof(TwoToneSystem) == 15);
static_assert(offsetof(TwoToneSystem, decodeEntries) == 7);
static_assert(sizeof(TonePeriod) == 2);
static_assert(sizeof(FiveToneSystem) == 14);
static_assert(offsetof(FiveToneSystem, decodeEntries) == 6);
static_assert(sizeof(FiveToneEncode) == 5);
static_assert(sizeof(FiveToneDecode) == 7);
static_assert(sizeof(MessageLine) == 19);

static_assert(sizeof(RadioData) == kRadioDataSize);
static_assert(alignof(RadioData) == 1);
static_assert(offsetof(RadioData, accessPassword) == 0x0009);
static_assert(offsetof(RadioData, radioPassword) == 0x0016);
static_assert(offsetof(RadioData, addrBookBits) == 0x0023);
static_assert(offsetof(RadioData, addrBook) == 0x0027);
static_assert(offsetof(RadioData, channels) == 0x034D);
static_assert(offsetof(RadioData, vfoA) == 0x4715);
static_assert(offsetof(RadioData, vfoB) == 0x475D);
static_assert(offsetof(RadioData, modeA) == 0x47A5);
static_assert(offsetof(RadioData, offsetA) == 0x47A7);
static_assert(offsetof(RadioData, offsetB) == 0x47AB);
static_assert(offsetof(RadioData, logo) == 0x47AF);
static_assert(offsetof(RadioData, squelchLevel) == 0x47B7);
static_assert(offsetof(RadioData, alarmRing) == 0x47BB);
static_assert(offsetof(RadioData, stepA) == 0x47BC);
static_assert(offsetof(RadioData, stepB) == 0x47C0);
static_assert(offsetof(RadioData, voxLevel) == 0x47C4);
static_assert(offsetof(RadioData, voxDelay) == 0x47C5);
static_assert(offsetof(RadioData, txTimeout) == 0x47C7);
static_assert(offsetof(RadioData, timeoutPreAlert) == 0x47CA);
static_assert(offsetof(RadioData, priorityChannel) == 0x47CB);
static_assert(offsetof(RadioData, showChannelNames) == 0x47CD);
static_assert(offsetof(RadioData, scanResume) == 0x47CE);
static_assert(offsetof(RadioData, priorityScan) == 0x47CF);
static_assert(offsetof(RadioData, lampTimer) == 0x47D2);
static_assert(offsetof(RadioData, lampControl) == 0x47D3);
static_assert(offsetof(RadioData, keyBeep) == 0x47D4);
static_assert(offsetof(RadioData, keyLock) == 0x47D5);
static_assert(offsetof(RadioData, batterySaver) == 0x47D6);
static_assert(offsetof(RadioData, autoPowerOff) == 0x47D7);
static_assert(offsetof(RadioData, reserved47DA) == 0x47DA);
static_assert(offsetof(RadioData, deviceLock) == 0x47DB);
static_assert(offsetof(RadioData, screenSaver) == 0x47DC);
static_assert(offsetof(RadioData, autoOffset) == 0x47DD);
static_assert(offsetof(RadioData, offsetTableBits) == 0x47DE);
static_assert(offsetof(RadioData, offsetTable) == 0x47E2);
static_assert(offsetof(RadioData, burst1750) == 0x48B2);
static_assert(offsetof(RadioData, reserved48B3) == 0x48B3);
static_assert(offsetof(RadioData, dualWatch) == 0x48B4);
static_assert(offsetof(RadioData, fmRadioSwitching) == 0x48B5);
static_assert(offsetof(RadioData, showScrambling) == 0x48B6);
static_assert(offsetof(RadioData, scrambling) == 0x48B7);
static_assert(offsetof(RadioData, scramblingCarrier) == 0x48B8);
static_assert(offsetof(RadioData, compandor) == 0x48BA);
static_assert(offsetof(RadioData, whisper) == 0x48BC);
static_assert(offsetof(RadioData, powerOnPassword) == 0x48BD);
static_assert(offsetof(RadioData, powerOnPasswordOn) == 0x48C3);
static_assert(offsetof(RadioData, cw) == 0x48C4);
static_assert(offsetof(RadioData, displayLanguage) == 0x48C5);
static_assert(offsetof(RadioData, idleColour) == 0x48C6);
static_assert(offsetof(RadioData, rxColour) == 0x48C8);
static_assert(offsetof(RadioData, menu) == 0x48C9);
static_assert(offsetof(RadioData, alarmMode) == 0x48CA);
static_assert(offsetof(RadioData, alarmCode) == 0x48CB);
static_assert(offsetof(RadioData, rxAlarm) == 0x48CD);
static_assert(offsetof(RadioData, autoConnect) == 0x48CE);
static_assert(offsetof(RadioData, slaveAlarmPeriod) == 0x48D2);
static_assert(offsetof(RadioData, fmFrequency) == 0x48D3);
static_assert(offsetof(RadioData, fmStep) == 0x48DB);
static_assert(offsetof(RadioData, fmMin) == 0x48DF);
static_assert(offsetof(RadioData, fmMax) == 0x48E3);
static_assert(offsetof(RadioData, firmwareVersion) == 0x48E8);
static_assert(offsetof(RadioData, writeNewPassword) == 0x48F5);
static_assert(offsetof(RadioData, dtmfEncodeMode) == 0x48F6);
static_assert(offsetof(RadioData, dtmfFirstDelay) == 0x48FB);
static_assert(offsetof(RadioData, dtmfPreTime) == 0x48FD);
static_assert(offsetof(RadioData, dtmfStarHashDelay) == 0x48FF);
static_assert(offsetof(RadioData, dtmfGroupCode) == 0x4901);
static_assert(offsetof(RadioData, dtmfCleanCodeTime) == 0x4903);
static_assert(offsetof(RadioData, stunCode) == 0x4904);
static_assert(offsetof(RadioData, stunLength) == 0x4914);
static_assert(offsetof(RadioData, killCode) == 0x4915);
static_assert(offsetof(RadioData, killLength) == 0x4925);
static_assert(offsetof(RadioData, activationCode) == 0x4926);
static_assert(offsetof(RadioData, activationLength) == 0x4936);
static_assert(offsetof(RadioData, dtmfWorkingState) == 0x4937);
static_assert(offsetof(RadioData, dtmfWhenEncode) == 0x4938);
static_assert(offsetof(RadioData, ownId) == 0x494A);
static_assert(offsetof(RadioData, ownIdLength) == 0x495A);
static_assert(offsetof(RadioData, idOptions) == 0x495B);
static_assert(offsetof(RadioData, fmMemories) == 0x495C);
static_assert(offsetof(RadioData, languageLock) == 0x49AC);
static_assert(offsetof(RadioData, reserved49AD) == 0x49AD);
static_assert(offsetof(RadioData, reserved49AF) == 0x49AF);
static_assert(offsetof(RadioData, leadIn2T) == 0x49B6);
static_assert(offsetof(RadioData, leadOut2T) == 0x49B8);
static_assert(offsetof(RadioData, call1_2T) == 0x49BA);
static_assert(offsetof(RadioData, twoToneSystems) == 0x49BE);
static_assert(offsetof(RadioData, twoToneEncode) == 0x4AAE);
static_assert(offsetof(RadioData, twoToneDecode) == 0x4ACE);
static_assert(offsetof(RadioData, groupTone) == 0x4ADE);
static_assert(offsetof(RadioData, autoReset5T) == 0x4AEC);
static_assert(offsetof(RadioData, leadIn5T) == 0x4AED);
static_assert(offsetof(RadioData, leadOut5T) == 0x4AEF);
static_assert(offsetof(RadioData, call1_5T) == 0x4AF1);
static_assert(offsetof(RadioData, reserved4AF3) == 0x4AF3);
static_assert(offsetof(RadioData, pttCall) == 0x4AF5);
static_assert(offsetof(RadioData, tonePeriods) == 0x4AF6);
static_assert(offsetof(RadioData, fiveToneSystems) == 0x4B0A);
static_assert(offsetof(RadioData, fiveToneEncode) == 0x4BEA);
static_assert(offsetof(RadioData, fiveToneDecode) == 0x4C8A);
static_assert(offsetof(RadioData, channelBits) == 0x4CFA);
static_assert(offsetof(RadioData, displayType) == 0x4D1A);
static_assert(offsetof(RadioData, messageLines) == 0x4D1B);

} // namespace vkt
