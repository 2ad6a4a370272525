// The channel CSV's ties to the texts: names through GBK as the name editor
// stores them, and the import report in the active language.
#pragma once

#include "channel_csv.h"

#include <QString>
#include <QStringList>

namespace vkt {

// A name typed into the channel table's name editor: characters its key
// filter refuses and characters GBK has no code for are left out, and a
// character whose bytes would pass the 6 of the field is dropped.
NameBytes TypedNameBytes(const QString &text);

// The GBK conversion of channel names for ExportChannelsCsv and
// ImportChannelsCsv.
const NameCodec &GbkNames();

// One line of the report: "Line 12, channel 5: skipped: ...".
QString CsvNoteText(const CsvNote &note);
// Why a file was not read at all (`file` is the name shown); empty when it
// was read.
QString CsvProblemText(const CsvImportResult &result, const QString &file);
// "N channels imported, M rows skipped." then one line per note.
QStringList CsvReportLines(const CsvImportResult &result);

} // namespace vkt
