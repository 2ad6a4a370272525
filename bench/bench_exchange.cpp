// A full write and a full read of 240 channels against the simulated radio
// with wire timing, through a pseudo-terminal and the Qt serial backend.
// Prints the time taken, the wire limit (every byte of every frame at 9600
// baud, 10 bits a byte, plus the 1000 ms pause after opening the port),
// their ratio, the CPU time the exchange's thread used and that of the whole
// process (the exchange and the simulated radio's thread).
#include "exchange.h"
#include "pty_radio_host.h"
#include "qt_timers.h"
#include "serial_port_qt.h"
#include "simulated_radio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdio>
#include <ctime>
#include <memory>
#include <random>

#include <sys/resource.h>

namespace {

double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Loop : vkt::ExchangeListener {
    QEventLoop loop;
    void finished(vkt::ExchangeOutcome) override { loop.quit(); }
};

bool Run(const char *what, vkt::ProgramState &state, const std::string &device, bool read)
{
    using namespace vkt;
    PortSelection ports;
    ports.AutoSeachPort = false;
    ports.Port = 1;
    QtSerialLine line(PortMap::FromDevices({QString::fromStdString(device)}));
    QtTimerService timers;
    std::mt19937 gen(3);
    Exchange exchange(state, ports, line, timers, [&] { return std::uint8_t(gen()); },
                      [] { return ClockTime{2026, 12, 9, 12, 0}; });
    Loop listener;
    exchange.setListener(&listener);
    timers.setHandler([&](TimerId id) { exchange.onTimer(id); });
    exchange.ExchangeMode = mode::kConfiguration;
    exchange.ReadFromRadio = read;

    QElapsedTimer wall;
    const double cpu0 = ThreadCpuSeconds();
    const double process0 = ProcessCpuSeconds();
    wall.start();
    exchange.ProgramStartClick();
    if (exchange.running())
        listener.loop.exec();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = ThreadCpuSeconds() - cpu0;
    const double process = ProcessCpuSeconds() - process0;

    const ExchangeCounters &c = exchange.counters();
    const double wire = double(c.bytesSent + c.bytesReceived) * 10.0 / 9600.0 + 1.0;
    std::printf("  %-6s %-20s %7.3f s, wire limit %7.3f s, ratio %.3f, exchange CPU %.3f s (%.1f%% of wall), "
                "process CPU %.3f s, %u frames\n",
                what, OutcomeText(exchange.outcome()), seconds, wire, seconds / wire, cpu, 100.0 * cpu / seconds,
                process, c.framesSent);
    return exchange.outcome() == ExchangeOutcome::Success;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace vkt;
    QCoreApplication app(argc, argv);
    SimulatedRadio radio;
    radio.behaviour().wireTiming = true;
    PtyRadioHost host(radio);
    std::string error;
    if (!host.start(error)) {
        std::fprintf(stderr, "cannot start the simulated radio: %s\n", error.c_str());
        return 1;
    }

    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    RecomputeMaxOffsets(state->limits);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        MakeNewChannel(state->data, ch, 144000000 + 12500u * ch, state->limits);

    std::printf("exchange with the simulated radio at 9600 baud through a pseudo-terminal, 240 channels:\n");
    const bool ok = Run("write", *state, host.devicePath(), false) && Run("read", *state, host.devicePath(), true);
    return ok ? 0 : 1;
}
