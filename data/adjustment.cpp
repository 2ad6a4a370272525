#include "adjustment.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

// Defaults of the single settings; the two signed narrow-band offsets
// (391, 392) stay zero.
struct SettingDefault {
    std::uint8_t AdjustmentData::*field;
    std::uint8_t value;
};

constexpr SettingDefault kSettingDefaults[] = {
    {&AdjustmentData::deviationW, 60},          {&AdjustmentData::deviationWSpecial1, 70},
    {&AdjustmentData::deviationWSpecial2, 110}, {&AdjustmentData::ctcDeviationW, 22},
    {&AdjustmentData::dcsDeviationW, 13},       {&AdjustmentData::dtmfAmplitudeW, 150},
    {&AdjustmentData::amplitude1750W, 60},      {&AdjustmentData::amplitude2T5TW, 60},
    {&AdjustmentData::deviationN, 60},          {&AdjustmentData::deviationNSpecial1, 70},
    {&AdjustmentData::deviationNSpecial2, 110}, {&AdjustmentData::ctcDeviationN, 22},
    {&AdjustmentData::dcsDeviationN, 13},       {&AdjustmentData::dtmfAmplitudeN, 150},
    {&AdjustmentData::amplitude1750N, 60},      {&AdjustmentData::amplitude2T5TN, 60},
    {&AdjustmentData::sqlL1, 110},              {&AdjustmentData::sqlL5, 105},
    {&AdjustmentData::sqlL9, 100},              {&AdjustmentData::voxL1, 25},
    {&AdjustmentData::voxL9, 3},                {&AdjustmentData::battL0Wait, 76},
    {&AdjustmentData::battL1Wait, 90},          {&AdjustmentData::battL2Wait, 94},
    {&AdjustmentData::battL3Wait, 128},         {&AdjustmentData::battL0Tx, 70},
    {&AdjustmentData::battL1Tx, 90},            {&AdjustmentData::battL2Tx, 94},
    {&AdjustmentData::battL3Tx, 128},           {&AdjustmentData::battHigh, 150},
    {&AdjustmentData::micGain, 0},              {&AdjustmentData::whisperMicGain, 0},
    {&AdjustmentData::battPowerOff, 70},        {&AdjustmentData::lcdBrightness, 2},
    {&AdjustmentData::lcdBrightnessFine, 50},
};

constexpr std::uint8_t kDefaultSqNoise = 46;

// SQ point n (0..17) covers frequencies up to this value: 140..180 MHz,
// then 400..520 MHz, 10 MHz apart.
constexpr std::uint32_t DefaultSqFrequency(int n)
{
    constexpr int kVhfPoints = 5;
    return n < kVhfPoints ? 140000000u + 10000000u * static_cast<std::uint32_t>(n)
                          : 400000000u + 10000000u * static_cast<std::uint32_t>(n - kVhfPoints);
}

// Every frequency field of the record, in record order. The radio image
// differs from the record only in the byte order of these fields.
template <typename Fn>
void ForEachFrequency(Fn &&fn)
{
    for (int i = 0; i < kApcPoints; ++i)
        fn(offsetof(AdjustmentData, apc) + i * sizeof(ApcPoint) + offsetof(ApcPoint, freq));
    for (int i = 0; i < kTunePoints; ++i)
        fn(offsetof(AdjustmentData, tune) + i * sizeof(TunePoint) + offsetof(TunePoint, freq));
    for (int i = 0; i < kSqPoints; ++i)
        fn(offsetof(AdjustmentData, sq) + i * sizeof(SqPoint) + offsetof(SqPoint, freq));
}

// Copies the radio part of the record and reverses the four bytes of every
// frequency: little-endian in the record, big-endian in the image, so the
// same swap serves both directions.
void CopySwappingFrequencies(const std::uint8_t *from, std::uint8_t *to)
{
    std::memcpy(to, from, kAdjustmentRadioSize);
    ForEachFrequency([to](std::size_t offset) { std::reverse(to + offset, to + offset + 4); });
}

} // namespace

void SetAdjustmentDefaults(AdjustmentData &adj)
{
    std::memset(&adj, 0, sizeof adj);
    for (const SettingDefault &s : kSettingDefaults)
        adj.*s.field = s.value;
    for (int n = 0; n < kSqPoints; ++n) {
        SqPoint &p = adj.sq[n];
        p.freq = DefaultSqFrequency(n);
        p.noiseWide = kDefaultSqNoise;
        p.noiseNarrow = kDefaultSqNoise;
    }
}

void GetAdjustmentData(const AdjustmentData &adj, CodeplugImage &image)
{
    CopySwappingFrequencies(reinterpret_cast<const std::uint8_t *>(&adj), image.at(0));
}

void SetAdjustmentData(const CodeplugImage &image, AdjustmentData &adj)
{
    // Only the radio part is written; the status bytes after it stay.
    CopySwappingFrequencies(image.at(0), reinterpret_cast<std::uint8_t *>(&adj));
}

} // namespace vkt
