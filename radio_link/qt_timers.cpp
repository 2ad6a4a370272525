#include "qt_timers.h"

namespace vkt {

QtTimerService::QtTimerService(QObject *parent) : QObject(parent)
{
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        QTimer &t = timers_[i];
        t.setSingleShot(true);
        t.setTimerType(Qt::PreciseTimer);
        const auto id = static_cast<TimerId>(i);
        QObject::connect(&t, &QTimer::timeout, this, [this, id] {
            if (handler_)
                handler_(id);
        });
    }
}

void QtTimerService::start(TimerId id, int ms)
{
    timers_[static_cast<std::size_t>(id)].start(ms);
}

void QtTimerService::stop(TimerId id)
{
    timers_[static_cast<std::size_t>(id)].stop();
}

} // namespace vkt
