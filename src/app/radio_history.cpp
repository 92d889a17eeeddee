#include "app/radio_history.h"

#include "app/app_context.h"
#include "link/port_names.h"
#include "settings/setting_file.h"

namespace halyx {

HistoryPlaces HistoryPlacesOf(const AppContext& context) {
    return ResolveHistoryPlaces(context.layout);
}

OperationRecord RecordGuiOperation(const AppContext& context, const GuiRadioOperation& op) {
    const int portNumber = op.portNumber.value_or(
        context.settingFile.readInt(settings::kPortSection, settings::kComKey));
    RadioOperation operation;
    operation.program = "halyx";
    operation.operation = op.operation;
    operation.portName = ComName(portNumber);
    operation.devicePath =
        ResolvePortDevice(portNumber, DevicesFromSettingFile(context.settingFile));
    operation.imageRead = op.imageRead;
    operation.imageWritten = op.imageWritten;
    operation.result = op.result;
    operation.durationMs = op.durationMs;
    return RecordRadioOperation(HistoryPlacesOf(context), operation, /*backup=*/true,
                                std::chrono::system_clock::now());
}

std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
}

}  // namespace halyx
