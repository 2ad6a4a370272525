// Runs a SimulatedRadio on a pseudo-terminal, in real time, on a thread of
// its own, so that the program (or any other) can open the terminal's
// device like a serial port with a radio on it.
#pragma once

#include "simulated_radio.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vkt {

class PtyRadioHost {
public:
    explicit PtyRadioHost(SimulatedRadio &radio);
    ~PtyRadioHost(); // stops the thread and closes the terminal
    PtyRadioHost(const PtyRadioHost &) = delete;
    PtyRadioHost &operator=(const PtyRadioHost &) = delete;

    // Creates the pseudo-terminal (raw mode) and starts answering. False
    // with a plain-words reason on failure.
    bool start(std::string &error);
    void stop();

    // Path of the terminal device the programmer opens, e.g. /dev/pts/3.
    std::string devicePath() const { return devicePath_; }

    // Runs `f` on the radio while the host thread cannot touch it.
    void withRadio(const std::function<void(SimulatedRadio &)> &f);

    // True once the radio hung up and the terminal was closed.
    bool hungUp() const { return hungUp_; }

private:
    void run();

    SimulatedRadio &radio_;
    std::mutex mutex_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> hungUp_{false};
    int master_ = -1;
    int slave_ = -1; // held open so the terminal survives the programmer closing it
    int wakeRead_ = -1, wakeWrite_ = -1; // self-pipe to wake the thread for stop()
    std::string devicePath_;
};

} // namespace vkt
