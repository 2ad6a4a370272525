// The exchange's timers as QTimers.
//
// Precise single-shot timers. Every start counts from the moment it is
// made, also a restart from the timer's own handler: the exchange re-arms
// its timers right after the send or the look they time ("10 ms after each
// send, then every 3 ms", "again 1000 ms after the last sending"), so a
// period counted from an earlier due time would shorten or stretch them.
#pragma once

#include "timer_service.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>

namespace vkt {

class QtTimerService : public QObject, public TimerService {
public:
    using Handler = std::function<void(TimerId)>;
    using Clock = std::function<qint64()>; // nanoseconds, monotonic

    explicit QtTimerService(QObject *parent = nullptr);
    // Due times counted on `clock` instead of the system's (tests).
    explicit QtTimerService(Clock clock, QObject *parent = nullptr);
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    void start(TimerId id, int ms) override;
    void stop(TimerId id) override;

    // When running timer `id` is due on the service's clock; -1 when it is
    // not running.
    qint64 dueNs(TimerId id) const;

private:
    std::array<QTimer, kTimerCount> timers_;
    std::array<qint64, kTimerCount> dueNs_{};
    QElapsedTimer elapsed_;
    Clock clock_;
    Handler handler_;
};

} // namespace vkt
