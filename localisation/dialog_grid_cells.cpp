// The cells of the two grids of the options page's dialogs: the automatic
// repeater-offset table ("sgAutoOffset") and the power-on message lines
// ("sgOpenMsgDefine"). The dialogs draw their cells with these functions;
// `vkt410-cli get`/`set` read and type them the same way.
#include "channel_edit.h"
#include "field_texts.h"
#include "gbk_text.h"
#include "localisation.h"
#include "message_lines.h"
#include "offset_table.h"

#include <span>

namespace vkt {

namespace {

// "%1" cannot be read as a frequency... (the windows show it as well).
constexpr int kNotAFrequencyText = 360;

AssignResult Fail(const QString &message) { return {false, message}; }

AssignResult NoCell(std::string_view grid, int row, int column)
{
    return Fail(QStringLiteral("%1 has no cell %2,%3").arg(QLatin1String(grid.data(), qsizetype(grid.size())))
                    .arg(row)
                    .arg(column));
}

// A list cell's choice as the CLI names it: an item as the English
// interface shows it, "#N" for position N, or empty for leaving the list
// without a selection (-1). -2: none of these.
int ChosenIndex(const QStringList &items, const QString &text)
{
    if (text.isEmpty())
        return -1;
    if (text.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const int n = text.mid(1).toInt(&ok);
        return ok && n >= 0 && n < items.size() && text.size() > 1 && text[1].isDigit() ? n : -2;
    }
    const int i = int(items.indexOf(text));
    return i >= 0 ? i : -2;
}

AssignResult NotAnItem(const QString &text, const QStringList &items)
{
    return Fail(QStringLiteral("\"%1\" is not an item of the list (%2, or #0 to #%3)")
                    .arg(text, items.join(QStringLiteral(", ")))
                    .arg(items.size() - 1));
}

// ---- automatic repeater-offset table -------------------------------------

QStringList DirectionItems()
{
    QStringList items;
    for (std::string_view t : kDirectionItems)
        items << QString::fromLatin1(t.data(), qsizetype(t.size()));
    return items;
}

QString OffsetShown(const ProgramState &s, int row, int column)
{
    return QString::fromStdString(OffsetCellText(s.data, row, column));
}

AssignResult OffsetAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (row < 1 || row >= kOffsetGridRows || column < 1 || column >= kOffsetGridColumns)
        return NoCell("sgAutoOffset", row, column);
    // The window empties the entries that are not in use when it shows the
    // table, before any cell can be edited.
    ClearUnusedOffsetRows(s.data);
    if (!OffsetCellEditable(s.data, row, column))
        return Fail(QStringLiteral("entry %1 is not in use: give it a \"From\" frequency first").arg(row));
    if (column == kOffColDirection) {
        const QStringList items = DirectionItems();
        const int index = ChosenIndex(items, text);
        if (index == -2)
            return NotAnItem(text, items);
        StoreOffsetDirectionIndex(s.data, row, index);
        return {};
    }
    const std::string typed = TypedText(text, kOffsetFrequencyRule).toStdString();
    if (StoreOffsetFreqText(s.data, s.limits, row, column, typed) == OffsetStore::NotAFrequency)
        return Fail(TextIn(TextTable::Main, kNotAFrequencyText, TAppLang::English)
                        .arg(QString::fromStdString(typed)));
    return {};
}

// ---- power-on message lines ------------------------------------------------

// The items of a list column in one language (0: the active one).
QStringList MessageItems(int column, std::uint8_t langType)
{
    QStringList items;
    if (column == kMsgColLine) {
        for (int n = 1; n <= kMessagePositions; ++n)
            items << QString::number(n);
        return items;
    }
    const std::span<const int> texts = column == kMsgColFont ? std::span<const int>(kFontItemTexts)
                                                             : std::span<const int>(kAlignmentItemTexts);
    for (int t : texts)
        items << (langType ? TextIn(TextTable::Main, t, langType) : MainText(t));
    return items;
}

QString MessageShown(const ProgramState &s, int row, int column)
{
    if (column == kMsgColContent) {
        const std::span<const std::uint8_t> bytes = MessageTextBytes(s.data, row);
        return DecodeGbkField(bytes.data(), bytes.size());
    }
    const int index = MessageListIndex(s.data, row, column);
    return index < 0 ? QString() : MessageItems(column, 0).value(index);
}

AssignResult MessageAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (row < 1 || row >= kMessageGridRows || column < 1 || column >= kMessageGridColumns)
        return NoCell("sgOpenMsgDefine", row, column);
    if (column == kMsgColContent) {
        // Typed one character after another, each cut as the editor does.
        const QString typed = TypedText(text, kMessageTextRule);
        const std::vector<std::uint8_t> bytes = EncodeGbk(typed, kMessageTextBytes);
        StoreMessageText(s.data, row, bytes);
        return {};
    }
    const QStringList english = MessageItems(column, TAppLang::English);
    const int index = ChosenIndex(english, text);
    if (index == -2)
        return NotAnItem(text, english);
    StoreMessageListIndex(s.data, row, column, index);
    return {};
}

} // namespace

QString CutMessageText(const QString &text)
{
    QString t = text;
    while (!t.isEmpty() && EncodeGbk(t, 4 * kMessageTextBytes).size() > kMessageTextBytes)
        t.chop(t.size() >= 2 && t.back().isLowSurrogate() ? 2 : 1);
    return t;
}

namespace {

// Headings with their units are written by the window (-1).
constexpr GridColumn kOffsetColumns[] = {
    {},
    {-1, CellEditor::Text, &kOffsetFrequencyRule}, // from
    {-1, CellEditor::Text, &kOffsetFrequencyRule}, // to
    {-1, CellEditor::List},                        // direction
    {-1, CellEditor::Text, &kOffsetFrequencyRule}, // offset
};
static_assert(std::size(kOffsetColumns) == kOffsetGridColumns);
constexpr GridColumn kMessageColumns[] = {
    {},
    {kMessageHeadingTexts[0], CellEditor::List},
    {kMessageHeadingTexts[1], CellEditor::List},
    {kMessageHeadingTexts[2], CellEditor::List},
    {kMessageHeadingTexts[3], CellEditor::Text, &kMessageTextRule},
};
static_assert(std::size(kMessageColumns) == kMessageGridColumns);

} // namespace

const GridCells kAutoOffsetGridCells = {"sgAutoOffset", kOffsetGridRows, kOffsetGridColumns, OffsetShown,
                                        OffsetAssign,   kOffsetColumns,  EditorGesture::Press};
const GridCells kOpenMsgGridCells = {"sgOpenMsgDefine", kMessageGridRows, kMessageGridColumns, MessageShown,
                                     MessageAssign,     kMessageColumns,  EditorGesture::Press};

} // namespace vkt
