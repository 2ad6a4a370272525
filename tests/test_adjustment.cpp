#include "adjustment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace vkt {
namespace {

const std::uint8_t *Raw(const AdjustmentData &adj) { return reinterpret_cast<const std::uint8_t *>(&adj); }
std::uint8_t *Raw(AdjustmentData &adj) { return reinterpret_cast<std::uint8_t *>(&adj); }

// Fills every byte with a value that differs from its neighbours.
AdjustmentData Patterned(unsigned seed)
{
    AdjustmentData adj;
    for (std::size_t i = 0; i < sizeof adj; ++i)
        Raw(adj)[i] = static_cast<std::uint8_t>(i * 31 + seed);
    return adj;
}

// Record offsets where a four-byte frequency starts: APC points every 7
// bytes from 0, TUNE points every 5 from 133, SQ points every 8 from 228.
std::set<std::size_t> FrequencyOffsets()
{
    std::set<std::size_t> offsets;
    for (int i = 0; i < 19; ++i)
        offsets.insert(0 + 7 * i);
    for (int i = 0; i < 19; ++i)
        offsets.insert(133 + 5 * i);
    for (int i = 0; i < 18; ++i)
        offsets.insert(228 + 8 * i);
    return offsets;
}

TEST(AdjustmentDefaults, ClearsTheRecordThenSetsTheFactoryValues)
{
    AdjustmentData adj;
    std::memset(&adj, 0xAB, sizeof adj);
    SetAdjustmentDefaults(adj);
    const std::uint8_t *raw = Raw(adj);

    struct Setting {
        std::size_t offset;
        std::uint8_t value;
    };
    const Setting settings[] = {
        {372, 60},  {373, 70},  {374, 110}, {375, 22}, {376, 13},  {377, 150}, {380, 60},
        {386, 60},  {388, 110}, {389, 105}, {390, 100}, {391, 0},  {392, 0},   {393, 25},
        {394, 3},   {395, 76},  {398, 128}, {399, 70}, {403, 150}, {404, 0},   {405, 0},
        {406, 70},  {407, 2},   {408, 50},
    };
    for (const Setting &s : settings)
        EXPECT_EQ(raw[s.offset], s.value) << "offset " << s.offset;

    const std::uint32_t sqFreqMHz[kSqPoints] = {140, 150, 160, 170, 180, 400, 410, 420, 430,
                                                440, 450, 460, 470, 480, 490, 500, 510, 520};
    for (int n = 0; n < kSqPoints; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(adj.sq[n].freq.get(), sqFreqMHz[n] * 1000000u);
        EXPECT_EQ(adj.sq[n].sqWide, 0);
        EXPECT_EQ(adj.sq[n].noiseWide, 46);
        EXPECT_EQ(adj.sq[n].sqNarrow, 0);
        EXPECT_EQ(adj.sq[n].noiseNarrow, 46);
    }

    // APC and TUNE points: frequencies and values all zero.
    for (std::size_t i = 0; i < 228; ++i)
        ASSERT_EQ(raw[i], 0) << "offset " << i;
    EXPECT_EQ(adj.statusBattery, 0);
    EXPECT_EQ(adj.statusVox, 0);
}

TEST(AdjustmentImage, FrequenciesGoMostSignificantByteFirst)
{
    struct Case {
        const char *point;
        std::size_t offset;
        void (*set)(AdjustmentData &, std::uint32_t);
    };
    const Case cases[] = {
        {"APC 1", 0, [](AdjustmentData &a, std::uint32_t f) { a.apc[0].freq = f; }},
        {"APC 19", 126, [](AdjustmentData &a, std::uint32_t f) { a.apc[18].freq = f; }},
        {"TUNE 1", 133, [](AdjustmentData &a, std::uint32_t f) { a.tune[0].freq = f; }},
        {"TUNE 19", 223, [](AdjustmentData &a, std::uint32_t f) { a.tune[18].freq = f; }},
        {"SQ 1", 228, [](AdjustmentData &a, std::uint32_t f) { a.sq[0].freq = f; }},
        {"SQ 18", 364, [](AdjustmentData &a, std::uint32_t f) { a.sq[17].freq = f; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.point);
        AdjustmentData adj = Patterned(5);
        c.set(adj, 0x12345678);
        CodeplugImage image;
        GetAdjustmentData(adj, image);
        const std::uint8_t expected[4] = {0x12, 0x34, 0x56, 0x78};
        EXPECT_EQ(0, std::memcmp(image.at(c.offset), expected, 4));
    }
}

TEST(AdjustmentImage, OnlyFrequenciesChangeByteOrderAndStatusStaysOut)
{
    const AdjustmentData adj = Patterned(3);
    CodeplugImage image;
    image.bytes.fill(0xEE);
    GetAdjustmentData(adj, image);

    const std::set<std::size_t> freqs = FrequencyOffsets();
    const std::uint8_t *raw = Raw(adj);
    for (std::size_t off = 0; off < kAdjustmentRadioSize;) {
        if (freqs.count(off)) {
            for (int k = 0; k < 4; ++k)
                ASSERT_EQ(image.bytes[off + k], raw[off + 3 - k]) << "frequency at " << off;
            off += 4;
        } else {
            ASSERT_EQ(image.bytes[off], raw[off]) << "offset " << off;
            ++off;
        }
    }
    // The status values are not part of the radio image.
    EXPECT_EQ(image.bytes[409], 0xEE);
    EXPECT_EQ(image.bytes[410], 0xEE);
}

TEST(AdjustmentImage, ReadBackRestoresEverythingButKeepsStatus)
{
    const AdjustmentData sent = Patterned(7);
    CodeplugImage image;
    GetAdjustmentData(sent, image);

    AdjustmentData received = Patterned(100);
    received.statusBattery = 0x11;
    received.statusVox = 0x22;
    SetAdjustmentData(image, received);

    EXPECT_EQ(0, std::memcmp(Raw(received), Raw(sent), kAdjustmentRadioSize));
    EXPECT_EQ(received.statusBattery, 0x11);
    EXPECT_EQ(received.statusVox, 0x22);
}

} // namespace
} // namespace vkt
