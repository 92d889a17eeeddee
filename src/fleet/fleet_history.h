#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "fleet/fleet_recorder.h"
#include "history/audit_log.h"
#include "history/backup_store.h"
#include "history/operation_record.h"

namespace halyx {

// Keeps a fleet run's backups in a BackupStore (pruned after each one) and writes one audit line
// per radio. Either part may be left out: no store means no backups (--no-backup), no log means
// no audit lines.
class FleetHistory final : public FleetRecorder {
public:
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    struct Setup {
        const BackupStore* backups = nullptr;
        BackupRetention retention;
        const AuditLog* audit = nullptr;
        std::string program;    // "halyx-cli", "halyx"
        std::string operation;  // "fleet write", "fleet read"
        WallClock clock;        // system_clock::now when empty
    };

    explicit FleetHistory(Setup setup);

    BackupOutcome SaveBackup(const RadioImage& image) override;
    void RadioFinished(const FleetRadioReport& report) override;

    // Audit lines that could not be written, as messages for the face to show.
    const std::vector<std::string>& auditErrors() const { return auditErrors_; }

private:
    Setup setup_;
    std::vector<std::string> auditErrors_;
};

// The audit entry of one radio of a fleet run: serial number and user ID as read from it, the
// digests of the image files of what was read and of what was sent.
AuditEntry FleetAuditEntry(const FleetRadioReport& report, std::string program,
                           std::string operation, std::chrono::system_clock::time_point when);

}  // namespace halyx
