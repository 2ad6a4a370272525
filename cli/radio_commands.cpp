// vkt410-cli verbs that talk to a radio over a serial port, or act as one.
#include "cli_internal.h"

#include "exchange.h"
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

const Verb kReadVerb = {
    "read",
    "usage: vkt410-cli read (--port N | --device PATH | --auto) [--password P] -o FILE.Dvf\n"
    "                       [--image-out IMAGE.bin]\n"
    "Reads the whole configuration of a radio and writes it as a project; the\n"
    "project is written only after a successful read.\n"
    "  --port N      the port numbered N by 'vkt410-cli ports'\n"
    "  --device PATH a serial device, or the link a simulated radio publishes\n"
    "  --auto        try every present port in turn\n"
    "  --password P  the radio's access password (up to 12 characters)\n"
    "  --image-out   also write the radio memory image that was read\n"
    "Exit codes: 0 SUCCESS, 1 Communication False, 2 Password Error.\n",
    {"--port", "--device", "--password", "-o", "--image-out"},
    {"--auto"},
    0};

const Verb kWriteVerb = {
    "write",
    "usage: vkt410-cli write (--port N | --device PATH | --auto) [--password P] FILE.Dvf\n"
    "Writes a project into a radio (the default band limits are sent with it).\n"
    "Exit codes: 0 SUCCESS, 1 Communication False, 2 Password Error.\n",
    {"--port", "--device", "--password"},
    {"--auto"},
    1};

const Verb kSimVerb = {
    "sim",
    "usage: vkt410-cli sim [--link PATH] [--image IMAGE.bin] [--password P] [--wire]\n"
    "                      [--save IMAGE.bin] [--silent] [--reply-delay MS]\n"
    "                      [--hang-up-after N] [--flood] [--other-protocol]\n"
    "Runs a simulated radio on a pseudo-terminal until SIGINT or SIGTERM, prints\n"
    "the terminal's device path and makes PATH a symbolic link to it.\n"
    "  --image   start from this memory image\n"
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

int SetAccessPassword(const Parsed &p, RadioData &data, std::ostream &err, const char *verb)
{
    if (!p.options.count("--password"))
        return kExitOk;
    const std::string &pw = p.options.at("--password");
    if (pw.size() > 12) {
        err << "vkt410-cli " << verb << ": a password has at most 12 characters\n";
        return kExitUsage;
    }
    std::memset(data.accessPassword, 0, sizeof data.accessPassword);
    std::memcpy(data.accessPassword, pw.data(), pw.size());
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

int CmdRead(const Parsed &p, std::ostream &out, std::ostream &err, bool terminal)
{
    EnsureApplication();
    PortMap map = PortMap::FromSystem();
    PortSelection ports;
    auto state = NewState();
    if (int rc = ChoosePort(p, map, ports, err, "read"))
        return rc;
    if (int rc = SetAccessPassword(p, state->data, err, "read"))
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
    RecomputeMaxOffsets(state->limits);
    const ExchangeOutcome outcome =
        RunExchangeOnPort(*state, ports, std::move(map), mode::kConfiguration, false, out, terminal);
    return OutcomeExit(outcome, out, err);
}

int CmdSim(const Parsed &p, std::ostream &out, std::ostream &err)
{
    SimulatedRadio radio(p.options.count("--password") ? p.options.at("--password") : std::string());
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
