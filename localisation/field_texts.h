// What each control of the table of fields and each grid cell shows, in the
// active language, and what typing or choosing a text in it stores.
//
// The window's binder and grids and `vkt410-cli get`/`set` call these same
// functions, so a script sees exactly what the window shows.
#pragma once

#include "fields.h"
#include "program_state.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>
#include <string_view>

namespace vkt {

// The label (or caption) of a control; empty when it has none.
QString FieldLabelText(const Field &f);
// The items of a list in the active language (a signalling-number list:
// for the system stored now).
QStringList FieldItemTexts(const Field &f, const RadioData &d);

// What the control shows: a list's item text (empty without selection),
// "1" or "0" for a check box or radio button, an edit field's text.
QString ShownText(const Field &f, const ProgramState &s);

struct AssignResult {
    bool ok = true;
    QString error; // one line, in English, when not ok
};
// As typing `text` into the control (through its key filter and change
// rules) and then leaving it would. For a list: an item text as the English
// interface shows it, "#N" for position N (0-based), or empty for leaving a
// list that shows no selection. For a check box "1" or "0"; for a radio
// button "1" (it was the last to have the focus and was left).
// A frequency that cannot be read is an error (the record is unchanged);
// so is a tone text the tone box would reject and silently drop.
AssignResult AssignText(const Field &f, ProgramState &s, const QString &text);
// The exit rule of an edit field for the text it holds when it is left
// (StoreFieldText; a byte text of the radio is stored as GBK, whole
// characters only).
TextStore StoreEditText(const Field &f, ProgramState &s, const QString &text);

// ---- typing into a text field ----
// How typing enters a text field: the keys it takes, the character a key
// enters, and the correction after every change. A cell's editor applies
// it as the user types or pastes; `set` types a text through it, key by
// key, so both leave the same text.
struct TextRule {
    bool (*passes)(char32_t) = nullptr;            // key filter; null: every printable character
    char32_t (*enters)(char32_t) = nullptr;        // the character a key enters ("a" as "A"); null: itself
    QString (*correct)(const QString &) = nullptr; // after every change; null: none
};
// The text typing `text` key by key leaves in a field of the rule (a
// character that is not printable inserts nothing).
QString TypedText(const QString &text, const TextRule &rule);
// What a change of the field's whole text (a paste, a key) leaves: every
// character through the key filter and its entered form, then the
// correction once.
QString CorrectedText(const QString &text, const TextRule &rule);

// The rules of the grids' text editors.
extern const TextRule kChannelFrequencyRule; // digits and "."; at most 9 characters
extern const TextRule kToneTextRule;         // d, n and i entered as D, N and I
extern const TextRule kNameRule;             // a name of 6 GBK bytes: blank ! " # $ % & ' ( ) { | } ~ dropped
extern const TextRule kDtmfCodeRule;         // DTMF symbols, a-d entered as A-D, at most 16
extern const TextRule kFmFrequencyRule;      // digits and "."; at most 6 characters
extern const TextRule kOffsetFrequencyRule;  // digits and "."; at most 9 characters
extern const TextRule kTwoToneTimeRule;      // seconds: digits and one "."; at most 4 characters
extern const TextRule kPeriodRule;           // milliseconds: digits, at most 3
extern const TextRule kFiveToneCodeRule;     // hex digits, a-f entered as A-F, at most 8
extern const TextRule kMessageTextRule;      // cut to the 16 GBK bytes of a line

// ---- grids ----
// What a cell's in-place editor is.
enum class CellEditor : std::uint8_t {
    None,   // the cell is never edited (numbers, fixed tones)
    Text,   // an edit field with its TextRule
    Tone,   // an editable list of the tone texts
    List,   // a drop-down list
    Toggle, // no editor: a double-click or Enter changes the cell at once
};
// Which gesture opens a grid's editors: a single mouse press, a
// double-click (or Enter), or only the keyboard (a digit or Enter).
enum class EditorGesture : std::uint8_t { Press, DoubleClick, Keys };

// One column of a grid, described once: its heading, its editor and, for
// a text editor, how typing enters it. The editor shows and stores the
// cell through the grid's `shown` and `assign`, as `set` does.
struct GridColumn {
    int heading = -1; // main-table text of the heading; -1: the page writes it (numbered headings)
    CellEditor editor = CellEditor::None;
    const TextRule *rule = nullptr; // Text and Tone editors
};

// A grid of the pages and dialogs, by its control name, with its cells
// counted as the user sees them (row 0 the headings, column 0 the numbers).
struct GridCells {
    std::string_view name;  // "StringGrid1", "sgAutoOffset", "sgOpenMsgDefine"
    int rows;
    int columns;
    // The text of a body cell (row and column from 1).
    QString (*shown)(const ProgramState &s, int row, int column);
    // As typing or choosing `text` in the cell's in-place editor and
    // leaving it (a cell that changes by clicking is clicked until it shows
    // `text`; a text it never shows is an error).
    AssignResult (*assign)(ProgramState &s, int row, int column, const QString &text);
    // The columns described, the number column first (`Column` reads it).
    std::span<const GridColumn> columnTable = {};
    EditorGesture gesture = EditorGesture::Press;
};
// A column of a grid (column 0 the number column); a column past the
// table's end is described as its last entry (the decode columns of the
// signalling systems, the standards of the five-tone list).
const GridColumn &Column(const GridCells &grid, int column);
// Every grid built so far, in page order.
std::span<const GridCells> AllGrids();
const GridCells *FindGrid(std::string_view name);

// The grids of the two dialogs of the options page (the automatic
// repeater-offset table and the power-on message lines).
extern const GridCells kAutoOffsetGridCells;
extern const GridCells kOpenMsgGridCells;
// The grids of the two-tone page: the systems ("sgSystem_2T") and the
// decode and encode lists ("sgDecode_2T", "sgEncode_2T"); the page draws
// its rows with their `shown`.
extern const GridCells kTwoToneSystemGridCells;
extern const GridCells kTwoToneDecodeGridCells;
extern const GridCells kTwoToneEncodeGridCells;
// The grids of the five-tone page: the tone list with the standards'
// periods ("sg5Tone_List"), the systems ("sgSystem_5T") and the decode and
// encode lists ("sgDecode_5T", "sgEncode_5T"); the page draws its cells
// with their `shown`.
extern const GridCells kFiveToneListGridCells;
extern const GridCells kFiveToneSystemGridCells;
extern const GridCells kFiveToneDecodeGridCells;
extern const GridCells kFiveToneEncodeGridCells;

// ---- for the grids' assign functions ----
// A list editor's choice: an item text, "#N" for position N, or empty for
// leaving the list as it shows (`shows`); -2 for none of these.
inline int ChosenListIndex(const QStringList &items, const QString &text, int shows)
{
    if (text.isEmpty())
        return shows;
    if (text.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const int n = text.mid(1).toInt(&ok);
        return ok && text[1].isDigit() && n >= 0 && n < items.size() ? n : -2;
    }
    const int i = int(items.indexOf(text));
    return i >= 0 ? i : -2;
}
// The error of a choice that is none of these.
inline AssignResult NotAListItem(const QString &text, const QStringList &items)
{
    return {false, QStringLiteral("\"%1\" is not an item of the list (%2, or #0 to #%3)")
                       .arg(text, items.join(QStringLiteral(", ")))
                       .arg(items.size() - 1)};
}
// The content of a message line as its editor keeps it while typing:
// characters are taken off the end until its GBK bytes fit the 16 of the
// line.
QString CutMessageText(const QString &text);
// The grids of the DTMF page (the address book, "sgD_AddrBook": column 1
// the name, column 2 the code) and of the FM page (the memories,
// "sgFmMemory": column 1 the frequency).
extern const GridCells kAddressBookGridCells;
extern const GridCells kFmMemoryGridCells;
// What their cells show (also what the pages show).
QString AddressBookCellText(const RadioData &d, int entry, int column);
QString FmMemoryCellText(const RadioData &d, int memory);
// A name as its editor keeps it while typing: characters are taken off the
// end until its GBK bytes fit `bytes`.
QString CutToGbkBytes(const QString &text, std::size_t bytes);

// The channel table's cells (also what the channel page shows).
extern const GridCells kChannelGridCells;
QString ChannelCellText(const RadioData &d, int channel, int column);
AssignResult AssignChannelCell(ProgramState &s, int channel, int column, const QString &text);
// The items of the drop-down editor of a channel-table column (power to
// signalling number) in the active language; the signalling-number list
// for `system`.
QStringList ChannelListItems(int column, unsigned system = 0);
// The same items in a given language (TAppLang type 1, 2, 3).
QStringList ChannelListItemsIn(int column, unsigned system, std::uint8_t langType);

} // namespace vkt
