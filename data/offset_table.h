// The automatic repeater-offset table: what its grid shows and what its
// editors store.
//
// Rows 1..16 are entries 1..16 of the table (record row r - 1, in-use bit
// r - 1). The window and `vkt410-cli get`/`set` both go through these
// functions; the window only places the editors and routes their texts.
#pragma once

#include "radio_data.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vkt {

enum OffsetColumn : int {
    kOffColNumber = 0,
    kOffColFrom = 1,
    kOffColTo = 2,
    kOffColDirection = 3,
    kOffColOffset = 4,
};
inline constexpr int kOffsetGridRows = kOffsetTableRows + 1;
inline constexpr int kOffsetGridColumns = 5;

// Longest text the frequency editor keeps (a tenth character is taken off).
inline constexpr std::size_t kOffsetEditMaxLength = 9;
// A range that needs an upper end gets one 0.1 MHz above its lower end.
inline constexpr std::uint32_t kOffsetRangeSpan = 100000;
// A new entry: direction "+" and 0.6 MHz.
inline constexpr std::uint32_t kNewEntryOffset = 600000;

// Main-table texts of the window.
inline constexpr int kTextSetAutoOffset = 246; // caption, and the option's "..." button
inline constexpr int kTextDefault = 334;
struct OffsetHeading {
    int text;                // main-table text
    std::string_view suffix; // fixed text after it
};
inline constexpr OffsetHeading kOffsetHeadings[kOffsetGridColumns] = {
    {147, ""}, {247, "( >= )"}, {248, "( < )"}, {42, ""}, {43, " (MHz)"}};
// Items of the direction list, in list order (values 1 and 2).
inline constexpr std::string_view kDirectionItems[2] = {"+", "-"};

// Whether entry `row` (1..16) is in use; other rows never are.
bool OffsetRowInUse(const RadioData &d, int row);
// A body cell: from and to as 145.60000, the direction "+" or "-", the
// offset as 0.60000 or "0"; empty for an entry not in use.
std::string OffsetCellText(const RadioData &d, int row, int column);
// Whether the cell's editor opens: "from" always, the other cells only for
// an entry in use.
bool OffsetCellEditable(const RadioData &d, int row, int column);
// An entry not in use shows empty, and its record is zero: done for every
// row when the window shows the table.
void ClearUnusedOffsetRows(RadioData &d);

enum class OffsetStore : std::uint8_t {
    Stored,        // stored (limited and snapped as the column's rule says)
    Removed,       // 0 or an empty "from": the entry is cleared and not in use
    Unchanged,     // nothing to store (an offset of 0, no direction chosen)
    NotInUse,      // only "from" can be typed into an entry not in use
    NotAFrequency, // the text is not a frequency: nothing changes
};
// The frequency editor left in column 1, 2 or 4 with `text` (megahertz).
OffsetStore StoreOffsetFreqText(RadioData &d, const BandLimits &limits, int row, int column,
                                std::string_view text);
// The direction list: position of the stored direction, -1 for none.
int OffsetDirectionIndex(const RadioData &d, int row);
// Position 0 stores 1 ("+"), 1 stores 2 ("-"); -1 leaves it unchanged.
OffsetStore StoreOffsetDirectionIndex(RadioData &d, int row, int index);
// The "Default" button: the eight entries of new data, entries 9..16
// cleared and not in use.
void RestoreDefaultOffsets(RadioData &d, const BandLimits &limits);

} // namespace vkt
