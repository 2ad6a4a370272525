// What the channel table stores for what is typed or chosen.
#include "channel_edit.h"
#include "program_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace vkt {
namespace {

class ChannelEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state = std::make_unique<ProgramState>();
        SetDefaultAll(*state);
    }
    RadioData &d() { return state->data; }
    const BandLimits &limits() { return state->limits; }
    ChannelEntry &ch(int n) { return state->data.channels[n]; }
    std::unique_ptr<ProgramState> state;
};

TEST_F(ChannelEditTest, ReceiveFrequencyTypedIntoAnEmptyRow)
{
    struct Case {
        const char *typed;
        std::uint32_t rx;
        std::uint32_t tx;
    };
    const Case cases[] = {
        {"150", 150000000, 150000000},       {"190", 174000000, 174000000},
        {"300", 400000000, 400000000},       {"500", 470000000, 470000000},
        {"145.6123", 145606250, 145606250},  {"145.6125", 145612500, 145612500},
        {"100", 136000000, 136000000},       {"0.5", 136000000, 136000000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        SetUp();
        ASSERT_EQ(StoreRxText(d(), limits(), 9, c.typed), StoreResult::Stored);
        EXPECT_TRUE(IsChannelInUse(d(), 9));
        EXPECT_EQ(ch(9).rxFreq.get(), c.rx);
        EXPECT_EQ(ch(9).txFreq.get(), c.tx);
        EXPECT_EQ(ch(9).decodeType, kToneOff);
        EXPECT_EQ(ch(9).encodeType, kToneOff);
        EXPECT_EQ(ch(9).flags0, 0);
        EXPECT_EQ(ch(9).flags1, 0xB0) << "High, Wide, ADD";
        EXPECT_EQ(ch(9).flags2, 0) << "signalling OFF";
        EXPECT_EQ(ch(9).flags3, 0);
    }
}

TEST_F(ChannelEditTest, ChangingTheReceiveFrequencyOfAChannelKeepsTheRest)
{
    StoreRxText(d(), limits(), 2, "145");
    StoreTxText(d(), limits(), 2, "145.6");
    StorePowerIndex(d(), 2, 0);
    ASSERT_EQ(StoreRxText(d(), limits(), 2, "146.52"), StoreResult::Stored);
    EXPECT_EQ(ch(2).rxFreq.get(), 146520000u);
    EXPECT_EQ(ch(2).txFreq.get(), 145600000u);
    EXPECT_EQ(PowerOf(ch(2)), kPowerLow);

    // A text that is not a frequency changes nothing.
    for (const char *bad : {"145.", ".5", "1x5", "1.2.3"})
        EXPECT_EQ(StoreRxText(d(), limits(), 2, bad), StoreResult::Rejected) << bad;
    EXPECT_EQ(ch(2).rxFreq.get(), 146520000u);
}

TEST_F(ChannelEditTest, DeletedChannelComesBackWithItsName)
{
    StoreRxText(d(), limits(), 4, "433.5");
    const std::uint8_t name[] = {'R', 'E', 'P', 'E', 'A', 'T'};
    StoreNameBytes(d(), 4, name, sizeof name);
    StoreSignalSystemIndex(d(), 4, kSignalDtmf);

    EXPECT_EQ(StoreRxText(d(), limits(), 4, ""), StoreResult::Deleted);
    EXPECT_FALSE(IsChannelInUse(d(), 4));
    EXPECT_EQ(ch(4).rxFreq.get(), 433500000u) << "the entry's bytes stay";

    StoreRxText(d(), limits(), 4, "145");
    EXPECT_TRUE(IsChannelInUse(d(), 4));
    EXPECT_EQ(std::memcmp(ch(4).name, "REPEAT", 6), 0);
    EXPECT_EQ(SignalSystemOf(ch(4)), kSignalOff) << "the new-channel defaults apply";
}

TEST_F(ChannelEditTest, TransmitFrequency)
{
    EXPECT_EQ(StoreTxText(d(), limits(), 6, "145"), StoreResult::Rejected) << "no channel, no editor";
    StoreRxText(d(), limits(), 6, "145");
    StoreTxText(d(), limits(), 6, "");
    EXPECT_EQ(ch(6).txFreq.get(), 0u);
    StoreTxText(d(), limits(), 6, "480");
    EXPECT_EQ(ch(6).txFreq.get(), 470000000u);
    state->limits.vhfTxMax = 148000000;
    StoreTxText(d(), limits(), 6, "150");
    EXPECT_EQ(ch(6).txFreq.get(), 148000000u) << "transmit limits, not receive limits";
}

TEST_F(ChannelEditTest, TonesTyped)
{
    StoreRxText(d(), limits(), 1, "145");
    struct Case {
        const char *typed;
        bool encode;
        Tone stored;
        bool nonstandard;
    };
    const Case cases[] = {
        {"d023n", false, {0x2813, kToneDcsN}, false},
        {"D754i", true, {0x29EC, kToneDcsI}, false},
        {"67.1", false, {671, kToneCtcss}, true},
        {"88.5", true, {885, kToneCtcss}, false},
        {"Off", false, {0xFFFF, kToneOff}, false},
        {"", true, {0xFFFF, kToneOff}, false},
        {"D017N", false, {0x2800 + 017, kToneDcsN}, true}, // octal, but not a standard code
    };
    for (const Case &c : cases) {
        std::string typed = c.typed;
        for (char &x : typed)
            x = ToneBoxKey(x);
        ASSERT_EQ(StoreToneText(d(), 1, c.encode, typed), StoreResult::Stored) << c.typed;
        const ChannelEntry &e = ch(1);
        const Tone got = c.encode ? Tone{e.encodeCode, e.encodeType} : Tone{e.decodeCode, e.decodeType};
        EXPECT_EQ(got, c.stored) << c.typed;
        EXPECT_EQ(HasNonstandardTone(d(), 1, c.encode), c.nonstandard) << c.typed;
    }
    // A rejected text keeps the tone.
    StoreToneText(d(), 1, false, "88.5");
    EXPECT_EQ(StoreToneText(d(), 1, false, "35.0"), StoreResult::Rejected);
    EXPECT_EQ(ch(1).decodeCode.get(), 885);
}

TEST_F(ChannelEditTest, ListEntriesAndStoredCodes)
{
    StoreRxText(d(), limits(), 3, "145");
    // Power: the list shows Low, Mid, High for the codes 0, 2, 1.
    const std::pair<int, unsigned> power[] = {{0, kPowerLow}, {1, kPowerMid}, {2, kPowerHigh}};
    for (auto [index, code] : power) {
        StorePowerIndex(d(), 3, index);
        EXPECT_EQ(PowerOf(ch(3)), code);
        EXPECT_EQ(PowerListIndex(code), index);
    }
    // A stored power code 3 has no entry and survives leaving the list unchosen.
    SetPowerOf(ch(3), 3);
    EXPECT_EQ(PowerListIndex(3), -1);
    StorePowerIndex(d(), 3, -1);
    EXPECT_EQ(PowerOf(ch(3)), 3u);

    StoreBandwidthIndex(d(), 3, 0);
    StoreScanIndex(d(), 3, 0);
    StoreBusyIndex(d(), 3, 2);
    EXPECT_FALSE(WideOf(ch(3)));
    EXPECT_FALSE(ScanAddOf(ch(3)));
    EXPECT_EQ(BusyLockOf(ch(3)), kBusyCat);
    SetBusyLockOf(ch(3), 3);
    EXPECT_EQ(BusyListIndex(3), -1);
}

TEST_F(ChannelEditTest, SignallingSystemChangeResetsTheNumber)
{
    StoreRxText(d(), limits(), 8, "145");
    StoreSignalSystemIndex(d(), 8, kSignalDtmf);
    EXPECT_EQ(SignalNumberCount(kSignalDtmf), 30);
    StoreSignalNumberIndex(d(), 8, 25);
    EXPECT_EQ(SignalIndexOf(ch(8)), 25u);
    StoreSignalSystemIndex(d(), 8, kSignalDtmf); // the same system: number kept
    EXPECT_EQ(SignalIndexOf(ch(8)), 25u);

    StoreSignalSystemIndex(d(), 8, kSignal5Tone);
    EXPECT_EQ(SignalIndexOf(ch(8)), 0u);
    EXPECT_EQ(SignalNumberCount(kSignal5Tone), 16);
    StoreSignalNumberIndex(d(), 8, 20); // past the 16 entries: ignored
    EXPECT_EQ(SignalIndexOf(ch(8)), 0u);

    // Loaded values without a list entry show nothing and stay as they are.
    ch(8).flags2 = static_cast<std::uint8_t>((2u << 5) | 20u);
    EXPECT_EQ(SignalNumberListIndex(ch(8)), -1);
    ch(8).flags2 = 6u << 5;
    EXPECT_EQ(SignalSystemListIndex(SignalSystemOf(ch(8))), -1);
    EXPECT_EQ(SignalNumberCount(6), 0);
}

TEST(FrequencyTyping, Corrections)
{
    const std::pair<const char *, const char *> cases[] = {
        {"1234567890", "123456789"}, // a tenth character goes
        {"145..", "145."},           // of two points only the first stays
        {"14.5.6", "14.56"},
        {".", ""},                   // a lone point goes
        {"145.12500", "145.12500"},
    };
    for (auto [typed, kept] : cases)
        EXPECT_EQ(CorrectFrequencyText(typed), kept) << typed;
    for (unsigned c : {unsigned('0'), unsigned('9'), unsigned('.'), 8u, 13u, 127u, 200u})
        EXPECT_TRUE(FrequencyKeyPasses(c)) << c;
    for (unsigned c : {unsigned('a'), unsigned(' '), unsigned('-'), unsigned(','), 256u})
        EXPECT_FALSE(FrequencyKeyPasses(c)) << c;
    for (char c : std::string(" !\"#$%&'(){|}~"))
        EXPECT_FALSE(NameKeyPasses(static_cast<unsigned char>(c))) << c;
    for (char c : std::string("Az09*-_."))
        EXPECT_TRUE(NameKeyPasses(static_cast<unsigned char>(c))) << c;
    EXPECT_TRUE(NameKeyPasses(0xC4));
}

} // namespace
} // namespace vkt
