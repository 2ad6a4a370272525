#include "channel_rows.h"

#include "channel_csv.h"
#include "codecs.h"
#include "field_texts.h"
#include "localisation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <string>
#include <utility>

namespace vkt {

namespace {

constexpr int kColumns = kColName + 1;
constexpr std::uint8_t kLanguages[] = {TAppLang::English, TAppLang::Simplified, TAppLang::Traditional};

QString Heading(int column) { return MainText(kChannelHeadingTexts[column]); }

QString JoinedLine(const QStringList &cells)
{
    std::vector<std::string> fields;
    fields.reserve(std::size_t(cells.size()));
    for (const QString &c : cells)
        fields.push_back(c.toStdString());
    return QString::fromStdString(JoinDelimited(fields, '\t')) + QLatin1Char('\n');
}

bool SameText(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The column a heading cell names, in any of the languages; -1 for none.
int ColumnOfHeading(const QString &cell)
{
    const QString t = cell.trimmed();
    if (t.isEmpty())
        return -1;
    for (int c = 0; c < kColumns; ++c)
        for (std::uint8_t lang : kLanguages)
            if (SameText(t, TextIn(TextTable::Main, kChannelHeadingTexts[c], lang).trimmed()))
                return c;
    return -1;
}

bool IsPlainNumber(const QString &t)
{
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The field of a record that holds each column; -1 where the text has none.
using ColumnMap = std::array<int, kColumns>;

// A first line is a heading line when it names at least one column and
// does not start with a channel number (a copied row always does).
std::optional<ColumnMap> HeadingMap(const std::vector<std::string> &fields)
{
    if (fields.empty() || IsPlainNumber(QString::fromStdString(fields[0]).trimmed()))
        return std::nullopt;
    ColumnMap map;
    map.fill(-1);
    bool any = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int c = ColumnOfHeading(QString::fromStdString(fields[i]));
        if (c >= 0 && map[c] < 0) { // the first of repeated headings counts
            map[c] = int(i);
            any = true;
        }
    }
    if (!any)
        return std::nullopt;
    return map;
}

struct Cell {
    bool present = false; // the text has this column for the row
    QString raw;          // as pasted
    QString text;         // without blanks around it
};
using RowCells = std::array<Cell, kColumns>;

// A frequency cell must read as megahertz by itself: the editor's key
// filter would drop a comma or a unit and leave another number than was
// meant ("145,5" as 1455 MHz).
bool ReadsAsFrequency(const QString &t) { return ParseMHzText(t.toStdString()).has_value(); }

// A tone cell as the tone box would hold it: d, n, i typed as D, N, I; any
// letter case of "off" is taken as Off.
QString ToneBoxText(const QString &t)
{
    if (SameText(t, QStringLiteral("off")))
        return QStringLiteral("Off");
    QString keyed = t;
    for (QChar &c : keyed)
        if (c.unicode() < 128)
            c = QLatin1Char(ToneBoxKey(char(c.unicode())));
    return keyed;
}

// The list position a cell names, in any of the languages; -1 for none.
int ListPosition(int column, unsigned system, const QString &text)
{
    const std::uint8_t active = TAppLang::instance().langType();
    for (std::uint8_t lang : {active, kLanguages[0], kLanguages[1], kLanguages[2]}) {
        const QStringList items = ChannelListItemsIn(column, system, lang);
        for (int i = 0; i < items.size(); ++i)
            if (SameText(items[i].trimmed(), text))
                return i;
    }
    return -1;
}

// Stores one row into channel `ch`; the reason when it is skipped (the
// channel then as it was).
std::optional<QString> PasteRow(ProgramState &s, int ch, const RowCells &cells)
{
    bool anyPresent = false, anyText = false;
    for (int c = kColRx; c < kColumns; ++c) {
        anyPresent = anyPresent || cells[c].present;
        anyText = anyText || (cells[c].present && !cells[c].text.isEmpty());
    }
    if (!anyPresent)
        return MainText(kTextPasteNothing);
    const Cell &rx = cells[kColRx];
    if (rx.present && !anyText) { // an empty row deletes the channel
        AssignChannelCell(s, ch, kColRx, QString());
        return std::nullopt;
    }

    RadioData &d = s.data;
    const ChannelEntry before = d.channels[ch];
    const bool wasInUse = IsChannelInUse(d, ch);
    auto skip = [&](QString reason) {
        d.channels[ch] = before;
        wasInUse ? SetChannelInUse(d, ch) : ClearChannelInUse(d, ch);
        return std::optional<QString>(std::move(reason));
    };
    // Each cell is stored unless the table shows its text already.
    auto store = [&](int column, const QString &text) {
        return text == ChannelCellText(d, ch, column) || AssignChannelCell(s, ch, column, text).ok;
    };

    if (rx.present) {
        if (rx.text.isEmpty())
            return skip(MainText(kTextPasteNoRx));
        if (!ReadsAsFrequency(rx.text) || !store(kColRx, rx.text))
            return skip(MainText(kTextPasteBadRx).arg(rx.text));
    } else if (!wasInUse) {
        return skip(MainText(kTextPasteNoRx));
    }
    if (const Cell &tx = cells[kColTx]; tx.present) {
        if ((!tx.text.isEmpty() && !ReadsAsFrequency(tx.text)) || !store(kColTx, tx.text))
            return skip(MainText(kTextPasteBadTx).arg(tx.text));
    }
    for (int column : {kColDecode, kColEncode}) {
        if (!cells[column].present)
            continue;
        // The tone box leaves a text it rejects without a word; a paste
        // says so.
        const QString tone = ToneBoxText(cells[column].text);
        if (!ParseToneText(tone.toStdString()) || !store(column, tone))
            return skip(MainText(kTextPasteBadTone).arg(cells[column].text));
    }
    // In column order: the signalling system before its number, whose list
    // depends on it.
    for (int column = kColPower; column <= kColSignalNumber; ++column) {
        const Cell &cell = cells[column];
        if (!cell.present || cell.text.isEmpty()) // an empty list cell chooses nothing
            continue;
        const unsigned system = SignalSystemOf(d.channels[ch]);
        const int position = ListPosition(column, system, cell.text);
        const QStringList shown = ChannelListItems(column, system);
        if (position < 0 || position >= shown.size())
            return skip(MainText(kTextPasteNoItem).arg(cell.text, Heading(column)));
        if (shown[position] == ChannelCellText(d, ch, column))
            continue;
        if (!AssignChannelCell(s, ch, column, QStringLiteral("#%1").arg(position)).ok)
            return skip(MainText(kTextPasteNoItem).arg(cell.text, Heading(column)));
    }
    if (cells[kColName].present)
        store(kColName, cells[kColName].raw);
    return std::nullopt;
}

} // namespace

QString CopyChannelRows(const RadioData &d, int firstChannel, int lastChannel)
{
    firstChannel = std::clamp(firstChannel, 1, kChannelCount);
    lastChannel = std::clamp(lastChannel, 1, kChannelCount);
    if (firstChannel > lastChannel)
        std::swap(firstChannel, lastChannel);
    QStringList cells;
    for (int c = 0; c < kColumns; ++c)
        cells << Heading(c);
    QString out = JoinedLine(cells);
    for (int ch = firstChannel; ch <= lastChannel; ++ch) {
        cells.clear();
        for (int c = 0; c < kColumns; ++c)
            cells << ChannelCellText(d, ch, c);
        out += JoinedLine(cells);
    }
    return out;
}

PasteReport PasteChannelRows(ProgramState &s, int firstChannel, const QString &text)
{
    PasteReport report;
    const QByteArray utf8 = text.toUtf8();
    if (std::size_t(utf8.size()) > kMaxPasteBytes) {
        report.error = MainText(kTextPasteTooLarge).arg(utf8.size());
        return report;
    }
    const std::vector<TextRecord> records =
        SplitDelimited(std::string_view(utf8.constData(), std::size_t(utf8.size())), '\t');
    if (records.empty())
        return report;

    ColumnMap map;
    std::size_t first = 0;
    if (const auto headings = HeadingMap(records[0].fields)) {
        map = *headings;
        first = 1;
    } else {
        for (int c = 0; c < kColumns; ++c)
            map[c] = c;
    }
    for (std::size_t r = first; r < records.size(); ++r) {
        const TextRecord &record = records[r];
        const long long target = (long long)firstChannel + (long long)(r - first);
        const int ch = int(std::clamp<long long>(target, INT_MIN, INT_MAX));
        if (target < 1 || target > kChannelCount) {
            report.skipped.push_back(
                {record.line, ch, MainText(kTextPastePastTable).arg(target).arg(kChannelCount)});
            continue;
        }
        RowCells cells;
        for (int c = kColRx; c < kColumns; ++c) {
            const int f = map[c];
            if (f < 0 || std::size_t(f) >= record.fields.size())
                continue;
            cells[c].present = true;
            cells[c].raw = QString::fromStdString(record.fields[std::size_t(f)]);
            cells[c].text = cells[c].raw.trimmed();
        }
        if (std::optional<QString> reason = PasteRow(s, ch, cells))
            report.skipped.push_back({record.line, ch, std::move(*reason)});
        else
            ++report.pasted;
    }
    return report;
}

QString PasteSkipText(const PasteSkip &skip)
{
    return MainText(kTextPasteLine).arg(QString::number(skip.line), QString::number(skip.channel), skip.reason);
}

QString PasteReportText(const PasteReport &report, int maxLines)
{
    if (!report.error.isEmpty())
        return report.error;
    QStringList lines{MainText(kTextPasteSummary).arg(report.pasted).arg(qsizetype(report.skipped.size()))};
    const std::size_t shown = std::min(report.skipped.size(), std::size_t(std::max(maxLines, 0)));
    for (std::size_t i = 0; i < shown; ++i)
        lines << PasteSkipText(report.skipped[i]);
    if (shown < report.skipped.size())
        lines << QStringLiteral("...");
    return lines.join(QLatin1Char('\n'));
}

} // namespace vkt
