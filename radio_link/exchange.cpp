#include "exchange.h"

#include "adjustment.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <iterator>
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
constexpr int kFirmwareStart = 0x4040;      // the radio's firmware version text
constexpr int kFirmwareEnd = 0x4050;
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

Exchange::~Exchange()
{
    if (running_)
        line_.setArrivalHandler({});
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
    rxArmed_ = rxLooked_ = false;
    line_.setArrivalHandler([this] { onBytesArrived(); });

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
// have done is resumed by afterPause(). The send and receive timers are
// stopped for the pause.
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
    case TimerId::Rx:
        rxArmed_ = false;
        rxLooked_ = true;
        Timer_RxTimer();
        break;
    case TimerId::Tx: Timer_TxTimer(); break;
    }
}

// Bytes have arrived. Once the receive timer has made its first look after
// a send (10 ms after a send of the send timer, 3 ms after one of the
// receive handler), they are taken up at once by the receive handler, as if
// its tick had come; before that they wait for the first look, so a radio
// that answers at once sees the same pace as with the timer alone.
void Exchange::onBytesArrived()
{
    if (!running_ || !rxArmed_ || !rxLooked_)
        return;
    timers_.stop(TimerId::Rx);
    rxArmed_ = false;
    Timer_RxTimer();
}

// ---- sending -------------------------------------------------------------

void Exchange::stopTxRx()
{
    timers_.stop(TimerId::Tx);
    timers_.stop(TimerId::Rx);
    rxArmed_ = false;
}

void Exchange::Timer_TxTimer()
{
    stopTxRx();
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
    rxArmed_ = true;
    rxLooked_ = false;
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
// The new radio password goes out from its own block, not from the image.
void Exchange::WRITE_PasswordBlock(int)
{
    WriteData(kPasswordBlockAddress, kBlock, PasswordBlock.data());
}

// ---- receiving -----------------------------------------------------------

void Exchange::Timer_RxTimer()
{
    if (!takeWaitingBytes())
        return;
    bool goOn = true;
    switch (HandshakeStep) {
    case 0: goOn = takeIdentification(); break;
    case 1:
    case 2: goOn = takeHandshakeReply(); break;
    default: goOn = takeBlockReply(); break;
    }
    if (!goOn)
        return;
    timers_.start(TimerId::Rx, kPollMs);
    rxArmed_ = true;
}

// Reads what is waiting into RxBuffer; in HandshakeStep 0 drops what comes
// before a reply's first byte. False when the line has gone (the exchange
// has failed) or the driver's queue was purged (the timer goes on).
bool Exchange::takeWaitingBytes()
{
    const long waiting = line_.bytesWaiting();
    if (waiting < 0) {
        Timer_TimeOutTrigger(); // the port disappeared
        return false;
    }
    if (waiting > 255) {
        line_.purgeReceive();
        timers_.start(TimerId::Rx, kPollMs);
        rxArmed_ = true;
        return false;
    }
    if (waiting > 0) {
        // Bytes that do not fit the buffer are read and dropped.
        const std::size_t space = kRxBufferSize - RxCount;
        const long got = line_.read(RxBuffer.data() + RxCount, std::min<std::size_t>(space, std::size_t(waiting)));
        if (got < 0) {
            Timer_TimeOutTrigger();
            return false;
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
    return true;
}

// HandshakeStep 0: the identification reply, or the status reply.
bool Exchange::takeIdentification()
{
    if (ExchangeMode == mode::kStatus) {
        if (RxCount >= 2 && (RxBuffer[0] != 'Y' || RxBuffer[1] != 'S')) {
            RxCount = 0; // not a status reply; the request is repeated
            return false;
        }
        if (RxCount < kStatusReplySize)
            return true;
        takeStatusReply();
        return false;
    }
    if (RxCount < sizeof kIdentification)
        return true;
    if (std::memcmp(RxBuffer.data(), kIdentification, sizeof kIdentification) == 0) {
        setProgress(progress_ + 1);
        return handshakeAccepted(1);
    }
    if (!ports_.AutoSeachPort) {
        Timer_TimeOutTrigger();
        return false;
    }
    ++ports_.PortIndex;
    if (ports_.PortIndex >= ports_.FoundPortCount) {
        Timer_TimeOutTrigger();
        return false;
    }
    // Nothing runs in the search pause: a re-send of the request falling
    // into it would go to the port just opened, or move past it.
    stopTxRx();
    ComInit_AutoSeach(AfterPause::RestartOnNewPort); // resumes in afterPause()
    return false;
}

// HandshakeStep 1 and 2: the one-byte replies to the second request and to
// the password block.
bool Exchange::takeHandshakeReply()
{
    if (RxCount < 1)
        return true;
    if (HandshakeStep == 2 && RxBuffer[0] == kPasswordWrong) {
        Agr_PasswordError();
        return false;
    }
    if (RxBuffer[0] != kAck) {
        Timer_TimeOutTrigger();
        return false;
    }
    if (HandshakeStep == 2)
        setProgress(2);
    return handshakeAccepted(static_cast<std::uint8_t>(HandshakeStep + 1));
}

bool Exchange::handshakeAccepted(std::uint8_t nextStep)
{
    HandshakeStep = nextStep;
    Stage = 0;
    BlockOffset = 0;
    timers_.start(TimerId::TimeOut, kTimeOutMs);
    Timer_TxTimer();
    if (!running_)
        return false;
    RxCount = 0;
    return true;
}

// HandshakeStep 3: the reply to a block frame, taken only at its exact
// length; a shorter one is waited for, a longer one is emptied by the
// repeat of the frame.
bool Exchange::takeBlockReply()
{
    if (RxCount != ExpectedReplyLength)
        return true;
    if (RxBuffer[0] != (ReadFromRadio ? std::uint8_t{'W'} : kAck)) {
        Timer_TimeOutTrigger();
        return false;
    }
    if (ReadFromRadio) {
        // A reply for another block (a late answer to a repeated request)
        // is not taken as this block's data.
        if (GetBE16(RxBuffer.data() + 1) != RequestAddress || RxBuffer[3] != BlockLength) {
            RxCount = 0;
            return true;
        }
        std::memcpy(state_.image.at(static_cast<std::size_t>(BlockOffset)), RxBuffer.data() + 4, BlockLength);
    }
    ++counters_.blocksAccepted;
    BlockOffset += BlockLength;
    ProgressBytes += BlockLength;
    Timer_TxTimer();
    if (!running_)
        return false;
    timers_.start(TimerId::TimeOut, kTimeOutMs);
    RxCount = 0;
    return true;
}

// The receive handler's work after a wrong identification reply, once the
// next port is open and its pause is over.
void Exchange::rxAfterPortChange()
{
    UnansweredSends = 0;
    timers_.start(TimerId::TimeOut, kTimeOutMs);
    Timer_TxTimer();
    if (!running_)
        return;
    RxCount = 0;
    timers_.start(TimerId::Rx, kPollMs);
    rxArmed_ = true;
}

// ---- endings -------------------------------------------------------------

void Exchange::Agr_Close()
{
    setProgress(0);
    for (TimerId id : {TimerId::TimeOut, TimerId::Pause, TimerId::Rx, TimerId::Tx})
        timers_.stop(id);
    rxArmed_ = false;
    afterPause_ = AfterPause::None;
    line_.setArrivalHandler({});
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

// One memory region of an operation: blocks of `step` bytes at BlockOffset
// = start, start + step, ... while below `end`, each moved by `frame`
// unless `present` says that block is absent (a channel record not in use,
// the password block when no new password is to be written). `done` runs
// when the region is through, before the next one starts.
struct Exchange::Region {
    int start;
    int end;
    int step;
    void (Exchange::*frame)(int offset);
    bool (Exchange::*present)(int offset) const = nullptr;
    void (Exchange::*done)() = nullptr;
};

namespace {
constexpr int kPasswordBlockEnd = kPasswordBlockAddress + kBlock;
} // namespace

// The configuration write, after the adjustment blocks that only AllWrite
// sends first: the bitmap, the channel records in use, the two settings
// areas, and the new radio password if one is to be set.
const Exchange::Region Exchange::kAllWriteRegions[] = {
    {0, kAdjustmentEnd, kBlock, &Exchange::WRITE_AdjustmentData, nullptr, &Exchange::adjustmentWritten},
    {kBitmapStart, kBitmapEnd, kBlock, &Exchange::WRITE_FRQ_FUN},
    {0, kChannelsEnd, kChannelBlock, &Exchange::WRITE_ChInfor, &Exchange::channelInData},
    {kSettingsAStart, kSettingsAEnd, kBlock, &Exchange::WRITE_FRQ_FUN},
    {kSettingsBStart, kSettingsBEnd, kBlock, &Exchange::WRITE_FRQ_FUN},
    {kPasswordBlockAddress, kPasswordBlockEnd, kBlock, &Exchange::WRITE_FRQ_FUN, &Exchange::newPasswordWanted},
};
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

// Stage n (from 1) walks region n - 1; the stage after the last region
// ends the exchange. Called once at the start (Stage 0, after the
// operation's own first step) and after every accepted block, which has
// moved BlockOffset past that block.
void Exchange::walk(const Region *regions, int count)
{
    if (Stage == 0) {
        Stage = 1;
        BlockOffset = regions[0].start;
    }
    while (Stage <= count) {
        const Region &r = regions[Stage - 1];
        for (; BlockOffset < r.end; BlockOffset += r.step) {
            if (!r.present || (this->*r.present)(BlockOffset))
                return (this->*r.frame)(BlockOffset);
        }
        if (r.done)
            (this->*r.done)();
        if (++Stage <= count)
            BlockOffset = regions[Stage - 1].start;
    }
    setProgress(100);
    WriteEnding();
}

bool Exchange::channelInData(int offset) const { return IsChannelInUse(state_.data, offset / kChannelBlock); }
bool Exchange::channelInRadio(int offset) const
{
    return CheckAnChannelUsedOrNo_tmp(state_.image, offset / kChannelBlock);
}
bool Exchange::newPasswordWanted(int) const { return state_.data.writeNewPassword; }

// The radio's bitmap is in: the progress now counts the records it has.
void Exchange::radioBitmapTaken()
{
    ProgressUnit = static_cast<std::uint16_t>((7714u - 22u * UnusedChannelCount(true)) / 100u);
}

// The adjustment blocks are out; the configuration follows from the image
// built afresh from the records.
void Exchange::adjustmentWritten()
{
    GetDataForWrite(state_.data, state_.limits, state_.image, clock_(), random_);
}

void Exchange::Write()
{
    if (Stage == 0) {
        ProgressUnit = static_cast<std::uint16_t>((7714u - 22u * UnusedChannelCount(false)) / 100u);
        GetDataForWrite(state_.data, state_.limits, state_.image, clock_(), random_);
    }
    walk(kAllWriteRegions + 1, int(std::size(kAllWriteRegions)) - 1);
}

void Exchange::AllWrite()
{
    if (Stage == 0) {
        ProgressUnit = static_cast<std::uint16_t>((8123u - 22u * UnusedChannelCount(false)) / 100u);
        GetAdjustmentData(state_.adjustment, state_.image);
    }
    walk(kAllWriteRegions, int(std::size(kAllWriteRegions)));
}

// The radio password block at 0x4020 is never read. The image is not
// cleared first: bytes of absent records keep what they held. The last
// block holds the radio's firmware version text, which the window shows.
void Exchange::Read()
{
    static constexpr Region kRegions[] = {
        {kBitmapStart, kBitmapEnd, kBlock, &Exchange::READ_FRQ_FUN, nullptr, &Exchange::radioBitmapTaken},
        {0, kChannelsEnd, kChannelBlock, &Exchange::READ_ChInfor, &Exchange::channelInRadio},
        {kSettingsAStart, kSettingsAEnd, kBlock, &Exchange::READ_FRQ_FUN},
        {kSettingsBStart, kSettingsBEnd, kBlock, &Exchange::READ_FRQ_FUN},
        {kFirmwareStart, kFirmwareEnd, kBlock, &Exchange::READ_FRQ_FUN},
    };
    if (Stage == 0)
        ProgressUnit = 77;
    walk(kRegions, int(std::size(kRegions)));
}

// The 26 adjustment blocks, radio addresses 0x4600..0x479F, each moved
// from or to image offset (address - 0x4600).
void Exchange::AdjustmentWrite()
{
    static constexpr Region kRegions[] = {{0, kAdjustmentEnd, kBlock, &Exchange::WRITE_AdjustmentData}};
    if (Stage == 0) {
        ProgressUnit = 4;
        GetAdjustmentData(state_.adjustment, state_.image);
    }
    walk(kRegions, int(std::size(kRegions)));
}

void Exchange::AdjustmentRead()
{
    static constexpr Region kRegions[] = {{0, kAdjustmentEnd, kBlock, &Exchange::READ_AdjustmentData}};
    if (Stage == 0)
        ProgressUnit = 4;
    walk(kRegions, int(std::size(kRegions)));
}

void Exchange::PasswordWrite()
{
    static constexpr Region kRegions[] = {{0, kBlock, kBlock, &Exchange::WRITE_PasswordBlock}};
    if (Stage == 0) {
        ProgressUnit = 10;
        const RadioData &d = state_.data;
        const std::string_view text(reinterpret_cast<const char *>(d.radioPassword),
                                    FieldTextLength(d.radioPassword, 12));
        PasswordBlock = ScramblePassword(text, random_);
    }
    walk(kRegions, int(std::size(kRegions)));
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
