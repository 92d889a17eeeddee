#include "history/data_folder.h"

#include <cstdlib>

namespace halyx {

std::filesystem::path HalyxDataFolder() {
    // A relative XDG_DATA_HOME is to be ignored, so a stray setting cannot scatter backups
    // into whatever folder a program was started from.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
        return std::filesystem::path(xdg) / "halyx";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && std::filesystem::path(home).is_absolute()) {
        return std::filesystem::path(home) / ".local" / "share" / "halyx";
    }
    return {};
}

}  // namespace halyx
