// Byte texts of the radio data (channel and address-book names, system
// names, power-on message lines) are GBK: shown decoded, typed text
// encoded back without ever cutting a two-byte character in half.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vkt {

// The text of a zero-padded field (up to its first zero byte), decoded as
// GBK; bytes that are not valid GBK show as U+FFFD.
QString DecodeGbkField(const std::uint8_t *field, std::size_t size);

// Encodes `text` as GBK in at most `maxBytes` bytes, dropping whole
// characters from the end that do not fit and characters GBK cannot hold.
std::vector<std::uint8_t> EncodeGbk(const QString &text, std::size_t maxBytes);

// Stores `text` into a fixed field: encoded, cut as above, zero-padded.
void StoreGbkField(const QString &text, std::uint8_t *field, std::size_t size);

// True when Qt on this system has a GBK codec.
bool GbkAvailable();

} // namespace vkt
