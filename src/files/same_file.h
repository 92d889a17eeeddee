#pragma once

#include <filesystem>

namespace halyx {

// A path as the file it names: absolute, with links, "." and ".." resolved as far as the path
// exists, so two spellings of one file compare equal.
std::filesystem::path ResolvedPath(const std::filesystem::path& path);

// Whether two names lead to one file (or device): the files themselves when both exist (hard
// links too), otherwise their resolved paths. Empty names are never the same file.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace halyx
