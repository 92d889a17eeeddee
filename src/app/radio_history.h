#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "files/file_result.h"
#include "image/radio_image.h"

namespace halyx {

struct AppContext;

// One radio operation of the main window or the factory dialog, as the history keeps it.
struct RadioOperation {
    std::string operation;  // "read", "write", "tuning read", "tuning write"
    std::string result;     // "success", "link-failure", "read-back-differs", "port-error", ...
    const RadioImage* imageRead = nullptr;     // backed up and digested when given
    const RadioImage* imageWritten = nullptr;  // digested when given
    std::int64_t durationMs = 0;
    // The port used; the setting file's choice when none is given.
    std::optional<int> portNumber;
};

struct RadioOperationRecord {
    std::filesystem::path backupPath;  // empty when no backup was asked for or made
    FileResult backup;                 // why the backup failed, when it did
    FileResult audit;                  // why the audit line was not written, when it was not
};

// Where the history of this run lives: backups and the audit log under the user's data folder.
std::filesystem::path BackupFolderOf(const AppContext& context);

// Saves the backup (when an image was read) and appends the audit line, naming the port the
// setting file chooses. Failures are handed back; the operation itself stands either way.
RadioOperationRecord RecordRadioOperation(const AppContext& context, const RadioOperation& op);

// Milliseconds since `start`, for an operation's duration.
std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start);

}  // namespace halyx
