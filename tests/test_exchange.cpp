// The programming exchange in virtual time, against simulated radios on
// an in-memory line.
#include "codecs.h"
#include "exchange.h"
#include "simulated_radio.h"
#include "virtual_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>

namespace vkt {
namespace {

constexpr Micros kSecond = 1'000'000;
constexpr Micros kMs = 1'000;

bool IsHandshakeRequest(const std::vector<std::uint8_t> &b)
{
    return b.size() == 8 && b[0] == 0x06 && b[1] == 'D';
}

struct Recorder : ExchangeListener {
    std::vector<int> progress;
    std::vector<ExchangeOutcome> outcomes;
    void progressChanged(int p) override { progress.push_back(p); }
    void finished(ExchangeOutcome o) override { outcomes.push_back(o); }
};

class ExchangeTest : public ::testing::Test {
protected:
    ExchangeTest()
        : timers(clock), line(clock), state(std::make_unique<ProgramState>()),
          exchange(*state, ports, line, timers, [this] { return static_cast<std::uint8_t>(gen()); },
                   [] { return ClockTime{2026, 12, 9, 10, 0}; })
    {
        SetDefaultAll(*state);
        exchange.setListener(&recorder);
    }

    // Runs one exchange of `mode` to its end.
    ExchangeOutcome run(int mode, bool read, Micros limit = 600 * kSecond)
    {
        exchange.ExchangeMode = mode;
        exchange.ReadFromRadio = read;
        start = clock.now;
        exchange.ProgramStartClick();
        RunExchange(exchange, timers, clock, clock.now + limit);
        EXPECT_FALSE(exchange.running());
        return exchange.outcome();
    }

    // Times (relative to the start of the run) at which handshake requests
    // went out, with the port they went to.
    std::vector<std::pair<int, Micros>> handshakeRequests() const
    {
        std::vector<std::pair<int, Micros>> out;
        for (const auto &s : line.sent())
            if (IsHandshakeRequest(s.bytes))
                out.emplace_back(s.port, s.time - start);
        return out;
    }

    // Fires timers until `done` holds (the exchange must still be running).
    template <typename Pred>
    void runUntil(Pred done)
    {
        while (!done()) {
            ASSERT_TRUE(exchange.running());
            ASSERT_TRUE(timers.fireNext(exchange, clock.now + 10 * kSecond));
        }
    }

    int framesOfKind(const SimulatedRadio &r, char kind) const
    {
        int n = 0;
        for (const auto &f : r.frames())
            n += f.kind == kind;
        return n;
    }

    std::mt19937 gen{99};
    VirtualClock clock;
    VirtualTimers timers;
    MemoryLine line;
    std::unique_ptr<ProgramState> state;
    PortSelection ports;
    Exchange exchange;
    Recorder recorder;
    Micros start = 0;
};

// ---- timing --------------------------------------------------------------

TEST_F(ExchangeTest, SilentRadioOnFixedPortGetsFiveRequestsThenFails)
{
    SimulatedRadio radio;
    radio.behaviour().silent = true;
    line.addPort(1, &radio);
    ports.AutoSeachPort = false;
    ports.Port = 1;

    EXPECT_EQ(run(mode::kConfiguration, true), ExchangeOutcome::CommunicationFailure);
    const auto sends = handshakeRequests();
    ASSERT_EQ(sends.size(), 5u);
    const Micros first = sends[0].second;
    EXPECT_EQ(first, 1000 * kMs) << "the 1000 ms pause after opening comes first";
    for (std::size_t i = 0; i < sends.size(); ++i)
        EXPECT_EQ(sends[i].second - first, Micros(i) * kSecond);
    EXPECT_EQ(clock.now - start - first, 5 * kSecond) << "fails 5 s after the first request";
    EXPECT_FALSE(line.isOpen());
}

TEST_F(ExchangeTest, AutoSearchMovesOnAfterSilenceAndFindsTheRadio)
{
    SimulatedRadio silent3, silent5, radio;
    silent3.behaviour().silent = true;
    silent5.behaviour().silent = true;
    line.addPort(3, &silent3);
    line.addPort(5, &silent5);
    line.addPort(9, &radio);

    EXPECT_EQ(run(mode::kAdjustment, true), ExchangeOutcome::Success);
    EXPECT_EQ(line.opened(), (std::vector<int>{3, 5, 9}));
    const auto sends = handshakeRequests();
    ASSERT_GE(sends.size(), 6u);
    const Micros t0 = sends[0].second;
    const std::vector<std::pair<int, Micros>> expected = {
        {3, 0}, {3, kSecond},                                                   // first port: 2 s
        {5, 2050 * kMs}, {5, 3050 * kMs}, {5, 4050 * kMs},                      // then 3 s each
        {9, 5100 * kMs},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sends[i].first, expected[i].first) << i;
        EXPECT_EQ(sends[i].second - t0, expected[i].second) << i;
    }

    // The port that answered is not remembered: the next search starts at 3.
    line.clearLog();
    run(mode::kAdjustment, true);
    ASSERT_FALSE(line.opened().empty());
    EXPECT_EQ(line.opened().front(), 3);
}

TEST_F(ExchangeTest, AutoSearchMovesOnAtOnceAfterAWrongReply)
{
    SimulatedRadio other, radio;
    other.behaviour().wrongIdentification = true;
    line.addPort(2, &other);
    line.addPort(4, &radio);

    EXPECT_EQ(run(mode::kAdjustment, true), ExchangeOutcome::Success);
    EXPECT_EQ(line.opened(), (std::vector<int>{2, 4}));
    const auto sends = handshakeRequests();
    ASSERT_GE(sends.size(), 2u);
    EXPECT_EQ(sends[1].first, 4);
    EXPECT_LT(sends[1].second - sends[0].second, 100 * kMs);
}

// A wrong identification reply that comes late, just before the 1000 ms
// re-send of the request, puts the 50 ms pause after opening the next port
// across that re-send. Nothing may go out in the pause: the next port gets
// its request once, when the pause is over, and the search stays on it.
TEST_F(ExchangeTest, LateWrongReplyLeavesTheNextPortToItsOwnRequest)
{
    const struct {
        const char *name;
        bool silentPortFirst; // the other device is reached after a silent port
        int answeredRequest;  // the other device answers this request of its own
    } cases[] = {
        {"first port, first request", false, 1},
        {"first port, second request", false, 2},
        {"port after silence, third request", true, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        VirtualTimers timers(clock);
        MemoryLine line(clock);
        PortSelection ports;
        Exchange exchange(*state, ports, line, timers, [this] { return static_cast<std::uint8_t>(gen()); },
                          [] { return ClockTime{2026, 12, 9, 10, 0}; });
        SimulatedRadio silent, other, radio;
        silent.behaviour().silent = true;
        other.behaviour().silent = true;
        const int otherPort = c.silentPortFirst ? 2 : 1;
        const int radioPort = otherPort + 1;
        if (c.silentPortFirst)
            line.addPort(1, &silent);
        line.addPort(otherPort, &other);
        line.addPort(radioPort, &radio);

        auto requestsTo = [&](int port) {
            int n = 0;
            for (const auto &s : line.sent())
                n += s.port == port && IsHandshakeRequest(s.bytes);
            return n;
        };
        exchange.ExchangeMode = mode::kAdjustment;
        exchange.ReadFromRadio = true;
        exchange.ProgramStartClick();
        while (exchange.running() && requestsTo(otherPort) < c.answeredRequest - 1)
            ASSERT_TRUE(timers.fireNext(exchange, clock.now + 10 * kSecond));
        // From the next request on, the other device answers wrongly, 965 ms
        // after the request: the reply is seen about 35 ms before the re-send.
        other.behaviour().silent = false;
        other.behaviour().wrongIdentification = true;
        other.behaviour().replyDelayUs = 965 * kMs;
        RunExchange(exchange, timers, clock, clock.now + 60 * kSecond);

        EXPECT_EQ(exchange.outcome(), ExchangeOutcome::Success);
        EXPECT_EQ(requestsTo(otherPort), c.answeredRequest);
        EXPECT_EQ(requestsTo(radioPort), 1) << "the radio's port gets one request, not two";
        int framesToRadio = 0;
        for (const auto &s : line.sent())
            framesToRadio += s.port == radioPort;
        EXPECT_EQ(framesToRadio, 1 + 1 + 1 + 26 + 1) << "every frame goes out once: handshake, 0x02, password, "
                                                        "26 blocks, end";
        const std::vector<int> opened =
            c.silentPortFirst ? std::vector<int>{1, otherPort, radioPort} : std::vector<int>{otherPort, radioPort};
        EXPECT_EQ(line.opened(), opened);
    }
}

TEST_F(ExchangeTest, SlowRadioIsRepeatedToButNeverTimesOut)
{
    SimulatedRadio radio;
    radio.behaviour().replyDelayUs = 1200 * kMs;
    for (int i = 0; i < 409; ++i)
        radio.memory()[0x4600 + i] = static_cast<std::uint8_t>(i);
    line.addPort(1, &radio);

    EXPECT_EQ(run(mode::kAdjustment, true), ExchangeOutcome::Success);
    EXPECT_GT(clock.now - start, 26 * 1200 * kMs) << "26 slow blocks take longer than one time-out";
    // Every read request went out twice: once, and again 1.0 s later.
    std::vector<Micros> reads;
    for (const auto &s : line.sent())
        if (s.bytes.size() == 4 && s.bytes[0] == 'R' && s.bytes[1] == 0x46 && s.bytes[2] == 0x00)
            reads.push_back(s.time);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1] - reads[0], kSecond);
    EXPECT_EQ(state->adjustment.apc[0].freq.get(), 0x00010203u) << "frequencies arrive most significant byte first";
}

// Bytes that come in are taken up the moment they are complete, but never
// before the receive timer's first look after a send: 10 ms after a send of
// the send timer, 3 ms after one of the receive handler.
TEST_F(ExchangeTest, ArrivingRepliesAreTakenUpAtOnceButNotBeforeTheFirstLook)
{
    struct Run {
        std::vector<MemoryLine::Sent> sent;
        Micros took = 0;
    };
    auto read = [&](bool wireTiming, bool arrivals) {
        VirtualClock clock;
        VirtualTimers timers(clock);
        MemoryLine line(clock);
        PortSelection ports;
        ports.AutoSeachPort = false;
        Exchange exchange(*state, ports, line, timers, [this] { return static_cast<std::uint8_t>(gen()); },
                          [] { return ClockTime{2026, 12, 9, 10, 0}; });
        SimulatedRadio radio;
        radio.behaviour().wireTiming = wireTiming;
        line.addPort(1, &radio);
        line.reportArrivals(arrivals);
        exchange.ExchangeMode = mode::kAdjustment;
        exchange.ReadFromRadio = true;
        exchange.ProgramStartClick();
        RunExchange(exchange, timers, clock, line, 60 * kSecond);
        EXPECT_EQ(exchange.outcome(), ExchangeOutcome::Success);
        return Run{line.sent(), clock.now};
    };
    auto gaps = [](const Run &r) {
        std::vector<Micros> out;
        for (std::size_t i = 1; i < r.sent.size(); ++i)
            out.push_back(r.sent[i].time - r.sent[i - 1].time);
        return out;
    };

    // A radio that answers at once: its replies are in before each first
    // look, so the pace is the timers' alone, arrivals or not: 10 ms after
    // the handshake request, 3 ms after every frame sent on a reply.
    const Run timed = read(false, false), woken = read(false, true);
    ASSERT_EQ(timed.sent.size(), 1u + 1 + 1 + 26 + 1);
    std::vector<Micros> pace(timed.sent.size() - 1, 3 * kMs);
    pace[0] = 10 * kMs;
    EXPECT_EQ(gaps(timed), pace);
    EXPECT_EQ(gaps(woken), pace);

    // At 9600 baud a reply is taken up when its last byte is in, so the next
    // frame leaves when the request and its reply have crossed the line;
    // only the 1-byte reply to the second request comes before the first
    // look and waits for it.
    const Run wire = read(true, true);
    ASSERT_EQ(wire.sent.size(), timed.sent.size());
    auto replyLength = [](const std::vector<std::uint8_t> &frame) -> std::size_t {
        return frame[0] == 'R' ? 4u + frame[3] : frame.size() == 8 ? 8u : 1u;
    };
    std::vector<Micros> wirePace;
    for (std::size_t i = 0; i + 1 < wire.sent.size(); ++i) {
        const auto &frame = wire.sent[i].bytes;
        wirePace.push_back(frame.size() == 1 ? 3 * kMs
                                             : Micros(frame.size() + replyLength(frame)) * kByteTimeUs);
    }
    EXPECT_EQ(gaps(wire), wirePace);
    EXPECT_LT(wire.took, read(true, false).took) << "faster than polling alone";
}

// ---- failures ------------------------------------------------------------

struct FailureCase {
    const char *name;
    std::function<void(SimulatedRadio &, MemoryLine &, PortSelection &)> setup;
    bool read;
    ExchangeOutcome outcome;
    Micros atMost; // the outcome comes no later than this after the start
};

class ExchangeFailures : public ExchangeTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExchangeFailures, EndWithTheirOutcomeAndReleaseThePort)
{
    const FailureCase &c = GetParam();
    SimulatedRadio radio;
    c.setup(radio, line, ports);
    MakeNewChannel(state->data, 7, 145500000, state->limits);
    const auto before = std::make_unique<RadioData>(state->data);
    const auto adjustmentBefore = state->adjustment;

    EXPECT_EQ(run(mode::kConfiguration, c.read), c.outcome);
    EXPECT_EQ(recorder.outcomes, std::vector<ExchangeOutcome>{c.outcome});
    EXPECT_FALSE(line.isOpen());
    EXPECT_LE(clock.now - start, c.atMost);
    EXPECT_EQ(exchange.progress(), 0);
    if (c.read) {
        EXPECT_EQ(std::memcmp(before.get(), &state->data, sizeof(RadioData)), 0) << "a failed read changes nothing";
        EXPECT_EQ(std::memcmp(&adjustmentBefore, &state->adjustment, sizeof(AdjustmentData)), 0);
    }
}

const FailureCase kFailureCases[] = {
    {"NoPortPresent", [](SimulatedRadio &, MemoryLine &, PortSelection &) {}, true,
     ExchangeOutcome::CommunicationFailure, 0},
    {"FixedPortAbsent",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &p) {
         l.addPort(2, &r);
         p.AutoSeachPort = false;
         p.Port = 3;
     },
     true, ExchangeOutcome::CommunicationFailure, 0},
    {"FixedPortHeldByAnotherProgram",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &p) {
         l.addPort(1, &r).busy = true;
         p.AutoSeachPort = false;
     },
     true, ExchangeOutcome::CommunicationFailure, 0},
    {"SearchSkipsAPortRefusingTheSettingsAndRunsOut",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) { l.addPort(1, &r).rejectsSettings = true; }, true,
     ExchangeOutcome::CommunicationFailure, 0},
    {"WrongIdentificationOnFixedPortFailsAtOnce",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &p) {
         r.behaviour().wrongIdentification = true;
         l.addPort(1, &r);
         p.AutoSeachPort = false;
     },
     true, ExchangeOutcome::CommunicationFailure, 1100 * kMs},
    {"SearchRunsOutOfPorts",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().silent = true;
         l.addPort(1, &r);
     },
     true, ExchangeOutcome::CommunicationFailure, 5 * kSecond},
    {"WrongPassword",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.setPassword("1234");
         l.addPort(1, &r);
     },
     true, ExchangeOutcome::PasswordError, 1200 * kMs},
    {"ReadReplyWithWrongFirstByte",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().wrongFirstByte = true;
         l.addPort(1, &r);
     },
     true, ExchangeOutcome::CommunicationFailure, 1200 * kMs},
    {"WriteRefused",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().refuseWrites = true;
         l.addPort(1, &r);
     },
     false, ExchangeOutcome::CommunicationFailure, 1200 * kMs},
    {"ReplyOfWrongLengthIsRepeatedUntilTheTimeOut",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().wrongLengthReplies = true;
         l.addPort(1, &r);
     },
     true, ExchangeOutcome::CommunicationFailure, 7 * kSecond},
    {"RadioHangsUpInTheMiddleOfARead",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().hangUpAfterBlocks = 40;
         l.addPort(1, &r);
     },
     true, ExchangeOutcome::CommunicationFailure, 3 * kSecond},
    {"RadioHangsUpInTheMiddleOfAWrite",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().hangUpAfterBlocks = 40;
         l.addPort(1, &r);
     },
     false, ExchangeOutcome::CommunicationFailure, 3 * kSecond},
    {"LineFloodedWithBytes",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &) {
         r.behaviour().flood = true;
         l.addPort(1, &r);
     },
     true, ExchangeOutcome::CommunicationFailure, 12 * kSecond},
    {"AnotherDevicesProtocol",
     [](SimulatedRadio &r, MemoryLine &l, PortSelection &p) {
         r.behaviour().otherProtocol = true;
         l.addPort(1, &r);
         p.AutoSeachPort = false;
     },
     true, ExchangeOutcome::CommunicationFailure, 7 * kSecond},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExchangeFailures, ::testing::ValuesIn(kFailureCases),
                         [](const auto &info) { return std::string(info.param.name); });

// The simulated radio builds its answer the moment a frame arrives, so a
// misbehaviour switched on after a given frame was sent affects only the
// answers to the frames after it.
TEST_F(ExchangeTest, NoiseBeforeTheIdentificationIsDropped)
{
    SimulatedRadio radio;
    radio.behaviour().noiseBeforeReply = {0x00, 0x41};
    line.addPort(1, &radio);
    exchange.ExchangeMode = mode::kAdjustment;
    exchange.ReadFromRadio = true;
    exchange.ProgramStartClick();
    runUntil([&] { return !line.sent().empty(); }); // the handshake request is out
    radio.behaviour().noiseBeforeReply.clear();
    RunExchange(exchange, timers, clock);
    EXPECT_EQ(exchange.outcome(), ExchangeOutcome::Success);
    EXPECT_EQ(handshakeRequests().size(), 1u) << "accepted at the first try";
}

TEST_F(ExchangeTest, NoiseBeforeABlockReplyMakesItRepeat)
{
    SimulatedRadio radio;
    line.addPort(1, &radio);
    exchange.ExchangeMode = mode::kAdjustment;
    exchange.ReadFromRadio = true;
    exchange.ProgramStartClick();
    auto requestsFor = [&](std::uint8_t low) {
        int n = 0;
        for (const auto &s : line.sent())
            n += s.bytes.size() == 4 && s.bytes[0] == 'R' && s.bytes[1] == 0x46 && s.bytes[2] == low;
        return n;
    };
    runUntil([&] { return requestsFor(0x00) == 1; });
    radio.behaviour().noiseBeforeReply = {0x00};
    runUntil([&] { return requestsFor(0x10) == 1; }); // its answer has the noise
    radio.behaviour().noiseBeforeReply.clear();
    const Micros firstAsked = clock.now;
    runUntil([&] { return requestsFor(0x10) == 2; });
    EXPECT_EQ(clock.now - firstAsked, kSecond) << "asked again after 1000 ms";
    RunExchange(exchange, timers, clock);
    EXPECT_EQ(exchange.outcome(), ExchangeOutcome::Success);
}

TEST_F(ExchangeTest, EmptyAccessPasswordSendsALengthZeroBlock)
{
    SimulatedRadio radio;
    line.addPort(1, &radio);
    EXPECT_EQ(run(mode::kAdjustment, true), ExchangeOutcome::Success);
    const auto it = std::find_if(line.sent().begin(), line.sent().end(),
                                 [](const auto &s) { return s.bytes.size() == 16; });
    ASSERT_NE(it, line.sent().end());
    EXPECT_EQ(it->bytes[0], 0);
    std::string text = "x";
    EXPECT_TRUE(DescramblePassword(it->bytes.data(), text));
    EXPECT_TRUE(text.empty());
}

TEST_F(ExchangeTest, CloseBeforeTheEndReleasesThePortWithoutAnOutcome)
{
    SimulatedRadio radio;
    line.addPort(1, &radio);
    exchange.ProgramStartClick();
    for (int i = 0; i < 20 && exchange.running(); ++i)
        timers.fireNext(exchange, 10 * kSecond);
    ASSERT_TRUE(exchange.running());
    exchange.FormClose();
    EXPECT_FALSE(exchange.running());
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(timers.nextDue(), -1);
    EXPECT_TRUE(recorder.outcomes.empty());
}

// ---- operations ----------------------------------------------------------

int BlockWrites(const SimulatedRadio &r)
{
    int n = 0;
    for (const auto &f : r.frames())
        n += f.kind == 'W';
    return n;
}

TEST_F(ExchangeTest, WriteOfAConfigurationWithoutChannels)
{
    for (bool newPassword : {false, true}) {
        SimulatedRadio radio;
        line.addPort(1, &radio);
        state->data.writeNewPassword = newPassword;
        EXPECT_EQ(run(mode::kConfiguration, false), ExchangeOutcome::Success);
        EXPECT_EQ(BlockWrites(radio), newPassword ? 150 : 149);
        EXPECT_EQ(framesOfKind(radio, 'E'), 1);
        EXPECT_EQ(std::memcmp(radio.memory().data() + 0x14E0, state->image.at(0x14E0), 0x19F0 - 0x14E0), 0);
        EXPECT_EQ(std::memcmp(radio.memory().data() + 0x4100, state->image.at(0x4100), 0x4520 - 0x4100), 0);
        recorder.progress.clear();
    }
}

TEST_F(ExchangeTest, WriteThenReadBringsBackTheConfiguration)
{
    SimulatedRadio radio;
    line.addPort(1, &radio);
    RadioData &d = state->data;
    for (int ch : {1, 2, 100, 240}) {
        MakeNewChannel(d, ch, 144000000 + 25000u * ch, state->limits);
        d.channels[ch].encodeType = kToneDcsI;
        d.channels[ch].encodeCode = 0x2813;
        std::memcpy(d.channels[ch].name, "CH", 2);
    }
    d.squelchLevel = 8;
    d.fmMemories[3] = 99900000;
    state->adjustment.sqlL5 = 77;
    ASSERT_EQ(run(mode::kAllWrite, false), ExchangeOutcome::Success);
    EXPECT_EQ(BlockWrites(radio), 26 + 2 + 4 + 81 + 66);
    EXPECT_EQ(radio.frames()[3].address, 0x4600) << "adjustment blocks go first";

    auto written = std::make_unique<RadioData>(d);
    auto fresh = std::make_unique<ProgramState>();
    SetDefaultAll(*fresh);
    state->data = fresh->data;
    state->adjustment = fresh->adjustment;
    ASSERT_EQ(run(mode::kConfiguration, true), ExchangeOutcome::Success);
    EXPECT_EQ(framesOfKind(radio, 'R'), 2 + 4 + 81 + 66 + 1) << "bitmap, channels, two settings areas, firmware text";
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        ASSERT_EQ(IsChannelInUse(state->data, ch), IsChannelInUse(*written, ch)) << ch;
        if (!IsChannelInUse(*written, ch))
            continue;
        const ChannelEntry &a = written->channels[ch], &b = state->data.channels[ch];
        EXPECT_EQ(a.rxFreq.get(), b.rxFreq.get()) << ch;
        EXPECT_EQ(a.txFreq.get(), b.txFreq.get()) << ch;
        EXPECT_EQ((Tone{a.encodeCode, a.encodeType}), (Tone{b.encodeCode, b.encodeType})) << ch;
        EXPECT_EQ(std::memcmp(&a.flags0, &b.flags0, 4 + 6), 0) << ch; // flags and name
    }
    EXPECT_EQ(state->data.squelchLevel, 8);
    EXPECT_EQ(state->data.fmMemories[3].get(), 99900000u);
    EXPECT_EQ(state->identity.year, 2026);

    ASSERT_EQ(run(mode::kAdjustment, true), ExchangeOutcome::Success);
    EXPECT_EQ(state->adjustment.sqlL5, 77);
}

TEST_F(ExchangeTest, ReadReadsRecordZeroWhenTheRadioMarksIt)
{
    SimulatedRadio radio;
    radio.memory()[0x4000] = 0x03; // records 0 and 1
    line.addPort(1, &radio);
    ASSERT_EQ(run(mode::kConfiguration, true), ExchangeOutcome::Success);
    std::vector<std::uint16_t> channelReads;
    for (const auto &f : radio.frames())
        if (f.kind == 'R' && f.length == 22)
            channelReads.push_back(f.address);
    EXPECT_EQ(channelReads, (std::vector<std::uint16_t>{0, 22}));
    EXPECT_EQ(exchange.progressUnit(), (7714 - 22 * 239) / 100);
}

TEST_F(ExchangeTest, ProtectedRadioWithTheRightPassword)
{
    SimulatedRadio radio("8086");
    line.addPort(1, &radio);
    std::memcpy(state->data.accessPassword, "8086", 4);
    EXPECT_EQ(run(mode::kConfiguration, true), ExchangeOutcome::Success);
}

TEST_F(ExchangeTest, StatusReadNeedsNoHandshake)
{
    SimulatedRadio radio("secret");
    radio.statusBattery = 133;
    radio.statusVox = 9;
    line.addPort(1, &radio);
    EXPECT_EQ(run(mode::kStatus, true), ExchangeOutcome::Success);
    EXPECT_EQ(state->adjustment.statusBattery, 133);
    EXPECT_EQ(state->adjustment.statusVox, 9);
    EXPECT_EQ(framesOfKind(radio, 'H'), 0);
    EXPECT_EQ(framesOfKind(radio, 'Y'), 1);
    EXPECT_EQ(framesOfKind(radio, 'E'), 0) << "no end frame after a status read";
}

TEST_F(ExchangeTest, PasswordWriteSendsOneBlock)
{
    SimulatedRadio radio;
    line.addPort(1, &radio);
    std::memcpy(state->data.radioPassword, "4321", 4);
    EXPECT_EQ(run(mode::kRadioPassword, false), ExchangeOutcome::Success);
    ASSERT_EQ(BlockWrites(radio), 1);
    std::string text;
    ASSERT_TRUE(DescramblePassword(radio.memory().data() + 0x4020, text));
    EXPECT_EQ(text, "4321");
}

TEST_F(ExchangeTest, ProgressRunsToOneHundredThenDropsToZero)
{
    SimulatedRadio radio;
    line.addPort(1, &radio);
    for (int ch = 1; ch <= 100; ++ch)
        MakeNewChannel(state->data, ch, 145000000, state->limits);
    EXPECT_EQ(run(mode::kConfiguration, false), ExchangeOutcome::Success);
    EXPECT_EQ(exchange.progressUnit(), 46);
    ASSERT_GE(recorder.progress.size(), 3u);
    EXPECT_EQ(recorder.progress[0], 1) << "identification accepted";
    EXPECT_EQ(recorder.progress[1], 2) << "password accepted";
    EXPECT_EQ(recorder.progress[recorder.progress.size() - 2], 100);
    EXPECT_EQ(recorder.progress.back(), 0);
    for (std::size_t i = 1; i + 1 < recorder.progress.size(); ++i)
        EXPECT_GE(recorder.progress[i], recorder.progress[i - 1]);
}

// ---- the receive buffer --------------------------------------------------

// A line that hands out scripted bursts of bytes, one per poll.
class BurstLine : public SerialLine {
public:
    std::vector<std::vector<std::uint8_t>> bursts;
    bool purged = false;
    bool probe(int) override { return true; }
    bool open(int) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void purge() override {}
    void purgeReceive() override
    {
        purged = true;
        current_.clear();
    }
    long bytesWaiting() override
    {
        if (current_.empty() && !bursts.empty()) {
            current_ = bursts.front();
            bursts.erase(bursts.begin());
        }
        return static_cast<long>(current_.size());
    }
    long read(std::uint8_t *b, std::size_t max) override
    {
        const std::size_t n = std::min(max, current_.size());
        std::copy_n(current_.begin(), n, b);
        current_.erase(current_.begin(), current_.begin() + static_cast<std::ptrdiff_t>(n));
        return static_cast<long>(n);
    }
    bool write(const std::uint8_t *, std::size_t) override { return open_; }

private:
    bool open_ = false;
    std::vector<std::uint8_t> current_;
};

TEST(ExchangeBuffer, FloodIsDroppedWithoutOverflow)
{
    VirtualClock clock;
    VirtualTimers timers(clock);
    BurstLine line;
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    PortSelection ports;
    ports.AutoSeachPort = false;
    std::mt19937 gen(1);
    Exchange exchange(*state, ports, line, timers, [&] { return std::uint8_t(gen()); }, [] { return ClockTime{}; });

    // The handshake, then a block reply buried in 200 + 200 bytes, which
    // would run past the 256-byte buffer; then a burst over 255 bytes,
    // which is purged unread.
    exchange.ExchangeMode = mode::kAdjustment;
    line.bursts = {{'Q', 'M', 'N', 'S', 'D', '0', '1', 0xFF}, {0x06}, {0x06},
                   std::vector<std::uint8_t>(200, 'W'), std::vector<std::uint8_t>(200, 'W'),
                   std::vector<std::uint8_t>(300, 0x55)};
    exchange.ProgramStartClick();
    RunExchange(exchange, timers, clock, 20 * kSecond);
    EXPECT_TRUE(line.purged);
    EXPECT_EQ(exchange.outcome(), ExchangeOutcome::CommunicationFailure);
}

} // namespace
} // namespace vkt
