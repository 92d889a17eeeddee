#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "history/history_places.h"
#include "history/operation_record.h"
#include "image/radio_image.h"
#include "settings/file_layout.h"
#include "settings/profile_file.h"

namespace halyx {

// One radio operation of the main window or the factory dialog, as its dialog knows it.
struct GuiRadioOperation {
    std::string operation;  // "read", "write", "tuning read", "tuning write"
    std::string result;     // "success", "link-failure", "read-back-differs", "port-error", ...
    const RadioImage* imageRead = nullptr;     // backed up and digested when given
    const RadioImage* imageWritten = nullptr;  // digested when given
    std::int64_t durationMs = 0;
    // The port used; the setting file's choice when none is given.
    std::optional<int> portNumber;
};

// Where this run's history lives, by its file layout.
HistoryPlaces HistoryPlacesOf(const FileLayout& layout);

// Saves the backup (when an image was read) and appends the audit line (program "halyx"),
// naming the port and the device it resolves to through `settingFile`. Failures are handed
// back; the operation itself stands either way.
OperationRecord RecordGuiOperation(const FileLayout& layout, const ProfileFile& settingFile,
                                   const GuiRadioOperation& op);

// Milliseconds since `start`, for an operation's duration.
std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start);

}  // namespace halyx
