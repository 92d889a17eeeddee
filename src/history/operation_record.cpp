#include "history/operation_record.h"

#include "files/image_file.h"
#include "history/audit_log.h"
#include "history/sha256.h"
#include "image/header_text.h"

namespace halyx {

std::string ImageFileSha256(const RadioImage& image) {
    return Sha256Hex(image.bytes.data(), SavedImageSize(image));
}

OperationRecord RecordRadioOperation(const HistoryPlaces& places, const RadioOperation& operation,
                                     bool backup, std::chrono::system_clock::time_point now) {
    OperationRecord record;
    if (!places.known()) {
        return record;
    }
    if (backup && operation.imageRead != nullptr && operation.result == "success") {
        const BackupResult saved = BackupStore(places.backupFolder)
                                       .SaveAndPrune(*operation.imageRead, places.retention, now);
        if (saved.ok()) {
            record.backupPath = saved.path.string();
        } else {
            record.backupError = FileErrorTextEnglish(saved.file);
        }
    }

    AuditEntry entry;
    entry.time = now;
    entry.program = operation.program;
    entry.operation = operation.operation;
    entry.portName = operation.portName;
    entry.devicePath = operation.devicePath;
    const RadioImage* radio =
        operation.imageRead != nullptr ? operation.imageRead : operation.imageWritten;
    if (radio != nullptr) {
        entry.serialNumber = SerialNumberOf(*radio);
        entry.userId = UserIdOf(*radio);
    }
    if (operation.imageRead != nullptr) {
        entry.sha256Read = ImageFileSha256(*operation.imageRead);
    }
    if (operation.imageWritten != nullptr) {
        entry.sha256Written = ImageFileSha256(*operation.imageWritten);
    }
    entry.result = operation.result;
    entry.durationMs = operation.durationMs;
    entry.backupPath = record.backupPath;
    const FileResult appended = AuditLog(places.auditPath).Append(entry);
    if (!appended.ok()) {
        record.auditError = FileErrorTextEnglish(appended);
    }
    return record;
}

}  // namespace halyx
