#include "qt_timers.h"

#include <cmath>

namespace vkt {

QtTimerService::QtTimerService(QObject *parent) : QObject(parent)
{
    clock_.start();
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        QTimer &t = timers_[i];
        t.setSingleShot(true);
        t.setTimerType(Qt::PreciseTimer);
        QObject::connect(&t, &QTimer::timeout, this, [this, i] { fire(i); });
    }
}

void QtTimerService::fire(std::size_t index)
{
    firing_ = int(index);
    if (handler_)
        handler_(static_cast<TimerId>(index));
    firing_ = -1;
}

void QtTimerService::start(TimerId id, int ms)
{
    const auto i = static_cast<std::size_t>(id);
    const qint64 now = clock_.nsecsElapsed();
    const qint64 period = qint64(ms) * 1'000'000;
    qint64 due = now + period;
    if (firing_ == int(i)) {
        // Restarted by its own handler: count from when it was due, unless
        // the loop was held up for longer than a period (then start afresh).
        const qint64 scheduled = dueNs_[i] + period;
        if (scheduled >= now)
            due = scheduled;
    }
    dueNs_[i] = due;
    const int wait = int(std::lround(double(due - now) / 1e6));
    timers_[i].start(wait < 0 ? 0 : wait);
}

void QtTimerService::stop(TimerId id)
{
    timers_[static_cast<std::size_t>(id)].stop();
}

} // namespace vkt
