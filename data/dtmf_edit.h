// What the DTMF page stores: the DTMF symbols of its code edits and the
// 30-entry address book, as plain functions over the record. The page's
// editors and `vkt410-cli set` only route typed text here.
#pragma once

#include "radio_data.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vkt {

// The most symbols a code holds (stun, kill, activation, own ID and every
// address-book code).
inline constexpr std::size_t kDtmfCodeMaxLength = 16;
// Bytes of an address-book name.
inline constexpr std::size_t kAddressNameBytes = sizeof(AddressBookEntry::name);

// ---- DTMF symbols --------------------------------------------------------

// The stored code of a symbol: "0"-"9" 0-9, "A"-"D" (or a-d) 10-13, "*" 14,
// "#" 15; nothing for any other character.
std::optional<std::uint8_t> DtmfDigitCode(char symbol);
// The symbol of a stored code; '\0' for a byte that is none.
char DtmfSymbol(std::uint8_t code);
// Key filter of the code edits: control keys (below 32, 127 to 255), the
// symbols and a-d pass.
bool DtmfKeyPasses(unsigned code);
// A key as it is typed into a code edit: a-d become A-D.
char DtmfKey(char c);
// The corrections after every change: a-d in upper case, anything that is
// not a symbol (pasted text) dropped, and past 16 symbols the last ones
// removed.
std::string CorrectDtmfText(std::string text);

// The text of a code: its stored length (at most 16, at most the area),
// bytes that are no symbol skipped.
std::string DtmfCodeText(std::span<const std::uint8_t> area, std::uint8_t length);
// Stores a code: every byte of the area cleared, then the symbols of
// `text` (corrected as above) in order, and their count as the length.
void StoreDtmfCode(std::span<std::uint8_t> area, std::uint8_t &length, std::string_view text);

// ---- address book (entries 1 to 30) ---------------------------------------

// The name bytes a row shows (up to the first zero byte); empty for an
// entry not in use or a number outside 1..30.
std::span<const std::uint8_t> AddressNameBytes(const RadioData &d, int entry);
// The code a row shows; empty for an entry not in use.
std::string AddressCodeText(const RadioData &d, int entry);
// The code cell opens its editor only in a row that shows a name.
bool AddressCodeEditable(const RadioData &d, int entry);

enum class AddressStore : std::uint8_t {
    Created, // a name made a new entry (with an empty code): its code comes next
    Stored,  // an entry in use took the name or code
    Removed, // an empty name or code marked the entry not in use
    NoEntry, // not an entry number: nothing changed
};
// Leaving the name editor with `name` (already encoded, at most 6 bytes
// are taken). A name makes an entry not in use an entry with an empty code;
// the name bytes are cleared and the name copied in. An empty name marks
// the entry not in use (its bytes stay).
AddressStore StoreAddressName(RadioData &d, int entry, std::span<const std::uint8_t> name);
// Leaving the code editor with `text`: a code marks the entry in use and
// is stored as StoreDtmfCode does; an empty code marks it not in use (its
// name bytes stay).
AddressStore StoreAddressCode(RadioData &d, int entry, std::string_view text);

} // namespace vkt
