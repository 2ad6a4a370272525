// The serial line to the radio, behind a small interface so that the
// exchange runs the same over a real port, a pseudo-terminal or an
// in-memory line in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace vkt {

// Port numbers the program offers: "COM1" .. "COM30".
inline constexpr int kMaxPortNumber = 30;

class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Tries an exclusive open of port `port` (1..30) and closes it again at
    // once. True when the port exists and nobody holds it.
    virtual bool probe(int port) = 0;

    // Opens port `port` exclusively with the radio's line settings (9600
    // baud, 8 data bits, no parity, 1 stop bit, no flow control, DTR and
    // RTS raised, 1024-byte driver buffers). Any open port is closed first.
    // False when the port is absent, busy or rejects the settings.
    virtual bool open(int port) = 0;

    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Discards everything waiting in both directions.
    virtual void purge() = 0;
    // Discards the received bytes only.
    virtual void purgeReceive() = 0;

    // Number of received bytes waiting; -1 when the line has failed (the
    // port disappeared, the cable was pulled).
    virtual long bytesWaiting() = 0;

    // Reads at most `max` waiting bytes without blocking; returns the count
    // read, or -1 when the line has failed.
    virtual long read(std::uint8_t *buffer, std::size_t max) = 0;

    // Writes one whole frame; false when the line has failed.
    virtual bool write(const std::uint8_t *data, std::size_t size) = 0;

    // `handler` is called when received bytes have come in, from the
    // caller's event loop and never from inside a call to this line; an
    // empty handler ends the calls. A line that cannot tell when bytes come
    // in ignores it, and its bytes are found by bytesWaiting() alone.
    virtual void setArrivalHandler(std::function<void()> handler) { (void)handler; }
};

} // namespace vkt
