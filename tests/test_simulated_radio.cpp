#include "simulated_radio.h"
#include "pty_radio_host.h"

#include "codeplug.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <cerrno>
#include <cstring>
#include <tuple>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vkt {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kHandshake{0x06, 'D', 'O', 'R', 'V', 'I', 0xFF, 0xFF};
const Bytes kIdentification{'Q', 'M', 'N', 'S', 'D', '0', '1', 0xFF};
const Bytes kAck{0x06};

Bytes ReadRequest(std::uint16_t address, std::uint8_t length)
{
    return {'R', static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), length};
}

Bytes WriteRequest(std::uint16_t address, const Bytes &data)
{
    Bytes f{'W', static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
            static_cast<std::uint8_t>(data.size())};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

Bytes PasswordBlock(const std::string &text)
{
    std::mt19937 gen(12345);
    const auto block = ScramblePassword(text, [&] { return static_cast<std::uint8_t>(gen()); });
    return Bytes(block.begin(), block.end());
}

Bytes Pattern(std::size_t size, unsigned seed)
{
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<std::uint8_t>(i * 37 + seed);
    return b;
}

// The reply a well-behaved radio gives to a read request.
Bytes ReadReply(const SimulatedRadio &radio, std::uint16_t address, std::uint8_t length)
{
    Bytes r = ReadRequest(address, length);
    r[0] = 'W';
    for (std::size_t i = 0; i < length; ++i)
        r.push_back(radio.memory()[(address + i) & 0xFFFF]);
    return r;
}

// Takes every answer byte the radio has scheduled (a finite reply only).
Bytes Drain(SimulatedRadio &radio)
{
    Bytes out;
    for (int guard = 0; guard < 100000; ++guard) {
        const Micros t = radio.nextOutputTime();
        if (t < 0)
            break;
        radio.takeOutput(t, out);
    }
    return out;
}

// Sends a frame at `at` and returns the whole answer to it.
Bytes Send(SimulatedRadio &radio, const Bytes &frame, Micros at = 0)
{
    radio.receive(frame.data(), frame.size(), at);
    return Drain(radio);
}

void OpenSession(SimulatedRadio &radio, const std::string &password, Micros at = 0)
{
    ASSERT_EQ(Send(radio, kHandshake, at), kIdentification);
    ASSERT_EQ(Send(radio, {0x02}, at), kAck);
    ASSERT_EQ(Send(radio, PasswordBlock(password), at), kAck);
}

std::string Kinds(const SimulatedRadio &radio)
{
    std::string s;
    for (const auto &f : radio.frames())
        s += f.kind;
    return s;
}

TEST(SimulatedRadio, PasswordBlockDecidesWhetherTheSessionOpens)
{
    struct Case {
        const char *name;
        std::string radioPassword, sentPassword;
        bool breakChecksum;
        std::uint8_t reply;
    };
    const Case cases[] = {
        {"right password", "1234", "1234", false, 0x06},
        {"wrong password", "1234", "1235", false, 0x07},
        {"shorter password", "1234", "123", false, 0x07},
        {"empty password on an open radio", "", "", false, 0x06},
        {"some text on an open radio", "", "1234", false, 0x07},
        {"right text, bad checksum", "1234", "1234", true, 0x07},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedRadio radio(c.radioPassword);
        ASSERT_EQ(Send(radio, kHandshake), kIdentification);
        ASSERT_EQ(Send(radio, {0x02}), kAck);
        Bytes block = PasswordBlock(c.sentPassword);
        if (c.breakChecksum)
            block[15] ^= 0x01;
        EXPECT_EQ(Send(radio, block), Bytes{c.reply});

        // Only an open session answers a read; a refused one is back to idle.
        const Bytes reply = Send(radio, ReadRequest(0x0000, 16));
        if (c.reply == 0x06) {
            EXPECT_EQ(reply, ReadReply(radio, 0x0000, 16));
            EXPECT_EQ(Kinds(radio), "H2PR");
        } else {
            EXPECT_TRUE(reply.empty());
            EXPECT_EQ(Kinds(radio), "H2P");
        }
    }
}

// A password block written to 0x4020 becomes the password the next session
// must prove; other writes, and a block that does not descramble, leave it.
TEST(SimulatedRadio, WrittenPasswordBlockBecomesThePassword)
{
    struct Case {
        const char *name;
        std::uint16_t address;
        Bytes data;
        std::string nowProves; // the password that opens the next session
        std::string refused;   // one that is refused
    };
    Bytes broken = PasswordBlock("new");
    broken[15] ^= 0x01;
    const Case cases[] = {
        {"password block", 0x4020, PasswordBlock("new"), "new", "old"},
        {"empty password opens the radio", 0x4020, PasswordBlock(""), "", "old"},
        {"twelve characters", 0x4020, PasswordBlock("ABCDEFGHIJKL"), "ABCDEFGHIJKL", "old"},
        {"settings block beside it", 0x4010, Pattern(16, 3), "old", "new"},
        {"bad checksum keeps the old one", 0x4020, broken, "old", "new"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedRadio radio("old");
        OpenSession(radio, "old");
        ASSERT_EQ(Send(radio, WriteRequest(c.address, c.data)), kAck);
        EXPECT_TRUE(Send(radio, {'E'}).empty());
        EXPECT_EQ(radio.password(), c.nowProves);

        ASSERT_EQ(Send(radio, kHandshake), kIdentification);
        ASSERT_EQ(Send(radio, {0x02}), kAck);
        EXPECT_EQ(Send(radio, PasswordBlock(c.refused)), Bytes{0x07});
        ASSERT_EQ(Send(radio, kHandshake), kIdentification);
        ASSERT_EQ(Send(radio, {0x02}), kAck);
        EXPECT_EQ(Send(radio, PasswordBlock(c.nowProves)), kAck);
    }
}

// A radio started from a saved image proves the password its image holds.
TEST(SimulatedRadio, PasswordTakenFromItsMemory)
{
    SimulatedRadio radio("old");
    const Bytes block = PasswordBlock("saved");
    std::copy(block.begin(), block.end(), radio.memory().begin() + 0x4020);
    EXPECT_TRUE(radio.takePasswordFromMemory());
    EXPECT_EQ(radio.password(), "saved");
    radio.memory()[0x4020 + 15] ^= 0x01; // no longer descrambles
    EXPECT_FALSE(radio.takePasswordFromMemory());
    EXPECT_EQ(radio.password(), "saved");
}

TEST(SimulatedRadio, CarriesItsFirmwareVersion)
{
    const SimulatedRadio radio;
    const std::string text = SimulatedRadio::kFirmwareVersionText;
    ASSERT_EQ(text.size(), 12u);
    EXPECT_TRUE(std::equal(text.begin(), text.end(), radio.memory().begin() + addr::kFirmwareVersion));
}

TEST(SimulatedRadio, BlocksMoveMemoryWrappingAt64K)
{
    SimulatedRadio radio("pw");
    OpenSession(radio, "pw");

    const Bytes channel = Pattern(22, 1);
    EXPECT_EQ(Send(radio, WriteRequest(0x1000, channel)), kAck);
    EXPECT_TRUE(std::equal(channel.begin(), channel.end(), radio.memory().begin() + 0x1000));
    Bytes expected = ReadRequest(0x1000, 22);
    expected[0] = 'W';
    expected.insert(expected.end(), channel.begin(), channel.end());
    EXPECT_EQ(Send(radio, ReadRequest(0x1000, 22)), expected);

    // A block that runs past the top of memory continues at address 0.
    const Bytes top = Pattern(16, 2);
    EXPECT_EQ(Send(radio, WriteRequest(0xFFF8, top)), kAck);
    EXPECT_TRUE(std::equal(top.begin(), top.begin() + 8, radio.memory().begin() + 0xFFF8));
    EXPECT_TRUE(std::equal(top.begin() + 8, top.end(), radio.memory().begin()));
    expected = ReadRequest(0xFFF8, 16);
    expected[0] = 'W';
    expected.insert(expected.end(), top.begin(), top.end());
    EXPECT_EQ(Send(radio, ReadRequest(0xFFF8, 16)), expected);
    // The longest block from the last address stays inside memory too.
    EXPECT_EQ(Send(radio, ReadRequest(0xFFFF, 255)).size(), 4u + 255u);

    const auto &f = radio.frames();
    ASSERT_EQ(f.size(), 8u);
    const std::vector<std::tuple<char, int, int>> blocks = {
        {'W', 0x1000, 22}, {'R', 0x1000, 22}, {'W', 0xFFF8, 16}, {'R', 0xFFF8, 16}, {'R', 0xFFFF, 255}};
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(std::make_tuple(f[3 + i].kind, int(f[3 + i].address), int(f[3 + i].length)), blocks[i]);
}

TEST(SimulatedRadio, SessionEndsAndRestarts)
{
    SimulatedRadio radio;
    radio.memory()[0x20] = 0xAB;
    const Bytes read = ReadRequest(0x0020, 16);

    struct Case {
        const char *name;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"end frame", [&] { EXPECT_TRUE(Send(radio, {'E'}).empty()); }},
        {"handshake in the open session", [&] { EXPECT_EQ(Send(radio, kHandshake), kIdentification); }},
        {"reset", [&] {
             radio.reset();
             EXPECT_TRUE(radio.frames().empty());
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OpenSession(radio, "");
        ASSERT_EQ(Send(radio, read), ReadReply(radio, 0x0020, 16));
        c.end();
        EXPECT_TRUE(Send(radio, read).empty());
        EXPECT_EQ(radio.memory()[0x20], 0xAB);
        radio.reset();
    }
}

TEST(SimulatedRadio, StatusRequestNeedsNoHandshake)
{
    SimulatedRadio radio("secret");
    radio.statusBattery = 0x81;
    radio.statusVox = 3;
    const Bytes expected{'Y', 'S', 0x81, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Send(radio, {'Y', 'R'}), expected);
    EXPECT_EQ(Kinds(radio), "Y");
}

TEST(SimulatedRadio, BytesThatBeginNoFrameAreDropped)
{
    struct Chunk {
        Bytes bytes;
        Micros at;
    };
    Bytes truncatedWrite = WriteRequest(0x3000, Pattern(16, 3));
    truncatedWrite.resize(10);
    Bytes noisyHandshake{0x00, 0x41, 0x06, 0x44};
    noisyHandshake.insert(noisyHandshake.end(), kHandshake.begin(), kHandshake.end());

    struct Case {
        const char *name;
        bool open;
        std::vector<Chunk> chunks;
        bool expectRead; // else the identification
    };
    const Case cases[] = {
        {"noise and a broken handshake before the handshake", false, {{noisyHandshake, 0}}, false},
        {"noise in the open session", true, {{{0x13, 0x00, 0xFF, 'Y', 0x02}, 0}, {ReadRequest(0x3000, 16), 0}}, true},
        {"the rest of a frame that never came", true,
         {{truncatedWrite, 1'000'000}, {ReadRequest(0x3000, 16), 2'000'000}}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedRadio radio;
        if (c.open)
            OpenSession(radio, "");
        Bytes out;
        for (const Chunk &ch : c.chunks) {
            radio.receive(ch.bytes.data(), ch.bytes.size(), ch.at);
            const Bytes r = Drain(radio);
            out.insert(out.end(), r.begin(), r.end());
        }
        EXPECT_EQ(out, c.expectRead ? ReadReply(radio, 0x3000, 16) : kIdentification);
        EXPECT_EQ(radio.memory()[0x3000], 0);
    }
}

TEST(SimulatedRadio, RepliesFollowTheTimingModel)
{
    constexpr Micros T0 = 10'000'000;
    constexpr Micros B = kByteTimeUs;
    struct Case {
        bool wire;
        Micros delay;
        Micros handled, firstByte, lastByte;
    };
    // A 4-byte read request sent at T0 and its 20-byte reply.
    const Case cases[] = {
        {false, 0, T0, T0, T0},
        {false, 50'000, T0, T0 + 50'000, T0 + 50'000},
        {true, 0, T0 + 4 * B, T0 + 5 * B, T0 + 24 * B},
        {true, 50'000, T0 + 4 * B, T0 + 5 * B + 50'000, T0 + 24 * B + 50'000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "wire " << c.wire << ", delay " << c.delay);
        SimulatedRadio radio;
        OpenSession(radio, "");
        radio.behaviour().wireTiming = c.wire;
        radio.behaviour().replyDelayUs = c.delay;

        const Bytes request = ReadRequest(0x0100, 16);
        radio.receive(request.data(), request.size(), T0);
        EXPECT_EQ(radio.frames().back().time, c.handled);
        EXPECT_EQ(radio.nextOutputTime(), c.firstByte);

        Bytes out;
        EXPECT_EQ(radio.takeOutput(c.firstByte - 1, out), 0u);
        EXPECT_EQ(radio.takeOutput(c.firstByte, out), c.wire ? 1u : 20u);
        if (c.wire) {
            EXPECT_EQ(radio.takeOutput(c.lastByte - 1, out), 18u);
            EXPECT_EQ(radio.nextOutputTime(), c.lastByte);
        }
        radio.takeOutput(c.lastByte, out);
        EXPECT_EQ(out, ReadReply(radio, 0x0100, 16));
        EXPECT_EQ(radio.nextOutputTime(), -1);
    }
    // At 9600 baud the whole read takes about 25 ms.
    EXPECT_NEAR(double(24 * B), 25'000.0, 100.0);
}

TEST(SimulatedRadio, LateRadioAnswersARepeatedRequestOnce)
{
    constexpr Micros T0 = 5'000'000;
    constexpr Micros B = kByteTimeUs;
    struct Case {
        const char *name;
        Micros delay;
        Micros nextAt; // when the programmer sends its next request
    };
    const Case cases[] = {
        // The repeat at 1.0 s arrives while the reply due at 1.2 s is pending.
        {"repeat while the reply is pending", 1'200'000, T0 + 1'300'000},
        // The reply ends (1.0015 s) in the middle of the repeat; the rest of
        // the repeat (0x45 = 'E' first) must not be taken for commands, and
        // the next request, queued behind it on the line, is answered.
        {"reply ends during the repeat", 1'001'500 - 24 * B, T0 + 1'002'000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedRadio radio;
        OpenSession(radio, "");
        radio.behaviour().wireTiming = true;
        radio.behaviour().replyDelayUs = c.delay;

        const Bytes first = ReadRequest(0x4500, 16);
        const Bytes next = ReadRequest(0x4510, 16);
        Bytes out;
        radio.receive(first.data(), first.size(), T0);
        radio.takeOutput(T0 + 1'000'000, out);
        radio.receive(first.data(), first.size(), T0 + 1'000'000);
        radio.takeOutput(c.nextAt, out);
        radio.receive(next.data(), next.size(), c.nextAt);
        const Bytes rest = Drain(radio);
        out.insert(out.end(), rest.begin(), rest.end());

        Bytes expected = ReadReply(radio, 0x4500, 16);
        const Bytes second = ReadReply(radio, 0x4510, 16);
        expected.insert(expected.end(), second.begin(), second.end());
        EXPECT_EQ(out, expected);
        EXPECT_EQ(Kinds(radio), "H2PRR");
    }
}

TEST(SimulatedRadio, Misbehaviours)
{
    const Bytes data = Pattern(16, 9);
    struct Case {
        const char *name;
        std::function<void(SimBehaviour &)> set;
        bool open; // open the session (behaving) before misbehaving
        Bytes request;
        std::function<void(const Bytes &reply, const SimulatedRadio &radio)> check;
    };
    const Case cases[] = {
        {"silent", [](SimBehaviour &b) { b.silent = true; }, false, kHandshake,
         [](const Bytes &r, const SimulatedRadio &radio) {
             EXPECT_TRUE(r.empty());
             EXPECT_EQ(Kinds(radio), "H"); // heard, not answered
         }},
        {"wrong identification", [](SimBehaviour &b) { b.wrongIdentification = true; }, false, kHandshake,
         [](const Bytes &r, const SimulatedRadio &) {
             ASSERT_EQ(r.size(), 8u);
             EXPECT_TRUE(std::equal(r.begin(), r.end() - 1, kIdentification.begin()));
             EXPECT_NE(r.back(), kIdentification.back());
         }},
        {"noise before the identification", [](SimBehaviour &b) { b.noiseBeforeReply = {0x00, 0x41}; }, false,
         kHandshake,
         [](const Bytes &r, const SimulatedRadio &) {
             Bytes e{0x00, 0x41};
             e.insert(e.end(), kIdentification.begin(), kIdentification.end());
             EXPECT_EQ(r, e);
         }},
        {"noise before a block", [](SimBehaviour &b) { b.noiseBeforeReply = {0x00, 0x41}; }, true,
         ReadRequest(0x2000, 16),
         [](const Bytes &r, const SimulatedRadio &radio) {
             Bytes e{0x00, 0x41};
             const Bytes block = ReadReply(radio, 0x2000, 16);
             e.insert(e.end(), block.begin(), block.end());
             EXPECT_EQ(r, e);
         }},
        {"block one byte short", [](SimBehaviour &b) { b.wrongLengthReplies = true; }, true,
         ReadRequest(0x2000, 16),
         [](const Bytes &r, const SimulatedRadio &radio) {
             Bytes e = ReadReply(radio, 0x2000, 16);
             e.pop_back();
             EXPECT_EQ(r, e);
         }},
        {"block with a wrong first byte", [](SimBehaviour &b) { b.wrongFirstByte = true; }, true,
         ReadRequest(0x2000, 16),
         [](const Bytes &r, const SimulatedRadio &radio) {
             Bytes e = ReadReply(radio, 0x2000, 16);
             e[0] = 'X';
             EXPECT_EQ(r, e);
         }},
        {"write ack with a wrong byte", [](SimBehaviour &b) { b.wrongFirstByte = true; }, true,
         WriteRequest(0x2000, data),
         [](const Bytes &r, const SimulatedRadio &) { EXPECT_EQ(r, Bytes{0x00}); }},
        {"write refused", [](SimBehaviour &b) { b.refuseWrites = true; }, true, WriteRequest(0x2000, data),
         [](const Bytes &r, const SimulatedRadio &radio) {
             EXPECT_EQ(r, Bytes{0x15});
             EXPECT_EQ(radio.memory()[0x2000], 0);
         }},
        {"other device", [](SimBehaviour &b) { b.otherProtocol = true; }, false, kHandshake,
         [](const Bytes &r, const SimulatedRadio &radio) {
             EXPECT_EQ(std::string(r.begin(), r.end()), "\r\nERROR\r\n");
             EXPECT_TRUE(radio.frames().empty());
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedRadio radio;
        if (c.open)
            OpenSession(radio, "");
        c.set(radio.behaviour());
        c.check(Send(radio, c.request), radio);
    }
}

TEST(SimulatedRadio, FloodKeepsComingWithoutPilingUp)
{
    for (bool wire : {false, true}) {
        SCOPED_TRACE(testing::Message() << "wire " << wire);
        SimulatedRadio radio;
        radio.behaviour().flood = true;
        radio.behaviour().wireTiming = wire;
        const Micros period = wire ? kByteTimeUs : 100;
        radio.receive(kHandshake.data(), kHandshake.size(), 0);

        constexpr Micros kStep = 10'000, kEnd = 60'000'000;
        std::uint64_t total = 0;
        std::size_t largest = 0;
        bool onlyFlood = true;
        Bytes out;
        out.reserve(1024);
        for (Micros t = 0; t <= kEnd; t += kStep) {
            out.clear();
            radio.takeOutput(t, out);
            total += out.size();
            largest = std::max(largest, out.size());
            onlyFlood = onlyFlood && std::all_of(out.begin(), out.end(), [](auto b) { return b == 0x55; });
            if (t == kEnd / 2) // a request in the middle of the flood gets no real answer
                radio.receive(ReadRequest(0, 16).data(), 4, t);
            ASSERT_GE(radio.nextOutputTime(), t);
        }
        EXPECT_TRUE(onlyFlood);
        EXPECT_NEAR(double(total), double(kEnd / period), 20.0);
        EXPECT_LE(largest, std::size_t(kStep / period + 1));
        EXPECT_LE(out.capacity(), 1024u);

        // Asked after an hour, the radio hands out a bounded batch; the rest
        // stays due instead of being queued.
        out.clear();
        radio.takeOutput(kEnd + 3'600'000'000LL, out);
        EXPECT_GT(out.size(), 0u);
        EXPECT_LE(out.size(), 65536u);
        EXPECT_LE(radio.nextOutputTime(), kEnd + 3'600'000'000LL);
    }
}

TEST(SimulatedRadio, HangsUpAfterTheGivenNumberOfBlocks)
{
    for (int n : {0, 2}) {
        for (bool wire : {false, true}) {
            SCOPED_TRACE(testing::Message() << n << " blocks, wire " << wire);
            SimulatedRadio radio;
            radio.behaviour().hangUpAfterBlocks = n;
            Micros t = 0;
            OpenSession(radio, "", t);
            radio.behaviour().wireTiming = wire;
            for (int i = 0; i < n; ++i) {
                t += 100'000;
                EXPECT_EQ(Send(radio, ReadRequest(std::uint16_t(16 * i), 16), t).size(), 20u);
                EXPECT_FALSE(radio.hungUp());
            }
            // The line goes dead when the request's last byte is in.
            t += 100'000;
            const Bytes last = ReadRequest(0x0100, 16);
            radio.receive(last.data(), last.size(), t);
            EXPECT_EQ(radio.hungUp(), !wire);
            EXPECT_TRUE(Drain(radio).empty());
            EXPECT_TRUE(radio.hungUp());
            t += 100'000;
            EXPECT_TRUE(Send(radio, kHandshake, t).empty());
            EXPECT_EQ(Kinds(radio), "H2P" + std::string(std::size_t(n), 'R'));
        }
    }
}

TEST(SimulatedRadio, ImageFilesRoundTrip)
{
    const fs::path dir = fs::temp_directory_path() / ("vkt-sim-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string full = (dir / "full.bin").string();
    const std::string part = (dir / "part.bin").string();
    std::string error;

    SimulatedRadio a;
    const Bytes pattern = Pattern(SimulatedRadio::kMemorySize, 5);
    std::copy(pattern.begin(), pattern.end(), a.memory().begin());
    ASSERT_TRUE(a.saveImage(full, error)) << error;
    EXPECT_EQ(fs::file_size(full), SimulatedRadio::kMemorySize);

    SimulatedRadio b;
    ASSERT_TRUE(b.loadImage(full, error)) << error;
    EXPECT_EQ(b.memory(), a.memory());

    // A short file fills from address 0 and leaves the rest alone.
    SimulatedRadio shortImage;
    shortImage.memory().fill(0xEE);
    const Bytes head = Pattern(100, 6);
    {
        SimulatedRadio writer;
        std::copy(head.begin(), head.end(), writer.memory().begin());
        ASSERT_TRUE(writer.saveImage(part, error));
        fs::resize_file(part, head.size());
    }
    ASSERT_TRUE(shortImage.loadImage(part, error)) << error;
    EXPECT_TRUE(std::equal(head.begin(), head.end(), shortImage.memory().begin()));
    EXPECT_EQ(shortImage.memory()[100], 0xEE);
    EXPECT_EQ(shortImage.memory()[0xFFFF], 0xEE);

    error.clear();
    EXPECT_FALSE(b.loadImage((dir / "missing.bin").string(), error));
    EXPECT_FALSE(error.empty());
    fs::remove_all(dir);
}

// --- Through a real pseudo-terminal ---

// Reads exactly `n` bytes within `timeoutMs`; fewer on time-out or error.
Bytes ReadFor(int fd, std::size_t n, int timeoutMs)
{
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0 || !(p.revents & POLLIN))
            break;
        std::uint8_t buf[64];
        const ssize_t r = ::read(fd, buf, std::min(sizeof buf, n - got.size()));
        if (r <= 0)
            break;
        got.insert(got.end(), buf, buf + r);
    }
    return got;
}

bool WriteAll(int fd, const Bytes &b)
{
    return ::write(fd, b.data(), b.size()) == ssize_t(b.size());
}

int OpenRaw(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

TEST(PtyRadioHost, AnswersOnATerminalAndHangsUp)
{
    SimulatedRadio radio("77");
    radio.behaviour().hangUpAfterBlocks = 1;
    PtyRadioHost host(radio);
    std::string error;
    ASSERT_TRUE(host.start(error)) << error;

    // The terminal survives the programmer closing it.
    int fd = OpenRaw(host.devicePath());
    ASSERT_GE(fd, 0) << host.devicePath() << ": " << std::strerror(errno);
    ::close(fd);
    fd = OpenRaw(host.devicePath());
    ASSERT_GE(fd, 0) << std::strerror(errno);

    ASSERT_TRUE(WriteAll(fd, kHandshake));
    EXPECT_EQ(ReadFor(fd, 8, 1000), kIdentification);
    ASSERT_TRUE(WriteAll(fd, {0x02}));
    EXPECT_EQ(ReadFor(fd, 1, 1000), kAck);
    ASSERT_TRUE(WriteAll(fd, PasswordBlock("77")));
    EXPECT_EQ(ReadFor(fd, 1, 1000), kAck);
    ASSERT_TRUE(WriteAll(fd, ReadRequest(0x0000, 16)));
    EXPECT_EQ(ReadFor(fd, 20, 1000).size(), 20u);

    // The next block finds the radio gone: the programmer's end sees the
    // hang-up at once.
    ASSERT_TRUE(WriteAll(fd, ReadRequest(0x0010, 16)));
    pollfd p{fd, POLLIN, 0};
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    bool gone = (p.revents & (POLLHUP | POLLERR)) != 0;
    if (!gone) {
        std::uint8_t b;
        const ssize_t r = ::read(fd, &b, 1);
        gone = r == 0 || (r < 0 && errno == EIO);
    }
    EXPECT_TRUE(gone);
    EXPECT_TRUE(host.hungUp());
    host.withRadio([](SimulatedRadio &r) { EXPECT_EQ(Kinds(r), "H2PR"); });
    ::close(fd);
    host.stop();
}

} // namespace
} // namespace vkt
