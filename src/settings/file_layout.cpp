#include "settings/file_layout.h"

#include <cstdlib>
#include <system_error>
#include <vector>

#include "settings/program_directory.h"
#include "settings/setting_file.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif
#if defined(__APPLE__)
#include <QLocale>
#include <QStandardPaths>
#endif

namespace halyx {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kAppFolder = "halyx";
constexpr std::string_view kDefaultImageName = "default.kda";
constexpr std::string_view kTrafficLogName = "comm.log";
// Where `cmake --install` puts the data files, relative to the executable's folder.
constexpr std::string_view kInstalledDataFolder = "../share/halyx";
constexpr std::string_view kChineseLocalePrefix = "zh";
constexpr const char* kLanguageFileNames[] = {"english.lang", "chinese.lang"};

bool HoldsLanguageFiles(const fs::path& folder) {
    std::error_code error;
    for (const char* name : kLanguageFileNames) {
        if (fs::exists(folder / name, error)) {
            return true;
        }
    }
    return false;
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// A base folder from an XDG variable, or `fallback` under the home folder. Relative values are
// invalid by the XDG rules and are ignored, as other desktop programs do.
fs::path UserFolder(const std::string& variable, const std::string& home, const char* fallback) {
    if (!variable.empty() && fs::path(variable).is_absolute()) {
        return fs::path(variable) / kAppFolder;
    }
    if (home.empty()) {
        return {};
    }
    return fs::path(home) / fallback / kAppFolder;
}

bool IsWritableFolder(const fs::path& folder) {
#if defined(_WIN32)
    static_cast<void>(folder);
    return true;
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

}  // namespace

fs::path FileLayout::settingFilePath() const {
    if (installed() && !userConfigDirectory.empty()) {
        return userConfigDirectory / settings::kFileName;
    }
    return programFile(settings::kFileName);
}

LayoutEnvironment ReadLayoutEnvironment() {
    LayoutEnvironment environment;
    environment.halyxHome = Variable("HALYX_HOME");
    environment.home = Variable("HOME");
    environment.executable = ExecutablePath();
#if defined(__APPLE__)
    // The platform's own places for preferences and application data, as Finder users expect.
    environment.xdgConfigHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
    environment.xdgStateHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    environment.xdgDataHome = environment.xdgStateHome;
    environment.locale = QLocale::system().name().toStdString();
#else
    environment.xdgConfigHome = Variable("XDG_CONFIG_HOME");
    environment.xdgStateHome = Variable("XDG_STATE_HOME");
#if defined(_WIN32)
    // Windows keeps per-user application data under %LOCALAPPDATA%.
    environment.xdgDataHome = Variable("LOCALAPPDATA");
#else
    environment.xdgDataHome = Variable("XDG_DATA_HOME");
#endif
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        environment.locale = Variable(name);
        if (!environment.locale.empty()) {
            break;
        }
    }
#endif
    return environment;
}

FileLayout ResolveFileLayout(const LayoutEnvironment& environment) {
    FileLayout layout;
    layout.userDataDirectory =
        UserFolder(environment.xdgDataHome, environment.home, ".local/share");
    if (!environment.halyxHome.empty()) {
        layout.programDirectory = fs::path(environment.halyxHome);
        return layout;
    }
    if (!environment.executable.has_parent_path()) {
        std::error_code error;
        const fs::path current = fs::current_path(error);
        layout.programDirectory = error ? fs::path(".") : current;
        return layout;
    }
    layout.programDirectory = environment.executable.parent_path();
#if !defined(_WIN32)
    // A build tree or a portable copy keeps its language files beside the program; an installed
    // one (bin/ and share/halyx/) keeps them in the data folder. Windows stays portable.
    const fs::path shared = (layout.programDirectory / kInstalledDataFolder).lexically_normal();
    if (!HoldsLanguageFiles(layout.programDirectory) && HoldsLanguageFiles(shared)) {
        layout.kind = LayoutKind::Installed;
        layout.programDirectory = shared;
        layout.userConfigDirectory =
            UserFolder(environment.xdgConfigHome, environment.home, ".config");
        layout.userStateDirectory =
            UserFolder(environment.xdgStateHome, environment.home, ".local/state");
        layout.localeLanguage = LocaleLanguageValue(environment.locale);
    }
#endif
    return layout;
}

const FileLayout& CurrentFileLayout() {
    static const FileLayout layout = ResolveFileLayout(ReadLayoutEnvironment());
    return layout;
}

std::string LocaleLanguageValue(std::string_view locale) {
    return std::string(locale.starts_with(kChineseLocalePrefix) ? settings::kChinese
                                                                : settings::kEnglish);
}

fs::path DefaultImagePath(const FileLayout& layout) {
    const fs::path inCurrentDirectory(kDefaultImageName);
    if (!layout.installed()) {
        return inCurrentDirectory;
    }
    std::vector<fs::path> candidates{inCurrentDirectory};
    if (!layout.userConfigDirectory.empty()) {
        candidates.push_back(layout.userConfigDirectory / kDefaultImageName);
    }
    candidates.push_back(layout.programFile(kDefaultImageName));
    std::error_code error;
    for (const fs::path& candidate : candidates) {
        if (fs::exists(candidate, error)) {
            return candidate;
        }
    }
    return inCurrentDirectory;
}

fs::path TrafficLogPath(const FileLayout& layout, const fs::path& currentDirectory) {
    const fs::path inCurrentDirectory(kTrafficLogName);
    if (!layout.installed() || layout.userStateDirectory.empty() ||
        IsWritableFolder(currentDirectory)) {
        return inCurrentDirectory;
    }
    std::error_code error;
    fs::create_directories(layout.userStateDirectory, error);
    return layout.userStateDirectory / kTrafficLogName;
}

}  // namespace halyx
