#include "adjustment_edit.h"

#include "codecs.h"

#include <array>
#include <charconv>
#include <optional>
#include <type_traits>

namespace vkt {

namespace {

std::uint8_t *Bytes(AdjustmentData &adj) { return reinterpret_cast<std::uint8_t *>(&adj); }
const std::uint8_t *Bytes(const AdjustmentData &adj) { return reinterpret_cast<const std::uint8_t *>(&adj); }

template <std::size_t N>
std::array<std::string, N> NumberItems(int first)
{
    std::array<std::string, N> items;
    for (std::size_t i = 0; i < N; ++i)
        items[i] = std::to_string(first + static_cast<int>(i));
    return items;
}

const std::array<std::string, 256> kValueItems = NumberItems<256>(0);
const std::array<std::string, 31> kSqOffsetItems = NumberItems<31>(-20);
const std::array<std::string, 64> kSqNoiseItems = NumberItems<64>(0);

constexpr int kSqOffsetFirst = -20;

bool RowInTable(AdjTable table, int row) { return row >= 1 && row <= AdjPoints(table); }

template <typename Adj>
auto *FrequencyOf(Adj &adj, AdjTable table, int row)
{
    switch (table) {
    case AdjTable::Apc: return &adj.apc[row - 1].freq;
    case AdjTable::Tune: return &adj.tune[row - 1].freq;
    case AdjTable::Sq: return &adj.sq[row - 1].freq;
    }
    return static_cast<decltype(&adj.apc[0].freq)>(nullptr);
}

// The byte a value cell edits, or nullptr.
template <typename Adj>
auto *ValueByte(Adj &adj, AdjTable table, int row, int column)
{
    using Byte = std::conditional_t<std::is_const_v<Adj>, const std::uint8_t, std::uint8_t>;
    Byte *none = nullptr;
    if (!RowInTable(table, row))
        return none;
    const int i = row - 1;
    switch (table) {
    case AdjTable::Apc:
        switch (column) {
        case 2: return &adj.apc[i].high;
        case 3: return &adj.apc[i].mid;
        case 4: return &adj.apc[i].low;
        }
        break;
    case AdjTable::Tune:
        if (column == 2)
            return &adj.tune[i].value;
        break;
    case AdjTable::Sq:
        switch (column) {
        case 2: return reinterpret_cast<Byte *>(&adj.sq[i].sqWide);
        case 3: return &adj.sq[i].noiseWide;
        case 4: return reinterpret_cast<Byte *>(&adj.sq[i].sqNarrow);
        case 5: return &adj.sq[i].noiseNarrow;
        }
        break;
    }
    return none;
}

// The stored value of a value cell as a number (signed for SQ offsets).
int CellValue(std::uint8_t byte, AdjCell kind)
{
    return kind == AdjCell::SqOffset ? static_cast<int>(static_cast<std::int8_t>(byte)) : static_cast<int>(byte);
}

std::optional<int> ParseDecimal(std::string_view text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    return value;
}

constexpr AdjSetting kSettings[] = {
    {"ePinPian_W", "频偏", 372, 127, 3},
    {"ePinPian_W_Spe_1", "特殊频偏1", 373, 127, 3},
    {"ePinPian_W_Spe_2", "特殊频偏2", 374, 127, 3},
    {"eCtcPinPian_W", "CTC频偏", 375, 63, 2},
    {"eDcsPinPian_W", "DCS频偏", 376, 63, 2},
    {"eDtmfFuDu_W", "DTMF幅度", 377, 255, 3},
    {"e1750FuDu_W", "1750幅度", 378, 255, 3},
    {"e2T5TFuDu_W", "2音5音幅度", 379, 255, 3},
    {"ePinPian_N", "频偏", 380, 127, 3},
    {"ePinPian_N_Spe_1", "特殊频偏1", 381, 127, 3},
    {"ePinPian_N_Spe_2", "特殊频偏2", 382, 127, 3},
    {"eCtcPinPian_N", "CTC频偏", 383, 63, 2},
    {"eDcsPinPian_N", "DCS频偏", 384, 63, 2},
    {"eDtmfFuDu_N", "DTMF幅度", 385, 255, 3},
    {"e1750FuDu_N", "1750幅度", 386, 255, 3},
    {"e2T5TFuDu_N", "2音5音幅度", 387, 255, 3},
    {"eSQL_L1", "SQL-1", 388, 255, 3},
    {"eSQL_L5", "SQL-5", 389, 255, 3},
    {"eSQL_L9", "SQL-9", 390, 255, 3},
    {"eVOX_L1", "VOX-1", 393, 255, 3},
    {"eVOX_L9", "VOX-9", 394, 255, 3},
    {"eBatt_L0_Wait", "低压", 395, 255, 3},
    {"eBatt_L1_Wait", "1级", 396, 255, 3},
    {"eBatt_L2_Wait", "2级", 397, 255, 3},
    {"eBatt_L3_Wait", "3级", 398, 255, 3},
    {"eBatt_L0_Tx", "低压", 399, 255, 3},
    {"eBatt_L1_Tx", "1级", 400, 255, 3},
    {"eBatt_L2_Tx", "2级", 401, 255, 3},
    {"eBatt_L3_Tx", "3级", 402, 255, 3},
    {"eBatt_High", "最高电压", 403, 255, 3},
    {"eMicGain", "MIC增益", 404, 31, 2},
    {"eWhispMicGain", "耳语MIC增益", 405, 31, 2},
    {"eBatt_PowerOff", "关机电压", 406, 255, 3},
};
static_assert(std::size(kSettings) == 33);
static_assert(offsetof(AdjustmentData, deviationW) == 372 && offsetof(AdjustmentData, voxL1) == 393 &&
              offsetof(AdjustmentData, battPowerOff) == 406);

constexpr AdjList kLists[] = {
    {"cbSQ_NarrowOffset", "窄带SQ偏差", 391, -10, 21, false},
    {"cbSqNoise_NarrowOffset", "窄带噪声偏差", 392, -10, 21, false},
    {"cbLcd_Brightness", "粗调", 407, 0, 8, true},
    {"cbLcd_BrightnessFine", "细调", 408, 0, 64, true},
};
static_assert(offsetof(AdjustmentData, sqNarrowOffset) == 391 && offsetof(AdjustmentData, lcdBrightness) == 407);

} // namespace

int AdjPoints(AdjTable table)
{
    switch (table) {
    case AdjTable::Apc: return kApcPoints;
    case AdjTable::Tune: return kTunePoints;
    case AdjTable::Sq: return kSqPoints;
    }
    return 0;
}

int AdjColumns(AdjTable table)
{
    switch (table) {
    case AdjTable::Apc: return kApcColumns;
    case AdjTable::Tune: return kTuneColumns;
    case AdjTable::Sq: return kSqColumns;
    }
    return 0;
}

AdjCell AdjCellKind(AdjTable table, int column)
{
    if (column < 1 || column >= AdjColumns(table))
        return AdjCell::None;
    if (column == 1)
        return AdjCell::Frequency;
    if (table != AdjTable::Sq)
        return AdjCell::Value;
    return column % 2 == 0 ? AdjCell::SqOffset : AdjCell::SqNoise;
}

bool AdjKeyOpens(AdjTable table, int column)
{
    switch (table) {
    case AdjTable::Apc: return column >= 2 && column <= 4;
    case AdjTable::Tune: return column == 1 || column == 2;
    case AdjTable::Sq: return column == 2;
    }
    return false;
}

std::span<const std::string> AdjListItems(AdjCell kind)
{
    switch (kind) {
    case AdjCell::Value: return kValueItems;
    case AdjCell::SqOffset: return kSqOffsetItems;
    case AdjCell::SqNoise: return kSqNoiseItems;
    default: return {};
    }
}

std::string AdjCellText(const AdjustmentData &adj, AdjTable table, int row, int column)
{
    if (!RowInTable(table, row))
        return {};
    const AdjCell kind = AdjCellKind(table, column);
    if (kind == AdjCell::Frequency)
        return ChannelFreqText(*FrequencyOf(adj, table, row));
    const std::uint8_t *byte = ValueByte(adj, table, row, column);
    return byte ? std::to_string(CellValue(*byte, kind)) : std::string();
}

int AdjListIndex(const AdjustmentData &adj, AdjTable table, int row, int column)
{
    const AdjCell kind = AdjCellKind(table, column);
    const std::uint8_t *byte = ValueByte(adj, table, row, column);
    if (!byte)
        return -1;
    const int index = CellValue(*byte, kind) - (kind == AdjCell::SqOffset ? kSqOffsetFirst : 0);
    return index >= 0 && index < static_cast<int>(AdjListItems(kind).size()) ? index : -1;
}

void StoreAdjListIndex(AdjustmentData &adj, AdjTable table, int row, int column, int index)
{
    const AdjCell kind = AdjCellKind(table, column);
    std::uint8_t *byte = ValueByte(adj, table, row, column);
    if (!byte || index < 0 || index >= static_cast<int>(AdjListItems(kind).size()))
        return;
    *byte = static_cast<std::uint8_t>(index + (kind == AdjCell::SqOffset ? kSqOffsetFirst : 0));
}

AdjFreqStore StoreAdjFreqText(AdjustmentData &adj, AdjTable table, int row, std::string_view text)
{
    if (!RowInTable(table, row))
        return AdjFreqStore::Stored;
    std::uint32_t hz = 0;
    if (!text.empty()) {
        const std::optional<std::uint32_t> parsed = ParseMHzText(text);
        if (!parsed)
            return AdjFreqStore::NotAFrequency;
        hz = SnapToRaster(*parsed);
    }
    *FrequencyOf(adj, table, row) = hz;
    return AdjFreqStore::Stored;
}

void StepApcColumn(AdjustmentData &adj, int column, int delta)
{
    for (int row = 1; row <= kApcPoints; ++row) {
        std::uint8_t *byte = ValueByte(adj, AdjTable::Apc, row, column);
        if (!byte || static_cast<std::uint32_t>(adj.apc[row - 1].freq) == 0)
            continue;
        if (delta > 0 && *byte < 255)
            ++*byte;
        else if (delta < 0 && *byte > 0)
            --*byte;
    }
}

std::span<const AdjSetting> AdjSettings() { return kSettings; }

bool AdjSettingKeyPasses(unsigned code) { return code < 32 || (code >= 127 && code <= 255) || (code >= '0' && code <= '9'); }

std::string CutAdjSettingText(std::string text, std::size_t maxLength)
{
    if (text.size() > maxLength)
        text.resize(maxLength);
    return text;
}

AdjSettingStore StoreAdjSettingText(AdjustmentData &adj, const AdjSetting &setting, std::string_view text)
{
    if (setting.offset >= kAdjustmentSize)
        return AdjSettingStore::OutOfRange;
    int value = 0;
    if (!text.empty()) {
        const std::optional<int> parsed = ParseDecimal(text);
        if (!parsed)
            return AdjSettingStore::NotANumber;
        value = *parsed;
    }
    if (value < 0 || value > setting.max)
        return AdjSettingStore::OutOfRange;
    Bytes(adj)[setting.offset] = static_cast<std::uint8_t>(value);
    return AdjSettingStore::Stored;
}

std::string AdjSettingText(const AdjustmentData &adj, const AdjSetting &setting)
{
    return setting.offset < kAdjustmentSize ? std::to_string(Bytes(adj)[setting.offset]) : std::string();
}

std::span<const AdjList> AdjLists() { return kLists; }

std::string AdjListItemText(const AdjList &list, int index) { return std::to_string(list.first + index); }

int AdjListValueIndex(const AdjustmentData &adj, const AdjList &list)
{
    const std::uint8_t byte = Bytes(adj)[list.offset];
    const int value = list.first < 0 ? static_cast<int>(static_cast<std::int8_t>(byte)) : static_cast<int>(byte);
    const int index = value - list.first;
    return index >= 0 && index < list.count ? index : -1;
}

void StoreAdjListValueIndex(AdjustmentData &adj, const AdjList &list, int index)
{
    if (index < 0 || index >= list.count)
        return;
    Bytes(adj)[list.offset] = static_cast<std::uint8_t>(list.first + index);
}

} // namespace vkt
