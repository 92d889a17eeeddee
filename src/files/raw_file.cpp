#include "files/raw_file.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "files/file_kind.h"

namespace halyx {
namespace {

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

// The name a save really replaces: the end of a chain of links. Nothing when the chain cannot be
// followed (a loop): replacing the link itself would not be what the user asked either.
std::optional<fs::path> ResolveLinks(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    fs::path target = fs::weakly_canonical(path, error);
    if (error) {
        return std::nullopt;
    }
    return target;
}

// What already stands at `target`, when it is something a save must not replace.
std::optional<FileKind> UnreplaceableKind(const fs::path& target) {
#ifdef _WIN32
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (error || !fs::exists(status) || fs::is_regular_file(status)) {
        return std::nullopt;
    }
    return fs::is_directory(status) ? FileKind::Folder : FileKind::Other;
#else
    struct stat existing {};
    if (stat(target.c_str(), &existing) != 0 || S_ISREG(existing.st_mode)) {
        return std::nullopt;
    }
    return KindOfMode(existing.st_mode);
#endif
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

FileResult WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    const std::optional<fs::path> resolved = ResolveLinks(path);
    if (!resolved) {
        return FailureFromErrno(path.string(), ELOOP);
    }
    const fs::path& target = *resolved;
    if (const std::optional<FileKind> kind = UnreplaceableKind(target)) {
        return RefusedAs(path.string(), *kind);
    }
    const fs::file_status old = fs::status(target, error);
    const bool replacing = !error && fs::exists(old);
    if (replacing && ExistingFileIsReadOnly(target)) {
        return FailureFromErrno(path.string(), EACCES);
    }
    fs::path temporary;
    errno = 0;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (file == nullptr) {
        return FailureFromErrno(path.string(), errno);
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
    return FailureFromErrno(path.string(), cause == 0 ? EIO : cause);
}

FileResult WriteFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    return WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace halyx
