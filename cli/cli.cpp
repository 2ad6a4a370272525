#include "cli.h"
#include "cli_internal.h"

#include "codecs.h"
#include "codeplug.h"
#include "exchange.h"
#include "file_io.h"
#include "program_state.h"
#include "project_file.h"
#include "text_codec.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <sstream>

namespace vkt::cli {

const Verb kNewVerb = {
    "new",
    "usage: vkt410-cli new -o FILE.Dvf\n"
    "Writes the project of a new configuration, as the program starts with it.\n",
    {"-o"},
    {},
    0};

const Verb kImageVerb = {
    "image",
    "usage: vkt410-cli image FILE.Dvf -o IMAGE.bin [--clock YYYY-MM-DDTHH:MM] [--seed N]\n"
    "Loads the project as the program does, builds the radio image with the default\n"
    "band limits and writes image bytes 0x0000-0x451F (17696 bytes).\n"
    "  --clock  date and time stamped as the last programming time (default: now)\n"
    "  --seed   seed for the random bytes of the password block, for repeatable images\n",
    {"-o", "--clock", "--seed"},
    {},
    1};

const Verb kDecodeVerb = {
    "decode",
    "usage: vkt410-cli decode IMAGE.bin -o FILE.Dvf [--base FILE.Dvf]\n"
    "Starts from the default project (or --base), takes the configuration from the\n"
    "radio image, writes the project and prints the band limits and the last\n"
    "programming time the image held. A short image is padded with zeros.\n",
    {"-o", "--base"},
    {},
    1};

const Verb kInfoVerb = {
    "info",
    "usage: vkt410-cli info FILE.Dvf\n"
    "Prints the channels in use, VFO A and B and the main options of a project.\n",
    {},
    {},
    1};

// Parses the arguments after the verb; on error sets `error`.
Parsed ParseArgs(const Verb &verb, const std::vector<std::string> &args, std::string &error)
{
    Parsed p;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--help" || a == "-h") {
            p.help = true;
        } else if (verb.flagOptions.count(a)) {
            p.flags.insert(a);
        } else if (verb.valueOptions.count(a)) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return p;
            }
            if (p.options.count(a)) {
                error = "option " + a + " given twice";
                return p;
            }
            p.options[a] = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return p;
        } else {
            p.positionals.push_back(a);
        }
    }
    const std::size_t n = p.positionals.size();
    const bool counted = verb.morePositionals ? n >= verb.positionals : n == verb.positionals;
    if (!p.help && !counted)
        error = verb.morePositionals  ? "expected at least " + std::to_string(verb.positionals) + " arguments"
                : verb.positionals == 0 ? "unexpected argument " + p.positionals.front()
                                        : "expected " + std::to_string(verb.positionals) + " file argument";
    if (!p.help && error.empty() && verb.valueOptions.count("-o") && !p.options.count("-o"))
        error = "missing -o FILE";
    return p;
}

bool ParseUint(const std::string &s, unsigned long long &v)
{
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc{} && ptr == s.data() + s.size() && !s.empty();
}

// "YYYY-MM-DDTHH:MM"
bool ParseClock(const std::string &s, ClockTime &c)
{
    if (s.size() != 16 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':')
        return false;
    unsigned long long y, mo, d, h, mi;
    if (!ParseUint(s.substr(0, 4), y) || !ParseUint(s.substr(5, 2), mo) || !ParseUint(s.substr(8, 2), d) ||
        !ParseUint(s.substr(11, 2), h) || !ParseUint(s.substr(14, 2), mi))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59)
        return false;
    c = {static_cast<std::uint16_t>(y), static_cast<std::uint8_t>(mo), static_cast<std::uint8_t>(d),
         static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(mi)};
    return true;
}

// Loads a project over the defaults, as the program's Open does.
int LoadProject(const std::string &path, ProgramState &state, std::ostream &err)
{
    const LoadResult r = LoadProjectFile(path, state.data);
    if (!r.opened) {
        err << "vkt410-cli: cannot read " << path << ": " << r.error << "\n";
        return kExitNoInput;
    }
    if (r.fileSize != kRadioDataSize)
        err << "warning: " << path << " is " << r.fileSize << " bytes, not " << kRadioDataSize
            << "; read as the program reads it (" << r.bytesLoaded << " bytes over the record)\n";
    return kExitOk;
}

int Save(const std::string &path, const void *bytes, std::size_t size, std::ostream &err)
{
    const FileWriteResult w = WriteFileAtomic(path, bytes, size);
    if (!w.ok) {
        err << "vkt410-cli: cannot write " << path << ": " << w.error << "\n";
        return kExitCantCreate;
    }
    return kExitOk;
}

std::unique_ptr<ProgramState> NewState()
{
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    return state;
}

int CmdNew(const Parsed &p, std::ostream &out, std::ostream &err)
{
    auto state = NewState();
    const std::string &path = p.options.at("-o");
    if (int rc = Save(path, &state->data, sizeof state->data, err))
        return rc;
    out << "wrote " << path << " (" << kRadioDataSize << " bytes)\n";
    return kExitOk;
}

int CmdImage(const Parsed &p, std::ostream &out, std::ostream &err)
{
    ClockTime clock = LocalClockNow();
    if (p.options.count("--clock") && !ParseClock(p.options.at("--clock"), clock)) {
        err << "vkt410-cli: --clock wants YYYY-MM-DDTHH:MM, not '" << p.options.at("--clock") << "'\n";
        return kExitUsage;
    }
    RandomByteSource random;
    if (p.options.count("--seed")) {
        unsigned long long seed = 0;
        if (!ParseUint(p.options.at("--seed"), seed)) {
            err << "vkt410-cli: --seed wants a non-negative number, not '" << p.options.at("--seed") << "'\n";
            return kExitUsage;
        }
        auto gen = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed));
        random = [gen] { return static_cast<std::uint8_t>((*gen)()); };
    } else {
        random = SystemRandomBytes();
    }

    auto state = NewState();
    if (int rc = LoadProject(p.positionals[0], *state, err))
        return rc;
    GetDataForWrite(state->data, state->limits, state->image, clock, random);
    const std::string &path = p.options.at("-o");
    if (int rc = Save(path, state->image.bytes.data(), kConfigImageSize, err))
        return rc;
    out << "wrote " << path << " (" << kConfigImageSize << " bytes)\n";
    return kExitOk;
}

int CmdDecode(const Parsed &p, std::ostream &out, std::ostream &err)
{
    auto state = NewState();
    if (p.options.count("--base"))
        if (int rc = LoadProject(p.options.at("--base"), *state, err))
            return rc;

    const std::string &imagePath = p.positionals[0];
    const FileReadResult r = ReadFilePrefix(imagePath, kImageSize);
    if (!r.opened) {
        err << "vkt410-cli: cannot read " << imagePath << ": " << r.error << "\n";
        return kExitNoInput;
    }
    if (r.bytes.size() < kConfigImageSize)
        err << "warning: " << imagePath << " is " << r.fileSize << " bytes, shorter than the " << kConfigImageSize
            << " of a radio image; the rest is taken as zeros\n";
    else if (r.fileSize > kImageSize)
        err << "warning: " << imagePath << " is " << r.fileSize << " bytes; bytes past " << kImageSize
            << " are ignored\n";
    std::copy(r.bytes.begin(), r.bytes.end(), state->image.bytes.begin());

    SetDataToSoftware(state->image, state->data, state->limits, state->identity);
    const std::string &path = p.options.at("-o");
    if (int rc = Save(path, &state->data, sizeof state->data, err))
        return rc;

    const BandLimits &l = state->limits;
    out << "wrote " << path << "\n";
    out << "band limits in the image (MHz):\n";
    out << "  VHF transmit " << ChannelFreqText(l.vhfTxMin) << " - " << ChannelFreqText(l.vhfTxMax) << "\n";
    out << "  VHF receive  " << ChannelFreqText(l.vhfRxMin) << " - " << ChannelFreqText(l.vhfRxMax) << "\n";
    out << "  UHF transmit " << ChannelFreqText(l.uhfTxMin) << " - " << ChannelFreqText(l.uhfTxMax) << "\n";
    out << "  UHF receive  " << ChannelFreqText(l.uhfRxMin) << " - " << ChannelFreqText(l.uhfRxMax) << "\n";
    const IdentityValues &id = state->identity;
    char when[64];
    std::snprintf(when, sizeof when, "%04u-%02u-%02u %02u:%02u", unsigned(id.year), unsigned(id.month),
                  unsigned(id.day), unsigned(id.hour), unsigned(id.minute));
    out << "last programmed: " << when << "\n";
    return kExitOk;
}

const char *PowerText(unsigned v)
{
    switch (v) {
    case kPowerLow: return "Low";
    case kPowerHigh: return "High";
    case kPowerMid: return "Mid";
    default: return "?";
    }
}

const char *Pick(const char *const *texts, std::size_t n, unsigned v)
{
    return v < n ? texts[v] : "?";
}

template <std::size_t N>
const char *Pick(const char *const (&texts)[N], unsigned v)
{
    return Pick(texts, N, v);
}

void PrintChannelRow(std::ostream &out, const std::string &label, const ChannelEntry &e, bool withTx)
{
    static const char *const kSignal[] = {"OFF", "DTMF", "2-TONE", "5-TONE"};
    out << std::left << std::setw(6) << label << std::setw(11) << ChannelFreqText(e.rxFreq);
    if (withTx)
        out << std::setw(11) << ChannelFreqText(e.txFreq);
    out << std::setw(7) << ToneText({e.decodeCode, e.decodeType}) << std::setw(7)
        << ToneText({e.encodeCode, e.encodeType}) << std::setw(6) << PowerText(PowerOf(e)) << std::setw(7)
        << (WideOf(e) ? "Wide" : "Narrow") << std::setw(5) << (ScanAddOf(e) ? "ADD" : "DEL") << std::setw(8)
        << Pick(kSignal, SignalSystemOf(e)) << DisplayText(e.name, sizeof e.name) << std::right << "\n";
}

int CmdInfo(const Parsed &p, std::ostream &out, std::ostream &err)
{
    auto state = NewState();
    const std::string &path = p.positionals[0];
    if (int rc = LoadProject(path, *state, err))
        return rc;
    const RadioData &d = state->data;

    int inUse = 0;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        inUse += IsChannelInUse(d, ch);
    out << "Project " << path << "\n\n";
    out << "Channels in use: " << inUse << " of " << kChannelCount << "\n";
    if (inUse) {
        out << "CH    Receive    Transmit   Decode Encode Power Band   Scan Signal  Name\n";
        for (int ch = 1; ch <= kChannelCount; ++ch)
            if (IsChannelInUse(d, ch))
                PrintChannelRow(out, std::to_string(ch), d.channels[ch], true);
    }

    static const char *const kMode[] = {"Frequency", "Channel", "Memory"};
    static const char *const kDir[] = {"OFF", "+", "-"};
    out << "\nVFO   Receive    Decode Encode Power Band   Scan Signal  Name\n";
    PrintChannelRow(out, "A", d.vfoA, false);
    PrintChannelRow(out, "B", d.vfoB, false);
    out << "VFO A: mode " << Pick(kMode, d.modeA) << ", step " << d.stepA.get() << " Hz, offset "
        << OffsetFreqText(d.offsetA) << " " << Pick(kDir, OffsetDirectionOf(d.vfoA)) << "\n";
    out << "VFO B: mode " << Pick(kMode, d.modeB) << ", step " << d.stepB.get() << " Hz, offset "
        << OffsetFreqText(d.offsetB) << " " << Pick(kDir, OffsetDirectionOf(d.vfoB)) << "\n";

    static const char *const kSaver[] = {"OFF", "1:1", "1:2", "1:3", "1:4"};
    static const char *const kDisplay[] = {"logo off", "WELCOME(Chinese)", "WELCOME(English)", "Define"};
    out << "\nOptions:\n";
    out << "  squelch level " << unsigned(d.squelchLevel) << ", VOX " << unsigned(d.voxLevel)
        << ", transmit time-out " << d.txTimeout.get() << " s, battery saver " << Pick(kSaver, d.batterySaver)
        << ", priority channel " << d.priorityChannel.get() << "\n";
    out << "  logo \"" << DisplayText(d.logo, sizeof d.logo) << "\", power-on display "
        << Pick(kDisplay, d.displayType) << ", power-on password "
        << DisplayText(d.powerOnPassword, sizeof d.powerOnPassword) << (d.powerOnPasswordOn ? " (on)" : " (off)")
        << "\n";
    out << "  FM radio " << FmFreqText(d.fmFrequency) << " MHz, bounds " << FmFreqText(d.fmMin) << " - "
        << FmFreqText(d.fmMax) << " MHz\n";
    int fm = 0;
    for (const U32 &m : d.fmMemories)
        fm += m.get() != 0;
    int book = 0;
    for (int j = 1; j <= kAddressBookCount; ++j)
        book += IsAddressBookInUse(d, j);
    out << "  FM memories in use " << fm << ", DTMF address-book entries " << book << "\n";
    const std::size_t fw = FieldTextLength(d.firmwareVersion, 12);
    if (fw)
        out << "  radio firmware " << DisplayText(d.firmwareVersion, 12) << "\n";
    return kExitOk;
}

// Every verb: its argument rules and help, the line of the command list
// and the function that runs it.
struct Command {
    const Verb *verb;
    const char *summary;
    int (*run)(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal);
    void (*moreHelp)(std::ostream &out) = nullptr; // printed after the verb's help
};

const Command kCommands[] = {
    {&kNewVerb, "write the default project",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdNew(p, out, err); }},
    {&kImageVerb, "turn a project into the radio's memory image",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdImage(p, out, err); }},
    {&kDecodeVerb, "turn a radio memory image into a project",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdDecode(p, out, err); }},
    {&kInfoVerb, "summarise a project",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdInfo(p, out, err); }},
    {&kGetVerb, "print what the controls and grid cells of the pages show",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdGet(p, out, err); },
     &PrintFieldNames},
    {&kSetVerb, "type texts into controls and grid cells and save the project",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdSet(p, out, err); },
     &PrintFieldNames},
    {&kExportCsvVerb, "write the channels of a project as a CSV channel list",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdExportCsv(p, out, err); }},
    {&kImportCsvVerb, "read a CSV channel list into a project",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdImportCsv(p, out, err); }},
    {&kLimitsVerb, "print or set the band limits of the configuration file",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdLimits(p, out, err); }},
    {&kPortsVerb, "list the numbered serial ports",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdPorts(p, out, err); }},
    {&kReadVerb, "read a radio into a project", &CmdRead},
    {&kWriteVerb, "write a project into a radio", &CmdWrite},
    {&kAdjustReadVerb, "read a radio's adjustment values into an adjustment file", &CmdAdjustRead},
    {&kAdjustWriteVerb, "write an adjustment file into a radio", &CmdAdjustWrite},
    {&kAdjustWriteAllVerb, "write an adjustment file and a project into a radio", &CmdAdjustWriteAll},
    {&kStatusVerb, "print a radio's battery and VOX values", &CmdStatus},
    {&kSetPasswordVerb, "give a radio a new programming password", &CmdSetPassword},
    {&kSimVerb, "run a simulated radio on a pseudo-terminal",
     [](const Parsed &p, std::ostream &out, std::ostream &err, bool) { return CmdSim(p, out, err); }},
};

void PrintUsage(std::ostream &out)
{
    out << "usage: vkt410-cli <command> [options]\n\nCommands:\n";
    for (const Command &c : kCommands)
        out << "  " << std::left << std::setw(18) << c.verb->name << std::right << c.summary << "\n";
    out << "\nRun 'vkt410-cli <command> --help' for the options of a command.\n";
}

int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool terminal)
{
    if (args.empty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return kExitOk;
    }
    const Command *command = nullptr;
    for (const Command &c : kCommands)
        if (args[0] == c.verb->name)
            command = &c;
    if (!command) {
        err << "vkt410-cli: unknown command '" << args[0] << "' (try --help)\n";
        return kExitUsage;
    }
    const Verb &verb = *command->verb;
    std::string error;
    const Parsed p = ParseArgs(verb, args, error);
    if (p.help) {
        out << verb.help;
        if (command->moreHelp)
            command->moreHelp(out);
        return kExitOk;
    }
    if (!error.empty()) {
        err << "vkt410-cli " << verb.name << ": " << error << " (try --help)\n";
        return kExitUsage;
    }
    return command->run(p, out, err, terminal);
}

} // namespace vkt::cli
