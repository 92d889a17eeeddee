#include "files/output_place.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/same_file.h"

namespace halyx {
namespace {

// What the name leads to, following links; nothing when nothing is there.
std::optional<struct stat> StatOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return st;
}

std::optional<std::string> KindProblem(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) {
        return "is a folder";
    }
    if (S_ISFIFO(st.st_mode)) {
        return "is a pipe";
    }
    if (!S_ISREG(st.st_mode)) {
        return "is a device or other special file";
    }
    return std::nullopt;
}

// Creating (and removing) a file of our own is the only proof that a new file can go there:
// permission bits say nothing to root, a read-only mount or a full folder.
std::optional<std::string> ProbeFolder(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / (".halyx-probe-" + std::to_string(static_cast<long>(::getpid())));
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return "cannot be created in " + folder.string() + ": " + std::strerror(errno);
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return std::nullopt;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = ResolvedPath(file).parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

}  // namespace

std::optional<std::string> WhyNotWritable(const std::filesystem::path& file) {
    if (const auto st = StatOf(file)) {
        if (auto problem = KindProblem(*st)) {
            return problem;
        }
    }
    const std::filesystem::path folder = FolderOf(file);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return "cannot be created: the folder " + folder.string() + " does not exist";
    }
    return ProbeFolder(folder);
}

std::optional<std::string> WhyFolderNotWritable(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        return "is not a folder and cannot be created as one";
    }
    return ProbeFolder(folder);
}

std::optional<std::string> WhyNotAppendable(const std::filesystem::path& file) {
    if (const auto st = StatOf(file)) {
        if (auto problem = KindProblem(*st)) {
            return problem;
        }
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0) {
            return std::string("cannot be written: ") + std::strerror(errno);
        }
        ::close(fd);
        return std::nullopt;
    }
    return WhyFolderNotWritable(FolderOf(file));
}

}  // namespace halyx
