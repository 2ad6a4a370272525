#include "qt_timers.h"
#include "serial_port_qt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vkt {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// ---- port numbering ----------------------------------------------------

TEST(PortMapSort, UsbFirstThenNumericOrder)
{
    const struct {
        QStringList input;
        QStringList sorted;
    } cases[] = {
        {{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"}},
        {{"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB0"},
         {"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"}},
        {{"/dev/cu.Bluetooth-Incoming-Port", "/dev/cu.usbserial-1410", "/dev/tty.usbmodem2",
          "/dev/cu.usbserial-110"},
         {"/dev/cu.usbserial-110", "/dev/cu.usbserial-1410", "/dev/tty.usbmodem2",
          "/dev/cu.Bluetooth-Incoming-Port"}},
        // every run of digits counts, not only the last
        {{"/dev/ttyUSB10.1", "/dev/ttyUSB1.10", "/dev/ttyUSB1.9"},
         {"/dev/ttyUSB1.9", "/dev/ttyUSB1.10", "/dev/ttyUSB10.1"}},
        // numbers too long for any integer type
        {{"/dev/x100000000000000000000", "/dev/x99999999999999999999"},
         {"/dev/x99999999999999999999", "/dev/x100000000000000000000"}},
        {{"/dev/ttyS1", "/dev/ttyS", "/tmp/radio"}, {"/dev/ttyS", "/dev/ttyS1", "/tmp/radio"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PortMap::SortDevices(c.input), c.sorted) << c.input.join(' ').toStdString();
        // The order depends on the names only, not on the order they came in.
        QStringList reversed(c.input.rbegin(), c.input.rend());
        EXPECT_EQ(PortMap::SortDevices(reversed), c.sorted) << c.input.join(' ').toStdString();
    }
}

QStringList Names(int count, const char *prefix)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QString("%1%2").arg(prefix).arg(i);
    return names;
}

TEST(PortMap, NumbersDevicesFromOneWithoutDuplicates)
{
    PortMap map = PortMap::FromDevices({"/dev/a", "/dev/b", "/dev/a", "", "/dev/c"});
    ASSERT_EQ(map.count(), 3);
    EXPECT_EQ(map.device(1), "/dev/a");
    EXPECT_EQ(map.device(2), "/dev/b");
    EXPECT_EQ(map.device(3), "/dev/c");
    for (int none : {0, -1, 4, kMaxPortNumber})
        EXPECT_TRUE(map.device(none).isEmpty()) << none;

    EXPECT_EQ(map.portOf("/dev/b"), 2);
    // Paths are compared as given, never resolved.
    for (const char *other : {"/dev/x", "", "/dev/../dev/b", "/dev/b/"})
        EXPECT_EQ(map.portOf(other), 0) << other;

    EXPECT_EQ(map.add("/dev/b"), 2);
    EXPECT_EQ(map.add("/dev/d"), 4);
    EXPECT_EQ(map.add(""), 0);
    EXPECT_EQ(map.count(), 4);
}

TEST(PortMap, OffersThirtyNumbersAtMost)
{
    PortMap map = PortMap::FromDevices(Names(35, "/dev/p"));
    ASSERT_EQ(map.count(), kMaxPortNumber);
    EXPECT_EQ(map.device(kMaxPortNumber), "/dev/p30");
    EXPECT_EQ(map.portOf("/dev/p31"), 0);
    EXPECT_EQ(map.add("/dev/new"), 0);
    EXPECT_EQ(map.add("/dev/p7"), 7);
    EXPECT_EQ(map.count(), kMaxPortNumber);
}

class ExtraPortsVariable : public ::testing::Test {
protected:
    void TearDown() override { qunsetenv(kExtraPortsVariable); }
};

TEST_F(ExtraPortsVariable, AppendsPathsAfterSystemDevicesAndGivenOnes)
{
    qunsetenv(kExtraPortsVariable);
    const PortMap system = PortMap::FromSystem();
    const int base = system.count();
    if (base > kMaxPortNumber - 5)
        GTEST_SKIP() << "too many system serial devices to leave room";

    const struct {
        const char *variable;
        QStringList given;
        QStringList expected; // after the system's devices
    } cases[] = {
        {"/tmp/b::/tmp/a:/tmp/c:", {"/tmp/a"}, {"/tmp/a", "/tmp/b", "/tmp/c"}},
        {":", {}, {}},
        {"", {"/tmp/link"}, {"/tmp/link"}},
        {"/tmp/x:/tmp/x", {}, {"/tmp/x"}},
    };
    for (const auto &c : cases) {
        qputenv(kExtraPortsVariable, c.variable);
        const PortMap map = PortMap::FromSystem(c.given);
        ASSERT_EQ(map.count(), base + c.expected.size()) << c.variable;
        for (int port = 1; port <= base; ++port)
            EXPECT_EQ(map.device(port), system.device(port)) << c.variable;
        for (int i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(map.device(base + 1 + i), c.expected[i]) << c.variable;
    }

    qputenv(kExtraPortsVariable, Names(40, "/tmp/e").join(':').toUtf8());
    EXPECT_EQ(PortMap::FromSystem().count(), kMaxPortNumber);
}

// ---- the line over a real pseudo-terminal ------------------------------

// A pseudo-terminal pair: the line opens the slave by its path, the test
// plays the radio at the master.
class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        path_ = QString::fromLocal8Bit(::ptsname(master_));
        // Raw mode from the start, so nothing the test sends before the line
        // sets its own settings is echoed or translated.
        const int slave = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        if (slave < 0) {
            path_.clear();
            return;
        }
        termios tio{};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
        ::close(slave);
    }
    ~Pty() { hangUp(); }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool ok() const { return master_ >= 0 && !path_.isEmpty(); }
    const QString &path() const { return path_; }
    int master() const { return master_; }

    void send(const std::string &bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    // Reads at the master until `count` bytes came or a second has passed.
    std::string receive(std::size_t count) const
    {
        std::string got;
        const auto deadline = Clock::now() + 1s;
        char buffer[512];
        while (got.size() < count && Clock::now() < deadline) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, std::size_t(n));
            else
                std::this_thread::sleep_for(1ms);
        }
        return got;
    }

    void hangUp()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    QString path_;
};

// Polls bytesWaiting() the way the exchange does, without an event loop,
// until `done` holds or `bound` has passed; returns the last value.
long PollWaiting(QtSerialLine &line, const std::function<bool(long)> &done,
                 Clock::duration bound = 1s)
{
    const auto deadline = Clock::now() + bound;
    long waiting = line.bytesWaiting();
    while (!done(waiting) && Clock::now() < deadline) {
        std::this_thread::sleep_for(2ms);
        waiting = line.bytesWaiting();
    }
    return waiting;
}

std::string ReadAll(QtSerialLine &line, long count)
{
    std::vector<std::uint8_t> buffer(std::size_t(count) + 8);
    const long n = line.read(buffer.data(), buffer.size());
    return n < 0 ? std::string("<failed>") : std::string(buffer.begin(), buffer.begin() + n);
}

std::string AllByteValues()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

class SerialLineOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!pty_.ok())
            GTEST_SKIP() << "no pseudo-terminal available";
    }
    Pty pty_;
};

TEST_F(SerialLineOverPty, CarriesEveryByteValueBothWays)
{
    // Through the device path and through a symbolic link to it, as a
    // simulated radio publishes its pty.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath("radio");
    ASSERT_TRUE(QFile::link(pty_.path(), link));

    for (const QString &device : {pty_.path(), link}) {
        SCOPED_TRACE(device.toStdString());
        QtSerialLine line(PortMap::FromDevices({device}));
        ASSERT_TRUE(line.open(1));
        EXPECT_TRUE(line.isOpen());

        const std::string bytes = AllByteValues();
        ASSERT_TRUE(line.write(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()));
        EXPECT_EQ(pty_.receive(bytes.size()), bytes);

        EXPECT_EQ(line.bytesWaiting(), 0);
        pty_.send(bytes);
        EXPECT_EQ(PollWaiting(line, [&](long n) { return n >= long(bytes.size()); }),
                  long(bytes.size()));
        EXPECT_EQ(ReadAll(line, long(bytes.size())), bytes);
        EXPECT_EQ(line.bytesWaiting(), 0);

        line.close();
        EXPECT_FALSE(line.isOpen());
        EXPECT_EQ(line.bytesWaiting(), -1);
    }
}

#ifdef __linux__
TEST_F(SerialLineOverPty, AppliesTheRadioLineSettings)
{
    QtSerialLine line(PortMap::FromDevices({pty_.path()}));
    ASSERT_TRUE(line.open(1));
    // On Linux the master reports the slave's settings.
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty_.master(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(::cfgetispeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}
#endif

TEST_F(SerialLineOverPty, PurgeDropsWaitingBytes)
{
    QtSerialLine line(PortMap::FromDevices({pty_.path()}));
    ASSERT_TRUE(line.open(1));

    for (const bool receiveOnly : {false, true}) {
        SCOPED_TRACE(receiveOnly ? "purgeReceive" : "purge");
        // Some bytes already taken from the system, some still in its queue.
        pty_.send("abc");
        ASSERT_EQ(PollWaiting(line, [](long n) { return n >= 3; }), 3);
        pty_.send("de");
        std::this_thread::sleep_for(50ms);
        receiveOnly ? line.purgeReceive() : line.purge();
        EXPECT_EQ(line.bytesWaiting(), 0);
        EXPECT_EQ(PollWaiting(line, [](long n) { return n != 0; }, 100ms), 0);

        pty_.send("z");
        ASSERT_EQ(PollWaiting(line, [](long n) { return n != 0; }), 1);
        EXPECT_EQ(ReadAll(line, 1), "z");
    }
}

TEST_F(SerialLineOverPty, OpenIsExclusiveAndProbeSeesIt)
{
    Pty second;
    ASSERT_TRUE(second.ok());
    const PortMap map = PortMap::FromDevices({pty_.path(), second.path(), "/dev/vkt410-no-such-port"});
    QtSerialLine line(map);
    QtSerialLine other(map);

    EXPECT_TRUE(other.probe(1));
    EXPECT_FALSE(other.probe(3));
    EXPECT_FALSE(other.probe(4)); // no device numbered 4
    EXPECT_FALSE(line.open(3));
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.open(0));

    ASSERT_TRUE(line.open(1));
    EXPECT_FALSE(other.probe(1));
    EXPECT_FALSE(other.open(1));
    EXPECT_FALSE(line.probe(1)); // held by this very line
    EXPECT_TRUE(other.probe(2));

    // Opening another port releases the first.
    ASSERT_TRUE(line.open(2));
    EXPECT_TRUE(other.probe(1));
    EXPECT_FALSE(other.probe(2));
    line.close();
    EXPECT_TRUE(other.probe(2));
}

// Runs the event loop until `done` holds or `bound` has passed.
bool ProcessEventsUntil(const std::function<bool()> &done, Clock::duration bound = 2s)
{
    const auto deadline = Clock::now() + bound;
    while (!done() && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

TEST_F(SerialLineOverPty, ReportsArrivalsFromTheEventLoopOnly)
{
    QtSerialLine line(PortMap::FromDevices({pty_.path()}));
    ASSERT_TRUE(line.open(1));
    int calls = 0;
    bool insideALineCall = false;
    bool calledInside = false;
    line.setArrivalHandler([&] {
        ++calls;
        calledInside |= insideALineCall;
    });

    pty_.send("abc");
    EXPECT_TRUE(ProcessEventsUntil([&] { return calls > 0; })) << "bytes came in unreported";
    EXPECT_EQ(line.bytesWaiting(), 3);
    EXPECT_EQ(ReadAll(line, 3), "abc");

    // Bytes the line takes in during its own call are reported after it.
    pty_.send("de");
    std::this_thread::sleep_for(50ms);
    calls = 0;
    insideALineCall = true;
    EXPECT_EQ(line.bytesWaiting(), 2);
    insideALineCall = false;
    ProcessEventsUntil([&] { return calls > 0; }, 200ms);
    EXPECT_FALSE(calledInside);
    EXPECT_LE(calls, 1) << "one call for the signals that came before it";
    EXPECT_EQ(ReadAll(line, 2), "de");

    // A handler taken away, or a closed line, reports nothing.
    for (const bool close : {false, true}) {
        if (close) {
            line.setArrivalHandler([&] { ++calls; });
            line.close();
        } else {
            line.setArrivalHandler({});
        }
        calls = 0;
        pty_.send("f");
        ProcessEventsUntil([&] { return calls > 0; }, 100ms);
        EXPECT_EQ(calls, 0) << (close ? "closed" : "no handler");
        ASSERT_TRUE(line.open(1));
    }
}

// The port's own reader may find the bytes it was woken for already taken
// by the line (its readiness was seen before the line read them); that is
// no fault of the line.
TEST_F(SerialLineOverPty, BytesTakenBeforeThePortsReaderLooksAreNoFault)
{
    QtSerialLine line(PortMap::FromDevices({pty_.path()}));
    ASSERT_TRUE(line.open(1));
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        pty_.send("ab");
        std::this_thread::sleep_for(5ms);
        long taken = -2;
        QTimer::singleShot(0, [&] { taken = line.bytesWaiting(); });
        ProcessEventsUntil([&] { return taken != -2; }, 500ms);
        QCoreApplication::processEvents();
        ASSERT_EQ(taken, 2);
        ASSERT_EQ(line.bytesWaiting(), 2);
        ASSERT_EQ(ReadAll(line, 2), "ab");
        const std::uint8_t byte = 'x';
        ASSERT_TRUE(line.write(&byte, 1));
        ASSERT_EQ(pty_.receive(1), "x");
    }
}

TEST_F(SerialLineOverPty, HangUpFailsTheLineWithoutBlocking)
{
    QtSerialLine line(PortMap::FromDevices({pty_.path()}));
    ASSERT_TRUE(line.open(1));

    // A reply taken in just before the other end goes away is still read.
    pty_.send("ok");
    ASSERT_EQ(PollWaiting(line, [](long n) { return n >= 2; }), 2);
    pty_.hangUp();

    const auto start = Clock::now();
    EXPECT_EQ(line.bytesWaiting(), 2);
    EXPECT_EQ(ReadAll(line, 2), "ok");
    EXPECT_EQ(PollWaiting(line, [](long n) { return n != 0; }), -1);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(line.bytesWaiting(), -1);
        std::uint8_t byte = 0;
        EXPECT_EQ(line.read(&byte, 1), -1);
        EXPECT_FALSE(line.write(&byte, 1));
    }
    EXPECT_LT(Clock::now() - start, 500ms);

    // The owner closes the failed line as usual.
    EXPECT_TRUE(line.isOpen());
    line.close();
    EXPECT_FALSE(line.isOpen());
}

// ---- the exchange's timers ---------------------------------------------

// Every start counts from the moment it is made, a restart from the timer's
// own handler too. After a send from the receive handler (which re-arms the
// receive timer at 10 ms, then at 3 ms) the next look comes 3 ms after the
// send, also when the handler ran late; a re-send comes 1000 ms after the
// last one. The service runs on a clock of the test's, so only the order of
// events comes from the real event loop, never a measured time.
TEST(QtTimerService, RestartsCountFromTheMomentTheyAreMade)
{
    constexpr qint64 kMsNs = 1'000'000;
    const struct {
        const char *name;
        TimerId id;
        int firstMs;               // the start that makes the timer fire
        qint64 lateNs;             // how late its handler runs after that
        std::vector<int> restarts; // made by the handler, in order
        int dueMs;                 // then due this long after the handler ran
    } cases[] = {
        {"reply-driven send: 10 ms, then the 3 ms re-arm", TimerId::Rx, 3, 0, {10, 3}, 3},
        {"the same, handler 2 ms late", TimerId::Rx, 3, 2 * kMsNs, {10, 3}, 3},
        {"first look after a send from the send timer", TimerId::Rx, 10, 0, {10}, 10},
        {"look again after a late look", TimerId::Rx, 10, kMsNs, {3}, 3},
        {"re-send after a late tick", TimerId::Tx, 5, 5 * kMsNs, {1000}, 1000},
    };
    for (const auto &c : cases) {
        qint64 now = 0;
        QtTimerService timers([&] { return now; });
        QEventLoop loop;
        qint64 due = -1;
        int fired = 0;
        timers.setHandler([&](TimerId id) {
            ++fired;
            now += c.firstMs * kMsNs + c.lateNs;
            for (int ms : c.restarts)
                timers.start(id, ms);
            due = timers.dueNs(id) - now;
            timers.stop(id);
            loop.quit();
        });
        timers.start(c.id, c.firstMs);
        EXPECT_EQ(timers.dueNs(c.id), c.firstMs * kMsNs) << c.name;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit); // in case it never fires
        loop.exec();
        EXPECT_EQ(fired, 1) << c.name;
        EXPECT_EQ(due, c.dueMs * kMsNs) << c.name;
        EXPECT_EQ(timers.dueNs(c.id), -1) << c.name << ": stopped";
    }
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
