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

struct FileResult {
    FileErrorCause cause = FileErrorCause::None;
    std::string path;          // the file as the user named it
    std::uintmax_t size = 0;   // the file's size, for TooLarge
    std::uintmax_t limit = 0;  // the largest size accepted, for TooLarge

    bool ok() const { return cause == FileErrorCause::None; }
};

// Maps a C library errno value to its cause.
FileErrorCause CauseFromErrno(int error);

// The message shown for a failed file operation, with the file name in place of %1 (UTF-8).
// The texts are the ones the original tool's users know, kept in Chinese as it showed them.
std::string FileErrorText(const FileResult& result);
// The same cause in plain English, for the command line.
std::string FileErrorTextEnglish(const FileResult& result);

}  // namespace halyx
