#pragma once

#include <filesystem>

#include "history/backup_store.h"
#include "settings/file_layout.h"

namespace halyx {

// Where this run keeps backups and the audit log, and how many backups it keeps.
struct HistoryPlaces {
    std::filesystem::path backupFolder;  // empty when no home folder is known
    std::filesystem::path auditPath;     // likewise
    BackupRetention retention;

    bool known() const { return !backupFolder.empty(); }
};

// The user's data folder of `layout` (backups/, audit.jsonl) and the retention from the
// "backup" section of its setting file ("keepFiles", "keepDays"); a value that is missing or
// not a whole number keeps the default.
HistoryPlaces ResolveHistoryPlaces(const FileLayout& layout);

}  // namespace halyx
