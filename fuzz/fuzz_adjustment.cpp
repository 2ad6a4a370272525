// An adjustment file of any content, loaded over the defaults as Open does,
// sent to the radio's byte order and taken back: the values that travel
// must come back unchanged.
#include "adjustment.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    using namespace vkt;
    AdjustmentData adj;
    SetAdjustmentDefaults(adj);
    if (size)
        std::memcpy(&adj, bytes, std::min(size, kAdjustmentSize));

    static auto *const image = new CodeplugImage; // only its first 409 bytes are used
    GetAdjustmentData(adj, *image);
    AdjustmentData back;
    SetAdjustmentDefaults(back);
    SetAdjustmentData(*image, back);
    if (std::memcmp(&adj, &back, kAdjustmentRadioSize) != 0) {
        std::fprintf(stderr, "adjustment values changed on their way to the radio and back\n");
        std::abort();
    }
    return 0;
}
