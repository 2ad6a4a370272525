// The rows of the two-tone page in the table of fields (kTwoToneFields,
// two_tone.h, where the table's own checks can see them).
#include "fields.h"
#include "two_tone.h"

namespace vkt {

static_assert(sizeof(RadioData::leadIn2T) == 2 && sizeof(RadioData::leadOut2T) == 2);
static_assert(sizeof(RadioData::call1_2T) == 1 && sizeof(RadioData::call2_2T) == 1);
static_assert(kLeadDelayMin <= kLeadDelayMax && kLeadDelayMax < 0x10000);
static_assert(kCallValues.size() == 1 + kTwoToneEncodeEntries && kCallValues.back() == kTwoToneEncodeEntries - 1);

std::span<const Field> TwoToneFields() { return kTwoToneFields; }

} // namespace vkt
