#include "settings/program_directory.h"

#include <string>
#include <system_error>

#include "settings/file_layout.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>

#include <cstdint>
#endif

namespace halyx {

namespace fs = std::filesystem;

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

fs::path ProgramDirectory() {
    return CurrentFileLayout().programDirectory;
}

fs::path ProgramFilePath(std::string_view name) {
    return ProgramDirectory() / fs::path(name);
}

}  // namespace halyx
