// The exchange's timers as QTimers.
//
// Precise timers, and a timer restarted from its own handler keeps the
// schedule it had: the next period is counted from when it was due, not
// from when the handler happened to run, so a 3 ms poll stays on a 3 ms
// grid instead of drifting by the event loop's lateness at every tick.
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

    explicit QtTimerService(QObject *parent = nullptr);
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    void start(TimerId id, int ms) override;
    void stop(TimerId id) override;

private:
    void fire(std::size_t index);

    std::array<QTimer, kTimerCount> timers_;
    std::array<qint64, kTimerCount> dueNs_{}; // when each running timer is due
    int firing_ = -1;                         // the timer whose handler runs now
    QElapsedTimer clock_;
    Handler handler_;
};

} // namespace vkt
