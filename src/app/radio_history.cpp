#include "app/radio_history.h"

#include "app/app_context.h"
#include "fleet/fleet_history.h"
#include "history/audit_log.h"
#include "history/backup_store.h"
#include "history/data_folder.h"
#include "image/header_text.h"
#include "link/port_names.h"
#include "settings/setting_file.h"

namespace halyx {
namespace {

constexpr std::string_view kProgram = "halyx";
constexpr std::string_view kBackupFolderName = "backups";
constexpr std::string_view kAuditFileName = "audit.jsonl";

// Without a data folder nothing can be kept; that is reported as a path that leads nowhere.
FileResult NoDataFolder() {
    FileResult result;
    result.cause = FileErrorCause::BadPath;
    result.path = "$XDG_DATA_HOME/halyx";
    return result;
}

}  // namespace

std::filesystem::path BackupFolderOf(const AppContext& context) {
    static_cast<void>(context);
    const std::filesystem::path data = HalyxDataFolder();
    return data.empty() ? data : data / kBackupFolderName;
}

RadioOperationRecord RecordRadioOperation(const AppContext& context, const RadioOperation& op) {
    RadioOperationRecord record;
    const std::filesystem::path data = HalyxDataFolder();
    const auto now = std::chrono::system_clock::now();
    if (op.imageRead != nullptr) {
        if (data.empty()) {
            record.backup = NoDataFolder();
        } else {
            const BackupStore store(BackupFolderOf(context));
            const BackupResult saved = store.Save(*op.imageRead, now);
            record.backup = saved.file;
            if (saved.ok()) {
                record.backupPath = saved.path;
                store.Prune(BackupRetention{}, now);
            }
        }
    }

    const int portNumber = op.portNumber.value_or(
        context.settingFile.readInt(settings::kPortSection, settings::kComKey));
    AuditEntry entry;
    entry.time = now;
    entry.program = kProgram;
    entry.operation = op.operation;
    entry.portName = ComName(portNumber);
    entry.devicePath =
        ResolvePortDevice(portNumber, DevicesFromSettingFile(context.settingFile));
    // The radio is known by what was read from it, or else by what it was given.
    if (const RadioImage* known = op.imageRead != nullptr ? op.imageRead : op.imageWritten) {
        entry.serialNumber = SerialNumberOf(*known);
        entry.userId = UserIdOf(*known);
    }
    if (op.imageRead != nullptr) {
        entry.sha256Read = ImageFileSha256(*op.imageRead);
    }
    if (op.imageWritten != nullptr) {
        entry.sha256Written = ImageFileSha256(*op.imageWritten);
    }
    entry.result = op.result;
    entry.durationMs = op.durationMs;
    entry.backupPath = record.backupPath.string();
    if (data.empty()) {
        record.audit = NoDataFolder();
    } else {
        record.audit = AuditLog(data / kAuditFileName).Append(entry);
    }
    return record;
}

std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
}

}  // namespace halyx
