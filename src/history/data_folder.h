#pragma once

#include <filesystem>

namespace halyx {

// Where Halyx keeps what it records about radios (backups, the audit log):
// $XDG_DATA_HOME/halyx, or ~/.local/share/halyx when that is unset or not an absolute path.
// Empty when neither it nor HOME is known.
std::filesystem::path HalyxDataFolder();

}  // namespace halyx
