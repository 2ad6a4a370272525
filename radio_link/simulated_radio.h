// A simulated radio that answers the programming protocol.
//
// The simulation is pure logic over a clock the caller passes in: bytes
// from the programmer go in with the time they were received, and the
// radio's answer comes out byte by byte with the time each byte is complete
// at the programmer's end. The same core runs on an in-memory line in
// virtual time (tests) and on a pseudo-terminal in real time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vkt {

using Micros = std::int64_t;

// Time of one byte at 9600 baud, 8N1 (10 bits).
inline constexpr Micros kByteTimeUs = 10'000'000 / 9600; // 1041 us

// Ways the simulated radio can be told to misbehave.
struct SimBehaviour {
    bool silent = false;              // never answers anything
    bool wrongIdentification = false; // last byte of the identification reply is wrong
    std::vector<std::uint8_t> noiseBeforeReply; // sent before every reply
    Micros replyDelayUs = 0;          // extra delay before every reply (e.g. 1'200'000)
    bool wrongLengthReplies = false;  // block replies one byte short
    bool wrongFirstByte = false;      // block replies start with a wrong byte
    bool refuseWrites = false;        // writes answered 0x15 instead of 0x06
    bool flood = false;               // after the first request, bytes without end
    int hangUpAfterBlocks = -1;       // after this many block frames, hang up (>= 0)
    bool otherProtocol = false;       // answers every frame as some other device would
    bool wireTiming = false;          // bytes paced at 9600 baud in both directions
};

class SimulatedRadio {
public:
    static constexpr std::size_t kMemorySize = 0x10000;

    // One frame the radio understood, for tests to check what was sent.
    struct FrameRecord {
        char kind;              // 'H' handshake request, '2' second request, 'P' password block,
                                // 'R' read, 'W' write, 'E' end, 'Y' status request
        std::uint16_t address;  // for 'R' and 'W'
        std::uint8_t length;    // for 'R' and 'W'
        Micros time;            // when its last byte was complete
    };

    explicit SimulatedRadio(std::string password = {});

    SimBehaviour &behaviour() { return behaviour_; }
    const SimBehaviour &behaviour() const { return behaviour_; }

    // The radio's whole memory, addressed as the programming blocks address it.
    std::array<std::uint8_t, kMemorySize> &memory() { return memory_; }
    const std::array<std::uint8_t, kMemorySize> &memory() const { return memory_; }
    // Loads memory from an image file (a shorter file fills from address 0,
    // the rest stays as it was); saves the whole 64 KiB. False on failure,
    // with a plain-words reason in `error`.
    bool loadImage(const std::string &path, std::string &error);
    bool saveImage(const std::string &path, std::string &error) const;

    // The radio's own password; an empty one accepts any password block
    // with a good checksum and an empty text. A block written to 0x4020
    // (the radio password block) that descrambles replaces it, as the radio
    // takes a new password from a password write.
    void setPassword(std::string password) { password_ = std::move(password); }
    const std::string &password() const { return password_; }
    // Takes the password its memory holds in the password block, as a radio
    // started from a saved image has it; a block that does not descramble
    // leaves the password as it is. True when it was taken.
    bool takePasswordFromMemory();

    // The firmware version text a radio carries at 0x4040 (12 bytes); the
    // simulated radio starts with it and keeps it unless an image or a
    // write replaces those bytes.
    static constexpr const char *kFirmwareVersionText = "VKT410-V2.07";

    // The two values the status request reports.
    std::uint8_t statusBattery = 120;
    std::uint8_t statusVox = 7;

    // Bytes from the programmer, received at `now`.
    void receive(const std::uint8_t *data, std::size_t size, Micros now);

    // Moves the answer bytes that are complete at `now` into `out`
    // (appending); returns how many were moved.
    std::size_t takeOutput(Micros now, std::vector<std::uint8_t> &out);
    // Time at which the next answer byte is complete, or -1 if none is due.
    Micros nextOutputTime() const;

    // True once the radio has hung up (the line is gone for good).
    bool hungUp() const { return hungUp_; }

    // Back to the state after power-on: no session, nothing queued. Memory,
    // password and behaviour are kept; the frame log is cleared.
    void reset();

    const std::vector<FrameRecord> &frames() const { return frames_; }

private:
    // (implementation state; see simulated_radio.cpp)
    struct Timed {
        std::uint8_t byte;
        Micros time; // when the byte is complete on the wire
    };
    enum class Session { Idle, Identified, AwaitPassword, Open };
    enum class Parse { NeedMore, Drop, Frame };
    struct Parsed {
        Parse result;
        char kind = 0;
        std::size_t length = 0;
    };

    Parsed parseFront() const;
    void parseInput();
    void handleFrame(char kind, const std::vector<std::uint8_t> &frame, Micros at);
    void reply(const std::vector<std::uint8_t> &bytes, Micros at);
    void adoptPasswordBlock(std::uint16_t address, std::size_t length);
    void startFlood(Micros at);
    void hangUp(Micros at);
    void advanceTo(Micros now);
    bool busyAt(Micros t) const;
    Micros floodPeriod() const;

    SimBehaviour behaviour_;
    std::array<std::uint8_t, kMemorySize> memory_{};
    std::string password_;
    Session session_ = Session::Idle;
    std::deque<Timed> input_;  // received bytes not yet making up a whole frame
    Micros inputDoneAt_ = 0;   // when the last received byte was complete on the wire
    std::deque<Timed> output_; // answer bytes not yet taken
    Micros outputFreeAt_ = 0;  // when the radio's last answer byte is complete
    Micros floodFirst_ = -1;   // completion time of the first flood byte, -1 when none
    std::uint64_t floodTaken_ = 0;
    int blocks_ = 0;           // block frames answered in this power-on
    Micros hangUpAt_ = -1;     // when the line goes dead, -1 when it does not
    bool hungUp_ = false;
    std::vector<FrameRecord> frames_;
};

} // namespace vkt
