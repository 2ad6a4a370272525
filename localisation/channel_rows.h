// Rows of the channel table as tab-separated text, for the clipboard: what
// copying a run of rows writes and what pasting such text (or cells copied
// from a spreadsheet) stores.
#pragma once

#include "channel_edit.h"
#include "program_state.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace vkt {

// Text numbers of the table's column headings, number column first.
inline constexpr int kChannelHeadingTexts[kColName + 1] = {15, 16, 17, 18, 19, 20, 21, 22, 23, 321, 322, 24};

// Text numbers of the messages of a paste.
inline constexpr int kTextPasteLine = 373;           // Line %1, channel %2: %3 (as the CSV import says it)
inline constexpr int kTextPasteBadRx = 391;          // the receive frequency "%1" cannot be read
inline constexpr int kTextPasteBadTx = 392;          // the transmit frequency "%1" cannot be read
inline constexpr int kTextPasteBadTone = 393;        // "%1" is not a tone ...
inline constexpr int kTextPasteNoItem = 394;         // "%1" is not one of the choices of %2
inline constexpr int kTextPastePastTable = 395;      // there is no channel %1: the table ends at channel %2
inline constexpr int kTextPasteNoRx = 396;           // the row has no receive frequency
inline constexpr int kTextPasteNothing = 397;        // the row holds nothing after the channel number
inline constexpr int kTextPasteSummary = 398;        // Rows pasted: %1. Rows skipped ...: %2.
inline constexpr int kTextPasteTooLarge = 390;       // The clipboard holds %1 bytes ...
inline constexpr int kTextPasteStep = 408;           // Paste (the name of the step)
// The start of the name of a step that stores a channel's cell.
inline constexpr int kTextChannelStep = 407;         // channel %1

// Largest text a paste reads (a whole table copied is about 20 KB).
inline constexpr std::size_t kMaxPasteBytes = 1u << 20;

// The heading line and one line per channel from firstChannel to
// lastChannel (kept inside 1..240), each cell as the table shows it in the
// active language, separated by TABs; every line ends in "\n".
QString CopyChannelRows(const RadioData &d, int firstChannel, int lastChannel);

struct PasteSkip {
    int line = 0;    // line of the text where the row starts (from 1)
    int channel = 0; // the channel it was meant for
    QString reason;  // in the active language
};

struct PasteReport {
    int pasted = 0;                 // rows stored (a row that deletes its channel included)
    std::vector<PasteSkip> skipped; // rows left out; their channels are as they were
    QString error;                  // not empty: nothing was read (the text is far too large)
};

// Stores the rows of `text` into channels firstChannel, firstChannel + 1,
// ... in order; the number column of the text does not choose the channel.
//
// A first line whose cells name the table's columns (in any of the three
// languages, blanks around them and letter case aside) is a heading line:
// the columns are then found by their headings, in any order, and unknown
// ones are ignored. Otherwise the cells are the table's columns in order,
// the number column first, as CopyChannelRows writes them.
//
// Each cell is stored as typing it into its editor would (receive
// frequency first, so an empty channel is created). List cells may be in
// any of the three languages; a cell that shows the pasted text already is
// left as it is, so pasting a copy back changes no byte. A row whose cells
// are all empty (the number aside) deletes the channel, as an emptied
// receive frequency does. A row the radio cannot hold (a frequency that
// cannot be read, a text that is no tone or no list choice, no receive
// frequency for an empty channel, a channel past 240) is skipped whole and
// its channel left byte for byte as it was.
PasteReport PasteChannelRows(ProgramState &s, int firstChannel, const QString &text);

// One line of a skipped row for the user: "Line 3, channel 12: ...".
QString PasteSkipText(const PasteSkip &skip);
// The message shown after a paste that skipped rows (or read nothing): the
// counts, then the first `maxLines` skipped rows, "..." for the rest.
QString PasteReportText(const PasteReport &report, int maxLines = 20);

} // namespace vkt
