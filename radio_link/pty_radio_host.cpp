#include "pty_radio_host.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace vkt {

namespace {

// Longest sleep when nothing is due, so the thread never waits on a stale
// schedule for long.
constexpr Micros kIdleWaitUs = 50'000;
// Pause after the master reports that nobody holds the terminal's other
// end (it should not happen while our own slave descriptor is open).
constexpr Micros kNoPeerPauseUs = 10'000;

Micros NowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Failure(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

void CloseFd(int &fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool SetFdFlags(int fd, bool nonBlocking)
{
    const int fdFlags = ::fcntl(fd, F_GETFD);
    if (fdFlags < 0 || ::fcntl(fd, F_SETFD, fdFlags | FD_CLOEXEC) < 0)
        return false;
    if (!nonBlocking)
        return true;
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) >= 0;
}

// Waits for the descriptors or until `waitUs` has passed, to the
// microsecond where the system allows it.
int PollFor(pollfd *fds, nfds_t count, Micros waitUs)
{
#if defined(__linux__)
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(waitUs / 1'000'000);
    ts.tv_nsec = static_cast<long>(waitUs % 1'000'000) * 1000;
    return ::ppoll(fds, count, &ts, nullptr);
#else
    return ::poll(fds, count, static_cast<int>((waitUs + 999) / 1000));
#endif
}

} // namespace

PtyRadioHost::PtyRadioHost(SimulatedRadio &radio) : radio_(radio) {}

PtyRadioHost::~PtyRadioHost() { stop(); }

bool PtyRadioHost::start(std::string &error)
{
    if (thread_.joinable() && !hungUp_) {
        error = "the simulated radio is already running";
        return false;
    }
    stop(); // releases what a hung-up run left behind

    int master = -1, slave = -1;
    int pipeFds[2] = {-1, -1};
    auto fail = [&](std::string reason) {
        error = std::move(reason);
        CloseFd(master);
        CloseFd(slave);
        CloseFd(pipeFds[0]);
        CloseFd(pipeFds[1]);
        return false;
    };

    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return fail(Failure("cannot create a pseudo-terminal"));
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return fail(Failure("cannot unlock the pseudo-terminal"));
    char name[256] = {};
#if defined(__linux__)
    if (::ptsname_r(master, name, sizeof name) != 0)
        return fail(Failure("cannot name the pseudo-terminal"));
#else
    const char *n = ::ptsname(master);
    if (!n)
        return fail(Failure("cannot name the pseudo-terminal"));
    std::strncpy(name, n, sizeof name - 1);
#endif
    if (!SetFdFlags(master, true))
        return fail(Failure("cannot set up the pseudo-terminal"));

    // Our own descriptor on the terminal end: it carries the raw settings
    // and keeps the terminal alive while the programmer has it closed.
    slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0)
        return fail(Failure("cannot open the pseudo-terminal"));
    termios tio{};
    if (::tcgetattr(slave, &tio) != 0)
        return fail(Failure("cannot read the terminal settings"));
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(slave, TCSANOW, &tio) != 0)
        return fail(Failure("cannot set the terminal to raw mode"));
    if (!SetFdFlags(slave, false))
        return fail(Failure("cannot set up the pseudo-terminal"));

    if (::pipe(pipeFds) != 0 || !SetFdFlags(pipeFds[0], true) || !SetFdFlags(pipeFds[1], true))
        return fail(Failure("cannot create the wake-up pipe"));

    {
        std::lock_guard<std::mutex> lock(mutex_);
        radio_.reset(); // a fresh line: the radio starts from power-on
    }
    master_ = master;
    slave_ = slave;
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    devicePath_ = name;
    stopping_ = false;
    hungUp_ = false;
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error &e) {
        master = master_, slave = slave_, pipeFds[0] = wakeRead_, pipeFds[1] = wakeWrite_;
        master_ = slave_ = wakeRead_ = wakeWrite_ = -1;
        return fail(std::string("cannot start the simulated radio: ") + e.what());
    }
    return true;
}

void PtyRadioHost::stop()
{
    stopping_ = true;
    if (wakeWrite_ >= 0) {
        const std::uint8_t b = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &b, 1);
    }
    if (thread_.joinable())
        thread_.join();
    CloseFd(master_);
    CloseFd(slave_);
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
}

void PtyRadioHost::withRadio(const std::function<void(SimulatedRadio &)> &f)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        f(radio_);
    }
    // The change may move the radio's schedule; let the thread look again.
    if (wakeWrite_ >= 0) {
        const std::uint8_t b = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &b, 1);
    }
}

void PtyRadioHost::run()
{
    std::vector<std::uint8_t> out; // taken from the radio, not yet written
    std::size_t written = 0;
    std::uint8_t buffer[4096];
    Micros noPeerUntil = 0;

    while (!stopping_) {
        Micros next = -1;
        bool hung = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // Take more only when the last batch is out, so a programmer
            // that stops reading cannot make us pile bytes up.
            if (written == out.size()) {
                out.clear();
                written = 0;
                radio_.takeOutput(NowUs(), out);
            }
            next = radio_.nextOutputTime();
            hung = radio_.hungUp();
        }

        while (written < out.size()) {
            const ssize_t n = ::write(master_, out.data() + written, out.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            written = out.size(); // nobody can receive them: drop them
        }

        if (hung) {
            hungUp_ = true;
            CloseFd(master_);
            CloseFd(slave_);
            return;
        }

        const bool pending = written < out.size();
        const Micros now = NowUs();
        Micros wait = kIdleWaitUs;
        if (!pending && next >= 0)
            wait = std::clamp<Micros>(next - now, 0, kIdleWaitUs);

        pollfd fds[2] = {};
        fds[0].fd = now < noPeerUntil ? -1 : master_;
        fds[0].events = static_cast<short>(POLLIN | (pending ? POLLOUT : 0));
        fds[1].fd = wakeRead_;
        fds[1].events = POLLIN;
        if (fds[0].fd < 0)
            wait = std::min(wait, noPeerUntil - now);

        const int r = PollFor(fds, 2, wait);
        if (r < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == ENOMEM)
                continue;
            return; // cannot wait any more; stop() still cleans up
        }
        if (fds[1].revents & POLLIN) {
            std::uint8_t drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            for (;;) {
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0) {
                    std::lock_guard<std::mutex> lock(mutex_);
                    radio_.receive(buffer, static_cast<std::size_t>(n), NowUs());
                    continue;
                }
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                    break;
                // EIO (or end of file): nobody holds the other end. Pause
                // instead of spinning on a descriptor that stays ready.
                noPeerUntil = NowUs() + kNoPeerPauseUs;
                break;
            }
        }
    }
}

} // namespace vkt
