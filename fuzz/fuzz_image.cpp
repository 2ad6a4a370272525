// A radio memory image of any content, as a read brings it in: taken into
// a new configuration, then turned back into an image for a write.
#include "codeplug.h"
#include "program_state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    using namespace vkt;
    static auto *const state = new ProgramState; // reset for every input
    *state = ProgramState{};
    SetDefaultAll(*state);
    if (size)
        std::memcpy(state->image.bytes.data(), bytes, std::min(size, kImageSize));

    SetDataToSoftware(state->image, state->data, state->limits, state->identity);
    std::uint8_t next = 0;
    GetDataForWrite(state->data, state->limits, state->image, ClockTime{2026, 12, 9, 12, 0},
                    [&] { return next++; });
    return 0;
}
