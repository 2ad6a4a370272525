// What the cells and controls of the adjustment window store: the APC,
// TUNE and SQ tables, the batch change of an APC power column, the single
// settings with their ranges and the lists. Plain rules, no widgets.
#pragma once

#include "adjustment.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vkt {

// ---- the three tables ------------------------------------------------------

enum class AdjTable : std::uint8_t { Apc, Tune, Sq };

// Columns as the user sees them: 0 is the number column.
inline constexpr int kApcColumns = 5;  // 序号, 频率, 高功率, 中功率, 低功率
inline constexpr int kTuneColumns = 3; // 序号, 频率, 调谐
inline constexpr int kSqColumns = 6;   // 序号, 频点以下, SQ, 噪声, 窄带SQ, 窄带噪声

// What edits a body cell.
enum class AdjCell : std::uint8_t {
    None,      // the number column, or outside the table
    Frequency, // a frequency editor
    Value,     // the list "0".."255"
    SqOffset,  // the list "-20".."10"
    SqNoise,   // the list "0".."63"
};

int AdjPoints(AdjTable table);  // 19, 19, 18
int AdjColumns(AdjTable table); // including the number column
AdjCell AdjCellKind(AdjTable table, int column);
// Whether a digit or Enter opens the cell's editor (a mouse press opens
// every body cell): APC columns 2..4, TUNE columns 1 and 2, SQ column 2.
bool AdjKeyOpens(AdjTable table, int column);

// Item texts of a value list; an empty span for the other kinds.
std::span<const std::string> AdjListItems(AdjCell kind);

// The text of body cell (row 1.., column 1..): the frequency in channel
// form ("0", "145.12500"), values as decimal numbers (signed for the SQ
// offsets). Empty outside the table.
std::string AdjCellText(const AdjustmentData &adj, AdjTable table, int row, int column);

// The list position that shows a value cell's stored value (SQ offsets:
// value + 20), -1 when no item shows it.
int AdjListIndex(const AdjustmentData &adj, AdjTable table, int row, int column);
// Stores a list position into a value cell (SQ offsets: position − 20).
// A position outside the list stores nothing.
void StoreAdjListIndex(AdjustmentData &adj, AdjTable table, int row, int column, int index);

enum class AdjFreqStore : std::uint8_t { Stored, NotAFrequency };
// Leaving a frequency editor: an empty text stores 0; otherwise the text
// in MHz, snapped to the raster (a multiple of 2500 Hz stays, any other is
// truncated to a multiple of 6250 Hz). No range applies. A text that is no
// frequency stores nothing.
AdjFreqStore StoreAdjFreqText(AdjustmentData &adj, AdjTable table, int row, std::string_view text);
// Longest text of a frequency editor while typing.
inline constexpr std::size_t kAdjFreqMaxLength = 9;

// "+" (delta 1) or "-" (delta −1) on APC column 2 (high), 3 (mid) or 4
// (low): every point whose frequency is not 0 moves by one, within 0..255.
void StepApcColumn(AdjustmentData &adj, int column, int delta);

// ---- single settings ------------------------------------------------------------

struct AdjSetting {
    std::string_view name;    // the edit's object name
    std::string_view caption; // its label
    std::uint16_t offset;     // record offset of its byte
    std::uint8_t max;         // accepted range 0..max
    std::uint8_t maxLength;   // characters the edit keeps
};

// The 33 edits, in record order (372..406, without the two hidden signed
// offsets at 391 and 392 and the brightness lists).
std::span<const AdjSetting> AdjSettings();

// Key filter of the setting edits: digits and control keys (codes below
// 32 and 127..255).
bool AdjSettingKeyPasses(unsigned code);
// After a change: a text longer than the limit loses its last characters.
std::string CutAdjSettingText(std::string text, std::size_t maxLength);

enum class AdjSettingStore : std::uint8_t { Stored, OutOfRange, NotANumber };
// Leaving an edit: an empty text stores 0, a number in range is stored,
// anything else stores nothing. The edit is then rewritten from
// AdjSettingText, so an ignored entry snaps back.
AdjSettingStore StoreAdjSettingText(AdjustmentData &adj, const AdjSetting &setting, std::string_view text);
std::string AdjSettingText(const AdjustmentData &adj, const AdjSetting &setting);

// ---- lists outside the tables ----------------------------------------------------

struct AdjList {
    std::string_view name;    // the list's object name
    std::string_view caption; // its label
    std::uint16_t offset;     // record offset of its byte
    int first;                // value of item 0 (−10 for the signed offsets)
    int count;                // number of items
    bool visible;             // the two signed offsets have no visible editor
};

// cbSQ_NarrowOffset, cbSqNoise_NarrowOffset, cbLcd_Brightness,
// cbLcd_BrightnessFine.
std::span<const AdjList> AdjLists();
std::string AdjListItemText(const AdjList &list, int index);
// -1 when no item shows the stored value.
int AdjListValueIndex(const AdjustmentData &adj, const AdjList &list);
// A position outside the list stores nothing.
void StoreAdjListValueIndex(AdjustmentData &adj, const AdjList &list, int index);

} // namespace vkt
