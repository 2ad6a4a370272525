// vkt410-cli limits: the band limits of the configuration file, shown and
// set with the rules of the band-limit window.
#include "cli_internal.h"

#include "app_config.h"
#include "band_limits_edit.h"
#include "codecs.h"

#include <optional>
#include <ostream>
#include <string>

namespace vkt::cli {

const Verb kLimitsVerb = {
    "limits",
    "usage: vkt410-cli limits [--config FILE]\n"
    "       vkt410-cli limits --set KEY=TEXT... [--config FILE]\n"
    "Prints the eight band limits of the configuration file the window uses\n"
    "(U_Tx_min = 400.00000 ...). With --set, each TEXT (megahertz) is typed into\n"
    "its limit and normalised as the band-limit window does: below 136 becomes\n"
    "136, 174-200 becomes 174, 260-320 becomes 260, above 520 becomes 520, and\n"
    "off the 2.5 kHz raster it is rounded down to 6.25 kHz; an empty TEXT counts\n"
    "as 0. The file is written (created if absent) only when the limits change; a\n"
    "TEXT that is not a number, or a minimum that is not below its maximum,\n"
    "changes nothing and exits with 64. Projects are not touched: the window\n"
    "starts a new configuration when its limits change.\n"
    "  KEY  U_Tx_min U_Tx_max U_Rx_min U_Rx_max V_Tx_min V_Tx_max V_Rx_min V_Rx_max\n",
    {"--config"},
    {"--set"},
    0,
    true};

namespace {

void PrintLimits(std::ostream &out, const BandLimitValues &values)
{
    for (std::size_t i = 0; i < kBandLimitCount; ++i)
        out << BandLimitName(BandLimit(i)) << " = " << ChannelFreqText(values[i]) << "\n";
}

} // namespace

int CmdLimits(const Parsed &p, std::ostream &out, std::ostream &err)
{
    const bool setting = p.flags.count("--set") != 0;
    if (setting == p.positionals.empty()) {
        err << "vkt410-cli limits: " << (setting ? "--set needs KEY=TEXT" : "KEY=TEXT needs --set")
            << " (try --help)\n";
        return kExitUsage;
    }
    const auto config = p.options.find("--config");
    const std::string file = config == p.options.end() ? std::string() : config->second;
    AppConfig settings;
    const std::string path =
        AppConfig::FindPath(file, setting ? AppConfig::Folders::Make : AppConfig::Folders::Leave);
    settings.read(path);
    BandLimitValues values = BandLimitsToValues(settings.limits);
    if (!setting) {
        PrintLimits(out, values);
        return kExitOk;
    }

    std::array<bool, kBandLimitCount> given{};
    for (const std::string &arg : p.positionals) {
        const std::size_t eq = arg.find('=');
        const std::optional<BandLimit> which =
            eq == std::string::npos ? std::nullopt : BandLimitByName(std::string_view(arg).substr(0, eq));
        if (!which) {
            err << "vkt410-cli limits: '" << arg << "' is not KEY=TEXT with a KEY of --help\n";
            return kExitUsage;
        }
        const std::size_t i = std::size_t(*which);
        if (given[i]) {
            err << "vkt410-cli limits: " << BandLimitName(*which) << " given twice\n";
            return kExitUsage;
        }
        given[i] = true;
        // The text as the window's edit keeps it, converted as leaving the
        // edit does; one that is not a number keeps the limit, as there,
        // and nothing is written.
        const std::string text = arg.substr(eq + 1);
        const std::optional<std::uint32_t> hz = CommitBandLimitText(CorrectBandLimitTyping(text));
        if (!hz) {
            err << "vkt410-cli limits: " << BandLimitName(*which) << ": '" << text
                << "' is not a number of megahertz; " << BandLimitName(*which) << " keeps "
                << ChannelFreqText(values[i]) << "\n";
            return kExitUsage;
        }
        values[i] = *hz;
    }

    switch (JudgeBandLimits(values, settings.limits)) {
    case BandLimitsVerdict::Inconsistent:
        err << "vkt410-cli limits: every minimum must lie below its maximum; nothing was changed\n";
        PrintLimits(err, values);
        return kExitUsage;
    case BandLimitsVerdict::Unchanged:
        PrintLimits(out, values);
        return kExitOk;
    case BandLimitsVerdict::Changed:
        break;
    }
    ApplyBandLimits(settings.limits, values);
    std::string error;
    if (!settings.save(path, error)) {
        err << "vkt410-cli limits: " << error << "\n";
        return kExitCantCreate;
    }
    PrintLimits(out, values);
    return kExitOk;
}

} // namespace vkt::cli
