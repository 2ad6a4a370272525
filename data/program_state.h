// The process-wide objects of one running program, held together so that
// the window, the command-line tool and the tests all work on the same
// shapes.
#pragma once

#include "adjustment.h"
#include "codeplug.h"
#include "radio_data.h"

namespace vkt {

inline constexpr int kDefaultPort = 1;

struct ProgramState {
    RadioData data{};
    AdjustmentData adjustment{};
    BandLimits limits{};
    IdentityValues identity{};
    CodeplugImage image{};
    int port = kDefaultPort;
};

// SetDefaultData, then SetAdjustmentDefaults, then the fixed port number 1.
// The band limits and the image are left as they are.
void SetDefaultAll(ProgramState &state);

} // namespace vkt
