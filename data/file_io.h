// Whole-file reading and atomic whole-file writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vkt {

struct FileReadResult {
    bool opened = false;          // the file could be opened for reading
    std::uintmax_t fileSize = 0;  // the file's size in bytes
    std::vector<std::uint8_t> bytes; // its first bytes, at most the limit asked for
    std::string error;            // plain-words reason when !opened
};

// Reads at most `limit` bytes from the start of the file.
FileReadResult ReadFilePrefix(const std::string &path, std::size_t limit);

struct FileWriteResult {
    bool ok = false;
    std::string error;            // plain-words reason when !ok
};

// Writes `size` bytes to `path` atomically: the bytes go to a temporary
// file in the same folder, which is flushed to disk and then renamed over
// the target. On any failure the temporary file is removed and an existing
// target is left exactly as it was.
FileWriteResult WriteFileAtomic(const std::string &path, const void *data, std::size_t size);

} // namespace vkt
