#include "codecs.h"

#include <algorithm>
#include <cstdio>

namespace vkt {

namespace {

constexpr std::uint32_t kBandBoundary = 200000000; // VHF ends, UHF begins
constexpr std::uint16_t kDcsBase = 0x2800;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

std::string Format(const char *fmt, unsigned a, unsigned b)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

// Reads a non-empty run of decimal digits. Gives nothing for an empty text,
// any other character or a value above `max` (checked digit by digit, so a
// long text cannot overflow).
std::optional<std::uint64_t> ParseDigits(std::string_view s, std::uint64_t max)
{
    if (s.empty())
        return std::nullopt;
    std::uint64_t v = 0;
    for (char c : s) {
        if (!IsDigit(c))
            return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
        if (v > max)
            return std::nullopt;
    }
    return v;
}

// The tenths-of-a-hertz value of a CTCSS text whose shape has already been
// checked: leading blanks, integer digits, an optional point and fraction
// digits. Every fraction digit is appended, so "67.05" reads as 6705 and
// fails the range check later; a text ending at or right after the point
// counts one implied zero ("67" and "67." are 670).
std::optional<unsigned> CtcssValue(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    unsigned v = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        v = v * 10 + static_cast<unsigned>(s[i] - '0');
    if (i == s.size())
        return v * 10;
    if (s[i] != '.')
        return std::nullopt;
    ++i;
    if (i == s.size())
        return v * 10;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i]))
            return std::nullopt;
        v = v * 10 + static_cast<unsigned>(s[i] - '0');
    }
    return v;
}

// Shape of a typed CTCSS text, two to five characters: the first character
// anything but 3, 4 or 5 (no tone of the list starts with them, so "35.0"
// is refused although 35 Hz would pass the range check), the second a
// digit, then digits with at most one point in third or fourth place.
bool CtcssShapeOk(std::string_view s)
{
    const std::size_t n = s.size();
    if (n < 2 || n > 5)
        return false;
    if (s[0] == '3' || s[0] == '4' || s[0] == '5')
        return false;
    if (!IsDigit(s[1]))
        return false;
    auto digitOrPoint = [](char c) { return IsDigit(c) || c == '.'; };
    if (n == 3)
        return digitOrPoint(s[2]);
    if (n >= 4) {
        if (!digitOrPoint(s[2]) || !digitOrPoint(s[3]))
            return false;
        if ((s[2] == '.') == (s[3] == '.'))
            return false; // exactly one of them must be the point
        if (n == 5 && !IsDigit(s[4]))
            return false;
    }
    return true;
}

} // namespace

// ---- frequency texts -------------------------------------------------

std::optional<std::uint32_t> ParseMHzText(std::string_view text)
{
    constexpr std::uint64_t kMax = 0xFFFFFFFFu;
    constexpr std::uint64_t kMaxMHz = kMax / 1000000;

    const std::size_t point = text.find('.');
    const auto whole = ParseDigits(text.substr(0, point), kMaxMHz);
    if (!whole)
        return std::nullopt;
    std::uint64_t hz = *whole * 1000000;
    if (point != std::string_view::npos) {
        std::string_view frac = text.substr(point + 1);
        // All of the fraction must be digits, but only the first six (down
        // to one hertz) carry a value; the rest is below a hertz.
        if (frac.empty() || !std::all_of(frac.begin(), frac.end(), IsDigit))
            return std::nullopt;
        const std::size_t used = std::min<std::size_t>(frac.size(), 6);
        std::uint64_t f = *ParseDigits(frac.substr(0, used), 999999);
        for (std::size_t i = used; i < 6; ++i)
            f *= 10;
        hz += f;
    }
    if (hz > kMax)
        return std::nullopt;
    return static_cast<std::uint32_t>(hz);
}

std::string ChannelFreqText(std::uint32_t hz)
{
    if (hz == 0)
        return "0";
    // Only three digits of megahertz fit the field; a value of 1 GHz or more
    // shows its lower three.
    return Format("%03u.%05u", (hz / 1000000) % 1000, (hz % 1000000) / 10);
}

std::string OffsetFreqText(std::uint32_t hz)
{
    if (hz == 0)
        return "0";
    const unsigned mhz = hz / 1000000;
    const unsigned rest = (hz % 1000000) / 10;
    if (mhz < 10)
        return Format("%u.%05u", mhz, rest);
    return Format("%02u.%05u", mhz % 100, rest);
}

std::string FmFreqText(std::uint32_t hz)
{
    if (hz == 0)
        return "";
    return Format("%u.%02u", hz / 1000000, (hz % 1000000) / 10000);
}

// ---- frequency limiting ----------------------------------------------

std::uint32_t SnapToRaster(std::uint32_t hz)
{
    if (hz % 2500 == 0)
        return hz;
    return hz / 6250 * 6250;
}

std::uint32_t LimitToBand(std::uint32_t hz, bool transmit, const BandLimits &limits)
{
    const std::uint32_t vMin = transmit ? limits.vhfTxMin : limits.vhfRxMin;
    const std::uint32_t vMax = transmit ? limits.vhfTxMax : limits.vhfRxMax;
    const std::uint32_t uMin = transmit ? limits.uhfTxMin : limits.uhfRxMin;
    const std::uint32_t uMax = transmit ? limits.uhfTxMax : limits.uhfRxMax;

    if (hz < vMin)
        hz = vMin;
    else if (hz > vMax && hz <= kBandBoundary)
        hz = vMax;
    else if (hz < uMin && hz > kBandBoundary)
        hz = uMin;
    else if (hz > uMax)
        hz = uMax;
    return SnapToRaster(hz);
}

std::uint32_t LimitOffset(std::uint32_t hz, const BandLimits &limits)
{
    if (hz > limits.uhfMaxOffset && hz > limits.vhfMaxOffset)
        hz = limits.vhfMaxOffset;
    return SnapToRaster(hz);
}

std::uint32_t LimitStep(std::uint32_t hz)
{
    if (hz >= 10000000)
        return 0;
    return SnapToRaster(hz);
}

std::uint32_t LimitBandLimitEntry(std::uint32_t hz)
{
    if (hz < 136000000)
        hz = 136000000;
    else if (hz > 174000000 && hz < 200000000)
        hz = 174000000;
    else if (hz > 260000000 && hz < 320000000)
        hz = 260000000;
    else if (hz > 520000000)
        hz = 520000000;
    return SnapToRaster(hz);
}

std::uint32_t LimitFm(std::uint32_t hz, std::uint32_t fmMin, std::uint32_t fmMax)
{
    if (hz < fmMin)
        hz = fmMin;
    else if (hz > fmMax)
        hz = fmMax;
    return hz / 50000 * 50000;
}

// ---- image forms -------------------------------------------------------

void EncodeBcdFreq(std::uint32_t hz, std::uint8_t out[4])
{
    // Eight digits of 10 Hz units. From 1 GHz up hz / 10 has a ninth digit,
    // which has no place in the field and is dropped.
    std::uint32_t v = hz / 10;
    for (int i = 0; i < 4; ++i) {
        const unsigned pair = v % 100;
        out[i] = static_cast<std::uint8_t>(((pair / 10) << 4) | (pair % 10));
        v /= 100;
    }
}

std::uint32_t DecodeBcdFreq(const std::uint8_t in[4])
{
    // Nibbles above 9 are summed as they are; 64 bits keep the sum exact for
    // any byte values before it is cut to 32 bits.
    auto pairValue = [](std::uint8_t b) -> std::uint64_t { return (b >> 4) * 10u + (b & 0x0Fu); };
    std::uint64_t v = 0;
    for (int i = 3; i >= 1; --i)
        v = (v + pairValue(in[i])) * 100;
    v = (v + pairValue(in[0])) * 10;
    return static_cast<std::uint32_t>(v);
}

void EncodeTone(Tone tone, std::uint8_t out[2])
{
    out[0] = static_cast<std::uint8_t>(tone.code & 0xFF);
    std::uint8_t hi = static_cast<std::uint8_t>(tone.code >> 8);
    if (tone.type == kToneDcsN || tone.type == kToneDcsI) {
        hi |= 0x28;
        if (tone.type == kToneDcsI)
            hi |= 0x80;
        else
            hi &= 0x7F;
    }
    out[1] = hi;
}

Tone DecodeTone(std::uint8_t in[2])
{
    if (in[1] == 0xFF || in[1] == 0)
        return Tone{0, kToneOff};
    Tone t;
    if ((in[1] & 0x28) == 0x28) {
        t.type = (in[1] & 0x80) ? kToneDcsI : kToneDcsN;
        in[1] = static_cast<std::uint8_t>(in[1] & 0x7F);
    } else {
        t.type = kToneCtcss;
    }
    t.code = static_cast<std::uint16_t>(in[1] << 8 | in[0]);
    return t;
}

// ---- tone texts --------------------------------------------------------

std::string ToneText(Tone tone)
{
    if (tone.code == 0 || tone.code == 0xFFFF)
        return "Off";
    switch (tone.type) {
    case kToneCtcss:
        return Format("%u.%u", tone.code / 10u, tone.code % 10u);
    case kToneDcsN:
    case kToneDcsI: {
        const unsigned c = tone.code & 0x7FFF;
        char buf[8];
        std::snprintf(buf, sizeof buf, "D%c%c%c%c", '0' + ((c >> 6) & 7), '0' + ((c >> 3) & 7),
                      '0' + (c & 7), tone.type == kToneDcsI ? 'I' : 'N');
        return buf;
    }
    default:
        return "Off";
    }
}

std::optional<Tone> ParseToneText(std::string_view text)
{
    if (text.empty() || text == "Off")
        return Tone{0xFFFF, kToneOff};

    if (text.size() >= 5 && (text[4] == 'N' || text[4] == 'I')) {
        if (text[0] != 'D' || !IsOctalDigit(text[1]) || !IsOctalDigit(text[2]) ||
            !IsOctalDigit(text[3]))
            return std::nullopt;
        const std::uint8_t type = text[4] == 'I' ? kToneDcsI : kToneDcsN;
        return Tone{static_cast<std::uint16_t>(kDcsBase + PackOctal(text[1], text[2], text[3])),
                    type};
    }

    if (!CtcssShapeOk(text))
        return std::nullopt;
    const auto v = CtcssValue(text);
    if (!v || *v < 300 || *v > 2600)
        return std::nullopt;
    return Tone{static_cast<std::uint16_t>(*v), kToneCtcss};
}

const std::array<std::uint16_t, kCtcssCount> kCtcssCodes = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
    1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541,
};

const std::array<std::uint16_t, kDcsCount> kDcsOctalValues = {
    0023, 0025, 0026, 0031, 0032, 0036, 0043, 0047, 0051, 0053, 0054, 0065, 0071, 0072, 0073,
    0074, 0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145, 0152, 0155, 0156, 0162,
    0165, 0172, 0174, 0205, 0212, 0223, 0225, 0226, 0243, 0244, 0245, 0246, 0251, 0252, 0255,
    0261, 0263, 0265, 0266, 0271, 0274, 0306, 0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351,
    0356, 0364, 0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455,
    0462, 0464, 0465, 0466, 0503, 0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624,
    0627, 0631, 0632, 0645, 0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754,
};

bool IsStandardTone(Tone tone)
{
    switch (tone.type) {
    case kToneOff:
        return true;
    case kToneCtcss:
        return std::find(kCtcssCodes.begin(), kCtcssCodes.end(), tone.code) != kCtcssCodes.end();
    case kToneDcsN:
    case kToneDcsI:
        if (tone.code < kDcsBase)
            return false;
        return std::find(kDcsOctalValues.begin(), kDcsOctalValues.end(),
                         static_cast<std::uint16_t>(tone.code - kDcsBase)) != kDcsOctalValues.end();
    default:
        return false;
    }
}

Tone ToneForListIndex(int index)
{
    constexpr int kFirstDcsN = 1 + kCtcssCount;
    constexpr int kFirstDcsI = kFirstDcsN + kDcsCount;
    if (index >= 1 && index < kFirstDcsN)
        return Tone{kCtcssCodes[index - 1], kToneCtcss};
    if (index >= kFirstDcsN && index < kFirstDcsI)
        return Tone{static_cast<std::uint16_t>(kDcsBase + kDcsOctalValues[index - kFirstDcsN]),
                    kToneDcsN};
    if (index >= kFirstDcsI && index < kToneTextCount)
        return Tone{static_cast<std::uint16_t>(kDcsBase + kDcsOctalValues[index - kFirstDcsI]),
                    kToneDcsI};
    return Tone{0xFFFF, kToneOff}; // entry 0, and anything outside the list
}

const std::array<std::string, kToneTextCount> &ToneTexts()
{
    static const std::array<std::string, kToneTextCount> texts = [] {
        std::array<std::string, kToneTextCount> t;
        for (int i = 0; i < kToneTextCount; ++i)
            t[i] = ToneText(ToneForListIndex(i));
        return t;
    }();
    return texts;
}

std::uint16_t PackOctal(char d1, char d2, char d3)
{
    return static_cast<std::uint16_t>((d1 - '0') * 64 + (d2 - '0') * 8 + (d3 - '0'));
}

} // namespace vkt
