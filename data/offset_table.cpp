#include "offset_table.h"

#include "codecs.h"

#include <cstring>
#include <memory>

namespace vkt {

namespace {

bool ValidRow(int row) { return row >= 1 && row <= kOffsetTableRows; }

OffsetTableRow &Entry(RadioData &d, int row) { return d.offsetTable[row - 1]; }
const OffsetTableRow &Entry(const RadioData &d, int row) { return d.offsetTable[row - 1]; }

void ClearEntry(RadioData &d, int row)
{
    std::memset(&Entry(d, row), 0, sizeof(OffsetTableRow));
    ClearOffsetRowInUse(d, row - 1);
}

} // namespace

bool OffsetRowInUse(const RadioData &d, int row) { return ValidRow(row) && IsOffsetRowInUse(d, row - 1); }

std::string OffsetCellText(const RadioData &d, int row, int column)
{
    if (!OffsetRowInUse(d, row))
        return {};
    const OffsetTableRow &e = Entry(d, row);
    switch (column) {
    case kOffColFrom: return ChannelFreqText(e.start);
    case kOffColTo: return ChannelFreqText(e.end);
    case kOffColDirection:
        return e.direction == kOffsetPlus ? std::string(kDirectionItems[0])
               : e.direction == kOffsetMinus ? std::string(kDirectionItems[1])
                                             : std::string();
    case kOffColOffset: return OffsetFreqText(e.offset);
    default: return {};
    }
}

bool OffsetCellEditable(const RadioData &d, int row, int column)
{
    if (!ValidRow(row) || column < kOffColFrom || column > kOffColOffset)
        return false;
    return column == kOffColFrom || OffsetRowInUse(d, row);
}

void ClearUnusedOffsetRows(RadioData &d)
{
    for (int row = 1; row <= kOffsetTableRows; ++row)
        if (!OffsetRowInUse(d, row))
            ClearEntry(d, row);
}

OffsetStore StoreOffsetFreqText(RadioData &d, const BandLimits &limits, int row, int column, std::string_view text)
{
    if (!OffsetCellEditable(d, row, column) || column == kOffColDirection)
        return OffsetStore::NotInUse;
    std::uint32_t hz = 0;
    if (!text.empty()) {
        const std::optional<std::uint32_t> parsed = ParseMHzText(text);
        if (!parsed)
            return OffsetStore::NotAFrequency;
        hz = *parsed;
    }
    OffsetTableRow &e = Entry(d, row);
    switch (column) {
    case kOffColFrom:
        if (hz == 0) {
            ClearEntry(d, row);
            return OffsetStore::Removed;
        }
        e.start = LimitToBand(hz, false, limits);
        if (OffsetRowInUse(d, row)) {
            if (e.end <= e.start)
                e.end = e.start + kOffsetRangeSpan;
        } else {
            SetOffsetRowInUse(d, row - 1);
            e.end = e.start + kOffsetRangeSpan;
            e.direction = kOffsetPlus;
            e.offset = kNewEntryOffset;
        }
        return OffsetStore::Stored;
    case kOffColTo:
        // An empty text limits to the lowest receive frequency like 0.
        e.end = LimitToBand(hz, false, limits);
        if (e.start >= e.end)
            e.end = e.start + kOffsetRangeSpan;
        return OffsetStore::Stored;
    default: { // kOffColOffset
        const std::uint32_t offset = LimitOffset(hz, limits);
        if (offset == 0)
            return OffsetStore::Unchanged;
        e.offset = offset;
        return OffsetStore::Stored;
    }
    }
}

int OffsetDirectionIndex(const RadioData &d, int row)
{
    if (!OffsetRowInUse(d, row))
        return -1;
    const std::uint8_t dir = Entry(d, row).direction;
    return dir == kOffsetPlus ? 0 : dir == kOffsetMinus ? 1 : -1;
}

OffsetStore StoreOffsetDirectionIndex(RadioData &d, int row, int index)
{
    if (!OffsetRowInUse(d, row))
        return OffsetStore::NotInUse;
    if (index != 0 && index != 1)
        return OffsetStore::Unchanged;
    Entry(d, row).direction = index == 0 ? kOffsetPlus : kOffsetMinus;
    return OffsetStore::Stored;
}

void RestoreDefaultOffsets(RadioData &d, const BandLimits &limits)
{
    // The entries new data holds: taken from the defaults themselves, so the
    // button and New always agree.
    auto fresh = std::make_unique<RadioData>();
    IdentityValues identity;
    SetDefaultData(*fresh, identity, limits);
    std::memcpy(d.offsetTableBits, fresh->offsetTableBits, sizeof d.offsetTableBits);
    std::memcpy(d.offsetTable, fresh->offsetTable, sizeof d.offsetTable);
}

} // namespace vkt
