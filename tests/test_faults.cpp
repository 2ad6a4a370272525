// Faults on a real serial line: the Qt serial backend and QTimer timers
// against the simulated radio on a pseudo-terminal, with the radio or the
// cable misbehaving. Whatever happens, the exchange ends by itself with its
// outcome, lets go of the port, never holds up the event loop, and a read
// that fails leaves the configuration as it was.
#include "exchange.h"
#include "pty_radio_host.h"
#include "qt_timers.h"
#include "serial_port_qt.h"
#include "simulated_radio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <random>

namespace vkt {
namespace {

struct LoopListener : ExchangeListener {
    QEventLoop loop;
    void finished(ExchangeOutcome) override { loop.quit(); }
};

struct RunResult {
    ExchangeOutcome outcome = ExchangeOutcome::None;
    bool endedByItself = false;
    bool portReleased = false;
    qint64 elapsedMs = 0;
    int ticks = 0;            // of a 50 ms timer while the exchange ran
    qint64 longestGapMs = 0;  // between two ticks (and from the start and to the end)
};

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        host = std::make_unique<PtyRadioHost>(radio);
        ASSERT_TRUE(host->start(error)) << error;
        state = std::make_unique<ProgramState>();
        SetDefaultAll(*state);
        MakeNewChannel(state->data, 5, 145500000, state->limits);
        ports.AutoSeachPort = false;
        ports.Port = 1;
    }

    RunResult run(int exchangeMode, bool read, int guardMs = 20000)
    {
        RunResult result;
        QtSerialLine line(PortMap::FromDevices({QString::fromStdString(host->devicePath())}));
        QtTimerService timers;
        std::mt19937 gen(11);
        Exchange exchange(*state, ports, line, timers, [&] { return std::uint8_t(gen()); },
                          [] { return ClockTime{2026, 12, 9, 12, 0}; });
        LoopListener listener;
        exchange.setListener(&listener);
        timers.setHandler([&](TimerId id) { exchange.onTimer(id); });
        exchange.ExchangeMode = exchangeMode;
        exchange.ReadFromRadio = read;

        QElapsedTimer clock;
        qint64 lastTick = 0;
        QTimer ticker;
        ticker.setInterval(50);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            ++result.ticks;
            const qint64 now = clock.elapsed();
            result.longestGapMs = std::max(result.longestGapMs, now - lastTick);
            lastTick = now;
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &listener.loop, &QEventLoop::quit);

        clock.start();
        ticker.start();
        guard.start(guardMs);
        exchange.ProgramStartClick();
        if (exchange.running())
            listener.loop.exec();
        result.elapsedMs = clock.elapsed();
        result.longestGapMs = std::max(result.longestGapMs, result.elapsedMs - lastTick);
        result.endedByItself = !exchange.running();
        exchange.FormClose();
        result.portReleased = !line.isOpen();
        result.outcome = exchange.outcome();
        return result;
    }

    // A new line can take the device: the port was let go, lock included.
    bool deviceOpensAgain()
    {
        QtSerialLine again(PortMap::FromDevices({QString::fromStdString(host->devicePath())}));
        const bool ok = again.probe(1) && again.open(1);
        again.close();
        return ok;
    }

    static void ExpectResponsive(const RunResult &r)
    {
        EXPECT_GT(r.ticks, 0);
        // The exchange waits on timers, never in a loop of its own; the
        // bound leaves room for a loaded machine and a sanitizer build.
        EXPECT_LT(r.longestGapMs, 1000) << "the event loop was held up";
    }

    SimulatedRadio radio;
    std::unique_ptr<PtyRadioHost> host;
    std::unique_ptr<ProgramState> state;
    PortSelection ports;
};

struct FaultCase {
    const char *name;
    std::function<void(SimulatedRadio &)> setup;
    bool read;
    qint64 atMostMs; // the failure comes by then: the 1 s opening pause and the 5 s time-out, with room
};

void PrintTo(const FaultCase &c, std::ostream *os) { *os << c.name; }

class LineFaults : public FaultTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LineFaults, EndAsCommunicationFalseAndLetGoOfThePort)
{
    const FaultCase &c = GetParam();
    host->withRadio(c.setup);
    const auto dataBefore = std::make_unique<RadioData>(state->data);
    const AdjustmentData adjustmentBefore = state->adjustment;

    const RunResult r = run(mode::kConfiguration, c.read);
    EXPECT_TRUE(r.endedByItself);
    EXPECT_EQ(r.outcome, ExchangeOutcome::CommunicationFailure);
    EXPECT_LE(r.elapsedMs, c.atMostMs);
    EXPECT_TRUE(r.portReleased);
    ExpectResponsive(r);
    if (c.read) {
        EXPECT_EQ(std::memcmp(dataBefore.get(), &state->data, sizeof(RadioData)), 0) << "a failed read changes nothing";
        EXPECT_EQ(std::memcmp(&adjustmentBefore, &state->adjustment, sizeof(AdjustmentData)), 0);
    }

    if (host->hungUp()) {
        // The terminal is gone with the radio; a new one usually gets the
        // same device name, which must not still be locked by us.
        std::string error;
        ASSERT_TRUE(host->start(error)) << error;
    }
    EXPECT_TRUE(deviceOpensAgain());
}

const FaultCase kLineFaults[] = {
    {"RadioHangsUpInTheMiddleOfARead", [](SimulatedRadio &r) { r.behaviour().hangUpAfterBlocks = 30; }, true, 8000},
    {"RadioHangsUpInTheMiddleOfAWrite", [](SimulatedRadio &r) { r.behaviour().hangUpAfterBlocks = 30; }, false, 8000},
    {"LineFloodedWithBytes", [](SimulatedRadio &r) { r.behaviour().flood = true; }, true, 10000},
    {"RadioAnswersAnotherDevicesProtocol", [](SimulatedRadio &r) { r.behaviour().otherProtocol = true; }, true,
     10000},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineFaults, ::testing::ValuesIn(kLineFaults),
                         [](const auto &info) { return std::string(info.param.name); });

// Every answer 900 ms late, just inside the 1 s repeat: the 26 blocks of
// an adjustment read take several time-outs' worth of time, yet each
// answer keeps the exchange alive.
TEST_F(FaultTest, SlowButSteadyRadioIsReadToTheEnd)
{
    host->withRadio([](SimulatedRadio &r) {
        r.behaviour().replyDelayUs = 900'000;
        for (int i = 0; i < 409; ++i)
            r.memory()[0x4600 + i] = static_cast<std::uint8_t>(i * 7 + 1);
    });

    const RunResult r = run(mode::kAdjustment, true, 60000);
    EXPECT_TRUE(r.endedByItself);
    EXPECT_EQ(r.outcome, ExchangeOutcome::Success);
    EXPECT_GT(r.elapsedMs, 3 * 5000) << "the read outlasted three time-outs";
    EXPECT_TRUE(r.portReleased);
    ExpectResponsive(r);
    EXPECT_EQ(state->adjustment.apc[0].freq.get(), 0x01080F16u) << "the slow answers were taken";
    EXPECT_EQ(state->adjustment.lcdBrightnessFine, static_cast<std::uint8_t>(408 * 7 + 1));
    EXPECT_TRUE(deviceOpensAgain());
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
