// The cells of the DTMF page's address book ("sgD_AddrBook") and of the FM
// page's memories ("sgFmMemory"): what they show, and what typing into
// their in-place editors and leaving them stores. The pages draw their
// rows with these functions; `vkt410-cli get`/`set` read and type them the
// same way.
#include "channel_edit.h"
#include "dtmf_edit.h"
#include "field_texts.h"
#include "fm_edit.h"
#include "gbk_text.h"
#include "localisation.h"

#include <string>
#include <vector>

namespace vkt {

namespace {

constexpr int kAddressBookGridRows = kAddressBookCount + 1; // with the heading row
constexpr int kAddressBookGridColumns = 3;                  // number, name, code
constexpr int kFmMemoryGridRows = kFmMemories + 1;
constexpr int kFmMemoryGridColumns = 2; // number, frequency

// "%1" cannot be read as a frequency... (the page shows it as well).
constexpr int kNotAFrequencyText = 360;

AssignResult Fail(const QString &message) { return {false, message}; }

AssignResult OutsideGrid(const char *grid, int row, int column, int rows, int columns)
{
    return Fail(QStringLiteral("%1 has no cell [%2][%3] (rows 1 to %4, columns 1 to %5)")
                    .arg(QLatin1String(grid))
                    .arg(row)
                    .arg(column)
                    .arg(rows - 1)
                    .arg(columns - 1));
}

// ---- address book ----------------------------------------------------------

QString AddressShown(const ProgramState &s, int row, int column) { return AddressBookCellText(s.data, row, column); }

AssignResult AddressAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (row < 1 || row >= kAddressBookGridRows || column < 1 || column >= kAddressBookGridColumns)
        return OutsideGrid("sgD_AddrBook", row, column, kAddressBookGridRows, kAddressBookGridColumns);
    if (column == 1) {
        // The name editor: its key filter, then at most 6 GBK bytes.
        const std::vector<std::uint8_t> name = EncodeGbk(TypedText(text, kNameRule), kAddressNameBytes);
        StoreAddressName(s.data, row, name);
        return {};
    }
    if (!AddressCodeEditable(s.data, row))
        return Fail(QStringLiteral("entry %1 shows no name, so its code cannot be edited; give it a name (column 1) first")
                        .arg(row));
    // The code editor: its key filter and corrections after every key.
    StoreAddressCode(s.data, row, TypedText(text, kDtmfCodeRule).toStdString());
    return {};
}

// ---- FM memories -----------------------------------------------------------

QString FmShown(const ProgramState &s, int row, int) { return FmMemoryCellText(s.data, row); }

AssignResult FmAssign(ProgramState &s, int row, int column, const QString &text)
{
    if (row < 1 || row >= kFmMemoryGridRows || column != 1)
        return OutsideGrid("sgFmMemory", row, column, kFmMemoryGridRows, kFmMemoryGridColumns);
    const std::string typed = TypedText(text, kFmFrequencyRule).toStdString();
    if (StoreFmMemoryText(s.data, row, typed) == FmStore::NotAFrequency)
        return Fail(TextIn(TextTable::Main, kNotAFrequencyText, TAppLang::English).arg(QString::fromStdString(typed)));
    return {};
}

} // namespace

QString AddressBookCellText(const RadioData &d, int entry, int column)
{
    if (entry < 1 || entry > kAddressBookCount)
        return {};
    switch (column) {
    case 0: return QString::number(entry);
    case 1: {
        const std::span<const std::uint8_t> name = AddressNameBytes(d, entry);
        return name.empty() ? QString() : DecodeGbkField(name.data(), name.size());
    }
    case 2: return QString::fromStdString(AddressCodeText(d, entry));
    default: return {};
    }
}

QString FmMemoryCellText(const RadioData &d, int memory) { return QString::fromStdString(FmMemoryText(d, memory)); }

QString CutToGbkBytes(const QString &text, std::size_t bytes)
{
    QString t = text;
    while (!t.isEmpty() && EncodeGbk(t, 4 * std::size_t(t.size()) + 4).size() > bytes)
        t.chop(t.size() >= 2 && t.back().isLowSurrogate() ? 2 : 1);
    return t;
}

namespace {

constexpr GridColumn kAddressBookColumns[kAddressBookGridColumns] = {
    {147},                                   // "NO."
    {148, CellEditor::Text, &kNameRule},     // "Name"
    {149, CellEditor::Text, &kDtmfCodeRule}, // "Digit"
};
constexpr GridColumn kFmMemoryColumns[kFmMemoryGridColumns] = {
    {147},                                      // "NO."
    {221, CellEditor::Text, &kFmFrequencyRule}, // "Frequency"
};

} // namespace

const GridCells kAddressBookGridCells = {"sgD_AddrBook", kAddressBookGridRows, kAddressBookGridColumns,
                                         AddressShown,   AddressAssign,        kAddressBookColumns,
                                         EditorGesture::Press};
const GridCells kFmMemoryGridCells = {"sgFmMemory", kFmMemoryGridRows, kFmMemoryGridColumns, FmShown,
                                      FmAssign,     kFmMemoryColumns,  EditorGesture::Press};

} // namespace vkt
