#include "band_limits_edit.h"

#include "codecs.h"

#include <algorithm>
#include <limits>

namespace vkt {

namespace {

struct Names {
    std::string_view name;
    std::string_view edit;
};
constexpr std::array<Names, kBandLimitCount> kNames{{
    {"U_Tx_min", "eBand_U_Tx_MIN"},
    {"U_Tx_max", "eBand_U_Tx_MAX"},
    {"U_Rx_min", "eBand_U_Rx_MIN"},
    {"U_Rx_max", "eBand_U_Rx_MAX"},
    {"V_Tx_min", "eBand_V_Tx_MIN"},
    {"V_Tx_max", "eBand_V_Tx_MAX"},
    {"V_Rx_min", "eBand_V_Rx_MIN"},
    {"V_Rx_max", "eBand_V_Rx_MAX"},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string_view BandLimitName(BandLimit which) { return kNames[std::size_t(which)].name; }
std::string_view BandLimitEditName(BandLimit which) { return kNames[std::size_t(which)].edit; }

std::optional<BandLimit> BandLimitByName(std::string_view name)
{
    for (std::size_t i = 0; i < kBandLimitCount; ++i)
        if (kNames[i].name == name)
            return BandLimit(i);
    return std::nullopt;
}

BandLimitValues BandLimitsToValues(const BandLimits &l)
{
    return {l.uhfTxMin, l.uhfTxMax, l.uhfRxMin, l.uhfRxMax, l.vhfTxMin, l.vhfTxMax, l.vhfRxMin, l.vhfRxMax};
}

bool BandLimitKeyAllowed(char c) { return IsDigit(c) || c == '.'; }

std::string CorrectBandLimitTyping(std::string_view text)
{
    std::string out(text.substr(0, std::min(text.size(), kBandLimitTextMax)));
    if (out == ".")
        return {};
    const std::size_t first = out.find('.');
    if (first != std::string::npos)
        out.erase(std::remove(out.begin() + std::ptrdiff_t(first) + 1, out.end(), '.'), out.end());
    return out;
}

std::optional<std::uint32_t> ParseBandLimitText(std::string_view text)
{
    if (text.empty())
        return 0u;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return BandLimitKeyAllowed(c); }) ||
        std::count(text.begin(), text.end(), '.') > 1 || text == ".")
        return std::nullopt;
    std::string t(text);
    if (t.front() == '.')
        t.insert(t.begin(), '0');
    if (t.back() == '.')
        t.pop_back();
    if (const auto hz = ParseMHzText(t))
        return hz;
    // Only digits and one point are left, so the number is too large.
    return std::numeric_limits<std::uint32_t>::max();
}

std::optional<std::uint32_t> CommitBandLimitText(std::string_view text)
{
    const std::optional<std::uint32_t> hz = ParseBandLimitText(text);
    if (!hz)
        return std::nullopt;
    return LimitBandLimitEntry(*hz);
}

BandLimitsVerdict JudgeBandLimits(const BandLimitValues &v, const BandLimits &current)
{
    for (std::size_t i = 0; i < kBandLimitCount; i += 2)
        if (!(v[i] < v[i + 1]))
            return BandLimitsVerdict::Inconsistent;
    return v == BandLimitsToValues(current) ? BandLimitsVerdict::Unchanged : BandLimitsVerdict::Changed;
}

void ApplyBandLimits(BandLimits &l, const BandLimitValues &v)
{
    l.uhfTxMin = v[0];
    l.uhfTxMax = v[1];
    l.uhfRxMin = v[2];
    l.uhfRxMax = v[3];
    l.vhfTxMin = v[4];
    l.vhfTxMax = v[5];
    l.vhfRxMin = v[6];
    l.vhfRxMax = v[7];
    RecomputeMaxOffsets(l);
}

} // namespace vkt
