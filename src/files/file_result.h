#pragma once

#include <cstdint>
#include <string>

namespace halyx {

// Why a file operation failed, in the categories users of the original tool know from its
// file-error messages, plus TooLarge for files that cannot be a radio image.
enum class FileErrorCause {
    None,
    Generic,
    FileNotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFile,
    DirectoryFull,
    BadSeek,
    HardIO,
    SharingViolation,
    LockViolation,
    DiskFull,
    EndOfFile,
    TooLarge,
};

// What a path turned out to name when it was refused for not being a regular file. The cause
// of such a refusal is the nearest one of the table above (see RefusedAs), so the GUI's file-error
// box still has a text for it; the command line names the kind itself.
enum class FileKind {
    Regular,
    Folder,
    NamedPipe,
    Device,
    Socket,
    Other,
};

struct FileResult {
    FileErrorCause cause = FileErrorCause::None;
    std::string path;                   // the file as the user named it
    std::uintmax_t size = 0;            // the file's size, for TooLarge
    std::uintmax_t limit = 0;           // the largest size accepted, for TooLarge
    FileKind kind = FileKind::Regular;  // what was found instead of a regular file

    bool ok() const { return cause == FileErrorCause::None; }
};

// A refusal of `path` because it names a `kind` of thing that is not a regular file. A folder is
// reported as access denied, as the platform's own open reports it; anything else (a named pipe,
// a device, a socket) as an invalid file handle: the name does not lead to a file that can be
// read or replaced as one.
FileResult RefusedAs(const std::string& path, FileKind kind);

// Maps a C library errno value to its cause.
FileErrorCause CauseFromErrno(int error);
// The failure of an operation on `path` that set errno to `error`.
FileResult FailureFromErrno(const std::string& path, int error);

// The message shown for a failed file operation, with the file name in place of %1 (UTF-8).
// The texts are the ones the original tool's users know, kept in Chinese as it showed them.
std::string FileErrorText(const FileResult& result);
// The same cause in plain English, for the command line.
std::string FileErrorTextEnglish(const FileResult& result);

}  // namespace halyx
