#include "files/file_result.h"

#include <cerrno>

namespace halyx {
namespace {

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

std::string ChineseTemplate(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::FileNotFound:
            return "没有找到 %1。";
        case FileErrorCause::BadPath:
            return "%1 中包含无效的路径。";
        case FileErrorCause::TooManyOpenFiles:
            return "无法打开 %1 因为太多文件已被打开。";
        case FileErrorCause::AccessDenied:
            return "对 %1 的存取被拒绝。";
        case FileErrorCause::InvalidFile:
            return "一个无效的文件柄与 %1 相关联。";
        case FileErrorCause::DirectoryFull:
            return "该目录已满，无法创建 %1。";
        case FileErrorCause::BadSeek:
            return "对 %1 进行查找失败。";
        case FileErrorCause::HardIO:
            return "在存取 %1 时一个硬件输入/输出错误被报告。";
        case FileErrorCause::SharingViolation:
            return "在存取 %1 时发生共享违例。";
        case FileErrorCause::LockViolation:
            return "在存取 %1 时发生锁违例。";
        case FileErrorCause::DiskFull:
            return "在存取 %1 时磁盘已满。";
        case FileErrorCause::EndOfFile:
            return "试图越过其尾端对 %1 进行读写。";
        case FileErrorCause::TooLarge:
            return "%1 有 %2 字节，超过了 %3 字节的上限，未被载入。";
        case FileErrorCause::None:
        case FileErrorCause::Generic:
            break;
    }
    return "在对 %1 进行访问时发生了一个不明错误。";
}

std::string EnglishTemplate(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::FileNotFound:
            return "%1: file not found";
        case FileErrorCause::BadPath:
            return "%1: invalid path";
        case FileErrorCause::TooManyOpenFiles:
            return "%1: too many open files";
        case FileErrorCause::AccessDenied:
            return "%1: access denied";
        case FileErrorCause::InvalidFile:
            return "%1: invalid file handle";
        case FileErrorCause::DirectoryFull:
            return "%1: directory full";
        case FileErrorCause::BadSeek:
            return "%1: seek failed";
        case FileErrorCause::HardIO:
            return "%1: hardware I/O error";
        case FileErrorCause::SharingViolation:
            return "%1: sharing violation";
        case FileErrorCause::LockViolation:
            return "%1: lock violation";
        case FileErrorCause::DiskFull:
            return "%1: disk full";
        case FileErrorCause::EndOfFile:
            return "%1: read or write past the end of the file";
        case FileErrorCause::TooLarge:
            return "%1: file is %2 bytes, larger than the %3-byte limit";
        case FileErrorCause::None:
        case FileErrorCause::Generic:
            break;
    }
    return "%1: unspecified error";
}

std::string EnglishKindTemplate(FileKind kind) {
    switch (kind) {
        case FileKind::Folder:
            return "%1: is a folder, not a file";
        case FileKind::NamedPipe:
            return "%1: is not a regular file (a named pipe)";
        case FileKind::Device:
            return "%1: is not a regular file (a device)";
        case FileKind::Socket:
            return "%1: is not a regular file (a socket)";
        case FileKind::Other:
        case FileKind::Regular:
            break;
    }
    return "%1: is not a regular file";
}

std::string Fill(const std::string& pattern, const FileResult& result) {
    std::string text = ReplaceAll(pattern, "%2", std::to_string(result.size));
    text = ReplaceAll(text, "%3", std::to_string(result.limit));
    // The path goes in last so a file name containing "%2" is shown as it is.
    return ReplaceAll(text, "%1", result.path);
}

}  // namespace

FileResult RefusedAs(const std::string& path, FileKind kind) {
    FileResult result;
    result.path = path;
    result.kind = kind;
    result.cause =
        kind == FileKind::Folder ? FileErrorCause::AccessDenied : FileErrorCause::InvalidFile;
    return result;
}

FileResult FailureFromErrno(const std::string& path, int error) {
    FileResult result;
    result.cause = CauseFromErrno(error);
    result.path = path;
    return result;
}

FileErrorCause CauseFromErrno(int error) {
    switch (error) {
        case 0:
            return FileErrorCause::Generic;
        case ENOENT:
            return FileErrorCause::FileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
        case ELOOP:
            return FileErrorCause::BadPath;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileErrorCause::AccessDenied;
        case EMFILE:
        case ENFILE:
            return FileErrorCause::TooManyOpenFiles;
        case ENOSPC:
        case EFBIG:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return FileErrorCause::DiskFull;
        case EIO:
            return FileErrorCause::HardIO;
        case EBADF:
            return FileErrorCause::InvalidFile;
        case EBUSY:
        case ETXTBSY:
            return FileErrorCause::SharingViolation;
        case ESPIPE:
            return FileErrorCause::BadSeek;
        default:
            return FileErrorCause::Generic;
    }
}

std::string FileErrorText(const FileResult& result) {
    return Fill(ChineseTemplate(result.cause), result);
}

std::string FileErrorTextEnglish(const FileResult& result) {
    if (result.kind != FileKind::Regular) {
        return Fill(EnglishKindTemplate(result.kind), result);
    }
    return Fill(EnglishTemplate(result.cause), result);
}

}  // namespace halyx
