// The record's defaults, in-use bits and new-channel contents.
#include "program_state.h"
#include "radio_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace vkt {
namespace {

class DefaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state = std::make_unique<ProgramState>();
        std::memset(&state->data, 0xA5, sizeof state->data); // stale bytes must all go
        state->identity.year = 2020;
        SetDefaultAll(*state, port);
    }
    const std::uint8_t *bytes() const { return reinterpret_cast<const std::uint8_t *>(&state->data); }
    std::unique_ptr<ProgramState> state;
    int port = 7; // the port selection's fixed port, as a user had chosen it
};

TEST_F(DefaultsTest, FreshProgramHoldsNoChannelAndTheDefaultVfos)
{
    const RadioData &d = state->data;
    for (int ch = 0; ch <= kChannelCount; ++ch)
        EXPECT_FALSE(IsChannelInUse(d, ch)) << ch;
    EXPECT_EQ(d.vfoA.rxFreq.get(), 400000000u);
    EXPECT_EQ(d.vfoB.rxFreq.get(), 136000000u);
    EXPECT_EQ(d.vfoA.flags1, 0xB0);
    EXPECT_EQ(d.vfoB.flags1, 0xB0);
    EXPECT_EQ(d.vfoA.txFreq.get(), 0u);
    EXPECT_EQ(std::memcmp(d.powerOnPassword, "531642", 6), 0);
    EXPECT_EQ(std::memcmp(d.logo, "Kelmora\0", 8), 0);
    EXPECT_EQ(state->identity.year, 0);
    EXPECT_EQ(port, kDefaultPort) << "the fixed port goes back to 1";
}

TEST_F(DefaultsTest, ValuesAtTheirRecordOffsets)
{
    struct Case {
        std::size_t offset;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {0x0000, std::vector<std::uint8_t>(9, 0)},
        {0x47B7, {5, 3, 0, 0, 1}},             // squelch, squelch mode, roger, call beep, alarm ring
        {0x47BC, {0xD4, 0x30, 0, 0}},          // VFO A step 12500, little-endian
        {0x47C5, {0xE8, 0x03, 60, 0}},         // VOX delay 1000, time-out 60
        {0x47CA, {5, 1, 0, 0, 1}},             // pre-alert, priority channel 1, names off, scan resume
        {0x47D2, {5, 10, 1, 0, 3}},            // lamp timer, lamp, key beep, key lock, saver
        {0x47DC, {1, 0, 0xFF, 0, 0, 0}},       // screen saver, auto offset, rows 1-8 in use
        {0x48B8, {0x33, 0x23}},                // scrambling carrier 9011
        {0x48C6, {2, 0, 1, 1, 1, 0x58, 0x02}}, // colours, menu, alarm mode, alarm code 600
        {0x48D0, {30, 60, 5}},
        {0x48D3, {0x00, 0xAB, 0x87, 0x04}},    // FM 76 MHz
        {0x48DB, {1, 0, 0, 0}},                // FM step 0.1M
        {0x48E3, {0x00, 0xF3, 0x6F, 0x06}},    // FM upper bound 108 MHz
        {0x48F6, {0, 1, 0, 100, 100, 100, 0, 0xF4, 0x01, 50, 0}},
        {0x4902, {30, 5}},
        {0x4937, {0, 1}},
        {0x495B, {3}},
        {0x49B6, {0xF4, 0x01, 100, 0, 255, 255}},
        {0x49BE, {0, 255, 30, 4, 4, 30, 0x1C, 0, 0}}, // two-tone system 1
        {0x4AAE, std::vector<std::uint8_t>(48, 0xFF)}, // two-tone encode and decode lists
        {0x4ADE, {10, 14, 255, 0, 0, 1, 1, 1, 1, 3, 3, 3, 3, 3, 30, 0xF4, 0x01, 100, 0, 255, 255}},
        {0x4AF6, {70, 105, 70, 105, 70, 105, 70, 105, 70, 105, 100, 150, 40, 60, 33, 45, 0, 0, 0, 0}},
        {0x4B0A, {0, 255, 255, 255, 0x1C, 1, 0, 0}},  // five-tone system 1
        {0x4C8A, {0, 0, 0, 0, 0, 0, 255}},            // five-tone decode entry 1
        {0x4D1A, {2, 0, 16, 254}},
    };
    for (const Case &c : cases)
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(bytes()[c.offset + i], c.expected[i]) << "offset 0x" << std::hex << c.offset + i;
}

TEST_F(DefaultsTest, OffsetTableHoldsEightRows)
{
    const RadioData &d = state->data;
    EXPECT_EQ(d.offsetTable[0].start.get(), 144500000u);
    EXPECT_EQ(d.offsetTable[0].direction, 1);
    EXPECT_EQ(d.offsetTable[7].end.get(), 450000000u);
    EXPECT_EQ(d.offsetTable[7].offset.get(), 5000000u);
    EXPECT_EQ(d.offsetTable[8].start.get(), 0u);
    for (int bit = 0; bit <= 16; ++bit)
        EXPECT_EQ(IsOffsetRowInUse(d, bit), bit < 8) << bit;
}

TEST(InUseBits, ArgumentRanges)
{
    auto d = std::make_unique<RadioData>();
    std::memset(d.get(), 0, sizeof *d);

    // Channel bits: set/clear take 1..240 only, test takes 0..240.
    for (int ch : {-1, 0, 241, 1000})
        SetChannelInUse(*d, ch);
    for (std::uint8_t b : d->channelBits)
        EXPECT_EQ(b, 0);
    d->channelBits[0] = 0x01; // bit 0 set directly, as a file could hold it
    EXPECT_TRUE(IsChannelInUse(*d, 0));
    ClearChannelInUse(*d, 0);
    EXPECT_TRUE(IsChannelInUse(*d, 0));
    SetChannelInUse(*d, 240);
    EXPECT_EQ(d->channelBits[30], 0x01);
    EXPECT_TRUE(IsChannelInUse(*d, 240));
    EXPECT_FALSE(IsChannelInUse(*d, 241));
    SetChannelInUse(*d, 9);
    EXPECT_EQ(d->channelBits[1], 0x02);
    ClearChannelInUse(*d, 9);
    EXPECT_EQ(d->channelBits[1], 0x00);

    // Address book: 0..30 everywhere.
    SetAddressBookInUse(*d, 30);
    SetAddressBookInUse(*d, 31);
    EXPECT_EQ(d->addrBookBits[3], 0x40);
    EXPECT_FALSE(IsAddressBookInUse(*d, 31));
    SetAddressBookInUse(*d, 0);
    EXPECT_TRUE(IsAddressBookInUse(*d, 0));

    // Offset table: bits 0..16.
    SetOffsetRowInUse(*d, 16);
    SetOffsetRowInUse(*d, 17);
    EXPECT_EQ(d->offsetTableBits[2], 0x01);
    EXPECT_FALSE(IsOffsetRowInUse(*d, 17));
}

TEST(ChannelFlags, PowerValuesAreNotInListOrderAndSystemChangeResetsNumber)
{
    ChannelEntry e{};
    e.flags1 = 0xB0;
    EXPECT_EQ(PowerOf(e), kPowerHigh);
    SetPowerOf(e, kPowerMid);
    EXPECT_EQ(e.flags1, 0xD0);
    e.flags1 = 0x60; // power bits 3: no list entry
    EXPECT_EQ(PowerOf(e), 3u);

    SetSignalSystemOf(e, kSignalDtmf);
    SetSignalIndexOf(e, 29);
    EXPECT_EQ(e.flags2, 0x3D);
    SetSignalSystemOf(e, kSignal2Tone);
    EXPECT_EQ(SignalIndexOf(e), 0u);
    EXPECT_EQ(e.flags2, 0x40);

    e.flags3 = 0xE0; // reserved bits survive
    SetScramblingOf(e, 5);
    SetOffsetDirectionOf(e, kOffsetMinus);
    EXPECT_EQ(e.flags3, 0xE0 | (5 << 2) | 2);
}

// Each maximum offset is the transmit maximum minus the minimum as an
// unsigned 32-bit difference, 99987500 when that is 100 MHz or more; a
// maximum below its minimum wraps round and so gives 99987500 too.
TEST(BandLimitsTest, MaxOffsets)
{
    const struct {
        const char *name;
        std::uint32_t min, max, offset;
    } cases[] = {
        {"equal limits", 400000000, 400000000, 0},
        {"just under 100 MHz", 400000000, 499999999, 99999999},
        {"exactly 100 MHz", 300000000, 400000000, 99987500},
        {"more than 100 MHz", 136000000, 520000000, 99987500},
        {"maximum 1 Hz below the minimum", 136000000, 135999999, 99987500},
        {"maximum far below the minimum", 470000000, 400000000, 99987500},
        {"wraps round to a small difference", 4294967295u, 99999998, 99999999},
    };
    BandLimits defaults;
    RecomputeMaxOffsets(defaults);
    EXPECT_EQ(defaults.uhfMaxOffset, 70000000u);
    EXPECT_EQ(defaults.vhfMaxOffset, 38000000u);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BandLimits uhf, vhf;
        uhf.uhfTxMin = c.min;
        uhf.uhfTxMax = c.max;
        vhf.vhfTxMin = c.min;
        vhf.vhfTxMax = c.max;
        RecomputeMaxOffsets(uhf);
        RecomputeMaxOffsets(vhf);
        EXPECT_EQ(uhf.uhfMaxOffset, c.offset);
        EXPECT_EQ(uhf.vhfMaxOffset, 38000000u) << "the other band keeps its own";
        EXPECT_EQ(vhf.vhfMaxOffset, c.offset);
        EXPECT_EQ(vhf.uhfMaxOffset, 70000000u);
    }
}

TEST(NewChannel, ContentsAndTransmitLimitOfItsBand)
{
    auto d = std::make_unique<RadioData>();
    std::memset(d.get(), 0, sizeof *d);
    BandLimits l;
    l.vhfTxMax = 148000000; // transmit narrower than receive
    std::memcpy(d->channels[3].name, "REP", 3);
    d->channels[3].flags2 = 0x45;
    d->channels[3].encodeType = kToneCtcss;
    d->channels[3].encodeCode = 670;

    MakeNewChannel(*d, 3, 150000000, l);
    const ChannelEntry &e = d->channels[3];
    EXPECT_EQ(e.rxFreq.get(), 150000000u);
    EXPECT_EQ(e.txFreq.get(), 148000000u);
    EXPECT_EQ(e.encodeType, kToneOff);
    EXPECT_EQ(e.flags1, 0xB0);
    EXPECT_EQ(e.flags2, 0);
    EXPECT_EQ(std::memcmp(e.name, "REP", 3), 0);
    EXPECT_TRUE(IsChannelInUse(*d, 3));

    // Outside the VHF receive limits the UHF transmit limits apply.
    MakeNewChannel(*d, 4, 300000000, l);
    EXPECT_EQ(d->channels[4].txFreq.get(), 400000000u);
    MakeNewChannel(*d, 0, 145000000, l);
    EXPECT_FALSE(IsChannelInUse(*d, 0));
}

} // namespace
} // namespace vkt
