// What the channel table and the batch set store, as plain functions over
// the record: the editors of the window only route typed text and chosen
// list entries here.
#pragma once

#include "codecs.h"
#include "radio_data.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vkt {

// ---- channel table columns -------------------------------------------

enum ChannelColumn : int {
    kColNumber = 0,
    kColRx = 1,
    kColTx = 2,
    kColDecode = 3,
    kColEncode = 4,
    kColPower = 5,
    kColBandwidth = 6,
    kColScan = 7,
    kColBusy = 8,
    kColSignalSystem = 9,
    kColSignalNumber = 10,
    kColName = 11,
};

enum class StoreResult : std::uint8_t {
    Stored,     // the value went into the record
    Deleted,    // an empty receive frequency deleted the channel
    Rejected,   // the text is not a value; the record is unchanged
};

// Receive frequency typed into column 1. Empty deletes the channel (its
// bytes stay); a frequency is limited to the band and the raster, and a
// channel not in use is created with the new-channel contents (its name
// kept).
StoreResult StoreRxText(RadioData &d, const BandLimits &limits, int channel, std::string_view text);
// Transmit frequency typed into column 2 (channel in use only): empty stores
// 0; anything else is limited to the transmit band and the raster.
StoreResult StoreTxText(RadioData &d, const BandLimits &limits, int channel, std::string_view text);
// Decode (encode = false) or encode tone typed into columns 3 and 4; a
// rejected text leaves the tone as it was.
StoreResult StoreToneText(RadioData &d, int channel, bool encode, std::string_view text);
// True when the channel's decode or encode tone is not a standard tone.
bool HasNonstandardTone(const RadioData &d, int channel, bool encode);
// Lower-case d, n, i typed into a tone box become upper case.
char ToneBoxKey(char c);

// List positions of the drop-down editors; -1 means no entry shows the
// stored value.
int PowerListIndex(unsigned powerCode);          // Low 0, Mid 1, High 2
unsigned PowerCodeForIndex(int index);           // 0 -> 0, 1 -> 2, 2 -> 1
int BusyListIndex(unsigned busyCode);            // 0..2, else -1
int SignalSystemListIndex(unsigned system);      // 0..3, else -1
// Entries of the signalling-number list for a system: 30 for DTMF, 16 for
// two-tone and five-tone, none otherwise.
int SignalNumberCount(unsigned system);
int SignalNumberListIndex(const ChannelEntry &e); // -1 past the list

// Stores a chosen list position (index < 0: nothing chosen, nothing stored).
void StorePowerIndex(RadioData &d, int channel, int index);
void StoreBandwidthIndex(RadioData &d, int channel, int index);
void StoreScanIndex(RadioData &d, int channel, int index);
void StoreBusyIndex(RadioData &d, int channel, int index);
// A changed system resets the signalling number to the first entry.
void StoreSignalSystemIndex(RadioData &d, int channel, int index);
void StoreSignalNumberIndex(RadioData &d, int channel, int index);
// The 6 name bytes: cleared, then the first (at most 6) bytes copied in.
void StoreNameBytes(RadioData &d, int channel, const std::uint8_t *bytes, std::size_t size);

// ---- typing rules of the frequency and name editors ------------------------

// Key filter of the frequency editors: digits, "." and control keys
// (codes below 32 and 127..255) pass.
bool FrequencyKeyPasses(unsigned code);
// Corrections after every change: more than `maxLength` characters lose the
// last one, a lone "." is emptied, of several "." only the first stays.
std::string CorrectFrequencyText(std::string text, std::size_t maxLength = 9);
// Key filter of the name editor: blank ! " # $ % & ' ( ) { | } ~ are dropped.
bool NameKeyPasses(unsigned code);

// ---- batch set -----------------------------------------------------------

struct BatchSetParams {
    std::uint32_t startRx = 0;
    std::uint32_t startTx = 0;
    std::uint32_t endFreq = 0;
    std::uint32_t step = 0;
    bool endByChannel = true; // false: end by frequency
    int startChannel = 1;     // 1..240
    int endChannel = 1;       // 1..240
    Tone decode{};
    Tone encode{};
    int powerIndex = 2;       // list position: Low 0, Mid 1, High 2
    bool wide = true;
    bool scanAdd = true;
    int busyIndex = 0;
    int scramblingIndex = 0;  // 0 OFF, 1..5
};

// Fills the run of channels; returns how many were filled (0 when the
// range selects none).
int ApplyBatchSet(RadioData &d, const BandLimits &limits, const BatchSetParams &p);

} // namespace vkt
