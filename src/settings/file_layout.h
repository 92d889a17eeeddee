#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace halyx {

// Where a run of Halyx keeps its files. Two layouts, one rule each:
//   Portable  - a program directory ($HALYX_HOME, or the executable's folder when it holds a
//               language file) with setting.ini and the language files; default.kda and
//               comm.log in the current directory. Always so on Windows.
//   Installed - the executable in <prefix>/bin and the language files in <prefix>/share/halyx,
//               which is read-only, so setting.ini lives per user ($XDG_CONFIG_HOME/halyx), the
//               language follows the system locale until the user picks one, and default.kda
//               and comm.log fall back to per-user and shipped locations.
enum class LayoutKind { Portable, Installed };

struct FileLayout {
    LayoutKind kind = LayoutKind::Portable;
    // Language files; in the portable layout also setting.ini.
    std::filesystem::path programDirectory;
    // Installed only (empty otherwise, or when no home folder is known): the user's setting.ini
    // and personal default.kda, and the folder comm.log falls back to.
    std::filesystem::path userConfigDirectory;
    std::filesystem::path userStateDirectory;
    // Both layouts: what Halyx keeps about radios (backups, the audit log) belongs to the user,
    // not to a program folder that may be shared or read-only. Empty when no home is known.
    std::filesystem::path userDataDirectory;
    // Installed only: "chinese" or "english" as the system locale suggests; empty when portable.
    std::string localeLanguage;

    bool installed() const { return kind == LayoutKind::Installed; }
    std::filesystem::path programFile(std::string_view name) const {
        return programDirectory / std::filesystem::path(name);
    }
    // The setting file of this layout (it may not exist yet; it is never created here).
    std::filesystem::path settingFilePath() const;
};

// What the layout is decided from, gathered from the process so the rule can be tried in tests.
struct LayoutEnvironment {
    std::string halyxHome;      // $HALYX_HOME
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME
    std::string xdgStateHome;   // $XDG_STATE_HOME
    std::string xdgDataHome;    // $XDG_DATA_HOME
    std::string home;           // $HOME
    std::string locale;         // the first of $LC_ALL, $LC_MESSAGES, $LANG that is set
    std::filesystem::path executable;
};

LayoutEnvironment ReadLayoutEnvironment();
FileLayout ResolveFileLayout(const LayoutEnvironment& environment);

// The layout of this process, decided once: later changes to the environment must not split one
// run between two setting files.
const FileLayout& CurrentFileLayout();

// "chinese" for a locale naming Chinese ("zh", "zh_CN.UTF-8", ...), "english" for any other.
std::string LocaleLanguageValue(std::string_view locale);

// The default image to load at start-up and on New: default.kda in the current directory; in
// the installed layout, when that does not exist, the user's and then the shipped one. Plain
// "default.kda" when none exists, so the not-found report names the file the user can provide.
std::filesystem::path DefaultImagePath(const FileLayout& layout);

// Where comm.log goes: the current directory; in the installed layout, when `currentDirectory`
// is not writable, the user's state folder, which is created for it.
std::filesystem::path TrafficLogPath(const FileLayout& layout,
                                     const std::filesystem::path& currentDirectory);

}  // namespace halyx
