// vkt410-cli verbs that talk to a radio over a serial port, or act as one.
#include "cli_internal.h"

#include "app_config.h"
#include "band_limits_edit.h"
#include "codecs.h"
#include "exchange.h"
#include "file_io.h"
#include "password_text.h"
#include "project_file.h"
#include "pty_radio_host.h"
#include "qt_timers.h"
#include "serial_port_qt.h"
#include "simulated_radio.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>

namespace vkt::cli {

const Verb kPortsVerb = {
    "ports",
    "usage: vkt410-cli ports [--device PATH]\n"
    "Lists the numbered serial ports (COM1..COM30) and the devices behind them.\n"
    "Devices named with --device or in the environment variable VKT410_EXTRA_PORTS\n"
    "(separated by ':') are numbered after the system's own.\n",
    {"--device"},
    {},
    0};

// The port and password options every verb that talks to a radio takes.
#define VKT_PORT_USAGE "(--port N | --device PATH | --auto)"
#define VKT_PORT_HELP                                                                      \
    "  --port N      the port numbered N by 'vkt410-cli ports'\n"                          \
    "  --device PATH a serial device, or the link a simulated radio publishes\n"          \
    "  --auto        try every present port in turn\n"                                     \
    "  --password P  the radio's access password: up to 12 characters from U+0001\n"    \
    "                to U+00FF (Latin-1), one byte each, as the password windows\n"       \
    "                store them\n"
#define VKT_CONFIG_HELP                                                                    \
    "  --config FILE the configuration file of the band limits; by default the one\n"    \
    "                the window uses (VKT410_CONFIG_DIR or beside the program)\n"
#define VKT_EXIT_HELP "Exit codes: 0 SUCCESS, 1 Communication False, 2 Password Error.\n"

const Verb kReadVerb = {
    "read",
    "usage: vkt410-cli read " VKT_PORT_USAGE " [--password P] -o FILE.Dvf\n"
    "                       [--image-out IMAGE.bin] [--config FILE]\n"
    "Reads the whole configuration of a radio and writes it as a project; the\n"
    "project is written only after a successful read. The radio's band limits\n"
    "are stored in the configuration file, as the window does at exit (the file\n"
    "is created, with every key, when it is missing).\n" VKT_PORT_HELP
    "  --image-out   also write the radio memory image that was read\n" VKT_CONFIG_HELP VKT_EXIT_HELP,
    {"--port", "--device", "--password", "-o", "--image-out", "--config"},
    {"--auto"},
    0};

const Verb kWriteVerb = {
    "write",
    "usage: vkt410-cli write " VKT_PORT_USAGE " [--password P] [--config FILE] FILE.Dvf\n"
    "Writes a project into a radio with the band limits of the configuration file\n"
    "(the defaults when there is none) and prints those limits. With the project's\n"
    "write-new-password flag on, its radio password is written too.\n" VKT_PORT_HELP VKT_CONFIG_HELP
        VKT_EXIT_HELP,
    {"--port", "--device", "--password", "--config"},
    {"--auto"},
    1};

const Verb kAdjustReadVerb = {
    "adjust-read",
    "usage: vkt410-cli adjust-read " VKT_PORT_USAGE " [--password P] -o FILE.Dvfa\n"
    "Reads the radio's adjustment (calibration) values and writes them as an\n"
    "adjustment file (411 bytes); the file is written only after a successful read.\n" VKT_PORT_HELP VKT_EXIT_HELP,
    {"--port", "--device", "--password", "-o"},
    {"--auto"},
    0};

const Verb kAdjustWriteVerb = {
    "adjust-write",
    "usage: vkt410-cli adjust-write " VKT_PORT_USAGE " [--password P] FILE.Dvfa\n"
    "Writes the adjustment values of an adjustment file into a radio.\n" VKT_PORT_HELP VKT_EXIT_HELP,
    {"--port", "--device", "--password"},
    {"--auto"},
    1};

const Verb kAdjustWriteAllVerb = {
    "adjust-write-all",
    "usage: vkt410-cli adjust-write-all " VKT_PORT_USAGE " [--password P] [--config FILE]\n"
    "                                   FILE.Dvfa FILE.Dvf\n"
    "Writes the adjustment values and then the whole configuration of a project\n"
    "in one exchange, with the band limits of the configuration file (printed).\n" VKT_PORT_HELP VKT_CONFIG_HELP
        VKT_EXIT_HELP,
    {"--port", "--device", "--password", "--config"},
    {"--auto"},
    2};

const Verb kStatusVerb = {
    "status",
    "usage: vkt410-cli status " VKT_PORT_USAGE "\n"
    "Asks the radio for its current battery and VOX values and prints them. The\n"
    "request needs no password.\n"
    "  --port N, --device PATH, --auto  as for read\n" VKT_EXIT_HELP,
    {"--port", "--device"},
    {"--auto"},
    0};

const Verb kSetPasswordVerb = {
    "set-password",
    "usage: vkt410-cli set-password " VKT_PORT_USAGE " [--password P] --new P\n"
    "Gives the radio a new programming password (up to 12 characters; an empty\n"
    "one opens the radio to any programmer). Every later exchange must prove it.\n" VKT_PORT_HELP
    "  --new P       the new password, with the characters --password takes\n" VKT_EXIT_HELP,
    {"--port", "--device", "--password", "--new"},
    {"--auto"},
    0};

const Verb kSimVerb = {
    "sim",
    "usage: vkt410-cli sim [--link PATH] [--image IMAGE.bin] [--password P] [--wire]\n"
    "                      [--save IMAGE.bin] [--silent] [--reply-delay MS]\n"
    "                      [--hang-up-after N] [--flood] [--other-protocol]\n"
    "Runs a simulated radio on a pseudo-terminal until SIGINT or SIGTERM, prints\n"
    "the terminal's device path and makes PATH a symbolic link to it.\n"
    "  --image   start from this memory image; its password block (0x4020) gives\n"
    "            the password unless --password is given\n"
    "  --save    save the whole 64 KiB memory here at the end\n"
    "  --wire    pace every byte at 9600 baud, as a real radio does\n"
    "  --silent  never answer; --reply-delay answers every frame late;\n"
    "  --hang-up-after N hangs up after N blocks; --flood sends bytes without\n"
    "  end; --other-protocol answers like some other device\n",
    {"--link", "--image", "--password", "--save", "--reply-delay", "--hang-up-after"},
    {"--wire", "--silent", "--flood", "--other-protocol"},
    0};

namespace {

QCoreApplication &EnsureApplication()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        return *app;
    static int argc = 1;
    static char name[] = "vkt410-cli";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class TerminalProgress : public ExchangeListener {
public:
    TerminalProgress(std::ostream &out, bool terminal) : out_(out), terminal_(terminal) {}
    void progressChanged(int position) override
    {
        if (!terminal_ || position == 0)
            return;
        const int filled = position * 40 / 100;
        out_ << "\r[" << std::string(std::size_t(filled), '#') << std::string(std::size_t(40 - filled), '.')
             << "] " << position << "%" << std::flush;
        shown_ = true;
    }
    void finished(ExchangeOutcome) override
    {
        if (shown_)
            out_ << "\n";
        loop.quit();
    }
    QEventLoop loop;

private:
    std::ostream &out_;
    bool terminal_;
    bool shown_ = false;
};

// Reads the port choice; returns an exit code (0 when fine).
int ChoosePort(const Parsed &p, PortMap &map, PortSelection &ports, std::ostream &err, const char *verb)
{
    const int given = int(p.options.count("--port")) + int(p.options.count("--device")) + int(p.flags.count("--auto"));
    if (given != 1) {
        err << "vkt410-cli " << verb << ": give exactly one of --port N, --device PATH or --auto (try --help)\n";
        return kExitUsage;
    }
    if (p.flags.count("--auto")) {
        ports.AutoSeachPort = true;
        return kExitOk;
    }
    ports.AutoSeachPort = false;
    if (p.options.count("--port")) {
        unsigned long long n = 0;
        if (!ParseUint(p.options.at("--port"), n) || n < 1 || n > kMaxPortNumber) {
            err << "vkt410-cli " << verb << ": --port wants a number from 1 to 30, not '" << p.options.at("--port")
                << "'\n";
            return kExitUsage;
        }
        ports.Port = int(n);
        return kExitOk;
    }
    const int n = map.add(QString::fromStdString(p.options.at("--device")));
    if (n == 0) {
        err << "vkt410-cli " << verb << ": all 30 port numbers are taken; name the port with --port\n";
        return kExitUsage;
    }
    ports.Port = n;
    return kExitOk;
}

// The bytes of the password given with option `option` (UTF-8, as the
// arguments come), one per character as the password windows store it;
// nothing, after one line on `err`, when the radio cannot keep it.
std::optional<std::string> PasswordOption(const Parsed &p, const char *option, std::ostream &err, const char *verb)
{
    const std::optional<std::string> bytes = PasswordBytesFromUtf8(p.options.at(option));
    if (!bytes) {
        err << "vkt410-cli " << verb << ": " << option
            << ": a password holds only characters from U+0001 to U+00FF (one byte each)\n";
        return std::nullopt;
    }
    if (bytes->size() > std::size_t(kPasswordMaxLength)) {
        err << "vkt410-cli " << verb << ": " << option << ": a password has at most " << kPasswordMaxLength
            << " characters\n";
        return std::nullopt;
    }
    return bytes;
}

// Puts the password of option `option` (when given) into a 13-byte field.
int SetPasswordField(const Parsed &p, const char *option, std::uint8_t (&field)[13], std::ostream &err,
                     const char *verb)
{
    if (!p.options.count(option))
        return kExitOk;
    const std::optional<std::string> bytes = PasswordOption(p, option, err, verb);
    if (!bytes)
        return kExitUsage;
    StorePasswordField(field, *bytes);
    return kExitOk;
}

int SetAccessPassword(const Parsed &p, RadioData &data, std::ostream &err, const char *verb)
{
    return SetPasswordField(p, "--password", data.accessPassword, err, verb);
}

// The configuration file the window uses, or the one named by --config.
std::string ConfigPath(const Parsed &p, AppConfig::Folders folders)
{
    const auto config = p.options.find("--config");
    return AppConfig::FindPath(config == p.options.end() ? std::string() : config->second, folders);
}

// Takes the band limits of the configuration file (the defaults when there
// is none) as the limits to send, and prints them.
void UseConfiguredLimits(const Parsed &p, ProgramState &state, std::ostream &out)
{
    AppConfig settings;
    settings.read(ConfigPath(p, AppConfig::Folders::Leave));
    state.limits = settings.limits;
    RecomputeMaxOffsets(state.limits);
    const BandLimitValues values = BandLimitsToValues(state.limits);
    out << "band limits sent (MHz):\n";
    for (std::size_t i = 0; i < kBandLimitCount; ++i)
        out << "  " << BandLimitName(BandLimit(i)) << " = " << ChannelFreqText(values[i]) << "\n";
}

// Stores the band limits a read brought in, as the window does at exit:
// a missing file is first created with every key at its default.
int StoreReadLimits(const Parsed &p, const BandLimits &limits, std::ostream &err, const char *verb)
{
    const std::string path = ConfigPath(p, AppConfig::Folders::Make);
    AppConfig settings;
    bool created = false;
    std::string error;
    if (!settings.load(path, created, error)) {
        err << "vkt410-cli " << verb << ": " << error << "\n";
        return kExitCantCreate;
    }
    settings.limits = limits;
    if (!settings.save(path, error)) {
        err << "vkt410-cli " << verb << ": " << error << "\n";
        return kExitCantCreate;
    }
    return kExitOk;
}

// Loads an adjustment file over the defaults, as the adjustment window's
// Open does (up to 411 bytes from offset 0); warns of another size.
int LoadAdjustment(const std::string &path, AdjustmentData &adj, std::ostream &err)
{
    const FileReadResult r = ReadFilePrefix(path, kAdjustmentSize);
    if (!r.opened) {
        err << "vkt410-cli: cannot read " << path << ": " << r.error << "\n";
        return kExitNoInput;
    }
    if (r.fileSize != kAdjustmentSize)
        err << "warning: " << path << " is " << r.fileSize << " bytes, not " << kAdjustmentSize
            << "; read as the adjustment window reads it\n";
    std::memcpy(&adj, r.bytes.data(), std::min(r.bytes.size(), kAdjustmentSize));
    return kExitOk;
}

// Runs one exchange on a real serial port until it ends.
ExchangeOutcome RunExchangeOnPort(ProgramState &state, PortSelection &ports, PortMap map, int exchangeMode,
                                  bool read, std::ostream &out, bool terminal)
{
    EnsureApplication();
    QtSerialLine line(std::move(map));
    QtTimerService timers;
    Exchange exchange(state, ports, line, timers, SystemRandomBytes(), LocalClockNow);
    TerminalProgress progress(out, terminal);
    exchange.setListener(&progress);
    timers.setHandler([&](TimerId id) { exchange.onTimer(id); });
    exchange.ExchangeMode = exchangeMode;
    exchange.ReadFromRadio = read;
    exchange.ProgramStartClick();
    if (exchange.running())
        progress.loop.exec();
    exchange.FormClose();
    return exchange.outcome();
}

int OutcomeExit(ExchangeOutcome outcome, std::ostream &out, std::ostream &err)
{
    switch (outcome) {
    case ExchangeOutcome::Success:
        out << OutcomeText(outcome) << "\n";
        return kExitOk;
    case ExchangeOutcome::PasswordError:
        err << OutcomeText(outcome) << "\n";
        return kExitPasswordError;
    default:
        err << OutcomeText(ExchangeOutcome::CommunicationFailure) << "\n";
        return kExitCommunicationFalse;
    }
}

} // namespace

int CmdPorts(const Parsed &p, std::ostream &out, std::ostream &)
{
    EnsureApplication();
    QStringList extra;
    if (p.options.count("--device"))
        extra << QString::fromStdString(p.options.at("--device"));
    PortMap map = PortMap::FromSystem(extra);
    QtSerialLine line(map);
    if (map.count() == 0) {
        out << "no serial ports\n";
        return kExitOk;
    }
    for (int n = 1; n <= map.count(); ++n)
        out << "COM" << n << "  " << map.device(n).toStdString() << (line.probe(n) ? "" : "  (busy or absent)")
            << "\n";
    return kExitOk;
}

namespace {

// Chooses the port and takes the access password: the start of every verb
// that talks to a radio. Returns an exit code (0 when fine).
int Connect(const Parsed &p, PortMap &map, PortSelection &ports, ProgramState &state, std::ostream &err,
            const char *verb)
{
    if (int rc = ChoosePort(p, map, ports, err, verb))
        return rc;
    return SetAccessPassword(p, state.data, err, verb);
}

} // namespace

int CmdRead(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = Connect(p, map, ports, *state, err, "read"))
        return rc;

    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kConfiguration, true, out, terminal);
    if (outcome != ExchangeOutcome::Success)
        return OutcomeExit(outcome, out, err);
    if (int rc = Save(p.options.at("-o"), &state->data, sizeof state->data, err))
        return rc;
    if (p.options.count("--image-out"))
        if (int rc = Save(p.options.at("--image-out"), state->image.bytes.data(), kConfigImageSize, err))
            return rc;
    if (int rc = StoreReadLimits(p, state->limits, err, "read"))
        return rc;
    return OutcomeExit(outcome, out, err);
}

int CmdWrite(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = ChoosePort(p, map, ports, err, "write"))
        return rc;
    if (int rc = LoadProject(p.positionals[0], *state, err))
        return rc;
    if (int rc = SetAccessPassword(p, state->data, err, "write"))
        return rc;
    UseConfiguredLimits(p, *state, out);
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kConfiguration, false, out, terminal);
    return OutcomeExit(outcome, out, err);
}

int CmdAdjustRead(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = Connect(p, map, ports, *state, err, "adjust-read"))
        return rc;
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kAdjustment, true, out, terminal);
    if (outcome != ExchangeOutcome::Success)
        return OutcomeExit(outcome, out, err);
    if (int rc = Save(p.options.at("-o"), &state->adjustment, sizeof state->adjustment, err))
        return rc;
    return OutcomeExit(outcome, out, err);
}

int CmdAdjustWrite(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = Connect(p, map, ports, *state, err, "adjust-write"))
        return rc;
    if (int rc = LoadAdjustment(p.positionals[0], state->adjustment, err))
        return rc;
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kAdjustment, false, out, terminal);
    return OutcomeExit(outcome, out, err);
}

int CmdAdjustWriteAll(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = ChoosePort(p, map, ports, err, "adjust-write-all"))
        return rc;
    if (int rc = LoadAdjustment(p.positionals[0], state->adjustment, err))
        return rc;
    if (int rc = LoadProject(p.positionals[1], *state, err))
        return rc;
    if (int rc = SetAccessPassword(p, state->data, err, "adjust-write-all"))
        return rc;
    UseConfiguredLimits(p, *state, out);
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kAllWrite, false, out, terminal);
    return OutcomeExit(outcome, out, err);
}

int CmdStatus(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = ChoosePort(p, map, ports, err, "status"))
        return rc;
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kStatus, true, out, terminal);
    if (outcome == ExchangeOutcome::Success)
        out << "battery " << unsigned(state->adjustment.statusBattery) << "\nVOX " << unsigned(state->adjustment.statusVox)
            << "\n";
    return OutcomeExit(outcome, out, err);
}

int CmdSetPassword(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (!p.options.count("--new")) {
        err << "vkt410-cli set-password: missing --new P (try --help)\n";
        return kExitUsage;
    }
    if (int rc = Connect(p, map, ports, *state, err, "set-password"))
        return rc;
    if (int rc = SetPasswordField(p, "--new", state->data.radioPassword, err, "set-password"))
        return rc;
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kRadioPassword, false, out, terminal);
    return OutcomeExit(outcome, out, err);
}

int CmdSim(const Parsed &p, std::ostream &out, std::ostream &err)
{
    // The radio proves the password as the programmer sends it.
    std::string password;
    if (p.options.count("--password")) {
        const std::optional<std::string> bytes = PasswordOption(p, "--password", err, "sim");
        if (!bytes)
            return kExitUsage;
        password = *bytes;
    }
    SimulatedRadio radio(password);
    SimBehaviour &b = radio.behaviour();
    b.wireTiming = p.flags.count("--wire") > 0;
    b.silent = p.flags.count("--silent") > 0;
    b.flood = p.flags.count("--flood") > 0;
    b.otherProtocol = p.flags.count("--other-protocol") > 0;
    unsigned long long n = 0;
    if (p.options.count("--reply-delay")) {
        if (!ParseUint(p.options.at("--reply-delay"), n) || n > 60000) {
            err << "vkt410-cli sim: --reply-delay wants milliseconds from 0 to 60000\n";
            return kExitUsage;
        }
        b.replyDelayUs = Micros(n) * 1000;
    }
    if (p.options.count("--hang-up-after")) {
        if (!ParseUint(p.options.at("--hang-up-after"), n) || n > 100000) {
            err << "vkt410-cli sim: --hang-up-after wants a number of blocks\n";
            return kExitUsage;
        }
        b.hangUpAfterBlocks = int(n);
    }
    std::string error;
    if (p.options.count("--image") && !radio.loadImage(p.options.at("--image"), error)) {
        err << "vkt410-cli sim: cannot read " << p.options.at("--image") << ": " << error << "\n";
        return kExitNoInput;
    }
    // A radio started from a saved image proves the password its image
    // holds, unless one is given.
    if (p.options.count("--image") && !p.options.count("--password"))
        radio.takePasswordFromMemory();

    // SIGINT and SIGTERM are taken by sigwait below; block them before the
    // radio's thread starts so that it inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);

    PtyRadioHost host(radio);
    if (!host.start(error)) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        err << "vkt410-cli sim: cannot start the simulated radio: " << error << "\n";
        return kExitCantCreate;
    }
    namespace fs = std::filesystem;
    std::string link;
    if (p.options.count("--link")) {
        link = p.options.at("--link");
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(link, ec)))
            fs::remove(link, ec);
        fs::create_symlink(host.devicePath(), link, ec);
        if (ec) {
            host.stop();
            pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            err << "vkt410-cli sim: cannot make the link " << link << ": " << ec.message() << "\n";
            return kExitCantCreate;
        }
    }
    out << "simulated radio on " << host.devicePath();
    if (!link.empty())
        out << " (link " << link << ")";
    out << "\n" << std::flush;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    host.stop();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (!link.empty()) {
        std::error_code ec;
        fs::remove(link, ec);
    }
    if (p.options.count("--save")) {
        bool saved = false;
        host.withRadio([&](SimulatedRadio &r) { saved = r.saveImage(p.options.at("--save"), error); });
        if (!saved) {
            err << "vkt410-cli sim: cannot write " << p.options.at("--save") << ": " << error << "\n";
            return kExitCantCreate;
        }
        out << "saved the radio memory to " << p.options.at("--save") << "\n";
    }
    return kExitOk;
}

} // namespace vkt::cli
