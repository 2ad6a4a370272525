// The table of fields: every control of the pages that edits one field of
// RadioData, described once.
//
// A row names the control ("cbTOT", "eFr_Freq_A", "cBeep"), says where its
// field lives in the record (offset, width, and for a bit field its shift
// and mask) and by which rule a list position, a tick or a typed text
// becomes the stored value and back. The texts of the labels and items are
// text numbers of the main table (the localisation layer turns them into
// words); the window's binder, `vkt410-cli get`/`set` and the tests all
// work from these rows.
#pragma once

#include "radio_data.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vkt {

enum class FieldKind : std::uint8_t {
    List,   // drop-down list, selection only
    Check,  // check box
    Radio,  // one radio button of a group; the group shares the field
    Edit,   // edit field or editable list: a typed text
};

enum class FieldRule : std::uint8_t {
    // Lists.
    Index,        // value = position
    IndexPlus,    // value = position + plus
    Times,        // value = position * plus; shown position = value / plus
    Lookup,       // value = lookup[position]
    Step,         // lookup, but no selection stores the last lookup value (both step lists)
    SignalSystem, // position = system (bits 5-7); a changed system clears the number
    SignalNumber, // position = number (bits 0-4); items depend on the system
    Linear,       // value = position * times + plus; a value between two items shows none
    LookupOrOff,  // lookup, but a value without an item shows the first ("OFF"), and
                  // loading the page stores the first value (RefreshStores)
    // Check boxes.
    Flag,         // ticked when the value is 1; stores 1 or 0
    NonZero,      // ticked when the value is not 0; stores 1 or 0
    Inverted,     // ticked when the value is 0; stores 0 ticked, 1 not
    // Radio buttons.
    RadioValue,   // selected when the value is `plus`; stores `plus` when left
    // Typed texts.
    Frequency,    // channel frequency text, receive band limits and raster (VFO)
    Offset,       // offset text, LimitOffset (VFO offset)
    Tone,         // tone text: u16 code at offset, type byte at offset + 2
    Password,     // power-on password: exactly 6 digits, else "531642"
    ByteText,     // text of `width` bytes, zero-padded (the logo)
    DtmfCode,     // DTMF symbols: `width` - 1 code bytes, then the length byte
    FmFrequency,  // FM text, fitted into the record's FM bounds and the 50 kHz raster
    LimitedNumber, // decimal whole number (digits only), held in minimum..maximum on leaving;
                   // empty is 0 (the lead delays); kept in two_tone.h
};

// One run of list items: the numbers from..to (by step), or one fixed
// text, or one text of the main table; each may be led by a text number
// and followed by another.
struct ItemRun {
    int text = -1;                  // main-table text of a single item
    std::string_view literal = {};  // or a fixed text
    int from = 0, to = -1, step = 1; // or numbers (to >= from)
    int prefixText = -1;            // text put before each number
    std::string_view numberPrefix = {}; // fixed text put between prefix and number
    int suffixText = -1;            // text put after each item ("s")
    std::string_view numberSuffix = {}; // fixed text put right after each number ("MHz")
};

struct Field {
    std::string_view name;      // the control's name
    std::uint16_t offset;       // in RadioData
    std::uint8_t width;         // 1, 2 or 4 bytes (texts: their byte count)
    FieldKind kind;
    FieldRule rule;
    std::uint8_t shift = 0;     // bit field: value = (field >> shift) & mask
    std::uint32_t mask = 0;     // 0: the whole field
    int plus = 0;               // IndexPlus, Times, RadioValue
    std::span<const std::uint32_t> lookup = {};
    int label = -1;             // text number of the label or caption
    std::span<const ItemRun> items = {};
    bool shown = true;          // false: the control exists but is never shown
    int maxLength = 0;          // Edit: the longest text the control keeps
    int times = 0;              // Linear: value = position * times + plus
    // What storing the row changes besides its own field (the FM bounds
    // re-fit every FM frequency, either step list stores both steps).
    // StoreIndex, StoreChecked and StoreFieldText store the row's own bits
    // only; the binder and `set` run this after them, in the same step.
    void (*alsoStores)(RadioData &) = nullptr;
    std::uint32_t minimum = 0, maximum = 0; // LimitedNumber: the limits on leaving
};

// The power-on password of new data, and what leaving its edit with
// anything but six digits stores.
inline constexpr std::string_view kDefaultPowerOnPassword = "531642";

// Every field of the frequency-mode and options page (with the power-on
// display and the power-on password), in page order.
std::span<const Field> OptionFields();
// The rows of the two-tone and five-tone pages, in page order.
std::span<const Field> TwoToneFields();
std::span<const Field> FiveToneFields();
// The rows of the DTMF page and of the FM page, in page order.
std::span<const Field> DtmfFields();
std::span<const Field> FmFields();
// Every row of every page built so far, in page order.
std::span<const Field> AllFields();
// The row of a control, or nullptr.
const Field *FindField(std::string_view name);

// Whether leaving the control stores even when the user changed nothing
// in it: the step lists, where leaving either stores both VFO steps.
// Every other control stores only what the user changed.
bool StoresOnEveryExit(const Field &f);

// What loading the pages stores into the record: a list that shows a value
// without an item as its first item (the DTMF group code) gets that item's
// value. The pages call it before they show the record, and so does a
// program that opens a file the way the window does.
void RefreshStores(RadioData &d);

// The field's value as stored (the bit field taken out).
std::uint32_t ReadFieldValue(const Field &f, const RadioData &d);
// Stores a value into the field, keeping the bits outside a bit field.
void WriteFieldValue(const Field &f, RadioData &d, std::uint32_t value);

// ---- lists ----
// Number of items of a list (a signalling-number list: for the system now
// stored in its entry).
int ItemCount(const Field &f, const RadioData &d);
// The position that shows the stored value; -1 when no item shows it.
int IndexForValue(const Field &f, std::uint32_t value);
// The value stored for a chosen position; -1 (no selection) or a position
// past the list gives `old` back (the Step rule: the last lookup value).
std::uint32_t ValueForIndex(const Field &f, int index, std::uint32_t old);
// What loading and leaving the list do with the record.
int LoadIndex(const Field &f, const RadioData &d);
void StoreIndex(const Field &f, RadioData &d, int index);

// ---- check boxes and radio buttons ----
bool LoadChecked(const Field &f, const RadioData &d);
// A check box stores its state; a radio button stores its value only when
// it is the one selected (`checked`), as leaving it does.
void StoreChecked(const Field &f, RadioData &d, bool checked);

// ---- typed texts ----
// Key filter: whether a typed character (code) is taken. Control codes
// (below 32, 127 to 255) always pass.
bool FieldKeyPasses(const Field &f, unsigned code);
// The corrections after every change (too long, lone or repeated points).
std::string CorrectFieldText(const Field &f, std::string text);
// The text the control shows for the stored value.
std::string FieldText(const Field &f, const RadioData &d, const BandLimits &limits);
enum class TextStore : std::uint8_t {
    Stored,       // stored (maybe limited, snapped or replaced by a default)
    Ignored,      // not a value (a tone the parser rejects): nothing changes
    NotAFrequency // a frequency text that cannot be read: nothing changes, the user is told
};
TextStore StoreFieldText(const Field &f, RadioData &d, const BandLimits &limits, std::string_view text);

} // namespace vkt
