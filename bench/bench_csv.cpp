// Channel lists as CSV: export and import of a full list of 240 channels
// (names in GBK, every kind of tone, offsets and split channels), as the
// File menu and vkt410-cli run them.
#include "channel_csv.h"
#include "channel_csv_texts.h"
#include "codecs.h"
#include "program_state.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Median of `runs` timings of `op`, in milliseconds.
template <typename F>
double MedianMs(int runs, F &&op)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        op();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    using namespace vkt;
    QCoreApplication app(argc, argv);
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    const char *const names[] = {"RPT", "中继台", "GB3X", "天线A", "SIMPLX", "山顶"};
    const Tone tones[] = {{0, kToneOff}, {885, kToneCtcss}, {0x2800 + 023, kToneDcsN}, {0x2800 + 0754, kToneDcsI}};
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        const std::uint32_t rx = (ch % 2 ? 144000000u : 430000000u) + unsigned(ch) * 12500u;
        MakeNewChannel(state->data, ch, rx, state->limits);
        ChannelEntry &e = state->data.channels[ch];
        e.txFreq = ch % 3 == 0 ? rx + 600000u : ch % 3 == 1 ? rx : 446006250u;
        const Tone tx = tones[ch % 4], rxTone = tones[(ch / 4) % 4];
        e.encodeCode = tx.code;
        e.encodeType = tx.type;
        e.decodeCode = rxTone.code;
        e.decodeType = rxTone.type;
        const NameBytes n = GbkNames().encode(names[ch % 6]);
        std::copy(n.bytes.begin(), n.bytes.end(), e.name);
    }

    std::string csv;
    const double exportMs = MedianMs(51, [&] { csv = ExportChannelsCsv(state->data, GbkNames()); });
    auto target = std::make_unique<ProgramState>();
    CsvImportResult result;
    const double importMs = MedianMs(51, [&] {
        *target = ProgramState{};
        SetDefaultAll(*target);
        result = ImportChannelsCsv(target->data, target->limits, csv, CsvImportMode::Replace, GbkNames());
    });
    std::printf("channel list as CSV, 240 channels (%zu bytes), median of 51 runs:\n", csv.size());
    std::printf("  export                               %8.3f ms (goal: under 5 ms)\n", exportMs);
    std::printf("  import (replace, %3d rows taken)     %8.3f ms (goal: under 5 ms)\n", result.imported, importMs);
    return result.imported == kChannelCount && result.notes.empty() ? 0 : 1;
}
