#include "channel_csv.h"

#include "codecs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace vkt {

// ---- delimited text --------------------------------------------------------

std::vector<TextRecord> SplitDelimited(std::string_view text, char delimiter)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<TextRecord> records;
    TextRecord record;
    std::string field;
    int line = 1;
    bool inRecord = false; // something of the record was seen (a field or a delimiter)
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto endRecord = [&] {
        if (inRecord) {
            record.fields.push_back(std::move(field));
            records.push_back(std::move(record));
        }
        record = TextRecord{};
        field.clear();
        inRecord = false;
    };
    while (i < n) {
        const char c = text[i];
        if (!inRecord)
            record.line = line;
        if (c == '"' && field.empty()) {
            // A quoted field, up to its closing quote.
            inRecord = true;
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n')
                    ++line;
                else if (text[i] == '\r' && !(i + 1 < n && text[i + 1] == '\n'))
                    ++line;
                field.push_back(text[i++]);
            }
            continue;
        }
        if (c == delimiter) {
            inRecord = true;
            record.fields.push_back(std::move(field));
            field.clear();
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            endRecord();
            ++line;
            continue;
        }
        inRecord = true;
        field.push_back(c);
        ++i;
    }
    endRecord();
    return records;
}

std::string JoinDelimited(const std::vector<std::string> &fields, char delimiter)
{
    std::string out;
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (f)
            out.push_back(delimiter);
        const std::string &s = fields[f];
        const bool quote = s.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string::npos ||
                           (!s.empty() && (s.front() == ' ' || s.back() == ' '));
        if (!quote) {
            out += s;
            continue;
        }
        out.push_back('"');
        for (char c : s) {
            if (c == '"')
                out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    return out;
}

// ---- values ------------------------------------------------------------

namespace {

constexpr const char *kColumns[] = {
    "Location", "Name",     "Frequency", "Duplex",   "Offset",    "Tone",         "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power",    "Comment",   "URCALL",   "RPT1CALL",  "RPT2CALL",     "DVCODE",
    "BusyLock", "SignalSystem", "SignalNumber", "Scrambling",
};
enum Col : int {
    cLocation, cName, cFrequency, cDuplex, cOffset, cTone, cRTone, cCTone, cDtcs, cPolarity, cRxDtcs,
    cCross, cMode, cStep, cSkip, cPower, cComment, cUrcall, cRpt1, cRpt2, cDvcode, cBusy, cSystem,
    cNumber, cScrambling, cColumnCount
};
static_assert(std::size(kColumns) == cColumnCount);

constexpr const char *kBusyTexts[] = {"OFF", "DQT", "CAT"};
constexpr const char *kSystemTexts[] = {"OFF", "DTMF", "2-TONE", "5-TONE"};
constexpr unsigned kScramblingLevels = 5;
constexpr std::uint32_t kBandBoundary = 200000000; // VHF below, UHF from here

std::string Format(const char *format, unsigned a, unsigned b)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, a, b);
    return buf;
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameWord(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

// Position of `text` among `words` (compared without case), -1 when none.
template <std::size_t N>
int WordIndex(std::string_view text, const char *const (&words)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (SameWord(text, words[i]))
            return int(i);
    return -1;
}

std::optional<unsigned> PlainNumber(std::string_view s, unsigned max)
{
    if (s.empty() || s.size() > 9)
        return std::nullopt;
    unsigned v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + unsigned(c - '0');
    }
    if (v > max)
        return std::nullopt;
    return v;
}

bool InReceiveBand(std::uint32_t hz, const BandLimits &l)
{
    return (hz >= l.vhfRxMin && hz <= l.vhfRxMax) || (hz >= l.uhfRxMin && hz <= l.uhfRxMax);
}

// A CTCSS value in hertz ("88.5", "100", "100.00") as tenths; the tone box's
// range, 30.0 to 260.0 Hz.
std::optional<Tone> CtcssFromText(std::string_view s)
{
    const std::size_t point = s.find('.');
    const auto whole = PlainNumber(s.substr(0, point), 9999);
    if (!whole)
        return std::nullopt;
    unsigned tenths = *whole * 10;
    if (point != std::string_view::npos) {
        const std::string_view frac = s.substr(point + 1);
        if (frac.empty() || frac.size() > 6 || !std::all_of(frac.begin(), frac.end(), [](char c) {
                return c >= '0' && c <= '9';
            }))
            return std::nullopt;
        // Tones come in tenths of a hertz: further digits must be zero.
        if (frac.find_first_not_of('0', 1) != std::string_view::npos)
            return std::nullopt;
        tenths += unsigned(frac[0] - '0');
    }
    if (tenths < 300 || tenths > 2600)
        return std::nullopt;
    return Tone{std::uint16_t(tenths), kToneCtcss};
}

// A DCS code ("023", "23") with its polarity letter (N normal, R inverted).
std::optional<Tone> DcsFromText(std::string_view s, char polarity)
{
    if (s.empty() || s.size() > 3 || (polarity != 'N' && polarity != 'R'))
        return std::nullopt;
    unsigned v = 0;
    for (char c : s) {
        if (c < '0' || c > '7')
            return std::nullopt;
        v = v * 8 + unsigned(c - '0');
    }
    return Tone{std::uint16_t(0x2800 + v), polarity == 'R' ? kToneDcsI : kToneDcsN};
}

std::string CtcssText(const Tone &t) { return Format("%u.%u", t.code / 10u, t.code % 10u); }

std::string DcsText(const Tone &t)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03o", unsigned(t.code) & 0777u);
    return buf;
}

// As the channel table shows tones: code 0 and 0xFFFF are no tone whatever
// the type, and a DCS code is the octal value of its low nine bits.
bool HasCode(const Tone &t) { return t.code != 0 && t.code != 0xFFFF; }
bool IsCtcss(const Tone &t) { return HasCode(t) && t.type == kToneCtcss; }
bool IsDcs(const Tone &t) { return HasCode(t) && (t.type == kToneDcsN || t.type == kToneDcsI); }
char PolarityLetter(const Tone &t) { return t.type == kToneDcsI ? 'R' : 'N'; }

std::string WattsText(double w)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1fW", w);
    return buf;
}

// ---- export ----------------------------------------------------------------

std::vector<std::string> ChannelRow(const RadioData &d, int ch, const NameCodec &names)
{
    const ChannelEntry &e = d.channels[ch];
    std::vector<std::string> f(cColumnCount);
    f[cLocation] = std::to_string(ch);
    f[cName] = names.decode ? names.decode(e.name, FieldTextLength(e.name, sizeof e.name)) : std::string();
    const std::uint32_t rx = e.rxFreq, tx = e.txFreq;
    f[cFrequency] = CsvMHzText(rx);
    if (tx == 0) {
        f[cDuplex] = "off";
        f[cOffset] = CsvMHzText(0);
    } else if (tx == rx) {
        f[cOffset] = CsvMHzText(0);
    } else if ((rx < kBandBoundary) == (tx < kBandBoundary)) {
        f[cDuplex] = tx > rx ? "+" : "-";
        f[cOffset] = CsvMHzText(tx > rx ? tx - rx : rx - tx);
    } else {
        f[cDuplex] = "split";
        f[cOffset] = CsvMHzText(tx);
    }

    // Transmit is the encode tone, receive the decode tone.
    const Tone txTone{e.encodeCode, e.encodeType};
    const Tone rxTone{e.decodeCode, e.decodeType};
    const bool txCt = IsCtcss(txTone), rxCt = IsCtcss(rxTone);
    const bool txDcs = IsDcs(txTone), rxDcs = IsDcs(rxTone);
    const bool txOff = !txCt && !txDcs, rxOff = !rxCt && !rxDcs;
    std::string txCtcss = "88.5", rxCtcss = "88.5", txDcsCode = "023", rxDcsCode = "023", cross = "Tone->Tone";
    std::string mode;
    if (txOff && rxOff) {
    } else if (txCt && rxOff) {
        mode = "Tone";
        txCtcss = CtcssText(txTone);
    } else if (txCt && rxCt && txTone.code == rxTone.code) {
        mode = "TSQL";
        rxCtcss = CtcssText(rxTone);
    } else if (txDcs && rxDcs && (txTone.code & 0777) == (rxTone.code & 0777)) {
        mode = "DTCS";
        txDcsCode = DcsText(txTone);
    } else {
        mode = "Cross";
        if (txCt)
            txCtcss = CtcssText(txTone);
        if (txDcs)
            txDcsCode = DcsText(txTone);
        if (rxCt)
            rxCtcss = CtcssText(rxTone);
        if (rxDcs)
            rxDcsCode = DcsText(rxTone);
        cross = std::string(txCt ? "Tone" : txDcs ? "DTCS" : "") + "->" + (rxCt ? "Tone" : rxDcs ? "DTCS" : "");
    }
    f[cTone] = mode;
    f[cRTone] = txCtcss;
    f[cCTone] = rxCtcss;
    f[cDtcs] = txDcsCode;
    f[cPolarity] = std::string{txDcs ? PolarityLetter(txTone) : 'N', rxDcs ? PolarityLetter(rxTone) : 'N'};
    f[cRxDtcs] = rxDcsCode;
    f[cCross] = cross;
    f[cMode] = WideOf(e) ? "FM" : "NFM";
    f[cStep] = rx % 5000 == 0 ? "5.00" : rx % 6250 == 0 ? "6.25" : "2.50";
    f[cSkip] = ScanAddOf(e) ? "" : "S";
    const unsigned power = PowerOf(e);
    f[cPower] = WattsText(power == kPowerHigh ? kHighWatts : power == kPowerLow ? kLowWatts : kMidWatts);
    const unsigned busy = BusyLockOf(e);
    f[cBusy] = busy < std::size(kBusyTexts) ? kBusyTexts[busy] : "";
    const unsigned system = SignalSystemOf(e);
    f[cSystem] = system < std::size(kSystemTexts) ? kSystemTexts[system] : "";
    f[cNumber] = std::to_string(SignalIndexOf(e) + 1);
    const unsigned scrambling = ScramblingOf(e);
    f[cScrambling] = scrambling == 0 ? "OFF" : std::to_string(scrambling);
    return f;
}

// ---- import ----------------------------------------------------------------

// The columns of a file: for each known column, its position in the
// file's records (-1 when the file has none).
struct ColumnMap {
    int at[cColumnCount];
    std::size_t headerFields = 0;
};

class RowReader {
public:
    RowReader(const TextRecord &r, const ColumnMap &m) : r_(r), m_(m) {}
    std::string_view text(Col c) const
    {
        const int i = m_.at[c];
        return i >= 0 && std::size_t(i) < r_.fields.size() ? Trimmed(r_.fields[std::size_t(i)]) : std::string_view();
    }
    const std::string &raw(Col c) const
    {
        static const std::string none;
        const int i = m_.at[c];
        return i >= 0 && std::size_t(i) < r_.fields.size() ? r_.fields[std::size_t(i)] : none;
    }

private:
    const TextRecord &r_;
    const ColumnMap &m_;
};

// What a row says for the report before its line and channel are added:
// why it is skipped, or a change it was taken with.
struct RowNote {
    CsvNoteKind kind;
    std::string a, b;
};

// Reads the tone value of `column` into `tone`: a DCS code with its
// polarity letter, or a CTCSS value when `polarity` is 0. False, with the
// reason, when the text is no tone the radio can use.
bool ReadTone(const RowReader &row, Col column, char polarity, Tone &tone, RowNote &why)
{
    const std::string_view text = row.text(column);
    const std::optional<Tone> t = polarity ? DcsFromText(text, polarity) : CtcssFromText(text);
    if (!t) {
        why = {CsvNoteKind::BadTone, kColumns[column], std::string(text)};
        return false;
    }
    tone = *t;
    return true;
}

// Reads one row into `e` (a copy of the channel it replaces). Returns false
// with `why` when the row is skipped.
bool ReadRow(const RowReader &row, ChannelEntry &e, const BandLimits &limits, const NameCodec &names,
             std::vector<RowNote> &notes, RowNote &why)
{
    // Receive frequency.
    const std::string_view rxText = row.text(cFrequency);
    const auto rxRead = ParseMHzText(rxText);
    if (!rxRead) {
        why = {CsvNoteKind::BadNumber, kColumns[cFrequency], std::string(rxText)};
        return false;
    }
    if (!InReceiveBand(*rxRead, limits)) {
        why = {CsvNoteKind::RxOutOfBand, std::string(rxText), {}};
        return false;
    }
    const std::uint32_t rx = LimitToBand(*rxRead, false, limits);
    if (rx != *rxRead)
        notes.push_back({CsvNoteKind::RxOnRaster, CsvMHzText(*rxRead), CsvMHzText(rx)});

    // Mode: FM or NFM; the radio has no other.
    const std::string_view modeText = row.text(cMode);
    bool wide = true;
    if (SameWord(modeText, "NFM"))
        wide = false;
    else if (!modeText.empty() && !SameWord(modeText, "FM")) {
        why = {CsvNoteKind::NoSuchMode, std::string(modeText), {}};
        return false;
    }

    // Transmit frequency from Duplex and Offset.
    const std::string_view duplex = row.text(cDuplex);
    const std::string_view offsetText = row.text(cOffset);
    auto offset = [&]() -> std::optional<std::uint32_t> {
        if (offsetText.empty())
            return 0u;
        const auto v = ParseMHzText(offsetText);
        if (!v)
            why = {CsvNoteKind::BadNumber, kColumns[cOffset], std::string(offsetText)};
        return v;
    };
    std::uint64_t txWanted = rx;
    bool txOff = false;
    if (duplex.empty()) {
    } else if (duplex == "+" || duplex == "-") {
        const auto o = offset();
        if (!o)
            return false;
        txWanted = duplex == "+" ? std::uint64_t(rx) + *o : (*o > rx ? 0 : rx - *o);
        if (txWanted > 0xFFFFFFFFu)
            txWanted = 0xFFFFFFFFu;
    } else if (SameWord(duplex, "split")) {
        const auto o = offset();
        if (!o)
            return false;
        txWanted = *o;
    } else if (SameWord(duplex, "off")) {
        txOff = true;
    } else {
        why = {CsvNoteKind::BadDuplex, std::string(duplex), {}};
        return false;
    }
    std::uint32_t tx = 0;
    if (!txOff) {
        const std::uint32_t wanted = std::uint32_t(txWanted);
        tx = LimitToBand(wanted, true, limits);
        if (tx != wanted)
            notes.push_back({tx == SnapToRaster(wanted) ? CsvNoteKind::TxOnRaster : CsvNoteKind::TxLimited,
                             CsvMHzText(wanted), CsvMHzText(tx)});
    }

    // Tones: transmit is the encode tone, receive the decode tone.
    const std::string_view polarity = row.text(cPolarity);
    if (!polarity.empty() && (polarity.size() != 2 || (polarity[0] != 'N' && polarity[0] != 'R') ||
                              (polarity[1] != 'N' && polarity[1] != 'R'))) {
        why = {CsvNoteKind::BadTone, kColumns[cPolarity], std::string(polarity)};
        return false;
    }
    const char txPol = polarity.empty() ? 'N' : polarity[0];
    const char rxPol = polarity.empty() ? 'N' : polarity[1];
    const Tone off{0, kToneOff}; // as a new channel holds it
    Tone txTone = off, rxTone = off;
    const std::string_view toneMode = row.text(cTone);
    bool tonesRead = true;
    if (toneMode.empty()) {
    } else if (SameWord(toneMode, "Tone")) {
        tonesRead = ReadTone(row, cRTone, 0, txTone, why);
    } else if (SameWord(toneMode, "TSQL")) {
        tonesRead = ReadTone(row, cCTone, 0, txTone, why);
        rxTone = txTone;
    } else if (SameWord(toneMode, "DTCS")) {
        tonesRead = ReadTone(row, cDtcs, txPol, txTone, why) && ReadTone(row, cDtcs, rxPol, rxTone, why);
    } else if (SameWord(toneMode, "Cross")) {
        // Left of the arrow is transmit, right receive: "" none, Tone, DTCS.
        // The format's default, Tone->Tone, stands for a file without the
        // column (the older column set) and for an empty cell, as every
        // other empty choice cell takes its default.
        std::string_view cross = row.text(cCross);
        if (cross.empty())
            cross = "Tone->Tone";
        const std::size_t arrow = cross.find("->");
        auto side = [](std::string_view s) {
            return s.empty() ? 0 : SameWord(s, "Tone") ? 1 : SameWord(s, "DTCS") ? 2 : -1;
        };
        const int l = arrow == std::string_view::npos ? -1 : side(cross.substr(0, arrow));
        const int r = arrow == std::string_view::npos ? -1 : side(cross.substr(arrow + 2));
        if (l < 0 || r < 0 || (l == 0 && r == 0)) {
            why = {CsvNoteKind::BadTone, kColumns[cCross], std::string(cross)};
            return false;
        }
        // The receive DCS code defaults to the row's DtcsCode: files without
        // RxDtcsCode (or with an empty cell) hold one code for both
        // directions.
        const Col rxDcs = row.text(cRxDtcs).empty() ? cDtcs : cRxDtcs;
        tonesRead = (l == 0 || ReadTone(row, l == 1 ? cRTone : cDtcs, l == 1 ? 0 : txPol, txTone, why)) &&
                    (r == 0 || ReadTone(row, r == 1 ? cCTone : rxDcs, r == 1 ? 0 : rxPol, rxTone, why));
    } else {
        why = {CsvNoteKind::BadTone, kColumns[cTone], std::string(toneMode)};
        return false;
    }
    if (!tonesRead)
        return false;

    // Scan list: "" adds, "S" deletes; "P" (priority) is taken as added.
    const std::string_view skip = row.text(cSkip);
    bool scanAdd = true;
    if (SameWord(skip, "S"))
        scanAdd = false;
    else if (SameWord(skip, "P"))
        notes.push_back({CsvNoteKind::PriorityScan, {}, {}});
    else if (!skip.empty()) {
        why = {CsvNoteKind::BadChoice, kColumns[cSkip], std::string(skip)};
        return false;
    }

    // Power: a word, or watts read as the nearest level.
    const std::string_view powerText = row.text(cPower);
    unsigned power = kPowerHigh;
    if (SameWord(powerText, "High"))
        power = kPowerHigh;
    else if (SameWord(powerText, "Mid"))
        power = kPowerMid;
    else if (SameWord(powerText, "Low"))
        power = kPowerLow;
    else if (!powerText.empty()) {
        std::string_view number = powerText;
        if (!number.empty() && (number.back() == 'W' || number.back() == 'w'))
            number = Trimmed(number.substr(0, number.size() - 1));
        double watts = 0;
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), watts);
        if (number.empty() || ec != std::errc() || end != number.data() + number.size() || !std::isfinite(watts) ||
            watts < 0) {
            why = {CsvNoteKind::BadChoice, kColumns[cPower], std::string(powerText)};
            return false;
        }
        const double dh = std::fabs(watts - kHighWatts), dm = std::fabs(watts - kMidWatts),
                     dl = std::fabs(watts - kLowWatts);
        power = (dh <= dm && dh <= dl) ? kPowerHigh : (dm <= dl ? kPowerMid : kPowerLow);
        const double nominal = power == kPowerHigh ? kHighWatts : power == kPowerMid ? kMidWatts : kLowWatts;
        if (watts != nominal)
            notes.push_back({CsvNoteKind::PowerNearest, std::string(powerText),
                             power == kPowerHigh ? "High" : power == kPowerMid ? "Mid" : "Low"});
    }

    // This program's own columns.
    auto choice = [&](Col c, auto const &words, int fallback) -> int {
        const std::string_view t = row.text(c);
        if (t.empty())
            return fallback;
        const int i = WordIndex(t, words);
        if (i < 0)
            why = {CsvNoteKind::BadChoice, kColumns[c], std::string(t)};
        return i;
    };
    const int busy = choice(cBusy, kBusyTexts, 0);
    if (busy < 0)
        return false;
    const int system = choice(cSystem, kSystemTexts, 0);
    if (system < 0)
        return false;
    unsigned number = 0;
    const std::string_view numberText = row.text(cNumber);
    if (!numberText.empty()) {
        const auto n = PlainNumber(numberText, 32);
        if (!n || *n == 0) {
            why = {CsvNoteKind::BadChoice, kColumns[cNumber], std::string(numberText)};
            return false;
        }
        const unsigned count = unsigned(system == kSignalDtmf ? 30 : system == kSignalOff ? 32 : 16);
        if (*n > count)
            notes.push_back({CsvNoteKind::SignalNumberReset, std::string(numberText), "1"});
        else
            number = *n - 1;
    }
    unsigned scrambling = 0;
    const std::string_view scramblingText = row.text(cScrambling);
    if (!scramblingText.empty() && !SameWord(scramblingText, "OFF")) {
        const auto n = PlainNumber(scramblingText, kScramblingLevels);
        if (!n) {
            why = {CsvNoteKind::BadChoice, kColumns[cScrambling], std::string(scramblingText)};
            return false;
        }
        scrambling = *n;
    }

    // Name, as the name editor stores it.
    NameBytes name;
    if (names.encode)
        name = names.encode(row.raw(cName));
    if (name.bytes.size() > sizeof e.name)
        name.bytes.resize(sizeof e.name);
    if (name.leftOut || name.cut) {
        const std::string stored = names.decode ? names.decode(name.bytes.data(), name.bytes.size()) : std::string();
        notes.push_back({name.cut ? CsvNoteKind::NameCut : CsvNoteKind::NameLeftOut, name.read, stored});
    }

    // Everything reads: the row becomes the channel.
    e.rxFreq = rx;
    e.txFreq = tx;
    e.decodeCode = rxTone.code;
    e.decodeType = rxTone.type;
    e.encodeCode = txTone.code;
    e.encodeType = txTone.type;
    e.flags0 = 0;
    e.flags1 = kNewChannelFlags1;
    e.flags2 = 0;
    e.flags3 = 0;
    SetWideOf(e, wide);
    SetScanAddOf(e, scanAdd);
    SetPowerOf(e, power);
    SetBusyLockOf(e, unsigned(busy));
    SetSignalSystemOf(e, unsigned(system));
    if (system != kSignalOff)
        SetSignalIndexOf(e, number);
    SetScramblingOf(e, scrambling);
    std::memset(e.name, 0, sizeof e.name);
    std::copy(name.bytes.begin(), name.bytes.end(), e.name);
    return true;
}

} // namespace

const std::vector<std::string> &ChannelCsvColumns()
{
    static const std::vector<std::string> columns(std::begin(kColumns), std::end(kColumns));
    return columns;
}

std::string CsvMHzText(std::uint32_t hz) { return Format("%u.%06u", hz / 1000000u, hz % 1000000u); }

bool SkipsRow(CsvNoteKind kind) { return kind <= CsvNoteKind::BadChoice; }

std::string ExportChannelsCsv(const RadioData &d, const NameCodec &names)
{
    std::string out = JoinDelimited(ChannelCsvColumns(), ',') + "\r\n";
    out.reserve(32 * 1024);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        if (IsChannelInUse(d, ch))
            out += JoinDelimited(ChannelRow(d, ch, names), ',') + "\r\n";
    return out;
}

CsvImportResult ImportChannelsCsv(RadioData &d, const BandLimits &limits, std::string_view text,
                                  CsvImportMode mode, const NameCodec &names)
{
    CsvImportResult result;
    if (text.size() > kMaxChannelCsvBytes) {
        result.problem = CsvFileProblem::TooLarge;
        result.missing = std::to_string(text.size());
        return result;
    }
    std::vector<TextRecord> records = SplitDelimited(text, ',');
    // Lines starting with "#" are comments.
    std::erase_if(records, [](const TextRecord &r) {
        return !r.fields.empty() && !r.fields[0].empty() && r.fields[0][0] == '#';
    });
    if (records.empty()) {
        result.problem = CsvFileProblem::Empty;
        return result;
    }

    ColumnMap map;
    std::fill(std::begin(map.at), std::end(map.at), -1);
    const TextRecord &header = records.front();
    map.headerFields = header.fields.size();
    for (std::size_t i = header.fields.size(); i-- > 0;)
        for (int c = 0; c < cColumnCount; ++c)
            if (SameWord(Trimmed(header.fields[i]), kColumns[c]))
                map.at[c] = int(i);
    if (map.at[cLocation] < 0 || map.at[cFrequency] < 0) {
        result.problem = CsvFileProblem::NotChannels;
        if (map.at[cLocation] < 0)
            result.missing = kColumns[cLocation];
        if (map.at[cFrequency] < 0)
            result.missing += std::string(result.missing.empty() ? "" : ", ") + kColumns[cFrequency];
        return result;
    }
    int takenAt[kChannelCount + 1] = {};
    for (std::size_t r = 1; r < records.size(); ++r) {
        const TextRecord &rec = records[r];
        const RowReader row(rec, map);
        CsvNote note;
        note.line = rec.line;
        const std::string_view location = row.text(cLocation);
        const auto ch = PlainNumber(location, 999999);
        if (ch && *ch >= 1 && *ch <= unsigned(kChannelCount))
            note.channel = int(*ch);
        auto skipWith = [&](CsvNoteKind kind, std::string a, std::string b) {
            note.kind = kind;
            note.a = std::move(a);
            note.b = std::move(b);
            result.notes.push_back(note);
            ++result.skipped;
        };
        if (rec.fields.size() < map.headerFields) {
            skipWith(CsvNoteKind::ShortRow, std::to_string(rec.fields.size()), std::to_string(map.headerFields));
            continue;
        }
        if (note.channel == 0) {
            skipWith(CsvNoteKind::BadLocation, std::string(location), {});
            continue;
        }
        ChannelEntry e = d.channels[note.channel];
        std::vector<RowNote> taken;
        RowNote why{};
        if (!ReadRow(row, e, limits, names, taken, why)) {
            skipWith(why.kind, std::move(why.a), std::move(why.b));
            continue;
        }
        if (takenAt[note.channel]) {
            note.kind = CsvNoteKind::Repeated;
            note.a = std::to_string(takenAt[note.channel]);
            note.b.clear();
            result.notes.push_back(note);
        }
        for (RowNote &t : taken) {
            note.kind = t.kind;
            note.a = std::move(t.a);
            note.b = std::move(t.b);
            result.notes.push_back(note);
        }
        d.channels[note.channel] = e;
        SetChannelInUse(d, note.channel);
        takenAt[note.channel] = rec.line;
        ++result.imported;
    }
    // Replace deletes the channels no row named; a list of which no row
    // could be taken leaves them all as they were.
    if (mode == CsvImportMode::Replace && result.imported > 0)
        for (int ch = 1; ch <= kChannelCount; ++ch)
            if (!takenAt[ch])
                ClearChannelInUse(d, ch);
    return result;
}

CsvFileImport ImportChannelsCsvFile(RadioData &d, const BandLimits &limits, const std::string &path,
                                    CsvImportMode mode, const NameCodec &names)
{
    CsvFileImport out;
    const FileReadResult r = ReadFilePrefix(path, kMaxChannelCsvBytes + 1);
    out.opened = r.opened;
    out.error = r.error;
    if (!r.opened)
        return out;
    if (r.fileSize > kMaxChannelCsvBytes) {
        out.result.problem = CsvFileProblem::TooLarge;
        out.result.missing = std::to_string(r.fileSize);
        return out;
    }
    const std::string_view text(reinterpret_cast<const char *>(r.bytes.data()), r.bytes.size());
    out.result = ImportChannelsCsv(d, limits, text, mode, names);
    return out;
}

FileWriteResult ExportChannelsCsvFile(const RadioData &d, const std::string &path, const NameCodec &names)
{
    const std::string text = ExportChannelsCsv(d, names);
    return WriteFileAtomic(path, text.data(), text.size());
}

int ChannelsInUse(const RadioData &d)
{
    int n = 0;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        n += IsChannelInUse(d, ch) ? 1 : 0;
    return n;
}

} // namespace vkt
