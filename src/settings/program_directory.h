#pragma once

#include <filesystem>
#include <string_view>

namespace halyx {

// Where the language files live (and, in the portable layout, setting.ini): $HALYX_HOME when
// set (tests, portable installs), otherwise the folder of the running executable, or
// <prefix>/share/halyx for an installed one (see file_layout.h).
std::filesystem::path ProgramDirectory();

// ProgramDirectory() / name.
std::filesystem::path ProgramFilePath(std::string_view name);

// The full path of the running program file; empty when the system cannot tell.
std::filesystem::path ExecutablePath();

}  // namespace halyx
