// What the FM page stores: the 20 broadcast memories, and how every FM
// frequency is kept inside the FM bounds when a bound changes, as plain
// functions over the record.
#pragma once

#include "radio_data.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vkt {

// The longest text the FM frequency edits keep ("108.00" and one more).
inline constexpr std::size_t kFmTextMaxLength = 6;

// Memory 1..20 as the grid shows it: the FM text form, empty for an empty
// memory or a number outside 1..20.
std::string FmMemoryText(const RadioData &d, int memory);

enum class FmStore : std::uint8_t {
    Stored,        // stored (fitted into the bounds and the 50 kHz raster; 0 empties the memory)
    NotAFrequency, // a text that cannot be read ("88."): nothing changes
    NoMemory,      // not a memory number: nothing changes
};
// Leaving the memory editor with `text`: empty gives 0 (an empty memory);
// any other value is fitted into the bounds and onto the raster.
FmStore StoreFmMemoryText(RadioData &d, int memory, std::string_view text);

// Fits the current frequency and every memory that is not empty into the
// FM bounds and onto the 50 kHz raster.
void FitFmFrequencies(RadioData &d);
// What storing a bound does besides: when the bounds now cross, the other
// bound follows the one just chosen; then every FM frequency is fitted.
void FitAfterFmLowerBound(RadioData &d);
void FitAfterFmUpperBound(RadioData &d);

} // namespace vkt
