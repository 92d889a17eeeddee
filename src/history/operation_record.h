#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "history/history_places.h"
#include "image/radio_image.h"

namespace halyx {

// One radio operation of a single radio (a read, a write, a tuning read or write), as the face
// that ran it knows it.
struct RadioOperation {
    std::string program;    // "halyx", "halyx-cli"
    std::string operation;  // "read", "write", "tuning read", "tuning write"
    std::string portName;
    std::string devicePath;
    const RadioImage* imageRead = nullptr;     // backed up and digested when set
    const RadioImage* imageWritten = nullptr;  // digested when set
    std::string result;                        // "success", "link-failure", ...
    std::int64_t durationMs = 0;
};

struct OperationRecord {
    std::string backupPath;   // the backup written; empty when none was
    std::string backupError;  // why a backup that was due was not written
    std::string auditError;   // why the audit line was not written
};

// What a radio operation leaves behind: a backup of the image read (when `backup` is set and the
// operation succeeded), with the store pruned by the retention, then the audit line naming it.
// The serial number and user ID are the radio's: from the image read, else the image written.
// Nothing is recorded when the places are unknown (no home folder).
OperationRecord RecordRadioOperation(const HistoryPlaces& places, const RadioOperation& operation,
                                     bool backup, std::chrono::system_clock::time_point now);

// SHA-256 of the bytes an image file of `image` holds.
std::string ImageFileSha256(const RadioImage& image);

}  // namespace halyx
