#include "dtmf_edit.h"

#include <algorithm>

namespace vkt {

namespace {

constexpr char kSymbols[] = "0123456789ABCD*#";

bool IsEntry(int entry) { return entry >= 1 && entry <= kAddressBookCount; }

} // namespace

// ---- DTMF symbols --------------------------------------------------------

std::optional<std::uint8_t> DtmfDigitCode(char symbol)
{
    const char upper = DtmfKey(symbol);
    for (std::uint8_t code = 0; code < 16; ++code)
        if (kSymbols[code] == upper)
            return code;
    return std::nullopt;
}

char DtmfSymbol(std::uint8_t code) { return code < 16 ? kSymbols[code] : '\0'; }

bool DtmfKeyPasses(unsigned code)
{
    if (code < 32 || (code >= 127 && code <= 255))
        return true;
    return code < 127 && DtmfDigitCode(static_cast<char>(code)).has_value();
}

char DtmfKey(char c) { return c >= 'a' && c <= 'd' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string CorrectDtmfText(std::string text)
{
    std::string kept;
    for (char c : text)
        if (DtmfDigitCode(c))
            kept.push_back(DtmfKey(c));
    if (kept.size() > kDtmfCodeMaxLength)
        kept.resize(kDtmfCodeMaxLength);
    return kept;
}

std::string DtmfCodeText(std::span<const std::uint8_t> area, std::uint8_t length)
{
    const std::size_t n = std::min({std::size_t{length}, kDtmfCodeMaxLength, area.size()});
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        if (const char s = DtmfSymbol(area[i]))
            text.push_back(s);
    return text;
}

void StoreDtmfCode(std::span<std::uint8_t> area, std::uint8_t &length, std::string_view text)
{
    std::fill(area.begin(), area.end(), std::uint8_t{0});
    const std::string symbols = CorrectDtmfText(std::string(text));
    const std::size_t n = std::min(symbols.size(), area.size());
    for (std::size_t i = 0; i < n; ++i)
        area[i] = *DtmfDigitCode(symbols[i]);
    length = static_cast<std::uint8_t>(n);
}

// ---- address book ----------------------------------------------------------

std::span<const std::uint8_t> AddressNameBytes(const RadioData &d, int entry)
{
    if (!IsEntry(entry) || !IsAddressBookInUse(d, entry))
        return {};
    const AddressBookEntry &e = d.addrBook[entry];
    return {e.name, FieldTextLength(e.name, sizeof e.name)};
}

std::string AddressCodeText(const RadioData &d, int entry)
{
    if (!IsEntry(entry) || !IsAddressBookInUse(d, entry))
        return {};
    const AddressBookEntry &e = d.addrBook[entry];
    return DtmfCodeText(e.digits, e.digitCount);
}

bool AddressCodeEditable(const RadioData &d, int entry) { return !AddressNameBytes(d, entry).empty(); }

AddressStore StoreAddressName(RadioData &d, int entry, std::span<const std::uint8_t> name)
{
    if (!IsEntry(entry))
        return AddressStore::NoEntry;
    AddressBookEntry &e = d.addrBook[entry];
    const std::size_t n = std::min(FieldTextLength(name.data(), name.size()), kAddressNameBytes);
    if (n == 0) {
        ClearAddressBookInUse(d, entry);
        return AddressStore::Removed;
    }
    const bool created = !IsAddressBookInUse(d, entry);
    if (created) {
        SetAddressBookInUse(d, entry);
        StoreDtmfCode(e.digits, e.digitCount, {});
    }
    std::fill(std::begin(e.name), std::end(e.name), std::uint8_t{0});
    std::copy_n(name.begin(), n, e.name);
    return created ? AddressStore::Created : AddressStore::Stored;
}

AddressStore StoreAddressCode(RadioData &d, int entry, std::string_view text)
{
    if (!IsEntry(entry))
        return AddressStore::NoEntry;
    if (CorrectDtmfText(std::string(text)).empty()) {
        ClearAddressBookInUse(d, entry);
        return AddressStore::Removed;
    }
    SetAddressBookInUse(d, entry);
    AddressBookEntry &e = d.addrBook[entry];
    StoreDtmfCode(e.digits, e.digitCount, text);
    return AddressStore::Stored;
}

} // namespace vkt
