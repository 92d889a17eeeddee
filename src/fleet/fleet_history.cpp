#include "fleet/fleet_history.h"

#include <utility>

#include "files/image_file.h"
#include "history/operation_record.h"

namespace halyx {

AuditEntry FleetAuditEntry(const FleetRadioReport& report, std::string program,
                           std::string operation, std::chrono::system_clock::time_point when) {
    AuditEntry entry;
    entry.time = when;
    entry.program = std::move(program);
    entry.operation = std::move(operation);
    entry.portName = report.portName;
    entry.devicePath = report.devicePath;
    entry.serialNumber = report.serialBefore;
    entry.userId = report.userIdBefore;
    if (report.imageRead) {
        entry.sha256Read = ImageFileSha256(*report.imageRead);
    }
    if (report.imageWritten) {
        entry.sha256Written = ImageFileSha256(*report.imageWritten);
    }
    entry.result = std::string(FleetResultName(report.result));
    entry.durationMs = report.durationMs;
    entry.backupPath = report.backupPath;
    return entry;
}

FleetHistory::FleetHistory(Setup setup) : setup_(std::move(setup)) {
    if (!setup_.clock) {
        setup_.clock = [] { return std::chrono::system_clock::now(); };
    }
}

BackupOutcome FleetHistory::SaveBackup(const RadioImage& image) {
    if (setup_.backups == nullptr) {
        return {};
    }
    const BackupResult saved =
        setup_.backups->SaveAndPrune(image, setup_.retention, setup_.clock());
    if (!saved.ok()) {
        return {"", FileErrorTextEnglish(saved.file)};
    }
    return {saved.path.string(), ""};
}

void FleetHistory::RadioFinished(const FleetRadioReport& report) {
    if (setup_.audit == nullptr) {
        return;
    }
    const FileResult appended = setup_.audit->Append(
        FleetAuditEntry(report, setup_.program, setup_.operation, setup_.clock()));
    if (!appended.ok()) {
        auditErrors_.push_back(FileErrorTextEnglish(appended));
    }
}

}  // namespace halyx
