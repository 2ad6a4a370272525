// Project files (.Dvf) and adjustment files (.Dvfa).
//
// A project file is the RadioData record byte for byte, 19815 bytes, no
// header. Loading copies as many bytes as the file holds over the record
// (a short file replaces only its own bytes; bytes past the record are
// ignored). An adjustment file is the 411-byte AdjustmentData record in
// the same way.
#pragma once

#include "adjustment.h"
#include "file_io.h"
#include "radio_data.h"

#include <cstdint>
#include <string>

namespace vkt {

inline constexpr const char *kProjectExtension = "Dvf";
inline constexpr const char *kAdjustmentExtension = "Dvfa";

struct LoadResult {
    bool opened = false;          // false: nothing was changed
    std::uintmax_t fileSize = 0;  // size of the file on disk
    std::size_t bytesLoaded = 0;  // bytes copied over the record
    std::string error;
};

LoadResult LoadProjectFile(const std::string &path, RadioData &data);
FileWriteResult SaveProjectFile(const std::string &path, const RadioData &data);

LoadResult LoadAdjustmentFile(const std::string &path, AdjustmentData &adj);
FileWriteResult SaveAdjustmentFile(const std::string &path, const AdjustmentData &adj);

} // namespace vkt
