// The cells of the five-tone page's grids: the tone list with the
// standards' periods ("sg5Tone_List"), the systems ("sgSystem_5T") and the
// decode and encode lists ("sgDecode_5T", "sgEncode_5T"). The page draws its
// cells with these functions; `vkt410-cli get`/`set` read and type them the
// same way.
#include "channel_edit.h"
#include "field_texts.h"
#include "five_tone.h"
#include "gbk_text.h"
#include "localisation.h"

#include <string>
#include <vector>

namespace vkt {

namespace {

AssignResult Fail(const QString &message) { return {false, message}; }

AssignResult OutsideGrid(const GridCells &g, int row, int column)
{
    return Fail(QStringLiteral("%1 has no cell [%2][%3] (rows 1 to %4, columns 1 to %5)")
                    .arg(QLatin1String(g.name.data(), qsizetype(g.name.size())))
                    .arg(row)
                    .arg(column)
                    .arg(g.rows - 1)
                    .arg(g.columns - 1));
}

bool Outside(const GridCells &g, int row, int column)
{
    return row < 1 || row >= g.rows || column < 1 || column >= g.columns;
}

QString Std(const std::string &text) { return QString::fromStdString(text); }

// ---- tone list -------------------------------------------------------------------

QString ToneListShown(const ProgramState &s, int row, int column)
{
    return Std(ToneListCellText(s.data, row, column));
}

AssignResult ToneListAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (Outside(kFiveToneListGridCells, row, column))
        return OutsideGrid(kFiveToneListGridCells, row, column);
    if (!ToneListCellEditable(row, column))
        return Fail(QStringLiteral("the tones of the standards are fixed; only rows %1 and %2 (the periods) take a text")
                        .arg(kTonePeriodRow)
                        .arg(kGapPeriodRow));
    const QString typed = TypedText(text, kPeriodRule);
    if (StorePeriodText(s.data, row, column, typed.toStdString()) == PeriodStore::OutOfRange)
        return Fail(QStringLiteral("%1 is not a %2 period (%3 to %4 ms); the stored periods are kept")
                        .arg(typed, row == kTonePeriodRow ? QStringLiteral("tone") : QStringLiteral("gap"))
                        .arg(row == kTonePeriodRow ? kTonePeriodMin : kGapPeriodMin)
                        .arg(kPeriodMax));
    return {};
}

// ---- systems -------------------------------------------------------------------------

QStringList StandardItems()
{
    QStringList items;
    for (const FiveToneStandard &st : kFiveToneStandards)
        items << QString::fromUtf8(st.name.data(), qsizetype(st.name.size()));
    return items;
}

QString SystemShown(const ProgramState &s, int row, int column)
{
    if (column == k5tColName) {
        const std::span<const std::uint8_t> name = FiveToneSystemNameBytes(s.data, row);
        return DecodeGbkField(name.data(), name.size());
    }
    return Std(FiveToneSystemCellText(s.data, row, column));
}

// A cell that changes by clicking is clicked until it shows `text`; a text
// it never shows leaves the record as it was.
AssignResult AssignClicks(ProgramState &s, int system, int column, const QString &text)
{
    const RadioData before = s.data;
    for (int clicks = 0; clicks <= 3; ++clicks) {
        if (SystemShown(s, system, column) == text)
            return {};
        if (!ClickFiveToneSystemCell(s.data, system, column))
            break;
    }
    s.data = before;
    const int entry = column - k5tColFirstDecode + 1;
    if (column >= k5tColFirstDecode && !FiveToneEntryDefined(s.data, FiveToneList::Decode, entry))
        return Fail(QStringLiteral("decode entry %1 has no code, so system %2 cannot decode it; give it a code first")
                        .arg(entry)
                        .arg(system));
    const QString shows = column == k5tColSequence ? QStringLiteral("\"Call\", \"ID-CALL\" or \"CALL-ID\"")
                          : column >= k5tColFirstDecode ? QStringLiteral("\"On\" or nothing")
                                                        : QStringLiteral("\"On\" or \"Off\"");
    return Fail(QStringLiteral("sgSystem_5T[%1][%2] shows only %3, never \"%4\"").arg(system).arg(column).arg(shows, text));
}

AssignResult SystemAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (Outside(kFiveToneSystemGridCells, row, column))
        return OutsideGrid(kFiveToneSystemGridCells, row, column);
    RadioData &d = s.data;
    // The row is redrawn as an editor opens: a call or ID naming an empty
    // encode entry becomes "Off" first.
    SettleFiveToneSystem(d, row);
    if (FiveToneSystemCellClicks(column))
        return AssignClicks(s, row, column, text);
    if (column == k5tColName) {
        constexpr std::size_t kNameBytes = sizeof(FiveToneSystem::name);
        StoreFiveToneSystemName(d, row, EncodeGbk(TypedText(text, kNameRule), kNameBytes));
        return {};
    }
    QStringList items;
    if (column == k5tColType) {
        items = StandardItems();
    } else {
        for (const std::string &item : FiveToneCodeItems(d))
            items << Std(item);
    }
    const int shows = column == k5tColType ? FiveToneStandardIndex(d, row) : FiveToneCodeIndex(d, row, column);
    const int index = ChosenListIndex(items, text, shows);
    if (index == -2)
        return NotAListItem(text, items);
    if (column == k5tColType)
        StoreFiveToneStandardIndex(d, row, index);
    else
        StoreFiveToneCodeIndex(d, row, column, index);
    return {};
}

// ---- decode and encode lists -------------------------------------------------------

QStringList DecodeTypeItems(std::uint8_t langType)
{
    QStringList items;
    for (int t : kDecodeTypeTexts)
        items << TextIn(TextTable::Main, t, langType);
    return items;
}

template <FiveToneList List>
QString CodeListShown(const ProgramState &s, int row, int column)
{
    if (column == kFiveToneCodeColumn)
        return Std(FiveToneEntryCode(s.data, List, row));
    const int type = List == FiveToneList::Decode && column == kDecodeTypeColumn ? DecodeTypeIndex(s.data, row) : -1;
    return type >= 0 ? DecodeTypeItems(TAppLang::instance().langType()).value(type) : QString();
}

template <FiveToneList List>
AssignResult CodeListAssign(ProgramState &s, int row, int column, const QString &text)
{
    const GridCells &g = List == FiveToneList::Decode ? kFiveToneDecodeGridCells : kFiveToneEncodeGridCells;
    if (Outside(g, row, column))
        return OutsideGrid(g, row, column);
    RadioData &d = s.data;
    if (column == kFiveToneCodeColumn) {
        StoreFiveToneEntryCode(d, List, row, TypedText(text, kFiveToneCodeRule).toStdString());
        // A call or ID naming an encode entry that no longer has a code is
        // "Off" from now on, as every system row then shows it.
        FiveToneRefreshStores(d);
        return {};
    }
    const QStringList items = DecodeTypeItems(TAppLang::English);
    const int index = ChosenListIndex(items, text, DecodeTypeIndex(d, row));
    if (index == -2)
        return NotAListItem(text, items);
    StoreDecodeTypeIndex(d, row, index);
    return {};
}

} // namespace

namespace {

// The standards' columns of the tone list (headed by the standards' names,
// only the period rows editable) and the decode columns of the systems
// (numbered headings) are described by their table's last entry.
constexpr GridColumn kToneListColumns5T[] = {{-1}, {-1, CellEditor::Text, &kPeriodRule}};
constexpr GridColumn kSystemColumns5T[] = {
    {kFiveToneHeadingTexts[k5tColNumber]},
    {kFiveToneHeadingTexts[k5tColName], CellEditor::Text, &kNameRule},
    {kFiveToneHeadingTexts[k5tColType], CellEditor::List},
    {kFiveToneHeadingTexts[k5tColCall], CellEditor::List},
    {kFiveToneHeadingTexts[k5tColId], CellEditor::List},
    {kFiveToneHeadingTexts[k5tColSequence], CellEditor::Toggle},
    {kFiveToneHeadingTexts[k5tColAutoReset], CellEditor::Toggle},
    {kFiveToneHeadingTexts[k5tColSubaudio], CellEditor::Toggle},
    {-1, CellEditor::Toggle}, // decode 1 to 16
};
static_assert(std::size(kSystemColumns5T) == k5tColFirstDecode + 1);
constexpr GridColumn kDecodeColumns5T[] = {{-1}, {-1, CellEditor::Text, &kFiveToneCodeRule}, {-1, CellEditor::List}};
constexpr GridColumn kEncodeColumns5T[] = {{-1}, {-1, CellEditor::Text, &kFiveToneCodeRule}};

} // namespace

const GridCells kFiveToneListGridCells = {"sg5Tone_List",       kFiveToneListRows, kFiveToneListColumns,
                                          ToneListShown,        ToneListAssign,    kToneListColumns5T,
                                          EditorGesture::DoubleClick};
const GridCells kFiveToneSystemGridCells = {"sgSystem_5T",       kFiveToneSystemRows, kFiveToneSystemColumns,
                                            SystemShown,         SystemAssign,        kSystemColumns5T,
                                            EditorGesture::DoubleClick};
const GridCells kFiveToneDecodeGridCells = {"sgDecode_5T",
                                            kFiveToneDecodeEntries + 1,
                                            kDecodeGridColumns,
                                            CodeListShown<FiveToneList::Decode>,
                                            CodeListAssign<FiveToneList::Decode>,
                                            kDecodeColumns5T,
                                            EditorGesture::DoubleClick};
const GridCells kFiveToneEncodeGridCells = {"sgEncode_5T",
                                            kFiveToneEncodeEntries + 1,
                                            kEncodeGridColumns,
                                            CodeListShown<FiveToneList::Encode>,
                                            CodeListAssign<FiveToneList::Encode>,
                                            kEncodeColumns5T,
                                            EditorGesture::DoubleClick};

} // namespace vkt
