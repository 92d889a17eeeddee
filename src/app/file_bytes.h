#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halyx {

// The whole content of a file; nullopt when it does not exist or cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Replaces the file's content through a temporary file in the same folder and a rename, so a
// crash or a full disk leaves either the old or the new content, never a cut file. A symbolic
// link is followed and its target replaced; the old file's permissions are kept.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace halyx
