// The radio memory image and the two conversions between it and RadioData.
//
// CodeplugImage holds the radio's memory indexed by radio address. A read
// from the radio fills it block by block and SetDataToSoftware turns it into
// RadioData, BandLimits and the identity values; GetDataForWrite builds it
// from them just before a write.
#pragma once

#include "radio_data.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace vkt {

// Addresses of the image regions that the exchanges move.
namespace addr {
inline constexpr std::uint16_t kChannelSlots = 0x0000;   // 22 bytes per channel
inline constexpr std::uint16_t kVfoA = 0x14E0;
inline constexpr std::uint16_t kVfoB = 0x1500;
inline constexpr std::uint16_t kLastProgrammed = 0x1520;
inline constexpr std::uint16_t kAddressBookBits = 0x1649;
inline constexpr std::uint16_t kFirstAddressBookEntry = 0x1973;
inline constexpr std::uint16_t kBandLimits = 0x1979;
inline constexpr std::uint16_t kChannelBits = 0x4000;
inline constexpr std::uint16_t kRadioPasswordBlock = 0x4020;
inline constexpr std::uint16_t kFirmwareVersion = 0x4040;
inline constexpr std::uint16_t kOffsetTable = 0x4100;
inline constexpr std::uint16_t kAdjustment = 0x4600;
} // namespace addr

inline constexpr std::size_t kChannelSlotSize = 22;
// The part of the image that holds configuration (0x0000-0x451F).
inline constexpr std::size_t kConfigImageSize = 0x4520;
inline constexpr std::size_t kImageSize = 0x10000;

struct CodeplugImage {
    // The whole 16-bit address space, so that any block address is valid.
    std::array<std::uint8_t, kImageSize> bytes{};

    std::uint8_t *at(std::size_t address) { return bytes.data() + address; }
    const std::uint8_t *at(std::size_t address) const { return bytes.data() + address; }
};

// Local date and time stamped into the image by a write.
struct ClockTime {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
};

// Source of the random bytes of a password block.
using RandomByteSource = std::function<std::uint8_t()>;

// Builds the 16-byte password block for a text of up to 12 single-byte
// characters (longer texts are cut at 12): its length, a key byte, a key
// check byte, the transformed characters, random filler and a checksum.
std::array<std::uint8_t, 16> ScramblePassword(std::string_view text, const RandomByteSource &random);

// Recovers the text from a password block; false when the checksum or the
// length byte is wrong. The radio side of the handshake uses it.
bool DescramblePassword(const std::uint8_t block[16], std::string &text);

// Fills the image from the record: clears 0x0000-0x1FFF, then writes every
// mapped field. Stores the address-book entry numbers into `data` as it
// goes. `clock` is stamped at 0x1520; `random` feeds the password block of
// RadioPassword at 0x4020.
void GetDataForWrite(RadioData &data, const BandLimits &limits, CodeplugImage &image,
                     const ClockTime &clock, const RandomByteSource &random);

// Fills the record, the band limits (the eight limits, not the derived
// offsets) and the identity values from the image. Channels whose in-use
// bit is clear keep their old entries. Clears bit 7 of the high byte of
// every DCS tone it decodes, in the image.
void SetDataToSoftware(CodeplugImage &image, RadioData &data, BandLimits &limits,
                       IdentityValues &identity);

// True when the channel (0..240) is marked in use in the channel bits at
// 0x4000 of the image, the copy a read fetches first.
bool CheckAnChannelUsedOrNo_tmp(const CodeplugImage &image, int channel);

} // namespace vkt
