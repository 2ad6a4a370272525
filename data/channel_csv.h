// Channel lists as CSV text in the generic column format that radio
// amateurs share between programming tools, and the delimited-text reader
// and writer under it (also used for the tab-separated rows of the
// clipboard).
//
// Columns, written in this order: Location, Name, Frequency, Duplex,
// Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode,
// CrossMode, Mode, TStep, Skip, Power, Comment, URCALL, RPT1CALL, RPT2CALL,
// DVCODE, then this program's own BusyLock, SignalSystem, SignalNumber and
// Scrambling, which other tools ignore. A file is read by its header names,
// in any order; missing columns take their defaults.
#pragma once

#include "file_io.h"
#include "radio_data.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vkt {

// ---- delimited text --------------------------------------------------------

struct TextRecord {
    int line = 0;                    // line number (from 1) where the record starts
    std::vector<std::string> fields;
};

// Splits `text` into records: fields separated by `delimiter`, records by
// LF or CR LF (a lone CR too). A field that starts with a double quote runs
// to the closing quote and may hold delimiters, line breaks and doubled
// quotes ("" for one "); an unclosed quote runs to the end of the text.
// Empty lines give no record. A UTF-8 byte-order mark at the start is
// skipped.
std::vector<TextRecord> SplitDelimited(std::string_view text, char delimiter);

// One record: fields that hold the delimiter, a quote, CR or LF, or start
// or end with a blank are quoted. No line end is added.
std::string JoinDelimited(const std::vector<std::string> &fields, char delimiter);

// ---- names -----------------------------------------------------------------

// What storing a name typed as `text` into the 6-byte name field gives.
struct NameBytes {
    std::vector<std::uint8_t> bytes; // at most 6
    bool leftOut = false;            // characters the name editor refuses were dropped
    bool cut = false;                // characters past the 6 bytes were dropped
    std::string read;                // the name as read from the text, UTF-8
};

// The channel names are GBK; the conversion lives with the texts, so the
// caller hands it in.
struct NameCodec {
    // The stored name bytes (up to the first zero) as UTF-8.
    std::string (*decode)(const std::uint8_t *bytes, std::size_t size) = nullptr;
    // UTF-8 text as the name editor stores it.
    NameBytes (*encode)(std::string_view utf8) = nullptr;
};

// ---- the channel CSV -------------------------------------------------------

// Nominal output power written for the three levels, in watts; a file's
// watt value is read as the nearest of them.
inline constexpr double kHighWatts = 5.0;
inline constexpr double kMidWatts = 2.5;
inline constexpr double kLowWatts = 1.0;

// The header names of the columns written, in their order.
const std::vector<std::string> &ChannelCsvColumns();

// Every channel in use, by number, with the header line first; lines end
// in CR LF, text is UTF-8 without a byte-order mark.
std::string ExportChannelsCsv(const RadioData &d, const NameCodec &names);

enum class CsvImportMode : std::uint8_t {
    Merge,   // a row replaces the channel at its Location; other channels stay
    Replace, // every channel is deleted first (unless no row can be taken)
};

// What happened to one row (or the file), for the report.
enum class CsvNoteKind : std::uint8_t {
    // The row is skipped.
    BadLocation,     // a: the Location text
    ShortRow,        // a: fields in the row, b: fields in the header
    BadNumber,       // a: column name, b: its text
    RxOutOfBand,     // a: the frequency text
    NoSuchMode,      // a: the Mode text
    BadTone,         // a: column name, b: its text (Tone, CrossMode, a tone value)
    BadDuplex,       // a: the Duplex text
    BadChoice,       // a: column name, b: its text (Skip, Power, the own columns)
    // The row is taken with a change.
    RxOnRaster,      // a: frequency as written, b: as stored (MHz)
    TxOnRaster,      // a, b as above
    TxLimited,       // a, b as above
    NameLeftOut,     // a: the name as written, b: as stored
    NameCut,         // a, b as above
    PowerNearest,    // a: the Power text, b: the level taken ("High", "Mid", "Low")
    SignalNumberReset, // a: the SignalNumber text, b: the number taken
    PriorityScan,    // Skip "P": the radio has no priority channel; scan ADD taken
    Repeated,        // a: line number of the earlier row for the same channel
};

// True for the kinds that skip their row.
bool SkipsRow(CsvNoteKind kind);

struct CsvNote {
    int line = 0;     // line of the file where the row starts
    int channel = 0;  // the row's Location, 0 when it has none that reads
    CsvNoteKind kind = CsvNoteKind::BadLocation;
    std::string a, b;
};

enum class CsvFileProblem : std::uint8_t {
    None,
    Empty,         // no header line at all
    NotChannels,   // the header has no Location or no Frequency column
    TooLarge,      // far larger than any channel list (a: its size in bytes)
};

struct CsvImportResult {
    CsvFileProblem problem = CsvFileProblem::None; // not None: nothing was changed
    std::string missing;  // NotChannels: the missing column names
    int imported = 0;     // rows stored
    int skipped = 0;      // rows skipped
    std::vector<CsvNote> notes;
};

// Largest text taken as a channel list (about 500 times a full list).
inline constexpr std::size_t kMaxChannelCsvBytes = 16u << 20;

// Reads `text` (UTF-8, with or without a byte-order mark) into the channels
// of `d`. Receive frequencies must lie inside `limits`; transmit
// frequencies are limited and put on the raster as the channel table does.
// A row replaces the whole channel (the bytes no column reaches are kept as
// a new channel keeps them). When the text is not a channel list nothing
// changes.
CsvImportResult ImportChannelsCsv(RadioData &d, const BandLimits &limits, std::string_view text,
                                  CsvImportMode mode, const NameCodec &names);

// The same on files: the list is read whole (a file past the largest size
// is not read at all), and written atomically.
struct CsvFileImport {
    bool opened = false;   // false: `error` says why; nothing changed
    std::string error;
    CsvImportResult result;
};
CsvFileImport ImportChannelsCsvFile(RadioData &d, const BandLimits &limits, const std::string &path,
                                    CsvImportMode mode, const NameCodec &names);
FileWriteResult ExportChannelsCsvFile(const RadioData &d, const std::string &path, const NameCodec &names);
// Channels in use, as ExportChannelsCsv writes them.
int ChannelsInUse(const RadioData &d);

// Frequency in MHz with six decimals ("146.520000").
std::string CsvMHzText(std::uint32_t hz);

} // namespace vkt
