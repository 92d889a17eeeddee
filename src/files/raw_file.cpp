#include "files/raw_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
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

// A name no other save (in this process or another) is using at the same moment.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = static_cast<int>(getpid());
#endif
    std::filesystem::path temporary = path;
    temporary += ".halyx-" + std::to_string(pid) + "-" + std::to_string(counter++) + ".tmp";
    return temporary;
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

// Replacing a file the user may not write to must fail as it would have in place, even though
// the folder allows the rename.
bool ExistingFileIsReadOnly(const std::filesystem::path& path) {
#ifdef _WIN32
    return _access(path.string().c_str(), 2) != 0 && errno == EACCES;
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

FileResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::vector<std::uint8_t>& bytes) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        return Failure(path, EISDIR);
    }
    if (std::filesystem::exists(path, ignored) && ExistingFileIsReadOnly(path)) {
        return Failure(path, EACCES);
    }
    const std::filesystem::path temporary = TemporaryNameBeside(path);
    errno = 0;
    std::FILE* file = std::fopen(temporary.string().c_str(), "wbx");
    if (file == nullptr) {
        return Failure(path, errno);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = written && FlushToDisk(file);
    int error = errno;
    if (std::fclose(file) != 0 && flushed) {
        error = errno;
    }
    std::error_code renameError;
    if (written && flushed) {
        std::filesystem::rename(temporary, path, renameError);
        if (!renameError) {
            return {FileErrorCause::None, path.string()};
        }
        error = renameError.value();
    }
    std::filesystem::remove(temporary, ignored);
    return Failure(path, error == 0 ? EIO : error);
}

}  // namespace halyx
