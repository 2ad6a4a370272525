#include "qt_timers.h"

namespace vkt {

QtTimerService::QtTimerService(QObject *parent) : QtTimerService(Clock{}, parent) {}

QtTimerService::QtTimerService(Clock clock, QObject *parent) : QObject(parent), clock_(std::move(clock))
{
    if (!clock_) {
        elapsed_.start();
        clock_ = [this] { return elapsed_.nsecsElapsed(); };
    }
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        QTimer &t = timers_[i];
        t.setSingleShot(true);
        t.setTimerType(Qt::PreciseTimer);
        QObject::connect(&t, &QTimer::timeout, this, [this, i] {
            if (handler_)
                handler_(static_cast<TimerId>(i));
        });
    }
}

void QtTimerService::start(TimerId id, int ms)
{
    const auto i = static_cast<std::size_t>(id);
    ms = ms < 0 ? 0 : ms;
    dueNs_[i] = clock_() + qint64(ms) * 1'000'000;
    timers_[i].start(ms);
}

void QtTimerService::stop(TimerId id)
{
    timers_[static_cast<std::size_t>(id)].stop();
}

qint64 QtTimerService::dueNs(TimerId id) const
{
    const auto i = static_cast<std::size_t>(id);
    return timers_[i].isActive() ? dueNs_[i] : -1;
}

} // namespace vkt
