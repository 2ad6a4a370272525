#include "table_parser.h"

#include <cstddef>

namespace vkt::tables {
namespace {

constexpr std::size_t kColumns = 4;

bool ValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        char32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF.
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

// A text number: decimal digits only, no sign, no blanks.
bool ParseNumber(std::string_view s, long &value)
{
    if (s.empty() || s.size() > 9)
        return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

bool UnescapeField(std::string_view raw, std::string &out, std::string &error)
{
    out.clear();
    if (!raw.empty() && (raw.front() == ' ' || raw.back() == ' ')) {
        error = "a blank at the start or end of a text must be written as \\s";
        return false;
    }
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (i + 1 == raw.size()) {
            error = "a text ends in a lone backslash (write \\\\ for one)";
            return false;
        }
        switch (raw[++i]) {
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 's': out += ' '; break;
        case '\\': out += '\\'; break;
        default:
            error = std::string("unknown escape \\") + raw[i];
            return false;
        }
    }
    return true;
}

ParseResult ParseTable(std::string_view content, int size)
{
    ParseResult result;
    result.texts.assign(size > 0 ? static_cast<std::size_t>(size) : 0, Texts{});
    std::vector<int> lineOfNumber(result.texts.size(), 0);
    long previous = -1;
    int lineNo = 0;

    auto fail = [&](std::string message) {
        result.errorLine = lineNo;
        result.error = std::move(message);
        result.texts.clear();
        return result;
    };

    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        if (!ValidUtf8(line))
            return fail("the line is not valid UTF-8");

        const auto fields = SplitTabs(line);
        if (fields.size() != kColumns)
            return fail("expected 4 tab-separated columns (number, English, Simplified, "
                        "Traditional), found " + std::to_string(fields.size()));

        long number;
        if (!ParseNumber(fields[0], number))
            return fail("'" + std::string(fields[0]) + "' is not a text number");
        if (number >= size)
            return fail("number " + std::to_string(number) + " is past the end of the table (" +
                        std::to_string(size) + " texts, numbers 0 to " + std::to_string(size - 1) +
                        ")");
        if (number == previous || (number < previous && lineOfNumber[number] != 0)) {
            return fail("number " + std::to_string(number) + " appears twice (first on line " +
                        std::to_string(lineOfNumber[number]) + ")");
        }
        if (number < previous)
            return fail("number " + std::to_string(number) + " is out of order (it follows " +
                        std::to_string(previous) + ")");

        Texts &texts = result.texts[number];
        for (std::size_t k = 0; k < 3; ++k) {
            std::string error;
            if (!UnescapeField(fields[k + 1], texts[k], error)) {
                static constexpr const char *kColumnNames[] = {"English", "Simplified",
                                                               "Traditional"};
                return fail(std::string(kColumnNames[k]) + " column: " + error);
            }
        }
        lineOfNumber[number] = lineNo;
        previous = number;
    }
    result.ok = true;
    return result;
}

} // namespace vkt::tables
