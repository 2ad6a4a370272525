#include "fm_edit.h"

#include "codecs.h"

namespace vkt {

namespace {

bool IsMemory(int memory) { return memory >= 1 && memory <= kFmMemories; }

std::uint32_t Fitted(const RadioData &d, std::uint32_t hz) { return LimitFm(hz, d.fmMin, d.fmMax); }

} // namespace

std::string FmMemoryText(const RadioData &d, int memory)
{
    return IsMemory(memory) ? FmFreqText(d.fmMemories[memory - 1]) : std::string();
}

FmStore StoreFmMemoryText(RadioData &d, int memory, std::string_view text)
{
    if (!IsMemory(memory))
        return FmStore::NoMemory;
    const std::optional<std::uint32_t> hz = text.empty() ? 0 : ParseMHzText(text);
    if (!hz)
        return FmStore::NotAFrequency;
    d.fmMemories[memory - 1] = *hz == 0 ? 0 : Fitted(d, *hz);
    return FmStore::Stored;
}

void FitFmFrequencies(RadioData &d)
{
    d.fmFrequency = Fitted(d, d.fmFrequency);
    for (U32 &m : d.fmMemories)
        if (m != 0)
            m = Fitted(d, m);
}

void FitAfterFmLowerBound(RadioData &d)
{
    if (d.fmMax < d.fmMin)
        d.fmMax = d.fmMin.get();
    FitFmFrequencies(d);
}

void FitAfterFmUpperBound(RadioData &d)
{
    if (d.fmMin > d.fmMax)
        d.fmMin = d.fmMax.get();
    FitFmFrequencies(d);
}

} // namespace vkt
