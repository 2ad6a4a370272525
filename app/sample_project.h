// A small sample configuration for the built-in simulated radio.
#pragma once

#include "program_state.h"
#include "simulated_radio.h"

namespace vkt {

// Fills `state` with a few channels of every kind.
void MakeSampleProject(ProgramState &state);
// Puts the sample configuration into the radio's memory, as a write would.
void LoadSampleIntoRadio(SimulatedRadio &radio);

} // namespace vkt
