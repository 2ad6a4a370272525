#include "password_text.h"

#include <algorithm>
#include <cstring>

namespace vkt {

std::optional<std::string> PasswordBytesFromUtf8(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            // U+0080 to U+00FF take two bytes. Every other lead byte is a
            // character above U+00FF, an over-long form or no UTF-8 at all.
            c = char32_t((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        } else {
            return std::nullopt;
        }
        if (!PasswordCharAllowed(c))
            return std::nullopt;
        bytes.push_back(static_cast<char>(c));
    }
    return bytes;
}

void StorePasswordField(std::uint8_t (&field)[13], std::string_view bytes)
{
    std::memset(field, 0, sizeof field);
    std::memcpy(field, bytes.data(), std::min<std::size_t>(bytes.size(), kPasswordMaxLength));
}

bool PasswordsMatch(std::string_view first, std::string_view second) { return first == second; }

} // namespace vkt
