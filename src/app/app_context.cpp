#include "app/app_context.h"

#include "app/port_texts.h"
#include "link/network_address.h"
#include "link/port_doctor.h"
#include "link/port_doctor_texts.h"
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
    std::string detail =
        PortOpenFailureText(context.runner.port()->LastOpenFailure(),
                            [&context](std::string_view key, std::string_view english) {
                                return context.textOr(key, english);
                            });
    if (const std::string cause = LikelyCauseLine(context); !cause.empty()) {
        detail += "\n" + cause;
    }
    return detail;
}

std::string LikelyCauseLine(const AppContext& context) {
    // Only a device here can be examined; a line on another machine is checked there.
    const std::string& device = context.serialPort.DevicePath();
    if (context.runner.port() != &context.serialPort || device.empty() ||
        ParseNetworkAddress(device)) {
        return {};
    }
    const std::unique_ptr<SystemFacts> facts = LocalSystemFacts();
    std::vector<DoctorCheck> checks = ExaminePort({device, {}}, *facts);
    const std::vector<DoctorCheck> system = ExamineSystem(*facts);
    checks.insert(checks.end(), system.begin(), system.end());
    const std::string cause =
        LikelyCause(checks, [&context](std::string_view key, std::string_view english) {
            return context.textOr(key, english);
        });
    if (cause.empty()) {
        return {};
    }
    std::string line = context.textOr(port_text::kLikelyCause.key, port_text::kLikelyCause.english);
    const std::size_t at = line.find("%1");
    return at == std::string::npos ? line + " " + cause : line.replace(at, 2, cause);
}

void CloseLinkPort(AppContext& context) {
    context.runner.port()->Close();
}

}  // namespace halyx
