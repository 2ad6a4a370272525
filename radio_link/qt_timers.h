// The exchange's timers as QTimers. Precise timers, so that the 3 ms poll
// stays 3 ms.
#pragma once

#include "timer_service.h"

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
    std::array<QTimer, kTimerCount> timers_;
    Handler handler_;
};

} // namespace vkt
