#pragma once

#include <QString>
#include <filesystem>

namespace halyx {

// A path a file dialog handed back, for the plain C++ file functions. Going through UTF-16 keeps
// every character on Windows as well, where a narrow path would be read in the ANSI code page.
inline std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace halyx
