#include "virtual_line.h"

#include <algorithm>
#include <cstring>

namespace vkt {

Micros VirtualTimers::nextDue() const
{
    Micros next = -1;
    for (Micros d : due_)
        if (d >= 0 && (next < 0 || d < next))
            next = d;
    return next;
}

bool VirtualTimers::fireNext(Exchange &exchange, Micros limit)
{
    const Micros next = nextDue();
    if (next < 0 || next > limit)
        return false;
    // Enum order is the firing order for timers due at the same moment.
    for (std::size_t i = 0; i < due_.size(); ++i) {
        if (due_[i] == next) {
            clock_.now = std::max(clock_.now, next);
            due_[i] = -1;
            exchange.onTimer(static_cast<TimerId>(i));
            return true;
        }
    }
    return false;
}

Micros RunExchange(Exchange &exchange, VirtualTimers &timers, VirtualClock &clock, Micros limit)
{
    while (exchange.running() && timers.fireNext(exchange, limit)) {
    }
    return clock.now;
}

Micros RunExchange(Exchange &exchange, VirtualTimers &timers, VirtualClock &clock, MemoryLine &line, Micros limit)
{
    while (exchange.running()) {
        const Micros arrival = line.nextArrival();
        const Micros due = timers.nextDue();
        if (arrival >= 0 && arrival <= limit && (due < 0 || arrival < due)) {
            clock.now = std::max(clock.now, arrival);
            if (line.deliverArrival())
                continue;
        }
        if (!timers.fireNext(exchange, limit))
            break;
    }
    return clock.now;
}

Micros MemoryLine::nextArrival() const
{
    const SimulatedRadio *r = radio();
    if (!reportArrivals_ || !arrival_ || !r || r->hungUp())
        return -1;
    return r->nextOutputTime();
}

bool MemoryLine::deliverArrival()
{
    SimulatedRadio *r = radio();
    if (!r || r->takeOutput(clock_.now, pending_) == 0)
        return false;
    if (arrival_) {
        const auto handler = arrival_; // it may replace itself
        handler();
    }
    return true;
}

MemoryLine::Port &MemoryLine::addPort(int number, SimulatedRadio *radio)
{
    Port &p = ports_[number];
    p.radio = radio;
    return p;
}

void MemoryLine::clearLog()
{
    sent_.clear();
    opened_.clear();
}

SimulatedRadio *MemoryLine::radio() const
{
    auto it = ports_.find(open_);
    return it == ports_.end() ? nullptr : it->second.radio;
}

bool MemoryLine::gone() const
{
    const SimulatedRadio *r = radio();
    return r && r->hungUp();
}

bool MemoryLine::probe(int port)
{
    auto it = ports_.find(port);
    return it != ports_.end() && !it->second.busy && port != open_ && !(it->second.radio && it->second.radio->hungUp());
}

bool MemoryLine::open(int port)
{
    close();
    auto it = ports_.find(port);
    if (it == ports_.end() || it->second.busy || it->second.rejectsSettings ||
        (it->second.radio && it->second.radio->hungUp()))
        return false;
    open_ = port;
    opened_.push_back(port);
    return true;
}

void MemoryLine::close()
{
    open_ = 0;
    pending_.clear();
}

void MemoryLine::purge()
{
    if (SimulatedRadio *r = radio())
        r->takeOutput(clock_.now, pending_);
    pending_.clear();
}

long MemoryLine::bytesWaiting()
{
    if (!open_ || gone())
        return -1;
    if (SimulatedRadio *r = radio())
        r->takeOutput(clock_.now, pending_);
    return static_cast<long>(pending_.size());
}

long MemoryLine::read(std::uint8_t *buffer, std::size_t max)
{
    if (!open_ || gone())
        return -1;
    const std::size_t n = std::min(max, pending_.size());
    std::copy_n(pending_.begin(), n, buffer);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<long>(n);
}

bool MemoryLine::write(const std::uint8_t *data, std::size_t size)
{
    if (!open_ || gone())
        return false;
    sent_.push_back({open_, clock_.now, std::vector<std::uint8_t>(data, data + size)});
    if (SimulatedRadio *r = radio())
        r->receive(data, size, clock_.now);
    return true;
}

} // namespace vkt
