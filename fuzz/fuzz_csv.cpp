// A channel list of any content: imported into a new configuration, in both
// modes. Whatever it imported must come back unchanged through an export
// and a second import, with no row skipped or changed on the way.
#include "channel_csv.h"
#include "channel_csv_texts.h"
#include "program_state.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    using namespace vkt;
    static auto *const state = new ProgramState;
    static auto *const again = new ProgramState;
    const std::string_view text(reinterpret_cast<const char *>(bytes), size);
    for (const CsvImportMode mode : {CsvImportMode::Merge, CsvImportMode::Replace}) {
        *state = ProgramState{};
        SetDefaultAll(*state);
        const CsvImportResult r = ImportChannelsCsv(state->data, state->limits, text, mode, GbkNames());
        for (const CsvNote &n : r.notes)
            (void)CsvNoteText(n);
        if (r.problem != CsvFileProblem::None)
            continue;

        const std::string csv = ExportChannelsCsv(state->data, GbkNames());
        *again = ProgramState{};
        SetDefaultAll(*again);
        const CsvImportResult back = ImportChannelsCsv(again->data, again->limits, csv, CsvImportMode::Replace,
                                                       GbkNames());
        if (back.problem != CsvFileProblem::None || !back.notes.empty())
            std::abort();
        for (int ch = 1; ch <= kChannelCount; ++ch) {
            if (IsChannelInUse(state->data, ch) != IsChannelInUse(again->data, ch))
                std::abort();
            if (IsChannelInUse(state->data, ch) &&
                std::memcmp(&state->data.channels[ch], &again->data.channels[ch], sizeof(ChannelEntry)) != 0)
                std::abort();
        }
    }
    return 0;
}
