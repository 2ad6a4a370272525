// The rules of the band-limit window: how a typed limit is corrected while
// it is typed and converted when its edit is left, and what OK does with
// the eight limits. Shared by the window and the command line.
#pragma once

#include "radio_data.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vkt {

// The eight limits in the window's order.
enum class BandLimit : std::uint8_t { UTxMin, UTxMax, URxMin, URxMax, VTxMin, VTxMax, VRxMin, VRxMax };
inline constexpr std::size_t kBandLimitCount = 8;
using BandLimitValues = std::array<std::uint32_t, kBandLimitCount>;

// The name of a limit as the command line and the edits know it: "U_Tx_min".
std::string_view BandLimitName(BandLimit which);
// The edit that shows it: "eBand_U_Tx_MIN".
std::string_view BandLimitEditName(BandLimit which);
std::optional<BandLimit> BandLimitByName(std::string_view name);

BandLimitValues BandLimitsToValues(const BandLimits &limits);

// Longest text a limit edit keeps.
inline constexpr std::size_t kBandLimitTextMax = 9;
// Whether a typed character may enter a limit edit (digits and the point;
// control characters are let through by the caller).
bool BandLimitKeyAllowed(char c);
// The correction while typing: at most 9 characters (the last goes), a lone
// point is emptied, every point after the first is removed.
std::string CorrectBandLimitTyping(std::string_view text);
// The value of a limit text in hertz: empty is 0; a point at either end
// counts as "0." / ".0"; a value too large for 32 bits is the largest one.
// Nothing for a text that is not a number of megahertz.
std::optional<std::uint32_t> ParseBandLimitText(std::string_view text);
// Leaving an edit: the text converted and normalised into the permitted
// ranges and raster (an empty text counts as 0, so it becomes the lowest
// limit). Nothing for a text that is not a number: the limit keeps the
// value it had, as a frequency field keeps its value when left with a text
// it cannot read.
[[nodiscard]] std::optional<std::uint32_t> CommitBandLimitText(std::string_view text);

enum class BandLimitsVerdict : std::uint8_t {
    Inconsistent, // a minimum not strictly below its maximum: dropped
    Unchanged,    // the same as the limits in use: nothing to do
    Changed,      // ask, then take them and start from the defaults
};
BandLimitsVerdict JudgeBandLimits(const BandLimitValues &edited, const BandLimits &current);
// Takes the eight values and derives the two maximum offsets.
void ApplyBandLimits(BandLimits &limits, const BandLimitValues &values);

} // namespace vkt
