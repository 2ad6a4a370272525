// Exchanges through a real pseudo-terminal: the Qt serial backend, QTimer
// timers and the simulated radio on its own thread, as a user with no
// radio at hand runs them.
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

#include <cstring>
#include <memory>
#include <random>

namespace vkt {
namespace {

struct LoopListener : ExchangeListener {
    QEventLoop loop;
    void finished(ExchangeOutcome) override { loop.quit(); }
};

class PtyExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        host = std::make_unique<PtyRadioHost>(radio);
        ASSERT_TRUE(host->start(error)) << error;
        state = std::make_unique<ProgramState>();
        SetDefaultAll(*state);
        ports.AutoSeachPort = false;
        ports.Port = 1;
    }

    ExchangeOutcome run(int exchangeMode, bool read, int timeoutMs = 30000)
    {
        QtSerialLine line(PortMap::FromDevices({QString::fromStdString(host->devicePath())}));
        QtTimerService timers;
        std::mt19937 gen(5);
        Exchange exchange(*state, ports, line, timers, [&] { return std::uint8_t(gen()); },
                          [] { return ClockTime{2026, 12, 9, 12, 0}; });
        LoopListener listener;
        exchange.setListener(&listener);
        timers.setHandler([&](TimerId id) { exchange.onTimer(id); });
        exchange.ExchangeMode = exchangeMode;
        exchange.ReadFromRadio = read;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &listener.loop, &QEventLoop::quit);
        guard.start(timeoutMs);
        exchange.ProgramStartClick();
        if (exchange.running())
            listener.loop.exec();
        EXPECT_FALSE(exchange.running()) << "the exchange must end by itself";
        exchange.FormClose();
        portReleased = !line.isOpen();
        return exchange.outcome();
    }

    SimulatedRadio radio;
    std::unique_ptr<PtyRadioHost> host;
    std::unique_ptr<ProgramState> state;
    PortSelection ports;
    bool portReleased = false;
};

TEST_F(PtyExchangeTest, WriteThenReadThroughAPseudoTerminal)
{
    for (int ch : {1, 17, 240})
        MakeNewChannel(state->data, ch, 146000000 + 12500u * ch, state->limits);
    std::memcpy(state->data.channels[17].name, "PTY", 3);
    ASSERT_EQ(run(mode::kConfiguration, false), ExchangeOutcome::Success);
    EXPECT_TRUE(portReleased);

    auto written = std::make_unique<RadioData>(state->data);
    SetDefaultAll(*state);
    ASSERT_EQ(run(mode::kConfiguration, true), ExchangeOutcome::Success);
    for (int ch : {1, 17, 240}) {
        EXPECT_TRUE(IsChannelInUse(state->data, ch));
        EXPECT_EQ(state->data.channels[ch].rxFreq.get(), written->channels[ch].rxFreq.get());
    }
    EXPECT_EQ(std::memcmp(state->data.channels[17].name, "PTY", 3), 0);
}

TEST_F(PtyExchangeTest, HangUpInTheMiddleEndsAsAFailure)
{
    host->withRadio([](SimulatedRadio &r) { r.behaviour().hangUpAfterBlocks = 30; });
    MakeNewChannel(state->data, 3, 145000000, state->limits);
    auto before = std::make_unique<RadioData>(state->data);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(mode::kConfiguration, true), ExchangeOutcome::CommunicationFailure);
    EXPECT_TRUE(portReleased);
    EXPECT_LT(clock.elapsed(), 8000) << "a vanished port ends the exchange, it does not hang";
    EXPECT_EQ(std::memcmp(before.get(), &state->data, sizeof(RadioData)), 0);
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
