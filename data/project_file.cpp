#include "project_file.h"

#include <algorithm>
#include <cstring>

namespace vkt {

namespace {

// Copies as much of the file as there is over the start of a record of
// `size` bytes; the rest of the record keeps its values. Nothing in the
// bytes is checked: both files are plain images of their records.
LoadResult LoadRecord(const std::string &path, std::uint8_t *record, std::size_t size)
{
    FileReadResult file = ReadFilePrefix(path, size);
    LoadResult result;
    result.opened = file.opened;
    result.fileSize = file.fileSize;
    result.error = file.error;
    if (!file.opened)
        return result;
    result.bytesLoaded = std::min(file.bytes.size(), size);
    if (result.bytesLoaded > 0) // an empty file has no bytes to copy
        std::memcpy(record, file.bytes.data(), result.bytesLoaded);
    return result;
}

} // namespace

LoadResult LoadProjectFile(const std::string &path, RadioData &data)
{
    return LoadRecord(path, reinterpret_cast<std::uint8_t *>(&data), kRadioDataSize);
}

FileWriteResult SaveProjectFile(const std::string &path, const RadioData &data)
{
    return WriteFileAtomic(path, &data, kRadioDataSize);
}

LoadResult LoadAdjustmentFile(const std::string &path, AdjustmentData &adj)
{
    return LoadRecord(path, reinterpret_cast<std::uint8_t *>(&adj), kAdjustmentSize);
}

FileWriteResult SaveAdjustmentFile(const std::string &path, const AdjustmentData &adj)
{
    return WriteFileAtomic(path, &adj, kAdjustmentSize);
}

} // namespace vkt
