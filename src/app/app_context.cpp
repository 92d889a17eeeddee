#include "app/app_context.h"

#include "settings/setting_file.h"

namespace halyx {

AppContext::AppContext() : AppContext(CurrentFileLayout()) {}

AppContext::AppContext(ProfileFile settings)
    : AppContext(CurrentFileLayout(), std::move(settings)) {}

AppContext::AppContext(FileLayout fileLayout) : AppContext(fileLayout, SettingFileOf(fileLayout)) {}

AppContext::AppContext(FileLayout fileLayout, ProfileFile settings)
    : layout(std::move(fileLayout)),
      settingFile(std::move(settings)),
      serialPort(&trafficLog,
                 [this](int portNumber) {
                     return ResolvePortDevice(portNumber, DevicesFromSettingFile(settingFile));
                 }),
      runner(&serialPort) {}

AppContext::~AppContext() = default;

bool OpenLinkPort(AppContext& context) {
    const int portNumber = context.settingFile.readInt(settings::kPortSection, settings::kComKey);
    return context.runner.port()->Open(PortText{portNumber, {}});
}

bool LinkPortOpen(const AppContext& context) {
    return context.runner.port()->IsOpen();
}

std::string PortOpenFailureDetail(const AppContext& context) {
    return PortOpenFailureText(context.runner.port()->LastOpenFailure(),
                               [&context](std::string_view key, std::string_view english) {
                                   return context.textOr(key, english);
                               });
}

void CloseLinkPort(AppContext& context) {
    context.runner.port()->Close();
}

}  // namespace halyx
