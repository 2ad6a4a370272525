// Byte texts of the radio data (names, message lines) for a terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vkt::cli {

// Decodes a zero-padded byte field, which may hold GBK, into UTF-8. Bytes
// that cannot be decoded are shown as \xNN, so nothing is hidden.
std::string DisplayText(const std::uint8_t *field, std::size_t size);

} // namespace vkt::cli
