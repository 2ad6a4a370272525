#include "codecs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace vkt {
namespace {

std::string Bytes(const std::uint8_t *p, int n)
{
    std::string s;
    char buf[4];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", p[i]);
        s += buf;
    }
    return s;
}

// ---- frequency texts -------------------------------------------------

TEST(ParseMHzText, AcceptedTexts)
{
    const struct {
        const char *text;
        std::uint32_t hz;
    } cases[] = {
        {"145.125", 145125000},
        {"145", 145000000},
        {"0.6", 600000},
        {"0", 0},
        {"007.5", 7500000},
        {"1.123456", 1123456},              // six fraction digits: exact hertz
        {"1.1234567", 1123456},             // digits below a hertz are dropped
        {"1.12345678901234567890", 1123456}, // however many there are
        {"4294.967295", 4294967295u},        // largest 32-bit value
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseMHzText(c.text), std::optional<std::uint32_t>(c.hz));
    }
}

TEST(ParseMHzText, RejectedTexts)
{
    const char *cases[] = {
        "",      ".5",          "145.",        "1.2.3",       "+145",       "-1",
        " 145",  "145 ",        "14a5",        "1,5",         "145.1x",     "4294.967296",
        "4295",  "99999999999999999999999",    "18446744073709551617.0",
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseMHzText(text), std::nullopt);
    }
}

TEST(FrequencyTexts, ChannelOffsetAndFmForms)
{
    const struct {
        std::string (*form)(std::uint32_t);
        std::uint32_t hz;
        const char *text;
    } cases[] = {
        {ChannelFreqText, 0, "0"},
        {ChannelFreqText, 145125000, "145.12500"},
        {ChannelFreqText, 76000000, "076.00000"},
        {ChannelFreqText, 145118750, "145.11875"},
        {ChannelFreqText, 145118759, "145.11875"},  // below 10 Hz not shown
        {ChannelFreqText, 5, "000.00000"},
        {ChannelFreqText, 1145125000, "145.12500"}, // thousands of MHz not shown

        {OffsetFreqText, 0, "0"},
        {OffsetFreqText, 600000, "0.60000"},
        {OffsetFreqText, 9999990, "9.99999"},
        {OffsetFreqText, 10000000, "10.00000"},
        {OffsetFreqText, 38000000, "38.00000"},
        {OffsetFreqText, 145125000, "45.12500"},    // hundreds of MHz not shown

        {FmFreqText, 0, ""},
        {FmFreqText, 87050000, "87.05"},
        {FmFreqText, 87500000, "87.50"},
        {FmFreqText, 76000000, "76.00"},
        {FmFreqText, 108000000, "108.00"},
        {FmFreqText, 87059999, "87.05"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.hz);
        EXPECT_EQ(c.form(c.hz), c.text);
    }
}

TEST(FrequencyTexts, ChannelTextParsesBack)
{
    for (std::uint32_t hz : {136000000u, 145118750u, 174000000u, 433012500u, 470000000u, 76000000u}) {
        SCOPED_TRACE(hz);
        EXPECT_EQ(ParseMHzText(ChannelFreqText(hz)), std::optional<std::uint32_t>(hz));
        EXPECT_EQ(ParseMHzText(OffsetFreqText(hz % 100000000)),
                  std::optional<std::uint32_t>(hz % 100000000));
    }
}

// ---- frequency limiting ----------------------------------------------

TEST(FrequencyLimits, SnapToRaster)
{
    const struct {
        std::uint32_t in, out;
    } cases[] = {
        {145123400, 145118750}, // off both rasters: down to 6.25 kHz
        {145006250, 145006250}, // on the 6.25 kHz raster only
        {145127500, 145127500}, // on the 2.5 kHz raster
        {145001250, 145000000}, // on 1.25 kHz only
        {0, 0},
        {6249, 0},
        {6251, 6250},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(SnapToRaster(c.in), c.out);
    }
}

TEST(FrequencyLimits, LimitToBandWithDefaultLimits)
{
    const BandLimits limits;
    const struct {
        std::uint32_t in, out;
    } cases[] = {
        {190000000, 174000000},
        {300000000, 400000000},
        {500000000, 470000000},
        {100000000, 136000000},
        {0, 136000000},
        {200000000, 174000000}, // the boundary itself belongs to VHF
        {200000001, 400000000},
        {145123400, 145118750}, // inside the band, raster still applies
        {433012500, 433012500},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(LimitToBand(c.in, false, limits), c.out);
        EXPECT_EQ(LimitToBand(c.in, true, limits), c.out);
    }
}

TEST(FrequencyLimits, LimitToBandUsesReceiveOrTransmitLimits)
{
    BandLimits limits;
    limits.vhfTxMin = 144000000;
    limits.vhfTxMax = 146000000;
    limits.uhfTxMin = 430000000;
    limits.uhfTxMax = 440000000;
    limits.vhfRxMin = 136001000; // off the raster: the clamped value is snapped too
    const struct {
        std::uint32_t in;
        bool transmit;
        std::uint32_t out;
    } cases[] = {
        {140000000, true, 144000000},  {140000000, false, 140000000},
        {150000000, true, 146000000},  {150000000, false, 150000000},
        {420000000, true, 430000000},  {420000000, false, 420000000},
        {450000000, true, 440000000},  {450000000, false, 450000000},
        {100000000, false, 136000000}, {100000000, true, 144000000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << (c.transmit ? " tx" : " rx"));
        EXPECT_EQ(LimitToBand(c.in, c.transmit, limits), c.out);
    }
}

TEST(FrequencyLimits, OffsetStepBandEntryAndFm)
{
    BandLimits narrow;
    narrow.uhfMaxOffset = 10000000;
    narrow.vhfMaxOffset = 20000000;
    const BandLimits defaults; // maximum offsets 70 MHz (UHF) and 38 MHz (VHF)

    const struct {
        const char *what;
        std::uint32_t got, want;
    } cases[] = {
        {"offset above both maxima", LimitOffset(80000000, defaults), 38000000},
        {"offset above VHF maximum only", LimitOffset(50000000, defaults), 50000000},
        {"offset at UHF maximum", LimitOffset(70000000, defaults), 70000000},
        {"offset just above UHF maximum", LimitOffset(70000001, defaults), 38000000},
        {"offset on raster", LimitOffset(600000, defaults), 600000},
        {"offset off raster", LimitOffset(600100, defaults), 600000},
        {"offset above UHF only, VHF larger", LimitOffset(15000000, narrow), 15000000},
        {"offset above both, VHF larger", LimitOffset(25000000, narrow), 20000000},

        {"step of 10 MHz", LimitStep(10000000), 0},
        {"step above 10 MHz", LimitStep(25000000), 0},
        {"step just below 10 MHz", LimitStep(9999999), 9993750},
        {"step 12.5 kHz", LimitStep(12500), 12500},

        {"band entry below 136", LimitBandLimitEntry(100000000), 136000000},
        {"band entry 136", LimitBandLimitEntry(136000000), 136000000},
        {"band entry 174", LimitBandLimitEntry(174000000), 174000000},
        {"band entry in VHF gap", LimitBandLimitEntry(180000000), 174000000},
        {"band entry 200", LimitBandLimitEntry(200000000), 200000000},
        {"band entry 260", LimitBandLimitEntry(260000000), 260000000},
        {"band entry in UHF gap", LimitBandLimitEntry(300000000), 260000000},
        {"band entry 320", LimitBandLimitEntry(320000000), 320000000},
        {"band entry 520", LimitBandLimitEntry(520000000), 520000000},
        {"band entry above 520", LimitBandLimitEntry(600000000), 520000000},
        {"band entry off raster", LimitBandLimitEntry(145123400), 145118750},

        {"FM below bound", LimitFm(70000000, 76000000, 108000000), 76000000},
        {"FM above bound", LimitFm(120000000, 76000000, 108000000), 108000000},
        {"FM off 50 kHz raster", LimitFm(87549999, 76000000, 108000000), 87500000},
        {"FM on raster", LimitFm(87550000, 76000000, 108000000), 87550000},
        {"FM narrow bounds", LimitFm(87500000, 88000000, 100000000), 88000000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

// ---- BCD frequency image -----------------------------------------------

TEST(BcdFreq, EncodesLowestDigitPairFirst)
{
    const struct {
        std::uint32_t hz;
        const char *bytes;
    } cases[] = {
        {145125000, "00 25 51 14"},
        {433012500, "50 12 30 43"},
        {0, "00 00 00 00"},
        {145125009, "00 25 51 14"},  // below 10 Hz is not stored
        {1234567890, "89 67 45 23"}, // a ninth digit has no place
    };
    for (const auto &c : cases) {
        std::uint8_t out[4];
        EncodeBcdFreq(c.hz, out);
        EXPECT_EQ(Bytes(out, 4), c.bytes) << c.hz;
    }
}

TEST(BcdFreq, RoundTripOverRange)
{
    for (std::uint32_t hz = 0; hz < 1000000000; hz += 123450) {
        std::uint8_t out[4];
        EncodeBcdFreq(hz, out);
        for (std::uint8_t b : out)
            ASSERT_TRUE((b >> 4) <= 9 && (b & 0xF) <= 9) << hz;
        ASSERT_EQ(DecodeBcdFreq(out), hz) << hz;
    }
}

TEST(BcdFreq, NibblesAboveNineEnterTheSum)
{
    const std::uint8_t allFF[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(DecodeBcdFreq(allFF), 165u * 1010101u * 10u);
    const std::uint8_t lowA[4] = {0x0A, 0x00, 0x00, 0x00};
    EXPECT_EQ(DecodeBcdFreq(lowA), 100u);
    const std::uint8_t highF0[4] = {0x00, 0x00, 0x00, 0xF0};
    EXPECT_EQ(DecodeBcdFreq(highF0), 150u * 1000000u * 10u);
}

// ---- tone image ----------------------------------------------------------

TEST(ToneImage, Encode)
{
    const struct {
        Tone tone;
        const char *bytes;
    } cases[] = {
        {{0x2813, kToneDcsN}, "13 28"},
        {{0x2813, kToneDcsI}, "13 A8"},
        {{670, kToneCtcss}, "9E 02"},
        {{2541, kToneCtcss}, "ED 09"},
        {{0xFFFF, kToneOff}, "FF FF"}, // "Off" chosen by the user
        {{0, kToneOff}, "00 00"},      // off in new data
        {{0x0013, kToneDcsN}, "13 28"}, // DCS always carries the 0x28 mark
        {{0xA813, kToneDcsN}, "13 28"}, // normal polarity clears bit 7
    };
    for (const auto &c : cases) {
        std::uint8_t out[2];
        EncodeTone(c.tone, out);
        EXPECT_EQ(Bytes(out, 2), c.bytes) << ToneText(c.tone);
    }
}

TEST(ToneImage, Decode)
{
    const struct {
        std::uint8_t in[2];
        Tone tone;
        const char *after; // the image bytes once decoded
    } cases[] = {
        {{0x13, 0x28}, {0x2813, kToneDcsN}, "13 28"},
        {{0x13, 0xA8}, {0x2813, kToneDcsI}, "13 28"},
        {{0x9E, 0x02}, {670, kToneCtcss}, "9E 02"},
        {{0xFF, 0xFF}, {0, kToneOff}, "FF FF"},
        {{0x00, 0x00}, {0, kToneOff}, "00 00"},
        {{0x12, 0x00}, {0, kToneOff}, "12 00"},
        {{0x00, 0xFF}, {0, kToneOff}, "00 FF"},
        {{0x34, 0x08}, {0x0834, kToneCtcss}, "34 08"}, // only one of the two DCS bits
        {{0x34, 0xA0}, {0xA034, kToneCtcss}, "34 A0"}, // bit 7 kept when not DCS
    };
    for (const auto &c : cases) {
        std::uint8_t in[2] = {c.in[0], c.in[1]};
        SCOPED_TRACE(Bytes(c.in, 2));
        EXPECT_EQ(DecodeTone(in), c.tone);
        EXPECT_EQ(Bytes(in, 2), c.after);
    }
}

TEST(ToneImage, EveryListToneRoundTrips)
{
    for (int i = 1; i < kToneTextCount; ++i) {
        const Tone tone = ToneForListIndex(i);
        std::uint8_t image[2];
        EncodeTone(tone, image);
        EXPECT_EQ(DecodeTone(image), tone) << ToneTexts()[i];
    }
}

// ---- tone texts ----------------------------------------------------------

TEST(ToneText, Forms)
{
    const struct {
        Tone tone;
        const char *text;
    } cases[] = {
        {{670, kToneCtcss}, "67.0"},
        {{2541, kToneCtcss}, "254.1"},
        {{1234, kToneCtcss}, "123.4"},     // not in the list, same form
        {{0x2813, kToneDcsN}, "D023N"},
        {{0x2813, kToneDcsI}, "D023I"},
        {{0xA813, kToneDcsI}, "D023I"},
        {{0x29EC, kToneDcsN}, "D754N"},
        {{0, kToneCtcss}, "Off"},          // code 0 or 0xFFFF whatever the type
        {{0xFFFF, kToneDcsI}, "Off"},
        {{0, kToneOff}, "Off"},
        {{0x2813, kToneOff}, "Off"},
        {{0x2813, 7}, "Off"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToneText(c.tone), c.text) << c.tone.code << "/" << int(c.tone.type);
}

TEST(ParseToneText, AcceptedTexts)
{
    const struct {
        const char *text;
        Tone tone;
    } cases[] = {
        {"Off", {0xFFFF, kToneOff}},
        {"", {0xFFFF, kToneOff}},
        {"67", {670, kToneCtcss}},
        {"67.0", {670, kToneCtcss}},
        {"67.", {670, kToneCtcss}},
        {"100.", {1000, kToneCtcss}},
        {"100.0", {1000, kToneCtcss}},
        {"254.1", {2541, kToneCtcss}},
        {"123.4", {1234, kToneCtcss}}, // non-standard but in range
        {"030", {300, kToneCtcss}},    // lowest accepted value
        {"260", {2600, kToneCtcss}},   // highest accepted value
        {" 67", {670, kToneCtcss}},    // leading blank skipped
        {"D023N", {0x2813, kToneDcsN}},
        {"D023I", {0x2813, kToneDcsI}},
        {"D754N", {0x29EC, kToneDcsN}},
        {"D024N", {0x2814, kToneDcsN}}, // non-standard code, valid octal
        {"D023Nxyz", {0x2813, kToneDcsN}}, // past the fifth character ignored
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseToneText(c.text), std::optional<Tone>(c.tone));
    }
}

TEST(ParseToneText, RejectedTexts)
{
    const char *cases[] = {
        "67.05",  // reads as 6705
        "35.0",   // first digit 3
        "45",     // first digit 4
        "270.0",  // above 260.0
        "260.1",
        "29.9",   // below 30.0
        "D083N",  // 8 is not octal
        "d023N",  // upper case only
        "X023N",
        "D0a3I",
        "D23N",   // four characters: not a DCS text, not a number
        "off",
        "OFF",
        "6",
        "100.00", // six characters
        "1000",   // four characters without a point
        "6.70",   // second character must be a digit
        "67..",
        "67.x",
        "6a.0",
        "x67",
        "100.x",
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseToneText(text), std::nullopt);
    }
}

TEST(ToneImage, TypedOffAndNewDataOff)
{
    std::uint8_t image[2];
    const auto typed = ParseToneText("Off");
    ASSERT_TRUE(typed.has_value());
    EncodeTone(*typed, image);
    EXPECT_EQ(Bytes(image, 2), "FF FF");
    EXPECT_EQ(DecodeTone(image), (Tone{0, kToneOff}));

    EncodeTone(Tone{}, image);
    EXPECT_EQ(Bytes(image, 2), "00 00");
}

// ---- tone lists ----------------------------------------------------------

TEST(ToneList, LayoutAndEnds)
{
    const auto &texts = ToneTexts();
    ASSERT_EQ(texts.size(), 261u);
    const struct {
        int index;
        const char *text;
    } cases[] = {
        {0, "Off"},     {1, "67.0"},    {13, "100.0"},  {50, "254.1"},
        {51, "D023N"},  {155, "D754N"}, {156, "D023I"}, {260, "D754I"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts[c.index], c.text) << c.index;

    for (int index : {0, -1, 261, 1000})
        EXPECT_EQ(ToneForListIndex(index), (Tone{0xFFFF, kToneOff})) << index;
}

// The standard CTCSS and DCS lists, typed in once more: a wrong digit in either
// table shows up here.
TEST(ToneList, MatchesStandardLists)
{
    const std::string ctcss =
        "67.0 69.3 71.9 74.4 77.0 79.7 82.5 85.4 88.5 91.5 94.8 97.4 100.0 103.5 107.2 110.9 "
        "114.8 118.8 123.0 127.3 131.8 136.5 141.3 146.2 151.4 156.7 159.8 162.2 165.5 167.9 "
        "171.3 173.8 177.3 179.9 183.5 186.2 189.9 192.8 196.6 199.5 203.5 206.5 210.7 218.1 "
        "225.7 229.1 233.6 241.8 250.3 254.1";
    const std::string dcs =
        "023 025 026 031 032 036 043 047 051 053 054 065 071 072 073 074 114 115 116 122 125 "
        "131 132 134 143 145 152 155 156 162 165 172 174 205 212 223 225 226 243 244 245 246 "
        "251 252 255 261 263 265 266 271 274 306 311 315 325 331 332 343 346 351 356 364 365 "
        "371 411 412 413 423 431 432 445 446 452 454 455 462 464 465 466 503 506 516 523 526 "
        "532 546 565 606 612 624 627 631 632 645 654 662 664 703 712 723 731 732 734 743 754";
    const auto &texts = ToneTexts();
    std::string gotCtcss, gotDcsN, gotDcsI;
    for (int i = 1; i <= kCtcssCount; ++i)
        gotCtcss += (i > 1 ? " " : "") + texts[i];
    for (int i = 0; i < kDcsCount; ++i) {
        const std::string n = texts[1 + kCtcssCount + i];
        const std::string inv = texts[1 + kCtcssCount + kDcsCount + i];
        ASSERT_TRUE(n.size() == 5 && n[0] == 'D' && n[4] == 'N') << n;
        ASSERT_TRUE(inv.size() == 5 && inv[0] == 'D' && inv[4] == 'I') << inv;
        gotDcsN += (i ? " " : "") + n.substr(1, 3);
        gotDcsI += (i ? " " : "") + inv.substr(1, 3);
    }
    EXPECT_EQ(gotCtcss, ctcss);
    EXPECT_EQ(gotDcsN, dcs);
    EXPECT_EQ(gotDcsI, dcs);
}

TEST(ToneList, EveryTextParsesBackToItsStandardTone)
{
    const auto &texts = ToneTexts();
    for (int i = 1; i < kToneTextCount; ++i) {
        SCOPED_TRACE(texts[i]);
        const Tone tone = ToneForListIndex(i);
        EXPECT_EQ(ParseToneText(texts[i]), std::optional<Tone>(tone));
        EXPECT_TRUE(IsStandardTone(tone));
    }
}

TEST(ToneList, NonStandardTones)
{
    const struct {
        Tone tone;
        bool standard;
    } cases[] = {
        {{0, kToneOff}, true},
        {{0xFFFF, kToneOff}, true},
        {{1234, kToneCtcss}, false},
        {{671, kToneCtcss}, false},
        {{0x2814, kToneDcsN}, false}, // 024 is not a standard code
        {{0x2814, kToneDcsI}, false},
        {{0x0013, kToneDcsN}, false}, // lacks the 0x2800 base
        {{670, 5}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsStandardTone(c.tone), c.standard) << ToneText(c.tone) << "/" << int(c.tone.type);
}

TEST(PackOctal, Digits)
{
    EXPECT_EQ(PackOctal('0', '2', '3'), 19);
    EXPECT_EQ(PackOctal('7', '5', '4'), 492);
    EXPECT_EQ(PackOctal('7', '7', '7'), 511);
    EXPECT_EQ(PackOctal('0', '0', '0'), 0);
}

} // namespace
} // namespace vkt
