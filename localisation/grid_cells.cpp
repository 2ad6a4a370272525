// The channel table's cells as the channel page shows them, what typing or
// choosing a text in each column's in-place editor stores, and the list of
// every grid by name.
#include "field_texts.h"

#include "channel_csv_texts.h"
#include "channel_rows.h"
#include "channel_edit.h"
#include "codecs.h"
#include "gbk_text.h"
#include "localisation.h"

#include <initializer_list>
#include <string>

namespace vkt {

namespace {

constexpr int kGridRows = kChannelCount + 1; // with the heading row
constexpr int kGridColumns = kColName + 1;  // with the number column

bool IsListColumn(int column) { return column >= kColPower && column <= kColSignalNumber; }

QStringList MainTexts(std::initializer_list<int> numbers, std::uint8_t langType)
{
    QStringList items;
    for (int n : numbers)
        items << TextIn(TextTable::Main, n, langType);
    return items;
}

// The items of a list column's editor in a language (TAppLang type); the
// signalling-number list holds "1" to "N" for `system`.
QStringList ListItems(int column, unsigned system, std::uint8_t langType)
{
    switch (column) {
    case kColPower: return MainTexts({27, 192, 26}, langType);         // Low, Mid, High
    case kColBandwidth: return MainTexts({29, 28}, langType);          // Narrow, Wide
    case kColScan: return MainTexts({31, 30}, langType);               // DEL, ADD
    case kColBusy: return MainTexts({32, 34, 33}, langType);           // OFF, DQT, CAT
    case kColSignalSystem:
        return MainTexts({75}, langType) << QStringLiteral("DTMF") << QStringLiteral("2-TONE")
                                         << QStringLiteral("5-TONE");
    case kColSignalNumber: {
        QStringList items;
        for (int n = 1; n <= SignalNumberCount(system); ++n)
            items << QString::number(n);
        return items;
    }
    default: return {};
    }
}

// The item a list column's cell shows for the stored value; -1 for an
// empty cell. Power code 3 has no list entry but shows "Mid" like code 2.
int CellItem(const ChannelEntry &e, int column)
{
    switch (column) {
    case kColPower: return PowerOf(e) == 3 ? PowerListIndex(kPowerMid) : PowerListIndex(PowerOf(e));
    case kColBandwidth: return WideOf(e) ? 1 : 0;
    case kColScan: return ScanAddOf(e) ? 1 : 0;
    case kColBusy: return BusyListIndex(BusyLockOf(e));
    case kColSignalSystem: return SignalSystemListIndex(SignalSystemOf(e));
    case kColSignalNumber: return SignalNumberListIndex(e);
    default: return -1;
    }
}

AssignResult Failed(QString error) { return {false, std::move(error)}; }

// The N of "#N": plain decimal digits; -1 for anything else.
int PositionOf(const QString &digits)
{
    if (digits.isEmpty() || digits.size() > 6)
        return -1;
    int n = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

// The frequency editor of columns 1 and 2: key filter and corrections as
// typed, then leaving it.
AssignResult AssignFrequency(ProgramState &s, int ch, int column, const QString &text)
{
    const std::string typed = TypedText(text, kChannelFrequencyRule).toStdString();
    if (!typed.empty() && !ParseMHzText(typed))
        return Failed(TextIn(TextTable::Main, 360, TAppLang::English).arg(QString::fromStdString(typed)));
    if (column == kColRx)
        StoreRxText(s.data, s.limits, ch, typed);
    else
        StoreTxText(s.data, s.limits, ch, typed);
    return {};
}

// The tone box of columns 3 and 4: d, n and i typed as D, N and I; a text
// that is not a tone leaves the stored tone as it was.
AssignResult AssignTone(ProgramState &s, int ch, int column, const QString &text)
{
    const std::string typed = TypedText(text, kToneTextRule).toStdString();
    StoreToneText(s.data, ch, column == kColEncode, typed);
    return {};
}

// The name editor: key filter, then at most 6 GBK bytes (a character that
// does not fit is removed as it is typed), then leaving it.
AssignResult AssignName(ProgramState &s, int ch, const QString &text)
{
    const NameBytes name = TypedNameBytes(text);
    StoreNameBytes(s.data, ch, name.bytes.data(), name.bytes.size());
    return {};
}

// A list editor: an English item text, "#N" for position N, or empty for
// leaving the list without choosing.
AssignResult AssignListItem(ProgramState &s, int ch, int column, const QString &text)
{
    const ChannelEntry &e = s.data.channels[ch];
    const unsigned system = SignalSystemOf(e);
    if (column == kColSignalNumber && SignalNumberCount(system) == 0)
        return Failed(QStringLiteral("channel %1 has no signalling system, so it has no number to choose").arg(ch));
    const QStringList items = ListItems(column, system, TAppLang::English);
    int index = -1;
    if (text.startsWith(QLatin1Char('#'))) {
        index = PositionOf(text.mid(1));
        if (index < 0 || index >= items.size())
            return Failed(QStringLiteral("the list has no position %1 (positions #0 to #%2)")
                              .arg(text)
                              .arg(items.size() - 1));
    } else if (!text.isEmpty()) {
        index = int(items.indexOf(text));
        if (index < 0)
            return Failed(QStringLiteral("\"%1\" is not an item of the list (%2)").arg(text, items.join(", ")));
    }
    RadioData &d = s.data;
    switch (column) {
    case kColPower: StorePowerIndex(d, ch, index); break;
    case kColBandwidth: StoreBandwidthIndex(d, ch, index); break;
    case kColScan: StoreScanIndex(d, ch, index); break;
    case kColBusy: StoreBusyIndex(d, ch, index); break;
    case kColSignalSystem: StoreSignalSystemIndex(d, ch, index); break;
    case kColSignalNumber: StoreSignalNumberIndex(d, ch, index); break;
    default: break;
    }
    return {};
}

QString ChannelGridShown(const ProgramState &s, int row, int column) { return ChannelCellText(s.data, row, column); }

AssignResult ChannelGridAssign(ProgramState &s, int row, int column, const QString &text)
{
    return AssignChannelCell(s, row, column, text);
}

constexpr GridColumn kChannelColumns[kGridColumns] = {
    {kChannelHeadingTexts[kColNumber]},
    {kChannelHeadingTexts[kColRx], CellEditor::Text, &kChannelFrequencyRule},
    {kChannelHeadingTexts[kColTx], CellEditor::Text, &kChannelFrequencyRule},
    {kChannelHeadingTexts[kColDecode], CellEditor::Tone, &kToneTextRule},
    {kChannelHeadingTexts[kColEncode], CellEditor::Tone, &kToneTextRule},
    {kChannelHeadingTexts[kColPower], CellEditor::List},
    {kChannelHeadingTexts[kColBandwidth], CellEditor::List},
    {kChannelHeadingTexts[kColScan], CellEditor::List},
    {kChannelHeadingTexts[kColBusy], CellEditor::List},
    {kChannelHeadingTexts[kColSignalSystem], CellEditor::List},
    {kChannelHeadingTexts[kColSignalNumber], CellEditor::List},
    {kChannelHeadingTexts[kColName], CellEditor::Text, &kNameRule},
};

} // namespace

const GridCells kChannelGridCells = {"StringGrid1", kGridRows,         kGridColumns,          &ChannelGridShown,
                                     &ChannelGridAssign, kChannelColumns, EditorGesture::Press};

QStringList ChannelListItems(int column, unsigned system)
{
    return ListItems(column, system, TAppLang::instance().langType());
}

QStringList ChannelListItemsIn(int column, unsigned system, std::uint8_t langType)
{
    return ListItems(column, system, langType);
}

QString ChannelCellText(const RadioData &d, int ch, int column)
{
    if (ch < 1 || ch > kChannelCount || column < kColNumber || column > kColName)
        return {};
    if (column == kColNumber)
        return QString::number(ch);
    if (!IsChannelInUse(d, ch))
        return {};
    const ChannelEntry &e = d.channels[ch];
    switch (column) {
    case kColRx: return QString::fromStdString(ChannelFreqText(e.rxFreq));
    case kColTx: return QString::fromStdString(ChannelFreqText(e.txFreq));
    case kColDecode: return QString::fromStdString(ToneText({e.decodeCode, e.decodeType}));
    case kColEncode: return QString::fromStdString(ToneText({e.encodeCode, e.encodeType}));
    case kColName: return DecodeGbkField(e.name, sizeof e.name);
    default: {
        const QStringList items = ChannelListItems(column, SignalSystemOf(e));
        const int item = CellItem(e, column);
        return item >= 0 && item < items.size() ? items[item] : QString();
    }
    }
}

AssignResult AssignChannelCell(ProgramState &s, int ch, int column, const QString &text)
{
    if (ch < 1 || ch > kChannelCount || column < kColRx || column > kColName)
        return Failed(QStringLiteral("the channel table has no cell [%1][%2] (rows 1 to %3, columns 1 to %4)")
                          .arg(ch)
                          .arg(column)
                          .arg(kChannelCount)
                          .arg(kColName));
    // Only the receive frequency of an empty row opens an editor (typing
    // one creates the channel).
    if (column != kColRx && !IsChannelInUse(s.data, ch))
        return Failed(QStringLiteral("channel %1 is not in use; type its receive frequency (column 1) first").arg(ch));
    if (column == kColRx || column == kColTx)
        return AssignFrequency(s, ch, column, text);
    if (column == kColDecode || column == kColEncode)
        return AssignTone(s, ch, column, text);
    if (IsListColumn(column))
        return AssignListItem(s, ch, column, text);
    return AssignName(s, ch, text);
}

std::span<const GridCells> AllGrids()
{
    // Built on first use: the dialogs' grids are defined in another file.
    // In page order: the channel table, the options page's two windows,
    // DTMF, two-tone, FM.
    static const GridCells grids[] = {
        kChannelGridCells,        kAutoOffsetGridCells,     kOpenMsgGridCells,        kAddressBookGridCells,
        kTwoToneSystemGridCells,  kTwoToneDecodeGridCells,  kTwoToneEncodeGridCells,  kFiveToneListGridCells,
        kFiveToneSystemGridCells, kFiveToneDecodeGridCells, kFiveToneEncodeGridCells, kFmMemoryGridCells};
    return grids;
}

const GridCells *FindGrid(std::string_view name)
{
    for (const GridCells &g : AllGrids())
        if (g.name == name)
            return &g;
    return nullptr;
}

} // namespace vkt
