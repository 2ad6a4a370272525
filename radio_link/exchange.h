// One programming exchange with the radio: port choice, handshake,
// password proof, the block transfers of one operation, and the ending.
//
// The exchange is a state machine. It owns neither a real port nor real
// timers: it talks through a SerialLine and asks a TimerService for its
// timers, which call onTimer() back. It shows nothing; its progress and
// its outcome go to an ExchangeListener.
#pragma once

#include "codeplug.h"
#include "program_state.h"
#include "serial_line.h"
#include "timer_service.h"

#include <array>
#include <cstdint>
#include <functional>

namespace vkt {

// The operations an exchange can perform (value of ExchangeMode).
namespace mode {
inline constexpr int kConfiguration = 0; // Read / Write
inline constexpr int kAdjustment = 1;    // AdjustmentRead / AdjustmentWrite
inline constexpr int kRadioPassword = 5; // PasswordWrite
inline constexpr int kStatus = 7;        // Read1846Status
inline constexpr int kAllWrite = 14;     // AllWrite
} // namespace mode

enum class ExchangeOutcome : std::uint8_t {
    None,                 // not finished, or closed by the user before the end
    Success,              // "SUCCESS"
    CommunicationFailure, // "Communication False"
    PasswordError,        // "Password Error"
};

// The message text of an outcome, in English.
const char *OutcomeText(ExchangeOutcome outcome);

// Which port an exchange uses.
struct PortSelection {
    int Port = 1;               // fixed port number, 1..30
    bool AutoSeachPort = true;  // search the present ports in turn
    std::array<std::uint8_t, kMaxPortNumber> FoundPorts{};
    std::uint8_t FoundPortCount = 0;
    int PortIndex = 0;          // position in FoundPorts being tried
};

// The computer's local date and time, as a write stamps it into the radio.
ClockTime LocalClockNow();
// Random bytes for the password blocks: one generator for the process,
// seeded once from the system's random device.
RandomByteSource SystemRandomBytes();

// Lists the ports 1..30 that can be opened now, in ascending order.
void ScanPorts(SerialLine &line, PortSelection &ports);

class ExchangeListener {
public:
    virtual ~ExchangeListener() = default;
    // Progress bar position, 0..100.
    virtual void progressChanged(int /*position*/) {}
    // The exchange has ended; for a successful read the data has already
    // been converted into the program's records.
    virtual void finished(ExchangeOutcome /*outcome*/) {}
};

// Byte counts of one exchange, for the wire-time figures.
struct ExchangeCounters {
    std::uint64_t bytesSent = 0;
    std::uint64_t bytesReceived = 0;
    std::uint32_t framesSent = 0;
    std::uint32_t blocksAccepted = 0;
};

class Exchange {
public:
    using ClockSource = std::function<ClockTime()>;

    Exchange(ProgramState &state, PortSelection &ports, SerialLine &line, TimerService &timers,
             RandomByteSource random, ClockSource clock);
    ~Exchange();
    Exchange(const Exchange &) = delete;
    Exchange &operator=(const Exchange &) = delete;

    void setListener(ExchangeListener *listener) { listener_ = listener; }

    // Set by the opener before the start.
    int ExchangeMode = mode::kConfiguration;
    bool ReadFromRadio = true;

    // The Start button: chooses and opens the port and starts the handshake.
    void ProgramStartClick();
    // A timer of the TimerService has fired.
    void onTimer(TimerId id);
    // The exchange window closes: stops the timers and releases the port.
    void FormClose();

    bool running() const { return running_; }
    ExchangeOutcome outcome() const { return outcome_; }
    int progress() const { return progress_; }
    const ExchangeCounters &counters() const { return counters_; }

    // Position in the protocol, for tests and diagnostics.
    std::uint8_t handshakeStep() const { return HandshakeStep; }
    int stage() const { return Stage; }
    int blockOffset() const { return BlockOffset; }
    std::uint16_t progressUnit() const { return ProgressUnit; }

    static constexpr std::size_t kRxBufferSize = 256;

private:
    enum class AfterPause : std::uint8_t {
        None,
        BeginAfterOpen,        // start of an exchange: the 1000 ms pause follows
        Handshake,             // start of an exchange: purge and begin the handshake
        SendOnNewPort,         // auto search moved on after silence
        RestartOnNewPort,      // auto search moved on after a wrong reply
    };

    // Port handling.
    bool ComInit(int port);
    bool ComInit_AutoSeach(AfterPause next);
    void startPause(int ms, AfterPause next);
    void afterPause();

    // Timer handlers.
    void Timer_TxTimer();
    void txTail();
    void stopTxRx();
    void Timer_RxTimer();
    void rxAfterPortChange();
    void onBytesArrived();
    // Receiving, by HandshakeStep; each returns whether the receive timer
    // goes on (false: the exchange ended or waits for something else).
    bool takeWaitingBytes();
    bool takeIdentification();
    bool takeHandshakeReply();
    bool takeBlockReply();
    bool handshakeAccepted(std::uint8_t nextStep);

    // Endings.
    void Timer_TimeOutTrigger();
    void Agr_PasswordError();
    void Agr_Close();
    void WriteEnding();
    void finish(ExchangeOutcome outcome);

    // Frames.
    bool send(const std::uint8_t *data, std::size_t size);
    bool Agr_WriteReq_1();
    bool Agr_WriteReq_2();
    bool Agr_WriteReq_3();
    void WriteData(std::uint16_t address, std::uint8_t length, const std::uint8_t *source);
    void ReadData(std::uint16_t address, std::uint8_t length);
    void READ_1846StatusData();
    void WRITE_FRQ_FUN(int address);
    void READ_FRQ_FUN(int address);
    void WRITE_ChInfor(int address);
    void READ_ChInfor(int address);
    void WRITE_AdjustmentData(int offset);
    void READ_AdjustmentData(int offset);
    void WRITE_PasswordBlock(int offset);

    // Operations: one call sends one frame or finishes. Each block
    // operation is a list of memory regions (exchange.cpp) that walk()
    // sends or fetches block by block, Stage being the region's number.
    struct Region;
    static const Region kAllWriteRegions[];
    void stepOperation();
    void walk(const Region *regions, int count);
    void Read();
    void Write();
    void AllWrite();
    void AdjustmentRead();
    void AdjustmentWrite();
    void PasswordWrite();
    void Read1846Status();
    void takeStatusReply();
    // What the walk asks of the data and does between regions.
    bool channelInData(int offset) const;
    bool channelInRadio(int offset) const;
    bool newPasswordWanted(int offset) const;
    void radioBitmapTaken();
    void adjustmentWritten();

    void setProgress(int position);
    void advanceProgress();
    std::uint16_t UnusedChannelCount(bool fromRadio) const;

    ProgramState &state_;
    PortSelection &ports_;
    SerialLine &line_;
    TimerService &timers_;
    RandomByteSource random_;
    ClockSource clock_;
    ExchangeListener *listener_ = nullptr;

    bool running_ = false;
    ExchangeOutcome outcome_ = ExchangeOutcome::None;
    int progress_ = 0;
    AfterPause afterPause_ = AfterPause::None;
    // The receive timer is running, and has looked once since the last
    // send: bytes that arrive now are taken up as they come, without
    // waiting for its next tick.
    bool rxArmed_ = false;
    bool rxLooked_ = false;
    ExchangeCounters counters_;

    // Exchange state, reset at every start.
    std::uint8_t HandshakeStep = 0;
    std::array<std::uint8_t, kRxBufferSize> RxBuffer{};
    std::uint16_t RxCount = 0;
    std::uint8_t ExpectedReplyLength = 0;
    std::uint8_t BlockLength = 0;
    std::uint16_t RequestAddress = 0; // address of the last block frame
    int Stage = 0;
    int BlockOffset = 0;
    std::uint16_t ProgressUnit = 1;
    std::int32_t ProgressBytes = 0;
    std::int32_t UnansweredSends = 0;
    std::array<std::uint8_t, 16> PasswordBlock{};
    std::uint8_t StatusBattery = 0, StatusVox = 0;
};

} // namespace vkt
