#pragma once

#include "app/app_context.h"
#include "ui/common/gui_operation_record.h"

namespace halyx {

// The run's history places and records, through the application's objects.
inline HistoryPlaces HistoryPlacesOf(const AppContext& context) {
    return HistoryPlacesOf(context.layout);
}
inline OperationRecord RecordGuiOperation(const AppContext& context, const GuiRadioOperation& op) {
    return RecordGuiOperation(context.layout, context.settingFile, op);
}

}  // namespace halyx
