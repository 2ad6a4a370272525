// Factory calibration values of the radio (411 bytes).
//
// In memory and in an adjustment file (.Dvfa) the record is stored exactly
// as laid out below with frequencies least significant byte first; the
// radio receives offsets 0..408 with frequencies most significant byte
// first.
#pragma once

#include "byte_fields.h"
#include "codeplug.h"

#include <cstddef>
#include <cstdint>

namespace vkt {

inline constexpr int kApcPoints = 19;
inline constexpr int kTunePoints = 19;
inline constexpr int kSqPoints = 18;

struct ApcPoint {
    U32 freq;
    std::uint8_t high;
    std::uint8_t mid;
    std::uint8_t low;
};

struct TunePoint {
    U32 freq;
    std::uint8_t value;
};

struct SqPoint {
    U32 freq;                // the point covers frequencies up to it
    std::int8_t sqWide;      // -20..10
    std::uint8_t noiseWide;  // 0..63
    std::int8_t sqNarrow;    // -20..10
    std::uint8_t noiseNarrow;
};

struct AdjustmentData {
    ApcPoint apc[kApcPoints];      // 0
    TunePoint tune[kTunePoints];   // 133
    SqPoint sq[kSqPoints];         // 228
    std::uint8_t deviationW;       // 372
    std::uint8_t deviationWSpecial1;
    std::uint8_t deviationWSpecial2;
    std::uint8_t ctcDeviationW;
    std::uint8_t dcsDeviationW;
    std::uint8_t dtmfAmplitudeW;
    std::uint8_t amplitude1750W;
    std::uint8_t amplitude2T5TW;
    std::uint8_t deviationN;       // 380
    std::uint8_t deviationNSpecial1;
    std::uint8_t deviationNSpecial2;
    std::uint8_t ctcDeviationN;
    std::uint8_t dcsDeviationN;
    std::uint8_t dtmfAmplitudeN;
    std::uint8_t amplitude1750N;
    std::uint8_t amplitude2T5TN;
    std::uint8_t sqlL1;            // 388
    std::uint8_t sqlL5;
    std::uint8_t sqlL9;
    std::int8_t sqNarrowOffset;    // 391
    std::int8_t sqNoiseNarrowOffset;
    std::uint8_t voxL1;            // 393
    std::uint8_t voxL9;
    std::uint8_t battL0Wait;       // 395
    std::uint8_t battL1Wait;
    std::uint8_t battL2Wait;
    std::uint8_t battL3Wait;
    std::uint8_t battL0Tx;         // 399
    std::uint8_t battL1Tx;
    std::uint8_t battL2Tx;
    std::uint8_t battL3Tx;
    std::uint8_t battHigh;         // 403
    std::uint8_t micGain;          // 404
    std::uint8_t whisperMicGain;
    std::uint8_t battPowerOff;     // 406
    std::uint8_t lcdBrightness;    // 407
    std::uint8_t lcdBrightnessFine;
    std::uint8_t statusBattery;    // 409, as last read from the radio
    std::uint8_t statusVox;        // 410
};

inline constexpr std::size_t kAdjustmentSize = 411;
// Bytes of the record that travel to and from the radio.
inline constexpr std::size_t kAdjustmentRadioSize = 409;

static_assert(sizeof(ApcPoint) == 7);
static_assert(sizeof(TunePoint) == 5);
static_assert(sizeof(SqPoint) == 8);
static_assert(sizeof(AdjustmentData) == kAdjustmentSize);
static_assert(offsetof(AdjustmentData, tune) == 133);
static_assert(offsetof(AdjustmentData, sq) == 228);
static_assert(offsetof(AdjustmentData, deviationW) == 372);
static_assert(offsetof(AdjustmentData, deviationN) == 380);
static_assert(offsetof(AdjustmentData, sqlL1) == 388);
static_assert(offsetof(AdjustmentData, sqNarrowOffset) == 391);
static_assert(offsetof(AdjustmentData, voxL1) == 393);
static_assert(offsetof(AdjustmentData, battL0Wait) == 395);
static_assert(offsetof(AdjustmentData, battHigh) == 403);
static_assert(offsetof(AdjustmentData, micGain) == 404);
static_assert(offsetof(AdjustmentData, battPowerOff) == 406);
static_assert(offsetof(AdjustmentData, lcdBrightness) == 407);
static_assert(offsetof(AdjustmentData, statusBattery) == 409);
static_assert(offsetof(AdjustmentData, statusVox) == 410);

// Zeroes the record, then stores the default single settings and the SQ
// point frequencies (140..180 MHz and 400..520 MHz, noise 46).
void SetAdjustmentDefaults(AdjustmentData &adj);

// Writes record offsets 0..408 into image offsets 0..408 in the radio byte
// order (frequencies most significant byte first).
void GetAdjustmentData(const AdjustmentData &adj, CodeplugImage &image);
// The reverse, after an adjustment read; the status values are kept.
void SetAdjustmentData(const CodeplugImage &image, AdjustmentData &adj);

} // namespace vkt
