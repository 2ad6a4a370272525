#include "fields.h"

#include "channel_edit.h"
#include "codecs.h"
#include "dtmf_edit.h"
#include "five_tone.h"
#include "fm_edit.h"
#include "two_tone.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace vkt {

namespace {

// Leaving either step list stores both VFO steps (defined below).
void StoreBothSteps(RadioData &d);

// Main-table texts of the options page: labels, captions and list items.
enum : int {
    kTxtHigh = 26,
    kTxtLow = 27,
    kTxtWide = 28,
    kTxtNarrow = 29,
    kTxtBusyOff = 32,
    kTxtCat = 33,
    kTxtDqt = 34,
    kTxtFrequencyLabel = 37,
    kTxtDecode = 38,
    kTxtEncode = 39,
    kTxtPower = 40,
    kTxtBandwidth = 41,
    kTxtOffsetDir = 42,
    kTxtOffsetFreq = 43,
    kTxtSql = 44,
    kTxtSquelchMode = 45,
    kTxtVox = 46,
    kTxtVoxDelay = 47,
    kTxtTot = 48,
    kTxtToa = 49,
    kTxtDoubleWatch = 50,
    kTxtStep = 51,
    kTxtPriorityChannel = 52,
    kTxt1750Hz = 53,
    kTxtScanResume = 54,
    kTxtPriorityScan = 55,
    kTxtMode = 56,
    kTxtLampTimer = 58,
    kTxtLampControl = 59,
    kTxtKeyLock = 60,
    kTxtCallBeep = 61,
    kTxtRogerBeep = 62,
    kTxtApo = 63,
    kTxtCw = 64,
    kTxtFmr = 65,
    kTxtClock = 66, // "Clcok"
    kTxtWhisper = 67,
    kTxtKeyBeep = 68,
    kTxtCompandor = 69,
    kTxtBattSaver = 70,
    kTxtAutoOffset = 71,
    kTxtPassword = 72,
    kTxtScrambling = 73,
    kTxtBusyInhibit = 74,
    kTxtOff = 75,
    kTxtSquelchCarrier = 76, // 76..80: the five squelch modes
    kTxtLampAuto = 104,
    kTxtLampOn = 105,
    kTxtLampOff = 106,
    kTxtScanCarrier = 112,
    kTxtScanTime = 113,
    kTxtScanSeek = 114,
    kTxtModeChannel = 115,
    kTxtModeMemory = 116,
    kTxtModeFrequency = 117,
    kTxtLockManu = 118,
    kTxtLockAuto = 119,
    kTxtApo10m = 120, // 120..123: 10m, 30m, 1h, 2h
    kTxtScr1 = 124,   // 124..128: Scr 1 .. Scr 5
    kTxtExpandFrequency = 152,
    kTxtNameDisplay = 172,
    kTxtMid = 192,
    kTxtSeconds = 193,
    kTxtIdleColour = 194,
    kTxtTxColour = 195,
    kTxtRxColour = 196,
    kTxtRed = 197, // 197..203: Red .. White
    kTxtAlarmRing = 204,
    kTxtRing = 205, // "Ring " with its blank
    kTxtAutoConnect = 206,
    kTxtAutoConnectPos = 207,
    kTxtMaster = 208,
    kTxtSlave = 209,
    kTxtMasterTxPeriod = 210,
    kTxtSlaveTimeout = 211,
    kTxtSlaveAlarmPeriod = 212,
    kTxtEnglish = 214,
    kTxtLanguage = 215,
    kTxtMenu = 245,
    kTxtSignalSystem = 321,
    kTxtSignalNumber = 322,
    kTxtLanguageLock = 335,
    kTxtAlarmMode = 336,
    kTxtAlarmCode = 337,
    kTxtLocalAlarm = 338,
    kTxtCodeAlarm = 339,
    kTxtLocalAndCode = 340,
    kTxtRxAlarm = 342,
    kTxtRxAlarmOn = 343,
    kTxtWelcomeChinese = 349,
    kTxtWelcomeEnglish = 350,
    kTxtDefine = 351,
    kTxtDeutsch = 358,
    kTxtFrench = 359,
};

// Main-table texts of the DTMF and FM pages.
enum : int {
    kTxtDtmfControl = 132,
    kTxtEncodeMode = 133,
    kTxtSideTone = 134,
    kTxtDigitDuration = 135,
    kTxtPauseDuration = 136,
    kTxtFirstDelay = 137,
    kTxtPreTime = 138,
    kTxtStarHashDelay = 140,
    kTxtEncodeManu = 142,
    kTxtEncodeAddressBook = 144,
    kTxtStun = 156,
    kTxtKill = 157,
    kTxtActivation = 158,
    kTxtWorkingState = 160,
    kTxtFmFrequency = 222,
    kTxtFmBound = 223,
    kTxtGroupCode = 237,
    kTxtAutoReset = 238,
    kTxtSendId = 239,
    kTxtIdAtBegin = 240, // 240..242: Begin, End, Both Begin and End
    kTxtSubaudio = 330,
    kTxtCleanCodePeriod = 341,
};

// ---- list items ------------------------------------------------------------

constexpr ItemRun kPowerItems[] = {{kTxtLow}, {kTxtMid}, {kTxtHigh}};
constexpr std::uint32_t kPowerCodes[] = {kPowerLow, kPowerMid, kPowerHigh};
constexpr ItemRun kBandwidthItems[] = {{kTxtNarrow}, {kTxtWide}};
constexpr ItemRun kBusyItems[] = {{kTxtBusyOff}, {kTxtDqt}, {kTxtCat}};
constexpr ItemRun kOffsetDirItems[] = {{kTxtOff}, {.literal = "+"}, {.literal = "-"}};
constexpr ItemRun kVfoScramblingItems[] = {{kTxtOff}, {kTxtScr1}, {kTxtScr1 + 1}, {kTxtScr1 + 2},
                                           {kTxtScr1 + 3}, {kTxtScr1 + 4}};
constexpr ItemRun kSignalSystemItems[] = {
    {kTxtOff}, {.literal = "DTMF"}, {.literal = "2-TONE"}, {.literal = "5-TONE"}};
// The longest number list (DTMF); two-tone and five-tone show its first 16.
constexpr ItemRun kSignalNumberItems[] = {{.from = 1, .to = 30}};
constexpr ItemRun kStepItems[] = {{.literal = "2.5K"}, {.literal = "5K"},   {.literal = "6.25K"},
                                  {.literal = "10K"},  {.literal = "12.5K"}, {.literal = "25K"},
                                  {.literal = "50K"},  {.literal = "100K"}};
constexpr std::uint32_t kStepHz[] = {2500, 5000, 6250, 10000, 12500, 25000, 50000, 100000};
constexpr ItemRun kModeItems[] = {{kTxtModeFrequency}, {kTxtModeChannel}, {kTxtModeMemory}};

constexpr ItemRun kSqlItems[] = {{.from = 0, .to = 9}};
constexpr ItemRun kVoxItems[] = {{kTxtOff}, {.from = 1, .to = 9}};
constexpr ItemRun kVoxDelayItems[] = {{.literal = "0.3", .suffixText = kTxtSeconds},
                                      {.literal = "0.5", .suffixText = kTxtSeconds},
                                      {.from = 1, .to = 5, .suffixText = kTxtSeconds}};
constexpr std::uint32_t kVoxDelayMs[] = {300, 500, 1000, 2000, 3000, 4000, 5000};
constexpr ItemRun kTotItems[] = {{kTxtOff}, {.from = 30, .to = 600, .step = 30}};
constexpr int kTotStepSeconds = 30;
constexpr ItemRun kToaItems[] = {{kTxtOff}, {.from = 1, .to = 10}};
constexpr ItemRun kAutoOnOffItems[] = {{kTxtLampAuto}, {kTxtLampOn}, {kTxtLampOff}};
constexpr ItemRun kChannelItems[] = {{.from = 1, .to = kChannelCount}};
constexpr ItemRun k1750HzItems[] = {{kTxtOff}, {.from = 1, .to = 5, .suffixText = kTxtSeconds}};
constexpr ItemRun kScanItems[] = {{kTxtScanTime}, {kTxtScanCarrier}, {kTxtScanSeek}};
constexpr ItemRun kPriScanItems[] = {{kTxtOff}, {.from = 1, .to = kChannelCount}};
constexpr std::uint32_t kLampValues[] = {10, 255, 0};
constexpr ItemRun kKeyLockItems[] = {{kTxtLockManu}, {kTxtLockAuto}};
constexpr ItemRun kBeepItems[] = {{kTxtOff}, {.from = 1, .to = 3}};
constexpr ItemRun kApoItems[] = {{kTxtOff},        {kTxtApo10m},     {kTxtApo10m + 1},
                                 {kTxtApo10m + 2}, {kTxtApo10m + 3}};
constexpr std::uint32_t kApoMinutes[] = {0, 10, 30, 60, 120};
constexpr ItemRun kSaverItems[] = {{kTxtOff}, {.from = 1, .to = 4, .numberPrefix = "1:"}};
constexpr ItemRun kColourItems[] = {{kTxtRed},     {kTxtRed + 1}, {kTxtRed + 2}, {kTxtRed + 3},
                                    {kTxtRed + 4}, {kTxtRed + 5}, {kTxtRed + 6}};
constexpr ItemRun kAlarmRingItems[] = {
    {kTxtOff}, {.from = 1, .to = 3, .prefixText = kTxtRing, .numberPrefix = " "}};
constexpr ItemRun kRadioLanguageItems[] = {{kTxtEnglish}, {kTxtDeutsch}, {kTxtFrench}};
constexpr ItemRun kAlarmModeItems[] = {{kTxtOff}, {kTxtLocalAlarm}, {kTxtCodeAlarm}, {kTxtLocalAndCode}};
constexpr ItemRun kAlarmCodeItems[] = {{.literal = "45Hz"}, {.literal = "47Hz"}, {.literal = "58Hz"},
                                       {.literal = "60Hz"}, {.literal = "63Hz"}};
constexpr std::uint32_t kAlarmCodes[] = {450, 470, 580, 600, 630};
constexpr ItemRun kRxAlarmItems[] = {{kTxtOff}, {kTxtRxAlarmOn}};

constexpr ItemRun kRoleItems[] = {{kTxtMaster}, {kTxtSlave}};
constexpr ItemRun kPeriodItems[] = {{.from = 5, .to = 250}};
constexpr ItemRun kSlaveAlarmItems[] = {{.from = 2, .to = 60}};

constexpr ItemRun kSquelchModeItems[] = {{kTxtSquelchCarrier},     {kTxtSquelchCarrier + 1},
                                         {kTxtSquelchCarrier + 2}, {kTxtSquelchCarrier + 3},
                                         {kTxtSquelchCarrier + 4}};
constexpr ItemRun kLampTimerItems[] = {{.from = 2, .to = 10, .suffixText = kTxtSeconds}};
constexpr ItemRun kScramblingCarrierItems[] = {{kTxtScr1}, {kTxtScr1 + 1}, {kTxtScr1 + 2},
                                               {kTxtScr1 + 3}, {kTxtScr1 + 4}};
constexpr std::uint32_t kScramblingCarriers[] = {7373, 7919, 8465, 9011, 9543};

// ---- rows ------------------------------------------------------------------

// Offset and width of a field of the record.
#define REC(member) .offset = offsetof(RadioData, member), .width = sizeof(RadioData::member)

constexpr std::uint8_t kToneWidth = 3; // u16 code, then the type byte
constexpr int kFrequencyMaxLength = 9;
constexpr int kOffsetMaxLength = 8;
constexpr int kPasswordLength = 6;
constexpr int kLogoMaxLength = 8;

// The controls of one VFO group, named per VFO.
struct VfoNames {
    std::string_view freq, decode, encode, power, bandwidth, busy, offsetDir, offset, scrambling,
        signalSystem, signalNumber, step, mode;
};

struct VfoFields {
    std::size_t entry;  // the VFO's ChannelEntry
    std::size_t offset; // its offset frequency, step and work mode
    std::size_t step;
    std::size_t mode;
};

constexpr std::uint16_t At(std::size_t offset) { return static_cast<std::uint16_t>(offset); }

constexpr std::array<Field, 13> VfoGroup(const VfoNames &n, const VfoFields &v)
{
    auto in = [&v](std::size_t member) { return At(v.entry + member); };
    using E = ChannelEntry;
    return {{
        {.name = n.freq, .offset = in(offsetof(E, rxFreq)), .width = 4, .kind = FieldKind::Edit,
         .rule = FieldRule::Frequency, .label = kTxtFrequencyLabel, .maxLength = kFrequencyMaxLength},
        {.name = n.decode, .offset = in(offsetof(E, decodeCode)), .width = kToneWidth,
         .kind = FieldKind::Edit, .rule = FieldRule::Tone, .label = kTxtDecode},
        {.name = n.encode, .offset = in(offsetof(E, encodeCode)), .width = kToneWidth,
         .kind = FieldKind::Edit, .rule = FieldRule::Tone, .label = kTxtEncode},
        {.name = n.power, .offset = in(offsetof(E, flags1)), .width = 1, .kind = FieldKind::List,
         .rule = FieldRule::Lookup, .shift = 5, .mask = 0x3, .lookup = kPowerCodes, .label = kTxtPower,
         .items = kPowerItems},
        {.name = n.bandwidth, .offset = in(offsetof(E, flags1)), .width = 1, .kind = FieldKind::List,
         .rule = FieldRule::Index, .shift = 4, .mask = 0x1, .label = kTxtBandwidth,
         .items = kBandwidthItems},
        {.name = n.busy, .offset = in(offsetof(E, flags0)), .width = 1, .kind = FieldKind::List,
         .rule = FieldRule::Index, .shift = 3, .mask = 0x3, .label = kTxtBusyInhibit,
         .items = kBusyItems},
        {.name = n.offsetDir, .offset = in(offsetof(E, flags3)), .width = 1, .kind = FieldKind::List,
         .rule = FieldRule::Index, .shift = 0, .mask = 0x3, .label = kTxtOffsetDir,
         .items = kOffsetDirItems},
        {.name = n.offset, .offset = At(v.offset), .width = 4, .kind = FieldKind::Edit,
         .rule = FieldRule::Offset, .label = kTxtOffsetFreq, .maxLength = kOffsetMaxLength},
        {.name = n.scrambling, .offset = in(offsetof(E, flags3)), .width = 1, .kind = FieldKind::List,
         .rule = FieldRule::Index, .shift = 2, .mask = 0x7, .label = kTxtScrambling,
         .items = kVfoScramblingItems},
        {.name = n.signalSystem, .offset = in(offsetof(E, flags2)), .width = 1,
         .kind = FieldKind::List, .rule = FieldRule::SignalSystem, .shift = 5, .mask = 0x7,
         .label = kTxtSignalSystem, .items = kSignalSystemItems},
        {.name = n.signalNumber, .offset = in(offsetof(E, flags2)), .width = 1,
         .kind = FieldKind::List, .rule = FieldRule::SignalNumber, .shift = 0, .mask = 0x1F,
         .label = kTxtSignalNumber, .items = kSignalNumberItems},
        {.name = n.step, .offset = At(v.step), .width = 4, .kind = FieldKind::List,
         .rule = FieldRule::Step, .lookup = kStepHz, .label = kTxtStep, .items = kStepItems,
         .alsoStores = &StoreBothSteps},
        {.name = n.mode, .offset = At(v.mode), .width = 1, .kind = FieldKind::List,
         .rule = FieldRule::Index, .label = kTxtMode, .items = kModeItems},
    }};
}

constexpr VfoNames kVfoANames = {"eFr_Freq_A",       "cbFr_SubaudioDe_A", "cbFr_SubaudioEn_A",
                                 "cbFr_Power_A",     "cbFr_Bandwidth_A",  "cbFr_BUS_A",
                                 "cbFr_OffsetDir_A", "eFr_Offset_A",      "cbScrFreq_A",
                                 "cbFr_SignalSys_A", "cbFr_SignalNo_A",   "cbStep",
                                 "cbMODE_A"};
constexpr VfoNames kVfoBNames = {"eFr_Freq_B",       "cbFr_SubaudioDe_B", "cbFr_SubaudioEn_B",
                                 "cbFr_Power_B",     "cbFr_Bandwidth_B",  "cbFr_BUS_B",
                                 "cbFr_OffsetDir_B", "eFr_Offset_B",      "cbScrFreq_B",
                                 "cbFr_SignalSys_B", "cbFr_SignalNo_B",   "cbStep_B",
                                 "cbMODE_B"};
constexpr VfoFields kVfoAFields = {offsetof(RadioData, vfoA), offsetof(RadioData, offsetA),
                                   offsetof(RadioData, stepA), offsetof(RadioData, modeA)};
constexpr VfoFields kVfoBFields = {offsetof(RadioData, vfoB), offsetof(RadioData, offsetB),
                                   offsetof(RadioData, stepB), offsetof(RadioData, modeB)};

constexpr FieldKind kList = FieldKind::List;
constexpr FieldKind kCheck = FieldKind::Check;

constexpr auto kFunctionGroup = std::to_array<Field>({
    {.name = "cbSQL", REC(squelchLevel), .kind = kList, .rule = FieldRule::Index, .label = kTxtSql,
     .items = kSqlItems},
    {.name = "cbVOX", REC(voxLevel), .kind = kList, .rule = FieldRule::Index, .label = kTxtVox,
     .items = kVoxItems},
    {.name = "cbVOX_DELAY", REC(voxDelay), .kind = kList, .rule = FieldRule::Lookup,
     .lookup = kVoxDelayMs, .label = kTxtVoxDelay, .items = kVoxDelayItems},
    {.name = "cbTOT", REC(txTimeout), .kind = kList, .rule = FieldRule::Times, .plus = kTotStepSeconds,
     .label = kTxtTot, .items = kTotItems},
    {.name = "cbTOA", REC(timeoutPreAlert), .kind = kList, .rule = FieldRule::Index, .label = kTxtToa,
     .items = kToaItems},
    {.name = "cbDoubleWatch", REC(dualWatch), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtDoubleWatch, .items = kAutoOnOffItems},
    {.name = "cbMEM", REC(priorityChannel), .kind = kList, .rule = FieldRule::IndexPlus, .plus = 1,
     .label = kTxtPriorityChannel, .items = kChannelItems},
    {.name = "cb1750Hz", REC(burst1750), .kind = kList, .rule = FieldRule::Index, .label = kTxt1750Hz,
     .items = k1750HzItems},
    {.name = "cbSCAN", REC(scanResume), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtScanResume, .items = kScanItems},
    {.name = "cbPriScan", REC(priorityScan), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtPriorityScan, .items = kPriScanItems},
    {.name = "cbBackLight", REC(lampControl), .kind = kList, .rule = FieldRule::Lookup,
     .lookup = kLampValues, .label = kTxtLampControl, .items = kAutoOnOffItems},
    {.name = "cbKeyLock", REC(keyLock), .kind = kList, .rule = FieldRule::Index, .label = kTxtKeyLock,
     .items = kKeyLockItems},
    {.name = "cbCAL", REC(callBeep), .kind = kList, .rule = FieldRule::Index, .label = kTxtCallBeep,
     .items = kBeepItems},
    {.name = "cbROG", REC(rogerBeep), .kind = kList, .rule = FieldRule::Index, .label = kTxtRogerBeep,
     .items = kBeepItems},
    {.name = "cbAPO", REC(autoPowerOff), .kind = kList, .rule = FieldRule::Lookup,
     .lookup = kApoMinutes, .label = kTxtApo, .items = kApoItems},
    {.name = "cbSaving", REC(batterySaver), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtBattSaver, .items = kSaverItems},
    {.name = "cbWaitColor", REC(idleColour), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtIdleColour, .items = kColourItems},
    {.name = "cbTxColor", REC(txColour), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtTxColour, .items = kColourItems},
    {.name = "cbRxColor", REC(rxColour), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtRxColour, .items = kColourItems},
    {.name = "cbAlarmBeep", REC(alarmRing), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtAlarmRing, .items = kAlarmRingItems},
    {.name = "cbLanguage", REC(displayLanguage), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtLanguage, .items = kRadioLanguageItems},
    {.name = "cbAlarmMode", REC(alarmMode), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtAlarmMode, .items = kAlarmModeItems},
    {.name = "cbAlarmCode", REC(alarmCode), .kind = kList, .rule = FieldRule::Lookup,
     .lookup = kAlarmCodes, .label = kTxtAlarmCode, .items = kAlarmCodeItems},
    {.name = "cbRxAlarm", REC(rxAlarm), .kind = kList, .rule = FieldRule::Index, .mask = 0x1,
     .label = kTxtRxAlarm, .items = kRxAlarmItems},
});

constexpr auto kSwitchGroup = std::to_array<Field>({
    {.name = "cBeep", REC(keyBeep), .kind = kCheck, .rule = FieldRule::Flag, .label = kTxtKeyBeep},
    {.name = "cNAM", REC(showChannelNames), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtNameDisplay},
    {.name = "cAutoOffset", REC(autoOffset), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtAutoOffset},
    {.name = "cFMR", REC(fmRadioSwitching), .kind = kCheck, .rule = FieldRule::Flag, .label = kTxtFmr},
    {.name = "cWhisper", REC(whisper), .kind = kCheck, .rule = FieldRule::Flag, .label = kTxtWhisper},
    {.name = "cScreensaver", REC(screenSaver), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtClock},
    {.name = "cPasswordFun", REC(powerOnPasswordOn), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtPassword},
    {.name = "cMenuOnOff", REC(menu), .kind = kCheck, .rule = FieldRule::NonZero, .label = kTxtMenu},
    {.name = "cLanguageLock", REC(languageLock), .kind = kCheck, .rule = FieldRule::Flag, .mask = 0x1,
     .label = kTxtLanguageLock},
});

constexpr auto kAutoConnectGroup = std::to_array<Field>({
    {.name = "cAutoConnect", REC(autoConnect), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtAutoConnect},
    {.name = "cbAutoConnect_Pos", REC(autoConnectRole), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtAutoConnectPos, .items = kRoleItems},
    {.name = "cbMasterTxPeriod", REC(masterTxPeriod), .kind = kList, .rule = FieldRule::IndexPlus,
     .plus = 5, .label = kTxtMasterTxPeriod, .items = kPeriodItems},
    {.name = "cbSlaveTimeout", REC(slaveTimeout), .kind = kList, .rule = FieldRule::IndexPlus,
     .plus = 5, .label = kTxtSlaveTimeout, .items = kPeriodItems},
    {.name = "cbSlaveAlarmPeriod", REC(slaveAlarmPeriod), .kind = kList, .rule = FieldRule::IndexPlus,
     .plus = 2, .label = kTxtSlaveAlarmPeriod, .items = kSlaveAlarmItems},
});

// Controls the page holds but never shows: they carry the values that New,
// Open or a read put into their fields.
constexpr auto kHiddenControls = std::to_array<Field>({
    {.name = "cbSquelchMode", REC(squelchMode), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtSquelchMode, .items = kSquelchModeItems, .shown = false},
    {.name = "cbBackLightTime", REC(lampTimer), .kind = kList, .rule = FieldRule::IndexPlus, .plus = 2,
     .label = kTxtLampTimer, .items = kLampTimerItems, .shown = false},
    {.name = "cCW", REC(cw), .kind = kCheck, .rule = FieldRule::Flag, .label = kTxtCw, .shown = false},
    {.name = "cCompandor", REC(compandor), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtCompandor, .shown = false},
    {.name = "cSaving", REC(batterySaver), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtBattSaver, .shown = false},
    {.name = "cScrambling", REC(scrambling), .kind = kCheck, .rule = FieldRule::Flag,
     .label = kTxtScrambling, .shown = false},
    {.name = "cbScrFreq", REC(scramblingCarrier), .kind = kList, .rule = FieldRule::Lookup,
     .lookup = kScramblingCarriers, .items = kScramblingCarrierItems, .shown = false},
    {.name = "cDeviceLock", REC(deviceLock), .kind = kCheck, .rule = FieldRule::Inverted,
     .label = kTxtExpandFrequency, .shown = false},
    {.name = "eLogo", REC(logo), .kind = FieldKind::Edit, .rule = FieldRule::ByteText,
     .shown = false, .maxLength = kLogoMaxLength},
});

// The power-on display type: one radio button per value; a value without
// a button of its own selects the first ("OFF").
constexpr auto kPowerOnDisplay = std::to_array<Field>({
    {.name = "rLogo_off", REC(displayType), .kind = FieldKind::Radio, .rule = FieldRule::RadioValue,
     .plus = 0, .label = kTxtOff},
    {.name = "rWelcome_chs", REC(displayType), .kind = FieldKind::Radio,
     .rule = FieldRule::RadioValue, .plus = 1, .label = kTxtWelcomeChinese},
    {.name = "rWelcome_eng", REC(displayType), .kind = FieldKind::Radio,
     .rule = FieldRule::RadioValue, .plus = 2, .label = kTxtWelcomeEnglish},
    {.name = "rWelcome_define", REC(displayType), .kind = FieldKind::Radio,
     .rule = FieldRule::RadioValue, .plus = 3, .label = kTxtDefine},
});

// Its caption is cPasswordFun's.
constexpr auto kPowerOnPassword = std::to_array<Field>({
    {.name = "ePasswordEdit", REC(powerOnPassword), .kind = FieldKind::Edit,
     .rule = FieldRule::Password, .maxLength = kPasswordLength},
});

// ---- DTMF page ---------------------------------------------------------------

constexpr ItemRun kEncodeModeItems[] = {{kTxtEncodeManu}, {kTxtEncodeAddressBook}};
constexpr ItemRun kOffOr255Items[] = {{kTxtOff}, {.from = 1, .to = 255}};
constexpr ItemRun kGroupCodeItems[] = {{kTxtOff},        {.literal = "A"}, {.literal = "B"}, {.literal = "C"},
                                       {.literal = "D"}, {.literal = "*"}, {.literal = "#"}};
constexpr std::uint32_t kGroupCodes[] = {0, 10, 11, 12, 13, 14, 15}; // off, then the digit codes
constexpr ItemRun kDigitDurationItems[] = {{.from = 50, .to = 200, .step = 10}};
constexpr ItemRun kFirstDelayItems[] = {{.from = 0, .to = 500, .step = 50}};
constexpr ItemRun kPreTimeItems[] = {{.from = 100, .to = 1000, .step = 100}};
constexpr ItemRun kStarHashDelayItems[] = {{.from = 0, .to = 400, .step = 50}};
constexpr ItemRun kWorkingStateItems[] = {{kTxtActivation}, {kTxtStun}, {kTxtKill}};
constexpr ItemRun kWhenEncodeItems[] = {{kTxtIdAtBegin}, {kTxtIdAtBegin + 1}, {kTxtIdAtBegin + 2}};

// A DTMF code: its code bytes and the length byte right after them.
#define CODE(codes) .offset = offsetof(RadioData, codes), .width = sizeof(RadioData::codes) + 1
static_assert(offsetof(RadioData, stunLength) == offsetof(RadioData, stunCode) + sizeof(RadioData::stunCode));
static_assert(offsetof(RadioData, killLength) == offsetof(RadioData, killCode) + sizeof(RadioData::killCode));
static_assert(offsetof(RadioData, activationLength) ==
              offsetof(RadioData, activationCode) + sizeof(RadioData::activationCode));
static_assert(offsetof(RadioData, ownIdLength) == offsetof(RadioData, ownId) + sizeof(RadioData::ownId));

constexpr FieldKind kEdit = FieldKind::Edit;
constexpr int kCodeMaxLength = int(kDtmfCodeMaxLength);

// The own ID's label is the fixed "ID" of every language; the page shows it.
constexpr auto kDtmfFields = std::to_array<Field>({
    // Encoding and decoding.
    {.name = "cbD_EncodeMode", REC(dtmfEncodeMode), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtEncodeMode, .items = kEncodeModeItems},
    {.name = "eANI", CODE(ownId), .kind = kEdit, .rule = FieldRule::DtmfCode, .maxLength = kCodeMaxLength},
    {.name = "cSendANI", REC(idOptions), .kind = kCheck, .rule = FieldRule::Flag, .shift = 0, .mask = 0x1,
     .label = kTxtSendId},
    {.name = "cD_Subtone_match", REC(idOptions), .kind = kCheck, .rule = FieldRule::Flag, .shift = 1,
     .mask = 0x1, .label = kTxtSubaudio},
    {.name = "cD_SideTone", REC(dtmfSideTone), .kind = kCheck, .rule = FieldRule::Flag, .label = kTxtSideTone},
    {.name = "cbGroupCode", REC(dtmfGroupCode), .kind = kList, .rule = FieldRule::LookupOrOff,
     .lookup = kGroupCodes, .label = kTxtGroupCode, .items = kGroupCodeItems},
    {.name = "cbAutoReset", REC(dtmfAutoReset), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtAutoReset, .items = kOffOr255Items},
    {.name = "cbDtmf_CleanCodeTime", REC(dtmfCleanCodeTime), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtCleanCodePeriod, .items = kOffOr255Items},
    // Timings.
    {.name = "cbD_DigitSpeed", REC(dtmfDigitDuration), .kind = kList, .rule = FieldRule::Linear, .plus = 50,
     .label = kTxtDigitDuration, .items = kDigitDurationItems, .times = 10},
    {.name = "cbD_PauseDuration", REC(dtmfPauseDuration), .kind = kList, .rule = FieldRule::Linear, .plus = 50,
     .label = kTxtPauseDuration, .items = kDigitDurationItems, .times = 10},
    {.name = "cbD_FirstDelay", REC(dtmfFirstDelay), .kind = kList, .rule = FieldRule::Linear, .plus = 0,
     .label = kTxtFirstDelay, .items = kFirstDelayItems, .times = 50},
    {.name = "cbD_Pretime", REC(dtmfPreTime), .kind = kList, .rule = FieldRule::Linear, .plus = 100,
     .label = kTxtPreTime, .items = kPreTimeItems, .times = 100},
    {.name = "cbD_Mi_Jing_Delay", REC(dtmfStarHashDelay), .kind = kList, .rule = FieldRule::Linear, .plus = 0,
     .label = kTxtStarHashDelay, .items = kStarHashDelayItems, .times = 50},
    // Remote stun, kill and activation.
    {.name = "cbDizzyState", REC(dtmfWorkingState), .kind = kList, .rule = FieldRule::Index,
     .label = kTxtWorkingState, .items = kWorkingStateItems},
    {.name = "eDizzy", CODE(stunCode), .kind = kEdit, .rule = FieldRule::DtmfCode, .label = kTxtStun,
     .maxLength = kCodeMaxLength},
    {.name = "eKill", CODE(killCode), .kind = kEdit, .rule = FieldRule::DtmfCode, .label = kTxtKill,
     .maxLength = kCodeMaxLength},
    {.name = "eActivation", CODE(activationCode), .kind = kEdit, .rule = FieldRule::DtmfCode,
     .label = kTxtActivation, .maxLength = kCodeMaxLength},
    // Never shown: their fields pass through unchanged.
    {.name = "cD_Control", REC(dtmfControl), .kind = kCheck, .rule = FieldRule::Flag, .label = kTxtDtmfControl,
     .shown = false},
    {.name = "cbD_WhenEncode", REC(dtmfWhenEncode), .kind = kList, .rule = FieldRule::IndexPlus, .plus = 1,
     .items = kWhenEncodeItems, .shown = false},
});

#undef CODE

// ---- FM page -------------------------------------------------------------------

constexpr ItemRun kFmBoundItems[] = {{.from = 76, .to = 108, .numberSuffix = "MHz"}};
constexpr int kFmBoundLowest = 76000000;
constexpr int kHzPerMHz = 1000000;
constexpr ItemRun kFmStepItems[] = {
    {.literal = "0.05M"}, {.literal = "0.1M"}, {.literal = "0.5M"}, {.literal = "1M"}};

// One label for both bounds: "FM Bound" 76MHz -- 108MHz.
constexpr auto kFmFields = std::to_array<Field>({
    {.name = "cbRadio_min", REC(fmMin), .kind = kList, .rule = FieldRule::Linear, .plus = kFmBoundLowest,
     .label = kTxtFmBound, .items = kFmBoundItems, .times = kHzPerMHz, .alsoStores = &FitAfterFmLowerBound},
    {.name = "cbRadio_max", REC(fmMax), .kind = kList, .rule = FieldRule::Linear, .plus = kFmBoundLowest,
     .items = kFmBoundItems, .times = kHzPerMHz, .alsoStores = &FitAfterFmUpperBound},
    {.name = "cbRadio_Step", REC(fmStep), .kind = kList, .rule = FieldRule::Index, .label = kTxtStep,
     .items = kFmStepItems},
    {.name = "eRadio_Freq", REC(fmFrequency), .kind = kEdit, .rule = FieldRule::FmFrequency,
     .label = kTxtFmFrequency, .maxLength = int(kFmTextMaxLength)},
});

#undef REC

template <std::size_t... N>
constexpr std::array<Field, (N + ...)> Join(const std::array<Field, N> &...parts)
{
    std::array<Field, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + at), at += N), ...);
    return out;
}

constexpr auto kOptionFields = Join(VfoGroup(kVfoANames, kVfoAFields), VfoGroup(kVfoBNames, kVfoBFields),
                                    kFunctionGroup, kSwitchGroup, kAutoConnectGroup, kHiddenControls,
                                    kPowerOnDisplay, kPowerOnPassword);

// Every row, page after page; each page's rows are a part of it.
constexpr auto kAllFields = Join(kOptionFields, kDtmfFields, kTwoToneFields, kFiveToneFields, kFmFields);

// ---- compile-time checks of the rows -----------------------------------------

constexpr int RunCount(const ItemRun &r)
{
    if (r.text >= 0 || !r.literal.empty())
        return 1;
    if (r.step <= 0 || r.to < r.from)
        return 0;
    return (r.to - r.from) / r.step + 1;
}

// Items a list has (a signalling-number list: the most it ever has).
constexpr int TableItemCount(const Field &f)
{
    int n = 0;
    for (const ItemRun &r : f.items)
        n += RunCount(r);
    return n;
}

constexpr bool IsListRule(FieldRule r)
{
    return r == FieldRule::Index || r == FieldRule::IndexPlus || r == FieldRule::Times ||
           r == FieldRule::Lookup || r == FieldRule::Step || r == FieldRule::SignalSystem ||
           r == FieldRule::SignalNumber || r == FieldRule::Linear || r == FieldRule::LookupOrOff;
}
constexpr bool IsCheckRule(FieldRule r)
{
    return r == FieldRule::Flag || r == FieldRule::NonZero || r == FieldRule::Inverted;
}
constexpr bool IsEditRule(FieldRule r)
{
    return r == FieldRule::Frequency || r == FieldRule::Offset || r == FieldRule::Tone ||
           r == FieldRule::Password || r == FieldRule::ByteText || r == FieldRule::DtmfCode ||
           r == FieldRule::FmFrequency || r == FieldRule::LimitedNumber;
}

constexpr bool KindFitsRule(const Field &f)
{
    switch (f.kind) {
    case FieldKind::List: return IsListRule(f.rule);
    case FieldKind::Check: return IsCheckRule(f.rule);
    case FieldKind::Radio: return f.rule == FieldRule::RadioValue;
    case FieldKind::Edit: return IsEditRule(f.rule);
    }
    return false;
}

// The largest value the field (or its bit field) can hold.
constexpr std::uint64_t LargestValue(const Field &f)
{
    if (f.mask != 0)
        return f.mask;
    return (std::uint64_t{1} << (8 * std::min<int>(f.width, 4))) - 1;
}

constexpr bool LookupFits(const Field &f, int items)
{
    if (f.lookup.size() != std::size_t(items) || items == 0)
        return false;
    for (std::size_t i = 0; i < f.lookup.size(); ++i) {
        if (f.lookup[i] > LargestValue(f))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (f.lookup[j] == f.lookup[i]) // two positions for one value
                return false;
    }
    return true;
}

constexpr bool RowIsSound(const Field &f)
{
    if (f.name.empty() || f.offset + f.width > sizeof(RadioData) || !KindFitsRule(f))
        return false;
    const bool numeric = f.kind != FieldKind::Edit;
    if (numeric && f.width != 1 && f.width != 2 && f.width != 4)
        return false;
    if (f.mask != 0) {
        const bool contiguous = (f.mask & (f.mask + 1)) == 0;
        if (!numeric || !contiguous || (std::uint64_t{f.mask} << f.shift) >> (8 * f.width) != 0)
            return false;
    } else if (f.shift != 0) {
        return false;
    }
    const bool looksUp = f.rule == FieldRule::Lookup || f.rule == FieldRule::Step || f.rule == FieldRule::LookupOrOff;
    if (!looksUp && !f.lookup.empty())
        return false;
    if ((f.rule == FieldRule::Linear) != (f.times > 0))
        return false;
    if (f.kind != FieldKind::List && !f.items.empty())
        return false;
    const int n = TableItemCount(f);
    const std::uint64_t largest = LargestValue(f);
    switch (f.rule) {
    case FieldRule::Index:
    case FieldRule::SignalNumber: return n > 0 && std::uint64_t(n - 1) <= largest;
    case FieldRule::SignalSystem: return n > 0 && std::uint64_t(n - 1) <= largest && f.shift > 0;
    case FieldRule::IndexPlus: return n > 0 && f.plus >= 0 && std::uint64_t(n - 1 + f.plus) <= largest;
    case FieldRule::Times: return n > 0 && f.plus > 0 && std::uint64_t(n - 1) * f.plus <= largest;
    case FieldRule::Linear:
        return n > 0 && f.plus >= 0 && std::uint64_t(n - 1) * std::uint64_t(f.times) + std::uint64_t(f.plus) <= largest;
    case FieldRule::Lookup:
    case FieldRule::Step:
    case FieldRule::LookupOrOff: return LookupFits(f, n);
    case FieldRule::Flag:
    case FieldRule::NonZero:
    case FieldRule::Inverted: return true;
    case FieldRule::RadioValue: return f.plus >= 0 && std::uint64_t(f.plus) <= largest;
    case FieldRule::Frequency:
    case FieldRule::Offset: return f.width == 4 && f.maxLength > 0;
    case FieldRule::Tone: return f.width == kToneWidth;
    case FieldRule::Password: return f.width == kPasswordLength && f.maxLength == kPasswordLength;
    case FieldRule::ByteText: return f.maxLength > 0 && f.maxLength <= f.width;
    case FieldRule::DtmfCode: return f.width >= 2 && f.maxLength == f.width - 1;
    case FieldRule::FmFrequency: return f.width == 4 && f.maxLength > 0;
    case FieldRule::LimitedNumber:
        return f.maxLength > 0 && f.minimum <= f.maximum && f.maximum <= LargestValue(f);
    }
    return false;
}

constexpr bool RowsAreSound(std::span<const Field> rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!RowIsSound(rows[i]))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (rows[j].name == rows[i].name)
                return false;
    }
    return true;
}

static_assert(RowsAreSound(kAllFields));

// ---- record access -----------------------------------------------------------

std::uint8_t *FieldBytes(RadioData &d, const Field &f)
{
    return reinterpret_cast<std::uint8_t *>(&d) + f.offset;
}
const std::uint8_t *FieldBytes(const RadioData &d, const Field &f)
{
    return reinterpret_cast<const std::uint8_t *>(&d) + f.offset;
}

// Bytes of the field that carry a number (at most four).
std::size_t NumberBytes(const Field &f)
{
    if (f.offset + f.width > sizeof(RadioData))
        return 0;
    return std::min<std::size_t>(f.width, 4);
}

std::uint32_t ReadRaw(const Field &f, const RadioData &d)
{
    const std::uint8_t *p = FieldBytes(d, f);
    std::uint32_t v = 0;
    for (std::size_t i = 0, n = NumberBytes(f); i < n; ++i)
        v |= std::uint32_t{p[i]} << (8 * i);
    return v;
}

void WriteRaw(const Field &f, RadioData &d, std::uint32_t v)
{
    std::uint8_t *p = FieldBytes(d, f);
    for (std::size_t i = 0, n = NumberBytes(f); i < n; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The bits below a signalling system: its number.
std::uint32_t BitsBelow(const Field &f) { return (std::uint32_t{1} << f.shift) - 1; }

// Whether another radio button of the same group stands for `value`.
bool RadioValueHasButton(const Field &f, std::uint32_t value)
{
    const std::span<const Field> rows = AllFields();
    return std::any_of(rows.begin(), rows.end(), [&](const Field &g) {
        return g.kind == FieldKind::Radio && g.offset == f.offset && g.width == f.width &&
               g.shift == f.shift && g.mask == f.mask && std::uint32_t(g.plus) == value;
    });
}

// The text cut to `count` characters (UTF-8: a character is never split).
std::string CutToChars(std::string text, std::size_t count)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (chars == count) {
            text.resize(i);
            break;
        }
        ++chars;
    }
    return text;
}

bool IsControlKey(unsigned code) { return code < 32 || (code >= 127 && code <= 255); }
bool IsDigitCode(unsigned code) { return code >= '0' && code <= '9'; }

// Text of a byte field up to its first zero byte.
std::string ByteFieldText(const Field &f, const RadioData &d)
{
    if (f.offset + f.width > sizeof(RadioData))
        return {};
    const std::uint8_t *p = FieldBytes(d, f);
    return std::string(reinterpret_cast<const char *>(p), FieldTextLength(p, f.width));
}

std::optional<std::uint32_t> ParseEntryMHz(std::string_view text)
{
    if (text.empty())
        return 0;
    return ParseMHzText(text);
}

void StoreBothSteps(RadioData &d)
{
    // Each from its own list: a step the list has no item for (7000 Hz)
    // shows no selection there, which stores 100 kHz.
    for (std::string_view name : {"cbStep", "cbStep_B"}) {
        const Field &f = *FindField(name);
        StoreIndex(f, d, LoadIndex(f, d));
    }
}

} // namespace

std::span<const Field> OptionFields() { return std::span(kAllFields).first(kOptionFields.size()); }

std::span<const Field> DtmfFields() { return std::span(kAllFields).subspan(kOptionFields.size(), kDtmfFields.size()); }

std::span<const Field> FmFields() { return std::span(kAllFields).last(kFmFields.size()); }

std::span<const Field> AllFields() { return kAllFields; }

const Field *FindField(std::string_view name)
{
    for (const Field &f : AllFields())
        if (f.name == name)
            return &f;
    return nullptr;
}

bool StoresOnEveryExit(const Field &f) { return f.rule == FieldRule::Step; }

void RefreshStores(RadioData &d)
{
    for (const Field &f : AllFields())
        if (f.rule == FieldRule::LookupOrOff && !f.lookup.empty() &&
            std::find(f.lookup.begin(), f.lookup.end(), ReadFieldValue(f, d)) == f.lookup.end())
            WriteFieldValue(f, d, f.lookup.front());
    TwoToneRefreshStores(d);
    FiveToneRefreshStores(d);
}

std::uint32_t ReadFieldValue(const Field &f, const RadioData &d)
{
    const std::uint32_t raw = ReadRaw(f, d);
    return f.mask != 0 ? (raw >> f.shift) & f.mask : raw;
}

void WriteFieldValue(const Field &f, RadioData &d, std::uint32_t value)
{
    if (f.mask == 0) {
        WriteRaw(f, d, value);
        return;
    }
    const std::uint32_t bits = f.mask << f.shift;
    WriteRaw(f, d, (ReadRaw(f, d) & ~bits) | ((value << f.shift) & bits));
}

// ---- lists ----

int ItemCount(const Field &f, const RadioData &d)
{
    if (f.rule == FieldRule::Tone)
        return kToneTextCount;
    if (f.kind != FieldKind::List)
        return 0;
    const int count = TableItemCount(f);
    if (f.rule == FieldRule::SignalNumber) {
        // The system sits right above the number.
        const std::uint32_t system = (ReadRaw(f, d) >> (f.shift + std::bit_width(f.mask))) & 0x7;
        return std::min(count, SignalNumberCount(system));
    }
    return count;
}

int IndexForValue(const Field &f, std::uint32_t value)
{
    const std::uint32_t count = static_cast<std::uint32_t>(TableItemCount(f));
    std::uint32_t index = count;
    switch (f.rule) {
    case FieldRule::Index:
    case FieldRule::SignalSystem:
    case FieldRule::SignalNumber: index = value; break;
    case FieldRule::IndexPlus:
        if (value >= std::uint32_t(f.plus))
            index = value - std::uint32_t(f.plus);
        break;
    case FieldRule::Times:
        if (f.plus > 0)
            index = value / std::uint32_t(f.plus);
        break;
    case FieldRule::Linear:
        if (f.times > 0 && value >= std::uint32_t(f.plus) && (value - std::uint32_t(f.plus)) % std::uint32_t(f.times) == 0)
            index = (value - std::uint32_t(f.plus)) / std::uint32_t(f.times);
        break;
    case FieldRule::Lookup:
    case FieldRule::Step:
    case FieldRule::LookupOrOff:
        index = static_cast<std::uint32_t>(std::find(f.lookup.begin(), f.lookup.end(), value) -
                                           f.lookup.begin());
        if (f.rule == FieldRule::LookupOrOff && index >= count)
            index = 0;
        break;
    default: return -1;
    }
    return index < count ? static_cast<int>(index) : -1;
}

std::uint32_t ValueForIndex(const Field &f, int index, std::uint32_t old)
{
    if (index < 0 || index >= TableItemCount(f))
        return f.rule == FieldRule::Step && !f.lookup.empty() ? f.lookup.back() : old;
    const std::uint32_t i = static_cast<std::uint32_t>(index);
    switch (f.rule) {
    case FieldRule::Index:
    case FieldRule::SignalSystem:
    case FieldRule::SignalNumber: return i;
    case FieldRule::IndexPlus: return i + std::uint32_t(f.plus);
    case FieldRule::Times: return i * std::uint32_t(f.plus);
    case FieldRule::Linear: return i * std::uint32_t(f.times) + std::uint32_t(f.plus);
    case FieldRule::Lookup:
    case FieldRule::Step:
    case FieldRule::LookupOrOff: return f.lookup[i];
    default: return old;
    }
}

int LoadIndex(const Field &f, const RadioData &d)
{
    if (f.kind != FieldKind::List)
        return -1;
    const int index = IndexForValue(f, ReadFieldValue(f, d));
    return index < ItemCount(f, d) ? index : -1;
}

void StoreIndex(const Field &f, RadioData &d, int index)
{
    if (f.kind != FieldKind::List)
        return;
    const std::uint32_t old = ReadFieldValue(f, d);
    if (f.rule == FieldRule::SignalNumber) {
        if (index >= 0 && index < ItemCount(f, d))
            WriteFieldValue(f, d, ValueForIndex(f, index, old));
        return;
    }
    const std::uint32_t value = ValueForIndex(f, index, old);
    if (f.rule == FieldRule::SignalSystem) {
        if (value == old)
            return; // the same system keeps its number
        WriteRaw(f, d, ReadRaw(f, d) & ~BitsBelow(f));
    }
    WriteFieldValue(f, d, value);
}

// ---- check boxes and radio buttons ----

bool LoadChecked(const Field &f, const RadioData &d)
{
    const std::uint32_t v = ReadFieldValue(f, d);
    switch (f.rule) {
    case FieldRule::Flag: return v == 1;
    case FieldRule::NonZero: return v != 0;
    case FieldRule::Inverted: return v == 0;
    case FieldRule::RadioValue:
        return v == std::uint32_t(f.plus) || (f.plus == 0 && !RadioValueHasButton(f, v));
    default: return false;
    }
}

void StoreChecked(const Field &f, RadioData &d, bool checked)
{
    switch (f.rule) {
    case FieldRule::Flag:
    case FieldRule::NonZero: WriteFieldValue(f, d, checked ? 1 : 0); break;
    case FieldRule::Inverted: WriteFieldValue(f, d, checked ? 0 : 1); break;
    case FieldRule::RadioValue:
        if (checked)
            WriteFieldValue(f, d, std::uint32_t(f.plus));
        break;
    default: break;
    }
}

// ---- typed texts ----

bool FieldKeyPasses(const Field &f, unsigned code)
{
    switch (f.rule) {
    case FieldRule::Frequency:
    case FieldRule::Offset:
    case FieldRule::FmFrequency: return FrequencyKeyPasses(code);
    case FieldRule::Password: return IsControlKey(code) || IsDigitCode(code);
    case FieldRule::DtmfCode: return DtmfKeyPasses(code);
    case FieldRule::LimitedNumber: return LimitedNumberKeyPasses(code);
    default: return true;
    }
}

std::string CorrectFieldText(const Field &f, std::string text)
{
    if (f.rule == FieldRule::DtmfCode)
        return CorrectDtmfText(std::move(text)); // symbols only, then cut
    if (f.rule == FieldRule::LimitedNumber)
        return CorrectLimitedNumberText(f, std::move(text));
    if (f.maxLength > 0)
        text = CutToChars(std::move(text), std::size_t(f.maxLength));
    if (f.rule == FieldRule::Frequency || f.rule == FieldRule::Offset || f.rule == FieldRule::FmFrequency) {
        const std::size_t keep = text.size(); // already cut, by characters
        text = CorrectFrequencyText(std::move(text), keep);
    }
    return text;
}

std::string FieldText(const Field &f, const RadioData &d, const BandLimits &)
{
    switch (f.rule) {
    case FieldRule::Frequency: return ChannelFreqText(ReadFieldValue(f, d));
    case FieldRule::Offset: return OffsetFreqText(ReadFieldValue(f, d));
    case FieldRule::Tone: {
        const std::uint32_t v = ReadFieldValue(f, d);
        return ToneText(Tone{static_cast<std::uint16_t>(v), static_cast<std::uint8_t>(v >> 16)});
    }
    case FieldRule::Password:
    case FieldRule::ByteText: return ByteFieldText(f, d);
    case FieldRule::DtmfCode: {
        if (f.offset + f.width > sizeof(RadioData) || f.width < 2)
            return {};
        const std::uint8_t *p = FieldBytes(d, f);
        return DtmfCodeText({p, std::size_t(f.width - 1)}, p[f.width - 1]);
    }
    case FieldRule::FmFrequency: return FmFreqText(ReadFieldValue(f, d));
    case FieldRule::LimitedNumber: return LimitedNumberText(f, d);
    default: return {};
    }
}

TextStore StoreFieldText(const Field &f, RadioData &d, const BandLimits &limits, std::string_view text)
{
    switch (f.rule) {
    case FieldRule::Frequency:
    case FieldRule::Offset: {
        const std::optional<std::uint32_t> hz = ParseEntryMHz(text);
        if (!hz)
            return TextStore::NotAFrequency;
        WriteFieldValue(f, d,
                        f.rule == FieldRule::Frequency ? LimitToBand(*hz, false, limits)
                                                       : LimitOffset(*hz, limits));
        return TextStore::Stored;
    }
    case FieldRule::Tone: {
        const std::optional<Tone> tone = ParseToneText(text);
        if (!tone)
            return TextStore::Ignored;
        WriteFieldValue(f, d, tone->code | std::uint32_t{tone->type} << 16);
        return TextStore::Stored;
    }
    case FieldRule::Password: {
        const bool sixDigits = text.size() == kDefaultPowerOnPassword.size() &&
                               std::all_of(text.begin(), text.end(),
                                           [](char c) { return IsDigitCode(static_cast<unsigned char>(c)); });
        const std::string_view stored = sixDigits ? text : kDefaultPowerOnPassword;
        if (f.offset + f.width > sizeof(RadioData) || stored.size() != f.width)
            return TextStore::Ignored;
        std::memcpy(FieldBytes(d, f), stored.data(), stored.size());
        return TextStore::Stored;
    }
    case FieldRule::ByteText: {
        if (f.offset + f.width > sizeof(RadioData))
            return TextStore::Ignored;
        std::uint8_t *p = FieldBytes(d, f);
        std::memset(p, 0, f.width);
        if (!text.empty())
            std::memcpy(p, text.data(), std::min<std::size_t>(text.size(), f.width));
        return TextStore::Stored;
    }
    case FieldRule::DtmfCode: {
        if (f.offset + f.width > sizeof(RadioData) || f.width < 2)
            return TextStore::Ignored;
        std::uint8_t *p = FieldBytes(d, f);
        StoreDtmfCode({p, std::size_t(f.width - 1)}, p[f.width - 1], text);
        return TextStore::Stored;
    }
    case FieldRule::FmFrequency: {
        const std::optional<std::uint32_t> hz = ParseEntryMHz(text);
        if (!hz)
            return TextStore::NotAFrequency;
        WriteFieldValue(f, d, LimitFm(*hz, d.fmMin, d.fmMax));
        return TextStore::Stored;
    }
    case FieldRule::LimitedNumber: return StoreLimitedNumberText(f, d, text);
    default: return TextStore::Ignored;
    }
}

} // namespace vkt
