#include "ui/common/gui_operation_record.h"

#include "link/port_names.h"
#include "settings/setting_file.h"

namespace halyx {

HistoryPlaces HistoryPlacesOf(const FileLayout& layout) {
    return ResolveHistoryPlaces(layout);
}

OperationRecord RecordGuiOperation(const FileLayout& layout, const ProfileFile& settingFile,
                                   const GuiRadioOperation& op) {
    const int portNumber =
        op.portNumber.value_or(settingFile.readInt(settings::kPortSection, settings::kComKey));
    RadioOperation operation;
    operation.program = "halyx";
    operation.operation = op.operation;
    operation.portName = ComName(portNumber);
    operation.devicePath = ResolvePortDevice(portNumber, DevicesFromSettingFile(settingFile));
    operation.imageRead = op.imageRead;
    operation.imageWritten = op.imageWritten;
    operation.result = op.result;
    operation.durationMs = op.durationMs;
    return RecordRadioOperation(HistoryPlacesOf(layout), operation, /*backup=*/true,
                                std::chrono::system_clock::now());
}

std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
}

}  // namespace halyx
