#include "cli/output_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "files/same_file.h"

namespace halyx::cli {
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

std::optional<int> RefuseClashingOutputs(const std::vector<NamedPath>& inputs,
                                         const std::vector<NamedPath>& outputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& out = outputs[i];
        if (out.path.empty()) {
            continue;
        }
        const auto clash = [&out](const NamedPath& other, const char* role) {
            PrintError(out.option + ": " + out.path + " is the same file as " + role +
                       other.option + " (" + other.path + "); nothing was written");
            return kUsage;
        };
        for (const NamedPath& in : inputs) {
            if (SameFile(out.path, in.path)) {
                return clash(in, "the input ");
            }
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (SameFile(out.path, outputs[k].path)) {
                return clash(outputs[k], "the output ");
            }
        }
    }
    return std::nullopt;
}

NamedPath AuditLogOutput(const HistoryPlaces& places) {
    return {"the audit log", places.auditPath.string()};
}

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

}  // namespace halyx::cli
