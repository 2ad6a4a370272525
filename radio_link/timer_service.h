// Timers of a programming exchange.
//
// The exchange owns no real timer: it asks a TimerService to start and
// stop its timers and is called back through Exchange::onTimer. The
// window drives it with QTimer; tests drive it in virtual time.
#pragma once

#include <cstdint>

namespace vkt {

enum class TimerId : std::uint8_t {
    TimeOut, // gives up after 5000 ms without progress
    Pause,   // the pauses after opening a port (1000 ms, 50 ms)
    Rx,      // polls for received bytes: 10 ms after each send, then 3 ms
    Tx,      // sends and re-sends every 1000 ms
};
inline constexpr int kTimerCount = 4;

class TimerService {
public:
    virtual ~TimerService() = default;
    // (Re)starts timer `id` to fire once after `ms` milliseconds. A timer
    // that fires is stopped until it is started again.
    virtual void start(TimerId id, int ms) = 0;
    virtual void stop(TimerId id) = 0;
};

} // namespace vkt
