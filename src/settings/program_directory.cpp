#include "settings/program_directory.h"

#include <cstdlib>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>

#include <cstdint>
#endif

namespace halyx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHomeVariable = "HALYX_HOME";
// Where `cmake --install` puts the language files, relative to the executable's folder.
constexpr const char* kInstalledDataFolder = "../share/halyx";
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

// The full path of the running program file; empty when the system cannot tell.
fs::path ExecutablePath() {
#if defined(_WIN32)
    // The path may exceed MAX_PATH; grow the buffer until it is not cut.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);  // asks for the size
    std::string buffer(size, '\0');
    if (_NSGetExecutablePath(buffer.data(), &size) != 0) {
        return {};
    }
    buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
    std::error_code error;
    fs::path resolved = fs::canonical(buffer, error);
    return error ? fs::path(buffer) : resolved;
#elif defined(__linux__)
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : path;
#else
    // Other systems have no common way to ask; the current folder is the best remaining guess.
    return {};
#endif
}

fs::path FindProgramDirectory() {
    if (const char* home = std::getenv(kHomeVariable); home != nullptr && *home != '\0') {
        return fs::path(home);
    }
    const fs::path executable = ExecutablePath();
    if (executable.has_parent_path()) {
        // A build tree or a portable copy keeps its files beside the program; an installed one
        // (bin/ and share/halyx/) keeps them in the data folder.
        const fs::path folder = executable.parent_path();
        const fs::path installed = (folder / kInstalledDataFolder).lexically_normal();
        if (!HoldsLanguageFiles(folder) && HoldsLanguageFiles(installed)) {
            return installed;
        }
        return folder;
    }
    std::error_code error;
    fs::path current = fs::current_path(error);
    return error ? fs::path(".") : current;
}

}  // namespace

fs::path ProgramDirectory() {
    // Found once: the executable does not move, and later changes to the environment must not
    // split one run between two setting files.
    static const fs::path directory = FindProgramDirectory();
    return directory;
}

fs::path ProgramFilePath(std::string_view name) {
    return ProgramDirectory() / fs::path(name);
}

}  // namespace halyx
