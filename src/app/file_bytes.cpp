#include "app/file_bytes.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace halyx {
namespace {

namespace fs = std::filesystem;

constexpr int kTempNameAttempts = 16;

std::FILE* CreateNewFile(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself survive a power cut; a failure here loses nothing already written.
void SyncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#endif
}

fs::path ResolveLinks(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        fs::path target = fs::weakly_canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

// A new file next to `target` that no one else can be using: exclusive creation, random name.
std::FILE* CreateTempBeside(const fs::path& target, fs::path& tempPath) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        fs::path candidate = target;
        candidate += ".tmp" + std::to_string(random() % 1000000000U);
        if (std::FILE* file = CreateNewFile(candidate)) {
            tempPath = std::move(candidate);
            return file;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = ResolveLinks(path);
    fs::path tempPath;
    std::FILE* file = CreateTempBeside(target, tempPath);
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool synced = written && FlushToDisk(file);
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (synced && closed) {
        const fs::file_status old = fs::status(target, error);
        if (!error && fs::exists(old)) {
            fs::permissions(tempPath, old.permissions(), error);
        }
        error.clear();
        fs::rename(tempPath, target, error);
        if (!error) {
            SyncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
            return true;
        }
    }
    fs::remove(tempPath, error);
    return false;
}

}  // namespace halyx
