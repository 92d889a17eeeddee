// The one way the system reads a file: never blocking on what the name leads to, only from a
// regular file, and never more than the caller's limit (plus one byte to tell a larger file).
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "files/file_kind.h"
#include "files/raw_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halyx {
namespace {

namespace fs = std::filesystem;

FileResult TooLarge(const fs::path& path, std::uintmax_t size, std::uintmax_t limit) {
    FileResult result;
    result.cause = FileErrorCause::TooLarge;
    result.path = path.string();
    result.size = size;
    result.limit = limit;
    return result;
}

#ifndef _WIN32

// Opens without waiting: a named pipe with no writer would hold open() until one came, and a
// terminal must not become ours. The check after open covers a name swapped in between.
int OpenRegularFile(const fs::path& path, FileResult& refusal, std::uintmax_t& size) {
    struct stat named {};
    if (stat(path.c_str(), &named) != 0) {
        refusal = FailureFromErrno(path.string(), errno);
        return -1;
    }
    // Refused before opening at all: opening some devices already does something.
    if (KindOfMode(named.st_mode) != FileKind::Regular) {
        refusal = RefusedAs(path.string(), KindOfMode(named.st_mode));
        return -1;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        refusal = FailureFromErrno(path.string(), errno);
        return -1;
    }
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || KindOfMode(opened.st_mode) != FileKind::Regular) {
        const int error = errno;
        refusal = KindOfMode(opened.st_mode) != FileKind::Regular
                      ? RefusedAs(path.string(), KindOfMode(opened.st_mode))
                      : FailureFromErrno(path.string(), error);
        close(fd);
        return -1;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) {
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    size = static_cast<std::uintmax_t>(opened.st_size);
    return fd;
}

// Reads into `bytes` from `got` until it is full or the file ends; the count held, or -1 with
// errno set.
long ReadUpTo(int fd, std::vector<std::uint8_t>& bytes, std::size_t got) {
    while (got < bytes.size()) {
        const ssize_t step = read(fd, bytes.data() + got, bytes.size() - got);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step < 0) {
            return -1;
        }
        if (step == 0) {
            break;
        }
        got += static_cast<std::size_t>(step);
    }
    return static_cast<long>(got);
}

#endif

}  // namespace

ReadResult ReadSmallFile(const fs::path& path, std::uintmax_t limit) {
    ReadResult read;
    read.result.path = path.string();
#ifdef _WIN32
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!error && fs::exists(status) && !fs::is_regular_file(status)) {
        read.result =
            RefusedAs(path.string(), fs::is_directory(status) ? FileKind::Folder : FileKind::Other);
        return read;
    }
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        read.result = FailureFromErrno(path.string(), errno);
        return read;
    }
    read.bytes.resize(static_cast<std::size_t>(limit) + 1);
    const std::size_t got = std::fread(read.bytes.data(), 1, read.bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    const long count = failed ? -1 : static_cast<long>(got);
    const std::uintmax_t size = got;
#else
    std::uintmax_t size = 0;
    const int fd = OpenRegularFile(path, read.result, size);
    if (fd < 0) {
        return read;
    }
    if (size > limit) {
        close(fd);
        read.result = TooLarge(path, size, limit);
        return read;
    }
    // One byte past what was measured tells a file that grew since; only then is it read on, to
    // one byte past the limit. Sized to the file, a small one costs no buffer of the limit's size.
    read.bytes.resize(static_cast<std::size_t>(size) + 1);
    long count = ReadUpTo(fd, read.bytes, 0);
    if (count == static_cast<long>(read.bytes.size()) && size < limit) {
        read.bytes.resize(static_cast<std::size_t>(limit) + 1);
        count = ReadUpTo(fd, read.bytes, static_cast<std::size_t>(count));
    }
    const int error = errno;
    close(fd);
    if (count < 0) {
        read.result = FailureFromErrno(path.string(), error == 0 ? EIO : error);
    }
#endif
    if (count < 0) {
        read.bytes.clear();
        return read;
    }
    if (static_cast<std::uintmax_t>(count) > limit) {
        read.bytes.clear();
        read.result = TooLarge(path, std::max<std::uintmax_t>(size, limit + 1), limit);
        return read;
    }
    read.bytes.resize(static_cast<std::size_t>(count));
    return read;
}

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    const ReadResult read = ReadSmallFile(path, kTextFileLimit);
    if (!read.result.ok()) {
        return std::nullopt;
    }
    return std::string(read.bytes.begin(), read.bytes.end());
}

}  // namespace halyx
