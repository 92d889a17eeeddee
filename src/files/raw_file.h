#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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

// The whole content of a text file such as setting.ini; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over `path`,
// so a crash or a full disk leaves either the old or the new content, never a cut file. A failure
// at any step leaves an existing file exactly as it was. A symbolic link is followed and its
// target replaced; the old file's permissions are kept.
FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);
FileResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::vector<std::uint8_t>& bytes);

}  // namespace halyx
