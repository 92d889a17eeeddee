#include "cli/operation_log.h"

#include "cli/commands.h"
#include "settings/setting_file.h"

namespace halyx::cli {

OperationLog::OperationLog(std::string operation, const PortText& port, bool backup)
    : operation_(std::move(operation)),
      backup_(backup),
      started_(std::chrono::steady_clock::now()) {
    if (port.devicePath.empty()) {
        portName_ = ComName(port.portNumber);
        devicePath_ = ResolvePortDevice(port.portNumber, DevicesFromSettingFile(SettingFile()));
    } else {
        portName_ = port.devicePath;
        devicePath_ = port.devicePath;
    }
}

std::string OperationLog::ResultName(ExchangeResult result, bool portLost) {
    return portLost ? "port-error" : std::string(ExchangeResultName(result));
}

OperationRecord OperationLog::Record(const std::string& result, const RadioImage* read,
                                     const RadioImage* written) const {
    RadioOperation operation;
    operation.program = "halyx-cli";
    operation.operation = operation_;
    operation.portName = portName_;
    operation.devicePath = devicePath_;
    operation.imageRead = read;
    operation.imageWritten = written;
    operation.result = result;
    operation.durationMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - started_)
                               .count();
    const OperationRecord record =
        RecordRadioOperation(ResolveHistoryPlaces(CurrentFileLayout()), operation, backup_,
                             std::chrono::system_clock::now());
    if (!record.backupError.empty()) {
        PrintError("warning: no backup of what was read: " + record.backupError);
    }
    if (!record.auditError.empty()) {
        PrintError("warning: not in the audit log: " + record.auditError);
    }
    return record;
}

}  // namespace halyx::cli
