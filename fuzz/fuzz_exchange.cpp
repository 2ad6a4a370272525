// The programming exchange in virtual time against a line whose other end
// answers with whatever the fuzzer gives it, at whatever moment it likes.
//
// Input: two header bytes, then records.
//   byte 0   the operation: 0 Read/Write, 1 adjustment, 2 password write,
//            3 status read, 4 all write (taken modulo 5)
//   byte 1   bit 0 read from the radio, bit 1 search the ports,
//            bits 2-3 how many ports are present (0..3),
//            bits 4-5 the fixed port number - 1
//   record   control byte, length byte, that many reply bytes
//            control bit 7 clear: the record answers the next frame the
//            program sends; set: it follows the record before it (or, at
//            the start, the opening of the port)
//            control bits 0-6 (d): the delay before the bytes arrive,
//            d ms up to 63, then (d - 63) * 100 ms (up to 6.4 s)
//            length 255: no bytes, the port goes away at that moment
//
// Whatever arrives, the exchange must end by itself within its time-outs,
// release the port, stop its timers, report one outcome, and a read that
// fails must leave the configuration as it was.
#include "exchange.h"
#include "virtual_line.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <tuple>
#include <vector>

namespace {

using namespace vkt;

constexpr Micros kMs = 1000;
// The longest the exchange may go without moving on (an accepted
// handshake step or block, another port): the 50 ms pause of the port
// search, the 1000 ms pause after opening and the 5000 ms time-out.
constexpr Micros kMaxStall = 6100 * kMs;

constexpr int kModes[] = {mode::kConfiguration, mode::kAdjustment, mode::kRadioPassword, mode::kStatus,
                          mode::kAllWrite};

[[noreturn]] void Fail(const char *what, Micros at)
{
    std::fprintf(stderr, "exchange fault at %lld ms of virtual time: %s\n", static_cast<long long>(at / kMs),
                 what);
    std::abort();
}

class ScriptedLine : public SerialLine {
public:
    struct Record {
        bool follows;
        Micros delay;
        bool fails;
        std::vector<std::uint8_t> bytes;
    };

    ScriptedLine(VirtualClock &clock, const std::uint8_t *p, std::size_t n, int ports)
        : clock_(clock), ports_(ports)
    {
        for (std::size_t i = 0; i + 1 < n;) {
            const std::uint8_t control = p[i];
            const std::uint8_t length = p[i + 1];
            i += 2;
            Record r;
            r.follows = (control & 0x80) != 0;
            const int d = control & 0x7F;
            r.delay = (d < 64 ? d : (d - 63) * 100) * kMs;
            r.fails = length == 255;
            if (!r.fails) {
                const std::size_t take = std::min<std::size_t>(length, n - i);
                r.bytes.assign(p + i, p + i + take);
                i += take;
            }
            records_.push_back(std::move(r));
        }
    }

    int opens() const { return opens_; }

    bool probe(int port) override { return present(port) && port != open_; }
    bool open(int port) override
    {
        close();
        if (!present(port))
            return false;
        open_ = port;
        ++opens_;
        if (!started_) {
            started_ = true;
            release(clock_.now, true);
        }
        return true;
    }
    void close() override
    {
        dropArrived();
        open_ = 0;
    }
    bool isOpen() const override { return open_ != 0; }
    void purge() override { dropArrived(); }
    void purgeReceive() override { dropArrived(); }
    long bytesWaiting() override
    {
        if (!open_ || gone())
            return -1;
        long n = 0;
        for (const Burst &b : scheduled_) {
            if (b.due > clock_.now)
                break;
            n += static_cast<long>(b.bytes.size() - b.taken);
        }
        return n;
    }
    long read(std::uint8_t *buffer, std::size_t max) override
    {
        if (!open_ || gone())
            return -1;
        std::size_t n = 0;
        while (n < max && !scheduled_.empty() && scheduled_.front().due <= clock_.now) {
            Burst &b = scheduled_.front();
            const std::size_t take = std::min(max - n, b.bytes.size() - b.taken);
            std::memcpy(buffer + n, b.bytes.data() + b.taken, take);
            b.taken += take;
            n += take;
            if (b.taken == b.bytes.size())
                scheduled_.pop_front();
        }
        return static_cast<long>(n);
    }
    bool write(const std::uint8_t *, std::size_t) override
    {
        if (!open_ || gone())
            return false;
        release(clock_.now, false);
        return true;
    }

private:
    struct Burst {
        Micros due;
        std::vector<std::uint8_t> bytes;
        std::size_t taken = 0;
    };

    bool present(int port) const { return port >= 1 && port <= ports_ && port != deadPort_; }

    // The port goes away once a failure record is due; it stays away.
    bool gone()
    {
        if (deadPort_ == 0 && failAt_ >= 0 && clock_.now >= failAt_)
            deadPort_ = open_;
        return deadPort_ != 0 && deadPort_ == open_;
    }

    // Schedules the answer to a frame just sent (or, at the first opening,
    // whatever comes unasked) and the records that follow it.
    void release(Micros now, bool followersOnly)
    {
        Micros at = now;
        bool first = !followersOnly;
        while (next_ < records_.size() && (first || records_[next_].follows)) {
            const Record &r = records_[next_++];
            at = std::max(at + r.delay, lastDue_);
            lastDue_ = at;
            first = false;
            if (r.fails) {
                if (failAt_ < 0)
                    failAt_ = at;
            } else if (!r.bytes.empty()) {
                scheduled_.push_back({at, r.bytes});
            }
        }
    }

    void dropArrived()
    {
        while (!scheduled_.empty() && scheduled_.front().due <= clock_.now)
            scheduled_.pop_front();
    }

    VirtualClock &clock_;
    const int ports_;
    std::vector<Record> records_;
    std::size_t next_ = 0;
    std::deque<Burst> scheduled_;
    Micros lastDue_ = 0;
    Micros failAt_ = -1;
    int deadPort_ = 0;
    int open_ = 0;
    int opens_ = 0;
    bool started_ = false;
};

struct Listener : ExchangeListener {
    int calls = 0;
    ExchangeOutcome last = ExchangeOutcome::None;
    void finished(ExchangeOutcome outcome) override
    {
        ++calls;
        last = outcome;
    }
};

const ProgramState &BaseState()
{
    static const ProgramState *base = [] {
        auto *s = new ProgramState;
        SetDefaultAll(*s);
        for (int ch : {1, 2, 240})
            MakeNewChannel(s->data, ch, 145000000 + 25000u * ch, s->limits);
        return s;
    }();
    return *base;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    if (size < 2)
        return 0;
    const int exchangeMode = kModes[bytes[0] % 5];
    const std::uint8_t flags = bytes[1];

    static auto *const state = new ProgramState; // reset for every input
    *state = BaseState();
    VirtualClock clock;
    VirtualTimers timers(clock);
    ScriptedLine line(clock, bytes + 2, size - 2, (flags >> 2) & 3);
    PortSelection ports;
    ports.AutoSeachPort = (flags & 2) != 0;
    ports.Port = 1 + ((flags >> 4) & 3);
    std::uint8_t random = 0x5A;
    Exchange exchange(*state, ports, line, timers, [&] { return random++; },
                      [] { return ClockTime{2026, 12, 9, 12, 0}; });
    Listener listener;
    exchange.setListener(&listener);
    exchange.ExchangeMode = exchangeMode;
    exchange.ReadFromRadio = (flags & 1) != 0;

    exchange.ProgramStartClick();
    auto position = [&] {
        return std::make_tuple(exchange.handshakeStep(), exchange.counters().blocksAccepted, ports.PortIndex,
                               line.opens());
    };
    auto last = position();
    Micros lastMove = clock.now;
    while (exchange.running()) {
        if (!timers.fireNext(exchange, lastMove + kMaxStall))
            Fail(timers.nextDue() < 0 ? "the exchange is running but no timer will end it"
                                      : "the exchange went on past its time-out without moving on",
                 clock.now);
        if (position() != last) {
            last = position();
            lastMove = clock.now;
        }
    }

    if (line.isOpen())
        Fail("the port is still open after the end", clock.now);
    if (timers.nextDue() >= 0)
        Fail("a timer still runs after the end", clock.now);
    if (exchange.outcome() == ExchangeOutcome::None || listener.calls != 1 || listener.last != exchange.outcome())
        Fail("the end was not reported exactly once with its outcome", clock.now);

    const bool read = exchangeMode == mode::kStatus ||
                      (exchange.ReadFromRadio && (exchangeMode == mode::kConfiguration || exchangeMode == mode::kAdjustment));
    if (read && exchange.outcome() != ExchangeOutcome::Success) {
        const ProgramState &before = BaseState();
        if (std::memcmp(&before.data, &state->data, sizeof(RadioData)) != 0 ||
            std::memcmp(&before.adjustment, &state->adjustment, sizeof(AdjustmentData)) != 0 ||
            !(before.limits == state->limits) ||
            std::memcmp(&before.identity, &state->identity, sizeof(IdentityValues)) != 0)
            Fail("a failed read changed the configuration", clock.now);
    }
    return 0;
}
