#include "exchange.h"

#include "adjustment.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <random>

namespace vkt {

namespace {

constexpr int kTxPeriodMs = 1000;
constexpr int kFirstPollMs = 10;
constexpr int kPollMs = 3;
constexpr int kTimeOutMs = 5000;
constexpr int kStartPauseMs = 1000;
constexpr int kSearchPauseMs = 50;

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kPasswordWrong = 0x07;

constexpr std::uint8_t kHandshakeRequest[8] = {0x06, 'D', 'O', 'R', 'V', 'I', 0xFF, 0xFF};
constexpr std::uint8_t kIdentification[8] = {'Q', 'M', 'N', 'S', 'D', '0', '1', 0xFF};
constexpr std::uint8_t kStatusRequest[2] = {'Y', 'R'};
constexpr std::size_t kStatusReplySize = 13;

// Memory regions the configuration exchanges move.
constexpr int kBitmapStart = 0x4000;
constexpr int kBitmapEnd = 0x4020;
constexpr int kChannelsEnd = 0x14B6;        // 241 records of 22 bytes
constexpr int kSettingsAStart = 0x14E0;
constexpr int kSettingsAEnd = 0x19EE;       // blocks start below this
constexpr int kSettingsBStart = 0x4100;
constexpr int kSettingsBEnd = 0x4514;
constexpr int kPasswordBlockAddress = 0x4020;
constexpr int kAdjustmentAddress = 0x4600;
constexpr int kAdjustmentEnd = static_cast<int>(kAdjustmentRadioSize); // 409
constexpr std::uint8_t kBlock = 16;
constexpr std::uint8_t kChannelBlock = 22;

} // namespace

const char *OutcomeText(ExchangeOutcome outcome)
{
    switch (outcome) {
    case ExchangeOutcome::Success: return "SUCCESS";
    case ExchangeOutcome::CommunicationFailure: return "Communication False";
    case ExchangeOutcome::PasswordError: return "Password Error";
    case ExchangeOutcome::None: break;
    }
    return "";
}

ClockTime LocalClockNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint8_t>(tm.tm_mon + 1),
            static_cast<std::uint8_t>(tm.tm_mday), static_cast<std::uint8_t>(tm.tm_hour),
            static_cast<std::uint8_t>(tm.tm_min)};
}

RandomByteSource SystemRandomBytes()
{
    static std::mt19937 gen(std::random_device{}());
    return [] { return static_cast<std::uint8_t>(gen()); };
}

void ScanPorts(SerialLine &line, PortSelection &ports)
{
    ports.FoundPortCount = 0;
    for (int n = 1; n <= kMaxPortNumber; ++n)
        if (line.probe(n))
            ports.FoundPorts[ports.FoundPortCount++] = static_cast<std::uint8_t>(n);
}

Exchange::Exchange(ProgramState &state, PortSelection &ports, SerialLine &line, TimerService &timers,
                   RandomByteSource random, ClockSource clock)
    : state_(state), ports_(ports), line_(line), timers_(timers), random_(std::move(random)),
      clock_(std::move(clock))
{
}

// ---- start and port handling ---------------------------------------------

void Exchange::ProgramStartClick()
{
    if (running_)
        return;
    running_ = true;
    outcome_ = ExchangeOutcome::None;
    counters_ = {};
    for (TimerId id : {TimerId::TimeOut, TimerId::Pause, TimerId::Rx, TimerId::Tx})
        timers_.stop(id);

    ScanPorts(line_, ports_);
    if (ports_.AutoSeachPort) {
        ports_.PortIndex = 0;
        if (ports_.FoundPortCount == 0) {
            Timer_TimeOutTrigger();
            return;
        }
        ComInit_AutoSeach(AfterPause::BeginAfterOpen);
        return;
    }
    if (!ComInit(ports_.Port & 0xFF))
        return;
    startPause(kStartPauseMs, AfterPause::Handshake);
}

bool Exchange::ComInit(int port)
{
    if (!line_.open(port)) {
        Timer_TimeOutTrigger();
        return false;
    }
    line_.purge();
    return true;
}

bool Exchange::ComInit_AutoSeach(AfterPause next)
{
    line_.close();
    while (ports_.PortIndex < ports_.FoundPortCount) {
        if (line_.open(ports_.FoundPorts[static_cast<std::size_t>(ports_.PortIndex)])) {
            line_.purge();
            startPause(kSearchPauseMs, next);
            return true;
        }
        ++ports_.PortIndex;
    }
    Timer_TimeOutTrigger();
    return false;
}

// The pauses after opening a port are waited for on a timer, so that the
// caller's event loop keeps running; what the code after the pause would
// have done is resumed by afterPause().
void Exchange::startPause(int ms, AfterPause next)
{
    afterPause_ = next;
    timers_.start(TimerId::Pause, ms);
}

void Exchange::afterPause()
{
    const AfterPause next = afterPause_;
    afterPause_ = AfterPause::None;
    switch (next) {
    case AfterPause::None:
        break;
    case AfterPause::BeginAfterOpen:
        startPause(kStartPauseMs, AfterPause::Handshake);
        break;
    case AfterPause::Handshake:
        line_.purge();
        RxCount = 0;
        Stage = 0;
        BlockOffset = 0;
        HandshakeStep = 0;
        ProgressBytes = 0;
        ProgressUnit = 1;
        timers_.start(TimerId::TimeOut, kTimeOutMs);
        timers_.start(TimerId::Rx, kFirstPollMs);
        timers_.start(TimerId::Tx, kTxPeriodMs);
        UnansweredSends = 0;
        setProgress(0);
        Timer_TxTimer();
        break;
    case AfterPause::SendOnNewPort:
        if (!Agr_WriteReq_1())
            return;
        txTail();
        break;
    case AfterPause::RestartOnNewPort:
        rxAfterPortChange();
        break;
    }
}

void Exchange::onTimer(TimerId id)
{
    if (!running_)
        return;
    switch (id) {
    case TimerId::TimeOut: Timer_TimeOutTrigger(); break;
    case TimerId::Pause: afterPause(); break;
    case TimerId::Rx: Timer_RxTimer(); break;
    case TimerId::Tx: Timer_TxTimer(); break;
    }
}

// ---- sending -------------------------------------------------------------

void Exchange::Timer_TxTimer()
{
    timers_.stop(TimerId::Tx);
    timers_.stop(TimerId::Rx);
    switch (HandshakeStep) {
    case 0:
        if (ports_.AutoSeachPort) {
            if (UnansweredSends < 2) {
                ++UnansweredSends;
                if (!Agr_WriteReq_1())
                    return;
            } else {
                UnansweredSends = 0;
                ++ports_.PortIndex;
                timers_.start(TimerId::TimeOut, kTimeOutMs);
                if (ports_.PortIndex < ports_.FoundPortCount)
                    ComInit_AutoSeach(AfterPause::SendOnNewPort); // resumes in afterPause()
                else
                    Timer_TimeOutTrigger();
                return;
            }
        } else if (!Agr_WriteReq_1()) {
            return;
        }
        break;
    case 1:
        if (!Agr_WriteReq_2())
            return;
        break;
    case 2:
        if (!Agr_WriteReq_3())
            return;
        break;
    default:
        stepOperation();
        break;
    }
    if (!running_)
        return;
    txTail();
}

void Exchange::txTail()
{
    advanceProgress();
    RxCount = 0;
    timers_.start(TimerId::Tx, kTxPeriodMs);
    timers_.start(TimerId::Rx, kFirstPollMs);
}

bool Exchange::send(const std::uint8_t *data, std::size_t size)
{
    if (!line_.write(data, size)) {
        // The line is gone (a cable pulled, a device removed).
        Timer_TimeOutTrigger();
        return false;
    }
    counters_.bytesSent += size;
    ++counters_.framesSent;
    return true;
}

bool Exchange::Agr_WriteReq_1()
{
    if (ExchangeMode == mode::kStatus) {
        stepOperation();
        return running_;
    }
    return send(kHandshakeRequest, sizeof kHandshakeRequest);
}

bool Exchange::Agr_WriteReq_2()
{
    const std::uint8_t second = 0x02;
    return send(&second, 1);
}

bool Exchange::Agr_WriteReq_3()
{
    const RadioData &d = state_.data;
    const std::string_view text(reinterpret_cast<const char *>(d.accessPassword),
                                FieldTextLength(d.accessPassword, 12));
    PasswordBlock = ScramblePassword(text, random_);
    return send(PasswordBlock.data(), PasswordBlock.size());
}

void Exchange::WriteData(std::uint16_t address, std::uint8_t length, const std::uint8_t *source)
{
    std::uint8_t frame[4 + 255];
    frame[0] = 'W';
    PutBE16(frame + 1, address);
    frame[3] = length;
    std::memcpy(frame + 4, source, length);
    ExpectedReplyLength = 1;
    BlockLength = length;
    RequestAddress = address;
    send(frame, 4u + length);
}

void Exchange::ReadData(std::uint16_t address, std::uint8_t length)
{
    std::uint8_t frame[4] = {'R', 0, 0, length};
    PutBE16(frame + 1, address);
    ExpectedReplyLength = static_cast<std::uint8_t>(length + 4);
    BlockLength = length;
    RequestAddress = address;
    send(frame, sizeof frame);
}

void Exchange::READ_1846StatusData()
{
    ExpectedReplyLength = kStatusReplySize;
    send(kStatusRequest, sizeof kStatusRequest);
}

void Exchange::WRITE_FRQ_FUN(int a) { WriteData(static_cast<std::uint16_t>(a), kBlock, state_.image.at(a)); }
void Exchange::READ_FRQ_FUN(int a) { ReadData(static_cast<std::uint16_t>(a), kBlock); }
void Exchange::WRITE_ChInfor(int a) { WriteData(static_cast<std::uint16_t>(a), kChannelBlock, state_.image.at(a)); }
void Exchange::READ_ChInfor(int a) { ReadData(static_cast<std::uint16_t>(a), kChannelBlock); }
void Exchange::WRITE_AdjustmentData(int offset)
{
    WriteData(static_cast<std::uint16_t>(kAdjustmentAddress + offset), kBlock, state_.image.at(offset));
}
void Exchange::READ_AdjustmentData(int offset)
{
    ReadData(static_cast<std::uint16_t>(kAdjustmentAddress + offset), kBlock);
}

// ---- receiving -----------------------------------------------------------

void Exchange::Timer_RxTimer()
{
    const long waiting = line_.bytesWaiting();
    if (waiting < 0) {
        Timer_TimeOutTrigger(); // the port disappeared
        return;
    }
    if (waiting > 255) {
        line_.purgeReceive();
        timers_.start(TimerId::Rx, kPollMs);
        return;
    }
    if (waiting > 0) {
        // Bytes that do not fit the buffer are read and dropped.
        const std::size_t space = kRxBufferSize - RxCount;
        const long got = line_.read(RxBuffer.data() + RxCount, std::min<std::size_t>(space, std::size_t(waiting)));
        if (got < 0) {
            Timer_TimeOutTrigger();
            return;
        }
        RxCount = static_cast<std::uint16_t>(RxCount + got);
        counters_.bytesReceived += static_cast<std::uint64_t>(got);
        for (long rest = waiting - got; rest > 0;) {
            std::uint8_t scratch[256];
            const long dropped = line_.read(scratch, std::min<std::size_t>(sizeof scratch, std::size_t(rest)));
            if (dropped <= 0)
                break;
            counters_.bytesReceived += static_cast<std::uint64_t>(dropped);
            rest -= dropped;
        }
    }

    if (HandshakeStep == 0) {
        std::size_t skip = 0;
        while (skip < RxCount && RxBuffer[skip] != 'Q' && RxBuffer[skip] != 'Y')
            ++skip;
        if (skip) {
            std::memmove(RxBuffer.data(), RxBuffer.data() + skip, RxCount - skip);
            RxCount = static_cast<std::uint16_t>(RxCount - skip);
        }
    }

    switch (HandshakeStep) {
    case 0:
        if (ExchangeMode == mode::kStatus) {
            if (RxCount >= 2 && (RxBuffer[0] != 'Y' || RxBuffer[1] != 'S')) {
                RxCount = 0;
                return;
            }
            if (RxCount >= kStatusReplySize) {
                takeStatusReply();
                return;
            }
            break;
        }
        if (RxCount < sizeof kIdentification)
            break;
        if (std::memcmp(RxBuffer.data(), kIdentification, sizeof kIdentification) == 0) {
            HandshakeStep = 1;
            Stage = 0;
            BlockOffset = 0;
            setProgress(progress_ + 1);
            timers_.start(TimerId::TimeOut, kTimeOutMs);
            Timer_TxTimer();
            if (!running_)
                return;
            RxCount = 0;
            break;
        }
        if (!ports_.AutoSeachPort) {
            Timer_TimeOutTrigger();
            return;
        }
        ++ports_.PortIndex;
        if (ports_.PortIndex >= ports_.FoundPortCount) {
            Timer_TimeOutTrigger();
            return;
        }
        ComInit_AutoSeach(AfterPause::RestartOnNewPort); // resumes in afterPause()
        return;
    case 1:
        if (RxCount < 1)
            break;
        if (RxBuffer[0] != kAck) {
            Timer_TimeOutTrigger();
            return;
        }
        Stage = 0;
        BlockOffset = 0;
        timers_.start(TimerId::TimeOut, kTimeOutMs);
        HandshakeStep = 2;
        Timer_TxTimer();
        if (!running_)
            return;
        RxCount = 0;
        break;
    case 2:
        if (RxCount < 1)
            break;
        if (RxBuffer[0] == kPasswordWrong) {
            Agr_PasswordError();
            return;
        }
        if (RxBuffer[0] != kAck) {
            Timer_TimeOutTrigger();
            return;
        }
        setProgress(2);
        Stage = 0;
        BlockOffset = 0;
        timers_.start(TimerId::TimeOut, kTimeOutMs);
        HandshakeStep = 3;
        Timer_TxTimer();
        if (!running_)
            return;
        RxCount = 0;
        break;
    default:
        if (RxCount != ExpectedReplyLength)
            break; // too short: wait; too long: the repeat empties the buffer
        if (ReadFromRadio) {
            if (RxBuffer[0] != 'W') {
                Timer_TimeOutTrigger();
                return;
            }
            // A reply for another block (a late answer to a repeated
            // request) is not taken as this block's data.
            if (GetBE16(RxBuffer.data() + 1) != RequestAddress || RxBuffer[3] != BlockLength) {
                RxCount = 0;
                break;
            }
            std::memcpy(state_.image.at(static_cast<std::size_t>(BlockOffset)), RxBuffer.data() + 4, BlockLength);
        } else if (RxBuffer[0] != kAck) {
            Timer_TimeOutTrigger();
            return;
        }
        ++counters_.blocksAccepted;
        BlockOffset += BlockLength;
        ProgressBytes += BlockLength;
        Timer_TxTimer();
        if (!running_)
            return;
        timers_.start(TimerId::TimeOut, kTimeOutMs);
        RxCount = 0;
        break;
    }
    timers_.start(TimerId::Rx, kPollMs);
}

void Exchange::rxAfterPortChange()
{
    UnansweredSends = 0;
    timers_.start(TimerId::TimeOut, kTimeOutMs);
    Timer_TxTimer();
    if (!running_)
        return;
    RxCount = 0;
    timers_.start(TimerId::Rx, kPollMs);
}

// ---- endings -------------------------------------------------------------

void Exchange::Agr_Close()
{
    setProgress(0);
    for (TimerId id : {TimerId::TimeOut, TimerId::Pause, TimerId::Rx, TimerId::Tx})
        timers_.stop(id);
    afterPause_ = AfterPause::None;
    line_.close();
    running_ = false;
}

void Exchange::finish(ExchangeOutcome outcome)
{
    outcome_ = outcome;
    if (listener_)
        listener_->finished(outcome);
}

void Exchange::Timer_TimeOutTrigger()
{
    Agr_Close();
    finish(ExchangeOutcome::CommunicationFailure);
}

void Exchange::Agr_PasswordError()
{
    Agr_Close();
    finish(ExchangeOutcome::PasswordError);
}

void Exchange::WriteEnding()
{
    const std::uint8_t end = 'E';
    if (line_.write(&end, 1)) {
        counters_.bytesSent += 1;
        ++counters_.framesSent;
    }
    Agr_Close();
    // What a successful read brings in reaches the records only now, so a
    // failed read never changes them.
    if (ReadFromRadio && ExchangeMode == mode::kConfiguration)
        SetDataToSoftware(state_.image, state_.data, state_.limits, state_.identity);
    else if (ReadFromRadio && ExchangeMode == mode::kAdjustment)
        SetAdjustmentData(state_.image, state_.adjustment);
    finish(ExchangeOutcome::Success);
}

void Exchange::FormClose()
{
    if (running_)
        Agr_Close();
}

// ---- progress ------------------------------------------------------------

void Exchange::setProgress(int position)
{
    position = std::clamp(position, 0, 100);
    if (position == progress_)
        return;
    progress_ = position;
    if (listener_)
        listener_->progressChanged(position);
}

void Exchange::advanceProgress()
{
    if (ProgressUnit == 0)
        return;
    int steps = 0;
    while (ProgressUnit < ProgressBytes) {
        ProgressBytes -= ProgressUnit;
        ++steps;
    }
    if (steps)
        setProgress(progress_ + steps);
}

std::uint16_t Exchange::UnusedChannelCount(bool fromRadio) const
{
    std::uint16_t unused = 0;
    for (int k = 1; k <= kChannelCount; ++k)
        unused += fromRadio ? !CheckAnChannelUsedOrNo_tmp(state_.image, k) : !IsChannelInUse(state_.data, k);
    return unused;
}

// ---- operations ----------------------------------------------------------

void Exchange::stepOperation()
{
    switch (ExchangeMode) {
    case mode::kConfiguration:
        ReadFromRadio ? Read() : Write();
        break;
    case mode::kAdjustment:
        ReadFromRadio ? AdjustmentRead() : AdjustmentWrite();
        break;
    case mode::kAllWrite:
        AllWrite();
        break;
    case mode::kRadioPassword:
        PasswordWrite();
        break;
    case mode::kStatus:
        Read1846Status();
        break;
    default:
        // No operation of that number: nothing can be exchanged.
        Timer_TimeOutTrigger();
        break;
    }
}

void Exchange::writeConfigurationStages(int first)
{
    const RadioData &d = state_.data;
    if (Stage == first) {
        if (BlockOffset < kBitmapEnd)
            return WRITE_FRQ_FUN(BlockOffset);
        BlockOffset = 0;
        Stage = first + 1;
    }
    if (Stage == first + 1) {
        while (BlockOffset < kChannelsEnd) {
            if (IsChannelInUse(d, BlockOffset / kChannelBlock))
                return WRITE_ChInfor(BlockOffset);
            BlockOffset += kChannelBlock;
        }
        BlockOffset = kSettingsAStart;
        Stage = first + 2;
    }
    if (Stage == first + 2) {
        if (BlockOffset < kSettingsAEnd)
            return WRITE_FRQ_FUN(BlockOffset);
        BlockOffset = kSettingsBStart;
        Stage = first + 3;
    }
    if (Stage == first + 3) {
        if (BlockOffset < kSettingsBEnd)
            return WRITE_FRQ_FUN(BlockOffset);
        BlockOffset = kPasswordBlockAddress;
        Stage = first + 4;
    }
    if (Stage == first + 4) {
        if (d.writeNewPassword && BlockOffset < kPasswordBlockAddress + kBlock)
            return WRITE_FRQ_FUN(BlockOffset);
        Stage = first + 5;
    }
    if (Stage == first + 5) {
        setProgress(100);
        WriteEnding();
    }
}

void Exchange::Write()
{
    if (Stage == 0) {
        ProgressUnit = static_cast<std::uint16_t>((7714u - 22u * UnusedChannelCount(false)) / 100u);
        BlockOffset = kBitmapStart;
        GetDataForWrite(state_.data, state_.limits, state_.image, clock_(), random_);
        Stage = 1;
    }
    writeConfigurationStages(1);
}

void Exchange::AllWrite()
{
    if (Stage == 0) {
        ProgressUnit = static_cast<std::uint16_t>((8123u - 22u * UnusedChannelCount(false)) / 100u);
        GetAdjustmentData(state_.adjustment, state_.image);
        BlockOffset = 0;
        Stage = 1;
    }
    if (Stage == 1) {
        if (BlockOffset < kAdjustmentEnd)
            return WRITE_AdjustmentData(BlockOffset);
        BlockOffset = kBitmapStart;
        GetDataForWrite(state_.data, state_.limits, state_.image, clock_(), random_);
        Stage = 2;
    }
    writeConfigurationStages(2);
}

void Exchange::Read()
{
    if (Stage == 0) {
        ProgressUnit = 77;
        BlockOffset = kBitmapStart;
        Stage = 1;
    }
    if (Stage == 1) {
        if (BlockOffset < kBitmapEnd)
            return READ_FRQ_FUN(BlockOffset);
        ProgressUnit = static_cast<std::uint16_t>((7714u - 22u * UnusedChannelCount(true)) / 100u);
        BlockOffset = 0;
        Stage = 2;
    }
    if (Stage == 2) {
        while (BlockOffset < kChannelsEnd) {
            if (CheckAnChannelUsedOrNo_tmp(state_.image, BlockOffset / kChannelBlock))
                return READ_ChInfor(BlockOffset);
            BlockOffset += kChannelBlock;
        }
        BlockOffset = kSettingsAStart;
        Stage = 3;
    }
    if (Stage == 3) {
        if (BlockOffset < kSettingsAEnd)
            return READ_FRQ_FUN(BlockOffset);
        BlockOffset = kSettingsBStart;
        Stage = 4;
    }
    if (Stage == 4) {
        if (BlockOffset < kSettingsBEnd)
            return READ_FRQ_FUN(BlockOffset);
        Stage = 5;
    }
    if (Stage == 5) {
        setProgress(100);
        WriteEnding();
    }
}

// The 26 adjustment blocks, radio addresses 0x4600..0x479F, each moved
// from or to image offset (address - 0x4600).
void Exchange::adjustmentStages(bool write)
{
    if (Stage == 0) {
        ProgressUnit = 4;
        if (write)
            GetAdjustmentData(state_.adjustment, state_.image);
        BlockOffset = 0;
        Stage = 1;
    }
    if (Stage == 1) {
        if (BlockOffset < kAdjustmentEnd)
            return write ? WRITE_AdjustmentData(BlockOffset) : READ_AdjustmentData(BlockOffset);
        Stage = 2;
    }
    setProgress(100);
    WriteEnding();
}

void Exchange::AdjustmentWrite() { adjustmentStages(true); }
void Exchange::AdjustmentRead() { adjustmentStages(false); }

void Exchange::PasswordWrite()
{
    if (Stage == 0) {
        ProgressUnit = 10;
        const RadioData &d = state_.data;
        const std::string_view text(reinterpret_cast<const char *>(d.radioPassword),
                                    FieldTextLength(d.radioPassword, 12));
        PasswordBlock = ScramblePassword(text, random_);
        BlockOffset = 0;
        Stage = 1;
    }
    if (Stage == 1) {
        if (BlockOffset < kBlock)
            return WriteData(kPasswordBlockAddress, kBlock, PasswordBlock.data());
        Stage = 2;
    }
    setProgress(100);
    WriteEnding();
}

void Exchange::Read1846Status()
{
    if (Stage == 0) {
        ProgressUnit = 10;
        BlockOffset = 0;
        Stage = 1;
    }
    if (Stage == 1)
        return READ_1846StatusData();
    // Stage 2: the reply has been taken.
    setProgress(100);
    Agr_Close();
    state_.adjustment.statusBattery = StatusBattery;
    state_.adjustment.statusVox = StatusVox;
    finish(ExchangeOutcome::Success);
}

void Exchange::takeStatusReply()
{
    StatusBattery = RxBuffer[2];
    StatusVox = RxBuffer[3];
    Stage = 2;
    Read1846Status();
}

} // namespace vkt
