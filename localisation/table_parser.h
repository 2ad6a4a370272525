// Reading of the text tables (.tsv) for the build-time generator.
//
// Plain standard C++ so that the generator stays a small host tool. The
// format is described in README.md beside this file.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vkt::tables {

// The texts of one number: English, Simplified Chinese, Traditional
// Chinese, each UTF-8 with the escapes resolved.
using Texts = std::array<std::string, 3>;

struct ParseResult {
    bool ok = false;
    int errorLine = 0;     // 1-based line of the first fault
    std::string error;     // what is wrong with that line
    std::vector<Texts> texts; // `size` entries; numbers not listed are empty
};

// Parses the whole content of a table file that holds numbers 0..size-1.
// Stops at the first fault.
ParseResult ParseTable(std::string_view content, int size);

// Resolves the escapes of one field. Returns false and sets `error` on an
// unknown escape, a backslash at the end, or a blank at either edge that
// is not written as \s.
bool UnescapeField(std::string_view raw, std::string &out, std::string &error);

} // namespace vkt::tables
