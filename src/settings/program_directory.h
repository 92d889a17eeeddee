#pragma once

#include <filesystem>
#include <string_view>

namespace halyx {

// Where the setting and language files live: $HALYX_HOME when set (tests, portable installs),
// otherwise the folder of the running executable.
std::filesystem::path ProgramDirectory();

// ProgramDirectory() / name.
std::filesystem::path ProgramFilePath(std::string_view name);

}  // namespace halyx
