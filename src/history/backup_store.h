#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_result.h"
#include "image/radio_image.h"

namespace halyx {

// How many backups are kept: a backup goes only when it is neither among the newest `keepFiles`
// nor younger than `keepDays` days, so whichever rule keeps more wins.
struct BackupRetention {
    static constexpr std::size_t kDefaultKeepFiles = 500;
    static constexpr int kDefaultKeepDays = 365;

    std::size_t keepFiles = kDefaultKeepFiles;
    int keepDays = kDefaultKeepDays;
};

struct BackupResult {
    std::filesystem::path path;  // the backup written
    FileResult file;             // why it was not, when it was not
    bool ok() const { return file.ok(); }
};

// Images read from radios, kept as image files under one folder:
// <folder>/YYYY-MM-DD/HHMMSS-<serial>.kda in local time. A second backup of the same radio in the
// same second gets "-2", "-3", ... rather than replacing the first.
class BackupStore {
public:
    using Clock = std::chrono::system_clock;

    explicit BackupStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }

    // Writes the image atomically (as Save writes image files), creating folders as needed.
    BackupResult Save(const RadioImage& image, Clock::time_point when) const;
    // Save, then Prune when it was saved: how every backup is taken.
    BackupResult SaveAndPrune(const RadioImage& image, const BackupRetention& retention,
                              Clock::time_point when) const;
    // Removes the backups the retention does not keep, and day folders left empty. Files and
    // folders not named like backups are never touched, nor any backup this store saved: an
    // audit line of this run names it. Returns the number removed.
    std::size_t Prune(const BackupRetention& retention, Clock::time_point now) const;
    // Every backup, newest first: by the second in its name, then within a second by when the
    // file was written, then by its "-N" (a later one is a later backup).
    std::vector<std::filesystem::path> List() const;

    // The serial number as it appears in a file name: letters, digits, '-', '_' and '.' are kept,
    // anything else becomes '_'; "unknown" when empty.
    static std::string FileNameSerial(std::string_view serial);

private:
    std::filesystem::path folder_;
    // The backups saved through this store. One store serves one run (a fleet's radios share it)
    // from one thread.
    mutable std::set<std::filesystem::path> saved_;
};

}  // namespace halyx
