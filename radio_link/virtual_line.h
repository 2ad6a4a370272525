// An exchange in virtual time: timers that fire when the test says time has
// come, and a serial line whose ports hold simulated radios (or nothing).
// Seconds of protocol run in microseconds, and every run is repeatable.
#pragma once

#include "exchange.h"
#include "serial_line.h"
#include "simulated_radio.h"
#include "timer_service.h"

#include <array>
#include <functional>
#include <map>
#include <vector>

namespace vkt {

struct VirtualClock {
    Micros now = 0;
};

class VirtualTimers : public TimerService {
public:
    explicit VirtualTimers(VirtualClock &clock) : clock_(clock) { due_.fill(-1); }

    void start(TimerId id, int ms) override { due_[index(id)] = clock_.now + Micros(ms) * 1000; }
    void stop(TimerId id) override { due_[index(id)] = -1; }

    // Time the next timer fires, -1 when none is running.
    Micros nextDue() const;
    // Moves the clock to the next timer (not past `limit`) and fires it.
    // Timers due at the same moment fire in the order TimeOut, Pause, Rx,
    // Tx. False when no timer fires before `limit`.
    bool fireNext(Exchange &exchange, Micros limit);

private:
    static std::size_t index(TimerId id) { return static_cast<std::size_t>(id); }
    VirtualClock &clock_;
    std::array<Micros, kTimerCount> due_;
};

class MemoryLine;

// Runs the exchange until it ends or `limit` is reached; returns the clock.
Micros RunExchange(Exchange &exchange, VirtualTimers &timers, VirtualClock &clock,
                   Micros limit = 120'000'000);
// The same, with the line reporting its arrivals in between the timers (a
// timer due at the same moment goes first).
Micros RunExchange(Exchange &exchange, VirtualTimers &timers, VirtualClock &clock, MemoryLine &line,
                   Micros limit = 120'000'000);

class MemoryLine : public SerialLine {
public:
    struct Port {
        SimulatedRadio *radio = nullptr; // nullptr: a port with nothing on it
        bool busy = false;               // held by another program
        bool rejectsSettings = false;    // opens but refuses the line settings
    };

    explicit MemoryLine(VirtualClock &clock) : clock_(clock) {}

    // Makes port `number` present.
    Port &addPort(int number, SimulatedRadio *radio = nullptr);

    // Off (the default), received bytes are found by polling alone. On,
    // the line reports each of the radio's answer bytes to the arrival
    // handler the moment it is complete, as a real port does, when it is
    // run by the RunExchange that takes the line.
    void reportArrivals(bool on) { reportArrivals_ = on; }
    // When the next arrival is due, -1 when none is.
    Micros nextArrival() const;
    // Takes the bytes complete by now into the receive queue and reports
    // them; false when there were none.
    bool deliverArrival();

    // What happened on the line, for tests.
    struct Sent {
        int port;
        Micros time;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Sent> &sent() const { return sent_; }
    const std::vector<int> &opened() const { return opened_; }
    int openPort() const { return open_; }
    void clearLog();

    bool probe(int port) override;
    bool open(int port) override;
    void close() override;
    bool isOpen() const override { return open_ != 0; }
    void purge() override;
    void purgeReceive() override { purge(); }
    long bytesWaiting() override;
    long read(std::uint8_t *buffer, std::size_t max) override;
    bool write(const std::uint8_t *data, std::size_t size) override;
    void setArrivalHandler(std::function<void()> handler) override { arrival_ = std::move(handler); }

private:
    SimulatedRadio *radio() const;
    bool gone() const;

    VirtualClock &clock_;
    std::map<int, Port> ports_;
    int open_ = 0;
    std::vector<std::uint8_t> pending_;
    std::vector<Sent> sent_;
    std::vector<int> opened_;
    bool reportArrivals_ = false;
    std::function<void()> arrival_;
};

} // namespace vkt
