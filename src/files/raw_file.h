#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/file_result.h"

namespace halyx {

struct ReadResult {
    FileResult result;
    std::vector<std::uint8_t> bytes;
};

// Reads a whole file of at most `limit` bytes. A larger file is refused (TooLarge, with its size)
// before anything is read, so callers can report it and keep what they had.
ReadResult ReadSmallFile(const std::filesystem::path& path, std::uintmax_t limit);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over `path`.
// A failure at any step leaves an existing file at `path` exactly as it was.
FileResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::vector<std::uint8_t>& bytes);

}  // namespace halyx
