// Speed of the data core: image conversions of a full project and a
// project file load + save. Prints time per operation.
#include "codeplug.h"
#include "program_state.h"
#include "project_file.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double MicrosPerOp(int iterations, F &&op)
{
    op(); // warm up
    const auto start = Clock::now();
    for (int i = 0; i < iterations; ++i)
        op();
    const std::chrono::duration<double, std::micro> took = Clock::now() - start;
    return took.count() / iterations;
}

} // namespace

int main()
{
    using namespace vkt;
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        MakeNewChannel(state->data, ch, 144000000 + 12500u * ch, state->limits);
        state->data.channels[ch].decodeType = kToneCtcss;
        state->data.channels[ch].decodeCode = 885;
        std::memcpy(state->data.channels[ch].name, "CH", 2);
    }
    std::mt19937 gen(1);
    RandomByteSource random = [&] { return static_cast<std::uint8_t>(gen()); };
    const ClockTime clock{2026, 12, 9, 12, 0};

    auto readBack = std::make_unique<ProgramState>();
    SetDefaultAll(*readBack);
    const double convert = MicrosPerOp(2000, [&] {
        GetDataForWrite(state->data, state->limits, state->image, clock, random);
        SetDataToSoftware(state->image, readBack->data, readBack->limits, readBack->identity);
    });

    const auto dir = std::filesystem::temp_directory_path() / ("vkt-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "bench.Dvf").string();
    SaveProjectFile(file, state->data);
    const double load = MicrosPerOp(500, [&] { LoadProjectFile(file, readBack->data); });
    const double save = MicrosPerOp(200, [&] { SaveProjectFile(file, state->data); });
    std::filesystem::remove_all(dir);

    std::printf("data core, full 240-channel project:\n");
    std::printf("  GetDataForWrite + SetDataToSoftware  %8.1f us/op\n", convert);
    std::printf("  project load (19815 bytes)           %8.1f us/op\n", load);
    std::printf("  project save (atomic, with fsync)    %8.1f us/op\n", save);
    return 0;
}
