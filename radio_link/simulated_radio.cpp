#include "simulated_radio.h"

#include "codeplug.h"
#include "file_io.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

namespace vkt {

namespace {

constexpr std::array<std::uint8_t, 8> kHandshakeRequest{0x06, 'D', 'O', 'R', 'V', 'I', 0xFF, 0xFF};
constexpr std::array<std::uint8_t, 8> kIdentification{'Q', 'M', 'N', 'S', 'D', '0', '1', 0xFF};
constexpr std::uint8_t kSecondRequest = 0x02;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kWrongPassword = 0x07;
constexpr std::uint8_t kWriteRefused = 0x15; // NAK
constexpr std::uint8_t kFloodByte = 0x55;
constexpr std::size_t kPasswordBlockSize = 16;
constexpr std::size_t kRadioPasswordBlockAddress = addr::kRadioPasswordBlock;
constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::size_t kStatusReplySize = 13;

// Pace of the flood when bytes are not paced at the line rate.
constexpr Micros kFloodGapUs = 100;
// Most flood bytes handed out by one takeOutput call; the rest stays due,
// so a caller that asks after a long pause never gets an unbounded burst.
constexpr std::size_t kFloodChunk = 4096;
// A partial frame followed by a pause this long is abandoned, as a radio's
// receiver does with a frame whose rest never came; the programmer repeats
// a frame only after a full second.
constexpr Micros kFrameGapUs = 250'000;

// What a modem with echo off says to anything that is not an AT command.
constexpr std::string_view kOtherDeviceReply = "\r\nERROR\r\n";

} // namespace

SimulatedRadio::SimulatedRadio(std::string password) : password_(std::move(password))
{
    const std::string_view firmware = kFirmwareVersionText;
    std::copy(firmware.begin(), firmware.end(), memory_.begin() + addr::kFirmwareVersion);
}

bool SimulatedRadio::loadImage(const std::string &path, std::string &error)
{
    FileReadResult r = ReadFilePrefix(path, kMemorySize);
    if (!r.opened) {
        error = r.error;
        return false;
    }
    std::copy_n(r.bytes.begin(), std::min(r.bytes.size(), kMemorySize), memory_.begin());
    return true;
}

bool SimulatedRadio::saveImage(const std::string &path, std::string &error) const
{
    FileWriteResult r = WriteFileAtomic(path, memory_.data(), memory_.size());
    if (!r.ok)
        error = r.error;
    return r.ok;
}

void SimulatedRadio::reset()
{
    session_ = Session::Idle;
    input_.clear();
    inputDoneAt_ = 0;
    output_.clear();
    outputFreeAt_ = 0;
    floodFirst_ = -1;
    floodTaken_ = 0;
    blocks_ = 0;
    hangUpAt_ = -1;
    hungUp_ = false;
    frames_.clear();
}

// The radio handles one command at a time: from the moment it has taken a
// frame until the last byte of its answer is out, it is deaf. A flood
// never ends, so it is deaf for good.
bool SimulatedRadio::busyAt(Micros t) const
{
    return floodFirst_ >= 0 || t < outputFreeAt_;
}

Micros SimulatedRadio::floodPeriod() const
{
    return behaviour_.wireTiming ? kByteTimeUs : kFloodGapUs;
}

// The line goes dead once the clock passes the hang-up time.
void SimulatedRadio::advanceTo(Micros now)
{
    if (hangUpAt_ >= 0 && now >= hangUpAt_)
        hungUp_ = true;
}

void SimulatedRadio::receive(const std::uint8_t *data, std::size_t size, Micros now)
{
    advanceTo(now);
    if (hangUpAt_ >= 0 || size == 0)
        return;

    Micros first = -1;
    Micros last = -1;
    for (std::size_t i = 0; i < size && hangUpAt_ < 0; ++i) {
        // A byte is complete when it has crossed the line, which it can only
        // start once the byte before it has.
        Micros t = std::max(now, inputDoneAt_);
        if (behaviour_.wireTiming)
            t += kByteTimeUs;
        inputDoneAt_ = t;
        if (first < 0)
            first = t;
        last = t;
        if (behaviour_.otherProtocol)
            continue;

        if (!input_.empty() && t - input_.back().time > kFrameGapUs)
            input_.clear();
        input_.push_back({data[i], t});
        parseInput();
    }

    // The other device does not parse our frames; it answers each burst.
    if (behaviour_.otherProtocol && !behaviour_.silent && !busyAt(first))
        reply(std::vector<std::uint8_t>(kOtherDeviceReply.begin(), kOtherDeviceReply.end()), last);
    advanceTo(now);
}

// Which frame, if any, the buffered bytes begin with in the current state.
SimulatedRadio::Parsed SimulatedRadio::parseFront() const
{
    const std::size_t size = input_.size();
    if (size == 0)
        return {Parse::NeedMore};
    auto at = [this](std::size_t i) { return input_[i].byte; };

    // The handshake request restarts the session from any state.
    std::size_t match = 0;
    while (match < std::min(size, kHandshakeRequest.size()) && at(match) == kHandshakeRequest[match])
        ++match;
    if (match == kHandshakeRequest.size())
        return {Parse::Frame, 'H', kHandshakeRequest.size()};
    if (match == size)
        return {Parse::NeedMore};

    switch (session_) {
    case Session::Idle:
        if (at(0) == 'Y') {
            if (size < 2)
                return {Parse::NeedMore};
            if (at(1) == 'R')
                return {Parse::Frame, 'Y', 2};
        }
        return {Parse::Drop};
    case Session::Identified:
        if (at(0) == kSecondRequest)
            return {Parse::Frame, '2', 1};
        return {Parse::Drop};
    case Session::AwaitPassword:
        if (size < kPasswordBlockSize)
            return {Parse::NeedMore};
        return {Parse::Frame, 'P', kPasswordBlockSize};
    case Session::Open:
        switch (at(0)) {
        case 'R':
            if (size < kBlockHeaderSize)
                return {Parse::NeedMore};
            return {Parse::Frame, 'R', kBlockHeaderSize};
        case 'W': {
            if (size < kBlockHeaderSize)
                return {Parse::NeedMore};
            const std::size_t length = kBlockHeaderSize + at(3);
            if (size < length)
                return {Parse::NeedMore};
            return {Parse::Frame, 'W', length};
        }
        case 'E':
            return {Parse::Frame, 'E', 1};
        default:
            return {Parse::Drop};
        }
    }
    return {Parse::Drop};
}

void SimulatedRadio::parseInput()
{
    while (hangUpAt_ < 0) {
        const Parsed p = parseFront();
        if (p.result == Parse::NeedMore)
            return;
        if (p.result == Parse::Drop) {
            input_.pop_front();
            continue;
        }
        const Micros begin = input_.front().time;
        const Micros end = input_[p.length - 1].time;
        std::vector<std::uint8_t> frame(p.length);
        for (std::size_t i = 0; i < p.length; ++i)
            frame[i] = input_[i].byte;
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(p.length));
        // A frame that began while the radio was busy is lost as a whole,
        // so the tail of a repeated request is never taken for a command.
        if (busyAt(begin))
            continue;
        handleFrame(p.kind, frame, end);
    }
    input_.clear();
}

void SimulatedRadio::handleFrame(char kind, const std::vector<std::uint8_t> &frame, Micros at)
{
    const bool block = kind == 'R' || kind == 'W';
    if (block && behaviour_.hangUpAfterBlocks >= 0 && blocks_ >= behaviour_.hangUpAfterBlocks) {
        hangUp(at);
        return;
    }

    FrameRecord record{kind, 0, 0, at};
    if (block) {
        record.address = static_cast<std::uint16_t>(frame[1] << 8 | frame[2]);
        record.length = frame[3];
    }
    frames_.push_back(record);

    if (behaviour_.silent)
        return;
    if (behaviour_.flood) {
        startFlood(at);
        return;
    }

    switch (kind) {
    case 'H': {
        session_ = Session::Identified;
        std::vector<std::uint8_t> id(kIdentification.begin(), kIdentification.end());
        if (behaviour_.wrongIdentification)
            id.back() = 0xFE;
        reply(id, at);
        break;
    }
    case 'Y': {
        std::vector<std::uint8_t> status(kStatusReplySize, 0);
        status[0] = 'Y';
        status[1] = 'S';
        status[2] = statusBattery;
        status[3] = statusVox;
        reply(status, at);
        break;
    }
    case '2':
        session_ = Session::AwaitPassword;
        reply({kAck}, at);
        break;
    case 'P': {
        std::string text;
        const bool ok = DescramblePassword(frame.data(), text) && text == password_;
        session_ = ok ? Session::Open : Session::Idle;
        reply({ok ? kAck : kWrongPassword}, at);
        break;
    }
    case 'R': {
        ++blocks_;
        const std::size_t length = record.length;
        std::vector<std::uint8_t> r(frame.begin(), frame.begin() + kBlockHeaderSize);
        r[0] = behaviour_.wrongFirstByte ? 'X' : 'W';
        for (std::size_t i = 0; i < length; ++i)
            r.push_back(memory_[(record.address + i) & (kMemorySize - 1)]);
        if (behaviour_.wrongLengthReplies)
            r.pop_back();
        reply(r, at);
        break;
    }
    case 'W': {
        ++blocks_;
        if (behaviour_.refuseWrites) {
            reply({kWriteRefused}, at);
            break;
        }
        const std::size_t length = record.length;
        for (std::size_t i = 0; i < length; ++i)
            memory_[(record.address + i) & (kMemorySize - 1)] = frame[kBlockHeaderSize + i];
        adoptPasswordBlock(record.address, length);
        reply({behaviour_.wrongFirstByte ? std::uint8_t{0x00} : kAck}, at);
        break;
    }
    case 'E':
        session_ = Session::Idle;
        break;
    default:
        break;
    }
}

// A write that touches the password block makes the block, when it holds a
// good password, the one the next session has to prove; a block that does
// not descramble leaves the old password in force.
void SimulatedRadio::adoptPasswordBlock(std::uint16_t address, std::size_t length)
{
    const std::size_t first = address;
    const std::size_t last = first + length; // may run past 64 KiB; the block never wraps
    if (length == 0 || last <= kRadioPasswordBlockAddress || first >= kRadioPasswordBlockAddress + kPasswordBlockSize)
        return;
    takePasswordFromMemory();
}

bool SimulatedRadio::takePasswordFromMemory()
{
    std::string text;
    if (!DescramblePassword(memory_.data() + kRadioPasswordBlockAddress, text))
        return false;
    password_ = std::move(text);
    return true;
}

// Queues an answer: it starts once the reply delay has passed and the
// radio's previous answer is out, noise first.
void SimulatedRadio::reply(const std::vector<std::uint8_t> &bytes, Micros at)
{
    Micros t = std::max(at + std::max<Micros>(behaviour_.replyDelayUs, 0), outputFreeAt_);
    auto send = [&](std::uint8_t b) {
        if (behaviour_.wireTiming)
            t += kByteTimeUs;
        output_.push_back({b, t});
    };
    for (std::uint8_t b : behaviour_.noiseBeforeReply)
        send(b);
    for (std::uint8_t b : bytes)
        send(b);
    outputFreeAt_ = t;
}

// The flood is not queued: its bytes are counted off the clock when taken.
void SimulatedRadio::startFlood(Micros at)
{
    const Micros start = std::max(at + std::max<Micros>(behaviour_.replyDelayUs, 0), outputFreeAt_);
    floodFirst_ = start + (behaviour_.wireTiming ? kByteTimeUs : 0);
    floodTaken_ = 0;
}

// Nothing is answered any more; answer bytes already complete by then
// still reach the programmer.
void SimulatedRadio::hangUp(Micros at)
{
    hangUpAt_ = at;
    while (!output_.empty() && output_.back().time > at)
        output_.pop_back();
    if (floodFirst_ >= 0 && floodFirst_ > at)
        floodFirst_ = -1;
    input_.clear();
}

std::size_t SimulatedRadio::takeOutput(Micros now, std::vector<std::uint8_t> &out)
{
    const std::size_t before = out.size();
    while (!output_.empty() && output_.front().time <= now) {
        out.push_back(output_.front().byte);
        output_.pop_front();
    }
    if (floodFirst_ >= 0 && output_.empty()) {
        const Micros until = hangUpAt_ >= 0 ? std::min(now, hangUpAt_) : now;
        const auto due = until >= floodFirst_
                             ? static_cast<std::uint64_t>((until - floodFirst_) / floodPeriod()) + 1
                             : 0;
        if (due > floodTaken_) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(due - floodTaken_, kFloodChunk));
            out.insert(out.end(), n, kFloodByte);
            floodTaken_ += n;
        }
    }
    advanceTo(now);
    return out.size() - before;
}

// Also reports a pending hang-up, so that a caller waiting for output
// wakes up in time to see the line go dead.
Micros SimulatedRadio::nextOutputTime() const
{
    if (!output_.empty())
        return output_.front().time;
    if (hungUp_)
        return -1;
    if (floodFirst_ >= 0) {
        const Micros next = floodFirst_ + static_cast<Micros>(floodTaken_) * floodPeriod();
        if (hangUpAt_ < 0 || next <= hangUpAt_)
            return next;
    }
    return hangUpAt_;
}

} // namespace vkt
