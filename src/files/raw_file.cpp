#include "files/raw_file.h"

#include <cerrno>
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

FileResult Failure(const std::filesystem::path& path, int error) {
    FileResult result;
    result.cause = CauseFromErrno(error);
    result.path = path.string();
    return result;
}

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 16;

std::FILE* CreateNewFile(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// A new file beside `target` that nobody else can be using: exclusive creation, random name.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        fs::path candidate = target;
        candidate += ".halyx-" + std::to_string(random() % 1000000000U) + ".tmp";
        if (std::FILE* file = CreateNewFile(candidate)) {
            temporary = std::move(candidate);
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
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

// Replacing a file the user may not write to must fail as it would have in place, even though
// the folder allows the rename.
bool ExistingFileIsReadOnly(const fs::path& path) {
#ifdef _WIN32
    return _waccess(path.c_str(), 2) != 0 && errno == EACCES;
#else
    return access(path.c_str(), W_OK) != 0 && errno == EACCES;
#endif
}

}  // namespace

ReadResult ReadSmallFile(const std::filesystem::path& path, std::uintmax_t limit) {
    ReadResult read;
    read.result.path = path.string();
    errno = 0;
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr) {
        read.result = Failure(path, errno);
        return read;
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
    }
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        const int error = errno;
        std::fclose(file);
        read.result = Failure(path, error == 0 ? ESPIPE : error);
        if (error == EISDIR || error == 0) {
            read.result.cause =
                error == EISDIR ? FileErrorCause::AccessDenied : FileErrorCause::BadSeek;
        }
        return read;
    }
    if (static_cast<std::uintmax_t>(size) > limit) {
        std::fclose(file);
        read.result.cause = FileErrorCause::TooLarge;
        read.result.size = static_cast<std::uintmax_t>(size);
        read.result.limit = limit;
        return read;
    }
    read.bytes.resize(static_cast<std::size_t>(size));
    const std::size_t got = std::fread(read.bytes.data(), 1, read.bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        read.result = Failure(path, error == 0 ? EIO : error);
        read.bytes.clear();
    } else if (got != read.bytes.size()) {
        read.result.cause = FileErrorCause::EndOfFile;  // the file shrank while being read
        read.bytes.clear();
    }
    return read;
}

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

FileResult WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    const fs::path target = ResolveLinks(path);
    if (fs::is_directory(target, error)) {
        return Failure(path, EISDIR);
    }
    const fs::file_status old = fs::status(target, error);
    const bool replacing = !error && fs::exists(old);
    if (replacing && ExistingFileIsReadOnly(target)) {
        return Failure(path, EACCES);
    }
    fs::path temporary;
    errno = 0;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (file == nullptr) {
        return Failure(path, errno);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = written && FlushToDisk(file);
    int cause = errno;
    if (std::fclose(file) != 0 && flushed) {
        cause = errno;
    } else if (flushed) {
        if (replacing) {
            fs::permissions(temporary, old.permissions(), error);
        }
        error.clear();
        fs::rename(temporary, target, error);
        if (!error) {
            SyncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
            return {FileErrorCause::None, path.string()};
        }
        cause = error.value();
    }
    fs::remove(temporary, error);
    return Failure(path, cause == 0 ? EIO : cause);
}

FileResult WriteFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    return WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace halyx
