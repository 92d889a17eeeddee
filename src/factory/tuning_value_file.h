#pragma once

#include <filesystem>

#include "files/file_result.h"
#include "link/tuning_data.h"

namespace halyx {

// Tuning-value files (*.dat): the twelve TestValues bytes, nothing else.
namespace tuning_file {
inline constexpr const char* kDefaultName = "Default";
inline constexpr const char* kExtension = "dat";
inline constexpr const char* kFilterDescription = "Archive File(*.dat)";
inline constexpr const char* kFilterPattern = "*.dat;";
}  // namespace tuning_file

// Replaces the file with the twelve bytes, atomically: a failed save leaves an existing file as
// it was.
FileResult SaveTuningValueFile(const std::filesystem::path& path, const TestValues& values);

// Copies the file's bytes over the start of `values`. A file shorter than twelve bytes changes
// only as many bytes as it holds (older tools wrote such files and users still load them); a
// longer one cannot be a tuning-value file and is refused (TooLarge) with `values` untouched,
// as is a file that cannot be read.
FileResult LoadTuningValueFile(const std::filesystem::path& path, TestValues& values);

}  // namespace halyx
