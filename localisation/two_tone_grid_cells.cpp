// The cells of the two-tone page's grids: the systems ("sgSystem_2T") and
// the decode and encode lists ("sgDecode_2T", "sgEncode_2T"). The page
// draws its rows with these functions; `vkt410-cli get`/`set` read and type
// them the same way.
#include "channel_edit.h"
#include "field_texts.h"
#include "gbk_text.h"
#include "two_tone.h"

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

QString FromStd(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QStringList ToList(const std::vector<std::string> &items)
{
    QStringList list;
    for (const std::string &item : items)
        list << FromStd(item);
    return list;
}

// ---- systems -----------------------------------------------------------------

QString SystemShown(const ProgramState &s, int row, int column)
{
    if (column == k2tColName) {
        const std::span<const std::uint8_t> name = SystemNameBytes(s.data, row);
        return DecodeGbkField(name.data(), name.size());
    }
    return FromStd(SystemCellText(s.data, row, column));
}

// A toggle cell is double-clicked until it shows `text`.
AssignResult AssignToggle(RadioData &d, int system, int column, const QString &text)
{
    const QString on = FromStd(kOnText);
    const QString off = column >= k2tColFirstDecode ? QString() : FromStd(kOffText);
    if (text != on && text != off)
        return Fail(QStringLiteral("sgSystem_2T[%1][%2] shows only \"%3\" or \"%4\"")
                        .arg(system)
                        .arg(column)
                        .arg(on, off));
    if (text == FromStd(SystemCellText(d, system, column)))
        return {};
    if (!ToggleSystemCell(d, system, column))
        return Fail(QStringLiteral("decode entry %1 is empty, so system %2 cannot decode it; give it a tone A first")
                        .arg(column - k2tColFirstDecode + 1)
                        .arg(system));
    return {};
}

AssignResult SystemAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (row < 1 || row >= kSystemGridRows || column < 1 || column >= kSystemGridColumns)
        return OutsideGrid(kTwoToneSystemGridCells, row, column);
    RadioData &d = s.data;
    if (SystemCellToggles(column))
        return AssignToggle(d, row, column, text);
    switch (column) {
    case k2tColName: {
        constexpr std::size_t kNameBytes = sizeof(TwoToneSystem::name);
        StoreSystemName(d, row, EncodeGbk(TypedText(text, kNameRule), kNameBytes));
        break;
    }
    case k2tColType:
    case k2tColAutoResetTime:
    case k2tColCall: {
        // The call list is rebuilt as its editor opens, settling the call.
        SettleSystemRow(d, row);
        const QStringList items = ToList(SystemListItems(d, column));
        const int shows = column == k2tColType ? ToneSetIndex(d, row)
                          : column == k2tColCall ? CallIndex(d, d.twoToneSystems[row - 1].call)
                                                 : AutoResetTimeIndex(d, row);
        const int index = ChosenListIndex(items, text, shows);
        if (index == -2)
            return NotAListItem(text, items);
        if (column == k2tColType)
            StoreToneSetIndex(d, row, index);
        else if (column == k2tColCall)
            StoreSystemCallIndex(d, row, index);
        else
            StoreAutoResetTimeIndex(d, row, index);
        break;
    }
    default: {
        StoreSystemTimeText(d, row, column, TypedText(text, kTwoToneTimeRule).toStdString());
        break;
    }
    }
    SettleSystemRow(d, row);
    return {};
}

// ---- decode and encode lists ----------------------------------------------------

QStringList ToneItems()
{
    QStringList items;
    for (int i = 0; i < kToneItemCount; ++i)
        items << FromStd(ToneItemText(i));
    return items;
}

template <ToneList List>
QString ToneShown(const ProgramState &s, int row, int column)
{
    return FromStd(ToneCellText(s.data, List, row, column));
}

template <ToneList List>
AssignResult ToneAssign(ProgramState &s, int row, int column, const QString &text)
{
    const bool decode = List == ToneList::Decode;
    if (row < 1 || row > ToneListEntries(List) || column < 1 || column >= kToneListColumns)
        return OutsideGrid(decode ? kTwoToneDecodeGridCells : kTwoToneEncodeGridCells, row, column);
    RadioData &d = s.data;
    if (!ToneCellEditable(d, List, row, column))
        return Fail(QStringLiteral("%1 entry %2 has no tone A, so its tone B cannot be chosen; choose tone A first")
                        .arg(decode ? QStringLiteral("decode") : QStringLiteral("encode"))
                        .arg(row));
    const QStringList items = ToneItems();
    // The cell's "---" is the list's "Off".
    const int index = text == FromStd(kNoToneText) ? 0 : ChosenListIndex(items, text, ToneItemIndex(d, List, row, column));
    if (index == -2)
        return NotAListItem(text, items);
    if (StoreToneItem(d, List, row, column, index))
        for (int system = 1; system <= kTwoToneSystems; ++system)
            SettleSystemRow(d, system);
    SettleToneEntry(d, List, row);
    return {};
}

} // namespace

namespace {

// The decode columns after the tenth are described by the last entry; their
// headings are numbered by the page.
constexpr GridColumn kSystemColumns[] = {
    {kSystemHeadingTexts[0]},
    {kSystemHeadingTexts[k2tColName], CellEditor::Text, &kNameRule},
    {kSystemHeadingTexts[k2tColType], CellEditor::List},
    {kSystemHeadingTexts[k2tColCall], CellEditor::List},
    {kSystemHeadingTexts[k2tColToneATime], CellEditor::Text, &kTwoToneTimeRule},
    {kSystemHeadingTexts[k2tColToneBTime], CellEditor::Text, &kTwoToneTimeRule},
    {kSystemHeadingTexts[k2tColGroupTime], CellEditor::Text, &kTwoToneTimeRule},
    {kSystemHeadingTexts[k2tColAutoResetTime], CellEditor::List},
    {kSystemHeadingTexts[k2tColAutoReset], CellEditor::Toggle},
    {kSystemHeadingTexts[k2tColSubaudio], CellEditor::Toggle},
    {-1, CellEditor::Toggle}, // decode 1 to 16
};
static_assert(std::size(kSystemColumns) == k2tColFirstDecode + 1);
constexpr GridColumn kToneListColumns2T[] = {
    {kToneListHeadingTexts[0]},
    {kToneListHeadingTexts[kToneColumnA], CellEditor::List},
    {kToneListHeadingTexts[kToneColumnB], CellEditor::List},
};

} // namespace

const GridCells kTwoToneSystemGridCells = {"sgSystem_2T", kSystemGridRows, kSystemGridColumns,
                                           SystemShown,   SystemAssign,    kSystemColumns,
                                           EditorGesture::DoubleClick};
const GridCells kTwoToneDecodeGridCells = {"sgDecode_2T",
                                           kTwoToneDecodeEntries + 1,
                                           kToneListColumns,
                                           ToneShown<ToneList::Decode>,
                                           ToneAssign<ToneList::Decode>,
                                           kToneListColumns2T,
                                           EditorGesture::DoubleClick};
const GridCells kTwoToneEncodeGridCells = {"sgEncode_2T",
                                           kTwoToneEncodeEntries + 1,
                                           kToneListColumns,
                                           ToneShown<ToneList::Encode>,
                                           ToneAssign<ToneList::Encode>,
                                           kToneListColumns2T,
                                           EditorGesture::DoubleClick};

} // namespace vkt
