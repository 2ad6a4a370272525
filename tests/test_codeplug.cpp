// The radio image: its byte layout and the two conversions.
#include "codecs.h"
#include "codeplug.h"
#include "program_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace vkt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes At(const CodeplugImage &img, std::size_t address, std::size_t n)
{
    return Bytes(img.at(address), img.at(address) + n);
}

std::uint8_t Counter()
{
    static std::uint8_t n = 0;
    return n++;
}

constexpr ClockTime kClock{2026, 12, 9, 23, 45};

class CodeplugTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state = std::make_unique<ProgramState>();
        SetDefaultAll(*state);
    }
    void Write() { GetDataForWrite(state->data, state->limits, state->image, kClock, Counter); }
    RadioData &d() { return state->data; }
    CodeplugImage &img() { return state->image; }
    std::unique_ptr<ProgramState> state;
};

TEST_F(CodeplugTest, NoChannelInUseLeavesSlotsAndBitsZero)
{
    std::memset(img().bytes.data(), 0x5A, img().bytes.size());
    Write();
    EXPECT_EQ(At(img(), 0, 0x14B6), Bytes(0x14B6, 0));
    EXPECT_EQ(At(img(), 0x4000, 32), Bytes(32, 0));
    // Unmapped addresses of the settings area are zero; bytes above 0x2000
    // that no field covers keep what the image held.
    EXPECT_EQ(img().bytes[0x155E], 0);
    EXPECT_EQ(img().bytes[0x19EF], 0);
    EXPECT_EQ(At(img(), 0x41D6, 2), Bytes(2, 0x5A));
    EXPECT_EQ(At(img(), 0x4514, 12), Bytes(12, 0x5A));
}

TEST_F(CodeplugTest, ChannelSlotBytes)
{
    ChannelEntry &e = d().channels[1];
    e.rxFreq = 145125000;
    e.txFreq = 145125000;
    e.decodeType = kToneCtcss;
    e.decodeCode = 670;
    e.encodeType = kToneDcsI;
    e.encodeCode = 0x2813;
    e.flags0 = 0x00;
    e.flags1 = 0xB0;
    std::memcpy(e.name, "ABC", 3);
    SetChannelInUse(d(), 1);
    Write();
    const Bytes expected = {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x9E, 0x02, 0x13,
                            0xA8, 0x00, 0xB0, 0x00, 0x00, 0x41, 0x42, 0x43, 0x00, 0x00, 0x00};
    EXPECT_EQ(At(img(), 0x0016, 22), expected);
    EXPECT_EQ(img().bytes[0x4000], 0x02);
}

TEST_F(CodeplugTest, FixedAddressBytes)
{
    d().offsetA = 600000;
    d().dtmfFirstDelay = 0x0102;
    d().fmMemories[19] = 87500000;
    d().twoToneSystems[15].decodeEntries = 0x8001;
    std::memcpy(d().twoToneSystems[15].name, "TT16", 4);
    d().fiveToneSystems[0].decodeEntries = 0x0203;
    d().offsetTable[15].start = 0x01020304;
    d().offsetTable[15].direction = 2;
    d().messageLines[3].text[15] = 'Z';
    std::memcpy(d().stunCode, "\x01\x02\x03", 3);
    d().stunLength = 3;
    Write();

    struct Case {
        std::size_t address;
        Bytes expected;
        const char *what;
    };
    const Case cases[] = {
        {0x14EC, {0x00, 0x00, 0x06, 0x00}, "VFO A offset, BCD"},
        {0x14F0, {0x00, 0x00, 0x00, 0x30, 0xD4}, "VFO A mode, step 12500 big-endian"},
        {0x1511, {0x00, 0x00, 0x30, 0xD4}, "VFO B step"},
        {0x1520, {0x07, 0xEA, 12, 9, 23, 45}, "last programming time"},
        {0x1526, {'K', 'e', 'l', 'm', 'o', 'r', 'a', 0}, "logo"},
        {0x152E, {0x00, 60}, "time-out, big-endian"},
        {0x1540, {0x23, 0x33}, "scrambling carrier 9011"},
        {0x1545, {0x03, 0xE8}, "VOX delay"},
        {0x1556, {'5', '3', '1', '6', '4', '2'}, "power-on password"},
        {0x1560, {0x02, 0x58}, "alarm code"},
        {0x1583, {30, 60, 5}, "auto-connect periods"},
        {0x1586, {1, 0x04, 0x87, 0xAB, 0x00}, "FM step, FM frequency"},
        {0x158F, {0x06, 0x6F, 0xF3, 0x00}, "FM upper bound"},
        {0x15DF, {0x05, 0x37, 0x24, 0xE0}, "FM memory 20"},
        {0x15E4, {0, 0, 1, 100, 100, 0x01, 0x02, 0x01, 0xF4, 0x00, 0x32, 1, 0, 30, 5}, "DTMF values"},
        {0x1614, {3, 0, 1, 2, 3}, "ID options, working state, stun code"},
        {0x1626, {3}, "stun length"},
        {0x1974, {1, 0xFF, 0, 0, 0}, "menu, offset-table bits"},
        {0x19A1, {2, 0, 16, 254}, "display type, first line"},
        {0x19ED, {'Z'}, "last byte of line 4"},
        {0x4100, {0x08, 0x9C, 0xE5, 0x20, 0x08, 0xA2, 0xFF, 0xA0, 1, 0x00, 0x09, 0x27, 0xC0}, "offset row 1"},
        {0x41C3, {0x01, 0x02, 0x03, 0x04}, "offset row 16 start"},
        {0x41CB, {2}, "offset row 16 direction"},
        {0x41D0, {0x01, 0xF4, 0x00, 0x64, 255, 255}, "two-tone lead-in, lead-out, calls"},
        {0x41D8, {0, 255, 30, 4, 4, 30, 0x1C, 0, 0}, "two-tone system 1"},
        {0x42BF, {0x1C, 0x80, 0x01, 'T', 'T', '1', '6'}, "two-tone system 16 decode bits"},
        {0x42C8, Bytes(48, 0xFF), "two-tone lists"},
        {0x42F8, {10, 14, 255}, "five-tone group, repeat, last gap tone"},
        {0x4306, {30, 0x01, 0xF4, 0x00, 0x64, 255, 255, 0, 0, 0}, "five-tone auto reset .. PTT call"},
        {0x4310, {0, 255, 255, 255, 0x1C, 1, 0x02, 0x03}, "five-tone system 1"},
        {0x4490, {0, 0, 0, 0, 0, 0, 255}, "five-tone decode entry 1"},
        {0x4500, {70, 105}, "period pair 1"},
        {0x450E, {33, 45, 0, 0, 0, 0}, "period pairs 8-10"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(At(img(), c.address, c.expected.size()), c.expected) << c.what;
}

TEST_F(CodeplugTest, BandLimitBytesWithDefaults)
{
    RecomputeMaxOffsets(state->limits);
    Write();
    const Bytes expected = {0x08, 0x1B, 0x32, 0x00, 0x0A, 0x5F, 0x07, 0x80, 0x08, 0x1B, 0x32, 0x00,
                            0x0A, 0x5F, 0x07, 0x80, 0x17, 0xD7, 0x84, 0x00, 0x1C, 0x03, 0xA1, 0x80,
                            0x17, 0xD7, 0x84, 0x00, 0x1C, 0x03, 0xA1, 0x80, 0x02, 0x43, 0xD5, 0x80,
                            0x04, 0x2C, 0x1D, 0x80};
    EXPECT_EQ(At(img(), 0x1979, expected.size()), expected);
}

TEST_F(CodeplugTest, AddressBookNumbersAndFirstEntry)
{
    SetAddressBookInUse(d(), 7);
    SetAddressBookInUse(d(), 12);
    d().addrBook[7].digitCount = 2;
    d().addrBook[7].digits[0] = 15;
    Write();
    for (int j = 1; j <= kAddressBookCount; ++j) {
        EXPECT_EQ(d().addrBook[j].number, j);
        EXPECT_EQ(img().bytes[0x164D + 26 * j], j);
    }
    EXPECT_EQ(At(img(), 0x164D + 26 * 7, 3), (Bytes{7, 15, 0}));
    EXPECT_EQ(img().bytes[0x164D + 26 * 7 + 18], 2);
    EXPECT_EQ(img().bytes[0x1973], 7);
    EXPECT_EQ(At(img(), 0x1649, 4), (Bytes{0x80, 0x10, 0, 0}));

    ClearAddressBookInUse(d(), 7);
    ClearAddressBookInUse(d(), 12);
    Write();
    EXPECT_EQ(img().bytes[0x1973], 0);
}

TEST_F(CodeplugTest, PasswordBlockCarriesTheRadioPassword)
{
    std::memcpy(d().radioPassword, "SECRET123456", 12);
    Write();
    std::string text;
    ASSERT_TRUE(DescramblePassword(img().at(0x4020), text));
    EXPECT_EQ(text, "SECRET123456");
}

TEST(PasswordBlock, LayoutAndChecksum)
{
    std::mt19937 gen(42);
    RandomByteSource random = [&] { return static_cast<std::uint8_t>(gen()); };
    for (std::string text : {"", "1", "abcdef", "123456789012"}) {
        const auto a = ScramblePassword(text, random);
        const auto b = ScramblePassword(text, random);
        EXPECT_EQ(a[0], text.size());
        EXPECT_NE(a, b) << "two blocks of the same text must differ";
        unsigned sum = 0;
        for (int i = 0; i < 15; ++i)
            sum += a[i];
        EXPECT_EQ(a[15], sum % 256);
        std::string back;
        ASSERT_TRUE(DescramblePassword(a.data(), back));
        EXPECT_EQ(back, text);
    }
    // Known random bytes: k0 = 0x10, k1 = 0x20, the rest 0.
    std::uint8_t seq[16] = {0x10, 0x20};
    int i = 0;
    const auto block = ScramblePassword("A", [&] { return seq[i++]; });
    EXPECT_EQ(block[1], 0x10);
    EXPECT_EQ(block[2], static_cast<std::uint8_t>(~0x30 ^ 0x10));
    EXPECT_EQ(block[3], static_cast<std::uint8_t>(~(0x41 + 0x20) ^ 0x20));
    // Longer texts are cut at 12 characters; a corrupt block is refused.
    auto longer = ScramblePassword("1234567890123", random);
    EXPECT_EQ(longer[0], 12);
    longer[5] ^= 1;
    std::string out;
    EXPECT_FALSE(DescramblePassword(longer.data(), out));
}

TEST_F(CodeplugTest, ReadKeepsEntriesOfChannelsNotInUseAndTakesLimitsAndIdentity)
{
    d().channels[5].rxFreq = 146000000;
    std::memcpy(d().channels[5].name, "OLD", 3);
    auto &image = img().bytes;
    std::fill(image.begin(), image.end(), 0);
    PutBE32(&image[0x1979], 140000000); // VHF transmit minimum
    PutBE32(&image[0x1989 + 12], 460000000); // UHF receive maximum
    PutBE32(&image[0x1999], 1234);      // maximum offsets are not read
    image[0x1520] = 0x07;
    image[0x1521] = 0xE9;
    image[0x1522] = 3;
    image[0x1525] = 59;
    std::memcpy(&image[0x4040], "FW-1.02-ABCD", 12);
    const std::uint32_t vhfOffsetBefore = state->limits.vhfMaxOffset;

    SetDataToSoftware(img(), d(), state->limits, state->identity);
    EXPECT_FALSE(IsChannelInUse(d(), 5));
    EXPECT_EQ(d().channels[5].rxFreq.get(), 146000000u);
    EXPECT_EQ(std::memcmp(d().channels[5].name, "OLD", 3), 0);
    EXPECT_EQ(state->limits.vhfTxMin, 140000000u);
    EXPECT_EQ(state->limits.uhfRxMax, 460000000u);
    EXPECT_EQ(state->limits.vhfMaxOffset, vhfOffsetBefore);
    EXPECT_EQ(state->identity.year, 2025);
    EXPECT_EQ(state->identity.month, 3);
    EXPECT_EQ(state->identity.minute, 59);
    EXPECT_EQ(std::memcmp(d().firmwareVersion, "FW-1.02-ABCD\0", 13), 0);
}

TEST_F(CodeplugTest, ReadClearsTheDcsPolarityBitInTheImage)
{
    auto &image = img().bytes;
    image[0x4000] = 0x02; // channel 1
    const std::uint8_t slot[12] = {0x00, 0x25, 0x51, 0x14, 0, 0, 0, 0, 0x13, 0xA8, 0x13, 0x28};
    std::memcpy(&image[22], slot, sizeof slot);
    image[0x14E0 + 7] = 0xA9; // VFO A encode tone, inverted
    image[0x14E0 + 6] = 0xEC;

    SetDataToSoftware(img(), d(), state->limits, state->identity);
    const ChannelEntry &e = d().channels[1];
    EXPECT_EQ(e.rxFreq.get(), 145125000u);
    EXPECT_EQ(e.txFreq.get(), 0u);
    EXPECT_EQ((Tone{e.decodeCode, e.decodeType}), (Tone{0x2813, kToneDcsI}));
    EXPECT_EQ((Tone{e.encodeCode, e.encodeType}), (Tone{0x2813, kToneDcsN}));
    EXPECT_EQ(image[22 + 9], 0x28);
    EXPECT_EQ((Tone{d().vfoA.encodeCode, d().vfoA.encodeType}), (Tone{0x29EC, kToneDcsI}));
    EXPECT_EQ(image[0x14E0 + 7], 0x29);
}

TEST(ChannelUsedInReadImage, ArgumentRange)
{
    auto img = std::make_unique<CodeplugImage>();
    img->bytes[0x4000] = 0x03;
    img->bytes[0x401E] = 0x01; // channel 240
    img->bytes[0x401F] = 0xFF; // past channel 240
    EXPECT_TRUE(CheckAnChannelUsedOrNo_tmp(*img, 0));
    EXPECT_TRUE(CheckAnChannelUsedOrNo_tmp(*img, 1));
    EXPECT_FALSE(CheckAnChannelUsedOrNo_tmp(*img, 2));
    EXPECT_TRUE(CheckAnChannelUsedOrNo_tmp(*img, 240));
    EXPECT_FALSE(CheckAnChannelUsedOrNo_tmp(*img, 248));
    EXPECT_FALSE(CheckAnChannelUsedOrNo_tmp(*img, -1));
}

// A project with every kind of content goes to the image and back and
// comes back byte for byte, apart from what the image does not carry.
TEST(CodeplugRoundTrip, EveryCarriedFieldComesBack)
{
    auto original = std::make_unique<ProgramState>();
    SetDefaultAll(*original);
    RadioData &a = original->data;
    std::mt19937 gen(2026);
    auto *raw = reinterpret_cast<std::uint8_t *>(&a);
    for (std::size_t i = 0; i < sizeof a; ++i)
        raw[i] = static_cast<std::uint8_t>(gen());

    const Tone tones[] = {{0, kToneOff}, {670, kToneCtcss}, {2541, kToneCtcss}, {0x2813, kToneDcsN},
                          {0x29EC, kToneDcsI}, {0x2800 + 0155, kToneDcsN}, {1234, kToneCtcss}};
    auto validFreq = [&] { return static_cast<std::uint32_t>(gen() % 100000000) * 10; };
    auto fixEntry = [&](ChannelEntry &e, int k) {
        e.rxFreq = validFreq();
        e.txFreq = k % 5 == 0 ? 0 : validFreq();
        const Tone dec = tones[k % 7], enc = tones[(k + 3) % 7];
        e.decodeCode = dec.code;
        e.decodeType = dec.type;
        e.encodeCode = enc.code;
        e.encodeType = enc.type;
    };
    for (int ch = 0; ch <= kChannelCount; ++ch)
        fixEntry(a.channels[ch], ch);
    fixEntry(a.vfoA, 1);
    fixEntry(a.vfoB, 4);
    a.offsetA = validFreq();
    a.offsetB = validFreq();
    a.fmStep = a.fmStep.get() & 0xFF; // the radio keeps only the low byte

    GetDataForWrite(a, original->limits, original->image, kClock, Counter);

    auto back = std::make_unique<ProgramState>();
    SetDefaultAll(*back);
    CodeplugImage image = original->image;
    SetDataToSoftware(image, back->data, back->limits, back->identity);
    RadioData &b = back->data;

    // What the image does not carry: copy it over before comparing.
    std::memcpy(b.spare0000, a.spare0000, sizeof a.spare0000);
    std::memcpy(b.accessPassword, a.accessPassword, 26); // both passwords
    b.addrBook[0] = a.addrBook[0];
    for (int ch = 0; ch <= kChannelCount; ++ch) {
        ChannelEntry &eb = b.channels[ch];
        const ChannelEntry &ea = a.channels[ch];
        if (ch == 0 || !IsChannelInUse(a, ch)) {
            eb = ea;
            continue;
        }
        std::memcpy(eb.spare4, ea.spare4, 10);
        std::memcpy(eb.spare18, ea.spare18, 10);
        std::memcpy(eb.spare31, ea.spare31, 10);
        std::memcpy(eb.spare44, ea.spare44, 13);
        std::memcpy(eb.spare67, ea.spare67, 5);
    }
    for (auto [vb, va] : {std::pair{&b.vfoA, &a.vfoA}, std::pair{&b.vfoB, &a.vfoB}}) {
        ChannelEntry keep = *vb;
        *vb = *va;
        vb->rxFreq = keep.rxFreq;
        vb->decodeCode = keep.decodeCode;
        vb->decodeType = keep.decodeType;
        vb->encodeCode = keep.encodeCode;
        vb->encodeType = keep.encodeType;
        vb->flags0 = keep.flags0;
        vb->flags1 = keep.flags1;
        vb->flags2 = keep.flags2;
        vb->flags3 = keep.flags3;
    }
    b.spare47C9 = a.spare47C9;
    b.spare47D1 = a.spare47D1;
    b.spare47D9 = a.spare47D9;
    b.deviceLock = a.deviceLock;
    b.spare48BB = a.spare48BB;
    b.cw = a.cw;
    std::memcpy(b.spare48D7, a.spare48D7, 4);
    b.spare48E7 = a.spare48E7;
    std::memcpy(b.firmwareVersion, a.firmwareVersion, 13);
    b.writeNewPassword = a.writeNewPassword;
    std::memcpy(b.spare4939, a.spare4939, 17);
    std::memcpy(b.spare49BC, a.spare49BC, 2);

    const auto *pa = reinterpret_cast<const std::uint8_t *>(&a);
    const auto *pb = reinterpret_cast<const std::uint8_t *>(&b);
    int reported = 0;
    for (std::size_t i = 0; i < sizeof a && reported < 10; ++i)
        if (pa[i] != pb[i]) {
            ADD_FAILURE() << "record offset 0x" << std::hex << i << ": wrote " << int(pa[i]) << ", read back "
                          << int(pb[i]);
            ++reported;
        }

    EXPECT_EQ(back->limits.vhfTxMin, original->limits.vhfTxMin);
    EXPECT_EQ(back->limits.uhfRxMax, original->limits.uhfRxMax);
    EXPECT_EQ(back->identity.year, kClock.year);
    EXPECT_EQ(back->identity.minute, kClock.minute);
}

} // namespace
} // namespace vkt
