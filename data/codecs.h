// Value codecs: frequencies and sub-audio tones between their stored form,
// the radio's image form and the texts users type and read, plus the
// limiting rules every frequency entry goes through. All functions are pure.
#pragma once

#include "radio_data.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vkt {

struct Tone {
    std::uint16_t code = 0;
    std::uint8_t type = kToneOff;
    bool operator==(const Tone &) const = default;
};

// ---- frequency texts -------------------------------------------------

// Parses a megahertz text ("145.125", "145", "0.6") into hertz. Returns
// nothing for a text that is not a number: an empty part before or after
// the point, any character other than digits and one point, or a value that
// does not fit 32 bits. Fraction digits past the sixth (below one hertz)
// are dropped.
std::optional<std::uint32_t> ParseMHzText(std::string_view text);

// Channel form: "0", or nine characters "MMM.kkkkk" (145.12500, 076.00000).
std::string ChannelFreqText(std::uint32_t hz);
// Offset form: "0", "M.kkkkk" below 10 MHz, "MM.kkkkk" from 10 MHz.
std::string OffsetFreqText(std::uint32_t hz);
// FM form: "", or whole MHz, a point and two digits of hundredths (87.50).
std::string FmFreqText(std::uint32_t hz);

// ---- frequency limiting ----------------------------------------------

// Raster: a multiple of 2500 Hz stays, anything else is truncated to a
// multiple of 6250 Hz.
std::uint32_t SnapToRaster(std::uint32_t hz);
// Clamps a receive (transmit == false) or transmit frequency to the band
// limits, with 200 MHz as the boundary between VHF and UHF, then applies
// the raster.
std::uint32_t LimitToBand(std::uint32_t hz, bool transmit, const BandLimits &limits);
// Repeater offset: above both maximum offsets it becomes the VHF maximum
// offset; then the raster.
std::uint32_t LimitOffset(std::uint32_t hz, const BandLimits &limits);
// Batch-set step: 10 MHz or more becomes 0; otherwise the raster.
std::uint32_t LimitStep(std::uint32_t hz);
// A value typed into the band-limit window.
std::uint32_t LimitBandLimitEntry(std::uint32_t hz);
// An FM broadcast frequency, within [fmMin, fmMax] and truncated to 50 kHz.
std::uint32_t LimitFm(std::uint32_t hz, std::uint32_t fmMin, std::uint32_t fmMax);

// ---- image forms -------------------------------------------------------

// BCD frequency: hertz / 10 as eight decimal digits, two per byte, lowest
// pair first.
void EncodeBcdFreq(std::uint32_t hz, std::uint8_t out[4]);
// Inverse of EncodeBcdFreq; nibbles above 9 are not rejected, they simply
// enter the sum.
std::uint32_t DecodeBcdFreq(const std::uint8_t in[4]);

// Tone image: code low byte first; DCS marks the high byte with 0x28 and
// bit 7 for the inverted polarity.
void EncodeTone(Tone tone, std::uint8_t out[2]);
// Decodes the two image bytes. Clears bit 7 of in[1] for a DCS tone, as the
// radio's own image conversion does.
Tone DecodeTone(std::uint8_t in[2]);

// ---- tone texts --------------------------------------------------------

// "Off", "67.0", "D023N", "D023I".
std::string ToneText(Tone tone);
// Parses a tone typed by the user; nothing when the text is rejected.
// "Off" and the empty text give (0xFFFF, off).
std::optional<Tone> ParseToneText(std::string_view text);
// Off is standard; CTCSS and DCS codes are standard when they are in the
// lists below.
bool IsStandardTone(Tone tone);

inline constexpr int kCtcssCount = 50;
inline constexpr int kDcsCount = 105;
inline constexpr int kToneTextCount = 1 + kCtcssCount + 2 * kDcsCount; // 261

// The 50 standard CTCSS tones in tenths of a hertz, in list order.
extern const std::array<std::uint16_t, kCtcssCount> kCtcssCodes;
// The 105 standard DCS codes as octal values (023 octal is 19), in list order.
extern const std::array<std::uint16_t, kDcsCount> kDcsOctalValues;

// The tone list of the editors: "Off", the 50 CTCSS texts, the 105 DCS
// codes as "DxxxN", then the same 105 as "DxxxI".
const std::array<std::string, kToneTextCount> &ToneTexts();
// The tone for an entry of that list; entry 0 ("Off") is (0xFFFF, off) as
// when the user chooses it.
Tone ToneForListIndex(int index);

// Three octal digit characters to their value (d1*64 + d2*8 + d3).
std::uint16_t PackOctal(char d1, char d2, char d3);

} // namespace vkt
