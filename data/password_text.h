// Passwords as the radio keeps them: text of up to 12 characters, one byte
// per character. A password can therefore hold only the characters
// U+0001 to U+00FF, each stored as the byte of its number (ISO 8859-1).
// The password windows and vkt410-cli both convert through here, so the
// same text gives the same bytes however it was entered.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vkt {

// Longest password the radio keeps.
inline constexpr int kPasswordMaxLength = 12;

// Whether a character (a Unicode code point) can be in a password.
constexpr bool PasswordCharAllowed(char32_t c) { return c >= 0x01 && c <= 0xFF; }

// The stored bytes of a password given as UTF-8 text, one per character.
// Nothing when the text is not UTF-8 or holds a character that cannot be
// in a password. The length is not checked.
std::optional<std::string> PasswordBytesFromUtf8(std::string_view utf8);

// Stores `bytes` (its first 12) zero-terminated in a 13-byte field; the
// rest of the field is cleared.
void StorePasswordField(std::uint8_t (&field)[13], std::string_view bytes);

// The two entries of the new-password window match: same length, same
// characters.
bool PasswordsMatch(std::string_view first, std::string_view second);

} // namespace vkt
