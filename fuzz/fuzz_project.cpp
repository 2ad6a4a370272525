// A project file of any content: loaded over a new configuration as Open
// does, turned into a radio image and back into a second configuration,
// and summarised by vkt410-cli info.
#include "cli.h"
#include "codeplug.h"
#include "program_state.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

// One file name per fuzzing process; the file lives only while an input
// is summarised (libFuzzer may end the process without running atexit).
const std::string &ProjectPath()
{
    static const std::string path = [] {
        const char *dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/vkt-fuzz-project-" + std::to_string(::getpid()) +
               ".Dvf";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    using namespace vkt;
    // Kept from one input to the next (reset each time): 2 x 86 KiB of
    // fresh memory per input would cost more than the work itself.
    static auto *const state = new ProgramState;
    static auto *const second = new ProgramState;
    *state = ProgramState{};
    SetDefaultAll(*state);
    if (size)
        std::memcpy(&state->data, bytes, std::min(size, kRadioDataSize));

    std::uint8_t next = 0;
    GetDataForWrite(state->data, state->limits, state->image, ClockTime{2026, 12, 9, 12, 0},
                    [&] { return next++; });
    *second = ProgramState{};
    SetDefaultAll(*second);
    SetDataToSoftware(state->image, second->data, second->limits, second->identity);

    if (FILE *f = std::fopen(ProjectPath().c_str(), "wb")) {
        const bool written = std::fwrite(bytes, 1, size, f) == size;
        if (std::fclose(f) == 0 && written) {
            std::ostringstream out, err;
            cli::Run({"info", ProjectPath()}, out, err);
        }
        std::remove(ProjectPath().c_str());
    }
    return 0;
}
