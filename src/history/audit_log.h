#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "files/file_result.h"

namespace halyx {

// One radio operation, as the audit log keeps it. Empty texts are written as null.
struct AuditEntry {
    std::chrono::system_clock::time_point time;
    std::string program;    // "halyx", "halyx-cli"
    std::string operation;  // "read", "write", "fleet write", "fleet read", "tuning read", ...
    std::string portName;
    std::string devicePath;
    std::string serialNumber;
    std::string userId;
    std::string sha256Read;     // of the image read, as its file holds it
    std::string sha256Written;  // of the image written, likewise
    std::string result;         // "success", "link-failure", "read-back-differs", ...
    std::int64_t durationMs = 0;
    std::string backupPath;
};

// The entry as one line of JSON with its "\n". Field order is fixed; the time is UTC,
// ISO 8601 with milliseconds. Bytes that are not UTF-8 are kept as the characters U+0080..U+00FF,
// so every line is valid JSON whatever a radio holds.
std::string AuditLine(const AuditEntry& entry);

// The log file: one line appended per operation, with a single write of the complete line to a
// file opened for appending, so lines of programs writing at once never interleave. A line cut
// short by a crash or a full disk is ended before the next line, so it spoils only itself.
class AuditLog {
public:
    explicit AuditLog(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

    // Creates the folder and the file when needed.
    FileResult Append(const AuditEntry& entry) const;

private:
    std::filesystem::path path_;
};

}  // namespace halyx
