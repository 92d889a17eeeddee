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

// The largest setting or language file read: far above any real one, small enough that a name
// leading to an endless source cannot exhaust memory.
inline constexpr std::uintmax_t kTextFileLimit = 1024 * 1024;

// Reads a whole regular file of at most `limit` bytes; every file the system reads comes through
// here. The open never blocks (a named pipe with no writer is refused, not waited on), links are
// followed and whatever they lead to must be a regular file (FileResult::kind says what it was
// otherwise), and no more than `limit` + 1 bytes are ever read. A larger file is refused
// (TooLarge, with its size) so callers can report it and keep what they had.
ReadResult ReadSmallFile(const std::filesystem::path& path, std::uintmax_t limit);

// The whole content of a text file such as setting.ini, read as ReadSmallFile does with
// kTextFileLimit; nothing when it cannot be read or is not a regular file of at most that size.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over `path`,
// so a crash or a full disk leaves either the old or the new content, never a cut file. A failure
// at any step leaves an existing file exactly as it was. Only a regular file is ever replaced: a
// symbolic link is followed and its target replaced only when that is a regular file (or does not
// exist yet); a folder, device, named pipe or socket is refused and left alone. The old file's
// permissions are kept.
FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);
FileResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::vector<std::uint8_t>& bytes);

}  // namespace halyx
