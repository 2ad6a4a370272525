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
};

// SetDefaultData, then SetAdjustmentDefaults, then `port` (the fixed port
// number of the port selection, which the radio link keeps) back to 1.
// The band limits and the image are left as they are.
void SetDefaultAll(ProgramState &state, int &port);
// The same for a program that keeps no port selection of its own (the
// file verbs of the command line, tools): the data and adjustment defaults.
void SetDefaultAll(ProgramState &state);

} // namespace vkt
