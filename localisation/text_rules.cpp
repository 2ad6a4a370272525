// How typing enters the grids' text editors, and the columns of a grid.
#include "field_texts.h"

#include "channel_edit.h"
#include "dtmf_edit.h"
#include "five_tone.h"
#include "fm_edit.h"
#include "offset_table.h"
#include "two_tone.h"

#include <algorithm>
#include <string>

namespace vkt {

namespace {

QString Std(const std::string &s) { return QString::fromStdString(s); }

bool Printable(char32_t c) { return QChar::isPrint(c) || QChar::category(c) == QChar::Other_PrivateUse; }

// Characters of the key filters: ASCII ones are checked, every other
// character passes where the filter says so.
bool FrequencyPasses(char32_t c) { return c < 0x10000 && FrequencyKeyPasses(unsigned(c)); }
bool NamePasses(char32_t c) { return c >= 128 || NameKeyPasses(unsigned(c)); }
bool DtmfPasses(char32_t c) { return c < 0x10000 && DtmfKeyPasses(unsigned(c)); }
bool TimePasses(char32_t c) { return c < 0x10000 && TimeKeyPasses(unsigned(c)); }
bool PeriodPasses(char32_t c) { return c < 0x10000 && PeriodKeyPasses(unsigned(c)); }
bool FiveToneCodePasses(char32_t c) { return c < 0x10000 && FiveToneCodeKeyPasses(unsigned(c)); }

char32_t ToneEnters(char32_t c) { return c < 128 ? char32_t(ToneBoxKey(char(c))) : c; }
char32_t DtmfEnters(char32_t c) { return c < 128 ? char32_t(DtmfKey(char(c))) : c; }
char32_t FiveToneCodeEnters(char32_t c) { return c < 128 ? char32_t(FiveToneCodeKey(char(c))) : c; }

QString CorrectChannelFrequency(const QString &t) { return Std(CorrectFrequencyText(t.toStdString())); }
QString CorrectFmFrequency(const QString &t) { return Std(CorrectFrequencyText(t.toStdString(), kFmTextMaxLength)); }
QString CorrectOffsetFrequency(const QString &t)
{
    return Std(CorrectFrequencyText(t.toStdString(), kOffsetEditMaxLength));
}
QString CorrectName(const QString &t) { return CutToGbkBytes(t, kAddressNameBytes); }
QString CorrectDtmf(const QString &t) { return Std(CorrectDtmfText(t.toStdString())); }
QString CorrectTime(const QString &t) { return Std(CorrectTimeText(t.toStdString())); }
QString CorrectPeriod(const QString &t) { return Std(CorrectPeriodText(t.toStdString())); }
QString CorrectCode(const QString &t) { return Std(CorrectFiveToneCode(t.toStdString())); }

// Every name of the grids (channels, address book, signalling systems)
// holds 6 bytes.
static_assert(kAddressNameBytes == sizeof(ChannelEntry::name) && kAddressNameBytes == sizeof(TwoToneSystem::name) &&
              kAddressNameBytes == sizeof(FiveToneSystem::name));

const GridColumn kUndescribed{};

} // namespace

const TextRule kChannelFrequencyRule{&FrequencyPasses, nullptr, &CorrectChannelFrequency};
const TextRule kToneTextRule{nullptr, &ToneEnters, nullptr};
const TextRule kNameRule{&NamePasses, nullptr, &CorrectName};
const TextRule kDtmfCodeRule{&DtmfPasses, &DtmfEnters, &CorrectDtmf};
const TextRule kFmFrequencyRule{&FrequencyPasses, nullptr, &CorrectFmFrequency};
const TextRule kOffsetFrequencyRule{&FrequencyPasses, nullptr, &CorrectOffsetFrequency};
const TextRule kTwoToneTimeRule{&TimePasses, nullptr, &CorrectTime};
const TextRule kPeriodRule{&PeriodPasses, nullptr, &CorrectPeriod};
const TextRule kFiveToneCodeRule{&FiveToneCodePasses, &FiveToneCodeEnters, &CorrectCode};
const TextRule kMessageTextRule{nullptr, nullptr, &CutMessageText};

QString TypedText(const QString &text, const TextRule &rule)
{
    QString typed;
    for (char32_t c : text.toUcs4()) {
        if (!Printable(c) || (rule.passes && !rule.passes(c)))
            continue;
        const char32_t entered = rule.enters ? rule.enters(c) : c;
        typed += QString::fromUcs4(&entered, 1);
        if (rule.correct)
            typed = rule.correct(typed);
    }
    return typed;
}

QString CorrectedText(const QString &text, const TextRule &rule)
{
    QString kept;
    for (char32_t c : text.toUcs4()) {
        if (c < 32 || (rule.passes && !rule.passes(c)))
            continue;
        const char32_t entered = rule.enters ? rule.enters(c) : c;
        kept += QString::fromUcs4(&entered, 1);
    }
    return rule.correct ? rule.correct(kept) : kept;
}

const GridColumn &Column(const GridCells &grid, int column)
{
    if (grid.columnTable.empty() || column < 0)
        return kUndescribed;
    return grid.columnTable[std::size_t(std::min<int>(column, int(grid.columnTable.size()) - 1))];
}

} // namespace vkt
