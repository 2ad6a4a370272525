// Soak: write/read cycles against the simulated radio in one process,
// printing the resident memory (VmRSS) at the start, every 50 cycles and
// at the end; after the first cycles it should stay flat.
//
// By default the exchanges run on the in-memory line in virtual time, so
// 200 cycles take seconds. With --pty they go through a pseudo-terminal,
// the Qt serial backend and QTimers in real time (no wire timing; a few
// seconds a cycle), a new line for every exchange as the exchange window
// makes one.
//
//   vkt410-bench-soak [--cycles N] [--pty]
#include "exchange.h"
#include "pty_radio_host.h"
#include "qt_timers.h"
#include "serial_port_qt.h"
#include "simulated_radio.h"
#include "virtual_line.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace vkt;

constexpr int kChannels = 100;

long RssKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

struct Loop : ExchangeListener {
    QEventLoop loop;
    void finished(ExchangeOutcome) override { loop.quit(); }
};

// One exchange through the pseudo-terminal.
ExchangeOutcome RunOnPty(ProgramState &state, const std::string &device, bool read, std::mt19937 &gen)
{
    PortSelection ports;
    ports.AutoSeachPort = false;
    QtSerialLine line(PortMap::FromDevices({QString::fromStdString(device)}));
    QtTimerService timers;
    Exchange exchange(state, ports, line, timers, [&] { return std::uint8_t(gen()); },
                      [] { return ClockTime{2026, 12, 9, 12, 0}; });
    Loop listener;
    exchange.setListener(&listener);
    timers.setHandler([&](TimerId id) { exchange.onTimer(id); });
    exchange.ReadFromRadio = read;
    exchange.ProgramStartClick();
    if (exchange.running())
        listener.loop.exec();
    return exchange.outcome();
}

// One exchange on the in-memory line.
ExchangeOutcome RunInMemory(ProgramState &state, MemoryLine &line, VirtualTimers &timers, VirtualClock &clock,
                            bool read, std::mt19937 &gen)
{
    PortSelection ports;
    ports.AutoSeachPort = false;
    Exchange exchange(state, ports, line, timers, [&] { return std::uint8_t(gen()); },
                      [] { return ClockTime{2026, 12, 9, 12, 0}; });
    exchange.ReadFromRadio = read;
    exchange.ProgramStartClick();
    RunExchange(exchange, timers, clock, clock.now + 600'000'000);
    line.clearLog(); // the test log of the line, not the program's memory
    return exchange.outcome();
}

} // namespace

int main(int argc, char **argv)
{
    int cycles = 200;
    bool pty = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pty") == 0) {
            pty = true;
        } else if (std::strcmp(argv[i], "--cycles") == 0 && i + 1 < argc) {
            cycles = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: vkt410-bench-soak [--cycles N] [--pty]\n");
            return 64;
        }
    }

    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it comes, also into a log
    QCoreApplication app(argc, argv);
    SimulatedRadio radio;
    std::unique_ptr<PtyRadioHost> host;
    VirtualClock clock;
    VirtualTimers timers(clock);
    MemoryLine memoryLine(clock);
    if (pty) {
        host = std::make_unique<PtyRadioHost>(radio);
        std::string error;
        if (!host->start(error)) {
            std::fprintf(stderr, "cannot start the simulated radio: %s\n", error.c_str());
            return 1;
        }
    } else {
        memoryLine.addPort(1, &radio);
    }

    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    std::mt19937 gen(17);
    auto exchange = [&](bool read) {
        const ExchangeOutcome outcome = pty ? RunOnPty(*state, host->devicePath(), read, gen)
                                            : RunInMemory(*state, memoryLine, timers, clock, read, gen);
        if (!pty)
            radio.reset(); // drops the radio's frame log; the memory stays
        return outcome;
    };

    std::printf("soak: %d write/read cycles of %d channels, %s\n", cycles, kChannels,
                pty ? "pseudo-terminal and Qt serial backend, real time"
                    : "in-memory line, virtual time");
    const long start = RssKb();
    std::printf("  %-12s VmRSS %7ld kB\n", "start", start);
    QElapsedTimer wall;
    wall.start();
    long at50 = -1;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        // A different configuration each time, so that the read must bring
        // back what this cycle wrote.
        SetDefaultAll(*state);
        for (int ch = 1; ch <= kChannels; ++ch)
            MakeNewChannel(state->data, ch, 144000000 + 12500u * ((ch + cycle) % 400), state->limits);
        std::snprintf(reinterpret_cast<char *>(state->data.channels[1].name), 7, "C%05d", cycle % 100000);
        const std::uint32_t written = state->data.channels[kChannels].rxFreq.get();

        if (exchange(false) != ExchangeOutcome::Success) {
            std::fprintf(stderr, "cycle %d: the write failed\n", cycle);
            return 1;
        }
        SetDefaultAll(*state);
        char expected[8];
        std::snprintf(expected, sizeof expected, "C%05d", cycle % 100000);
        if (exchange(true) != ExchangeOutcome::Success ||
            std::memcmp(state->data.channels[1].name, expected, 6) != 0 ||
            state->data.channels[kChannels].rxFreq.get() != written) {
            std::fprintf(stderr, "cycle %d: the read failed or brought back something else\n", cycle);
            return 1;
        }
        if (cycle % 50 == 0 || cycle == cycles) {
            const long rss = RssKb();
            if (cycle == 50)
                at50 = rss;
            std::printf("  after %-6d VmRSS %7ld kB\n", cycle, rss);
        }
    }
    const long end = RssKb();
    std::printf("  %-12s VmRSS %7ld kB: %+ld kB since the start", "end", end, end - start);
    if (at50 >= 0)
        std::printf(", %+ld kB since cycle 50", end - at50);
    std::printf("; %.3f s\n", double(wall.nsecsElapsed()) / 1e9);
    return 0;
}
