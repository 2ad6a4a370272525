// The rows of the five-tone page in the table of fields (kFiveToneFields,
// five_tone.h, where the table's own checks can see them).
#include "fields.h"
#include "five_tone.h"

namespace vkt {

// The hidden call rows share the two-tone page's list of every encode entry.
static_assert(kFiveToneEncodeEntries == kTwoToneEncodeEntries);
static_assert(sizeof(RadioData::call1_5T) == 1 && sizeof(RadioData::call2_5T) == 1);
static_assert(offsetof(RadioData, pttCall) + 1 == offsetof(RadioData, tonePeriods));

std::span<const Field> FiveToneFields() { return kFiveToneFields; }

} // namespace vkt
