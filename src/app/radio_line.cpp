#include "app/radio_line.h"

#include <memory>
#include <vector>

#include "app/port_texts.h"
#include "image/text_arguments.h"
#include "link/network_address.h"
#include "link/port_doctor.h"
#include "link/port_doctor_texts.h"
#include "settings/profile_file.h"
#include "settings/setting_file.h"
#include "ui/common/text_source.h"

namespace halyx {
RadioLine::RadioLine(const ProfileFile& settingFile)
    : settingFile_(settingFile),
      serialPort_(&trafficLog_,
                  [this](int portNumber) { return ResolvePortDevice(portNumber, Devices()); }),
      runner_(&serialPort_) {}

RadioLine::~RadioLine() = default;

int RadioLine::PortNumber() const {
    return settingFile_.readInt(settings::kPortSection, settings::kComKey);
}

DeviceMapping RadioLine::Devices() const {
    return DevicesFromSettingFile(settingFile_);
}

bool RadioLine::Open() {
    return runner_.port()->Open(PortText{PortNumber(), {}});
}

bool RadioLine::IsOpen() const {
    return runner_.port()->IsOpen();
}

void RadioLine::Close() {
    runner_.port()->Close();
}

std::string RadioLine::OpenFailureDetail(const TextSource& texts) const {
    std::string detail =
        PortOpenFailureText(runner_.port()->LastOpenFailure(), PortLookupOf(texts));
    if (const std::string cause = LikelyCauseLine(texts); !cause.empty()) {
        detail += "\n" + cause;
    }
    return detail;
}

std::string RadioLine::LikelyCauseLine(const TextSource& texts) const {
    // Only a device here can be examined; a line on another machine is checked there.
    const std::string& device = serialPort_.DevicePath();
    if (runner_.port() != &serialPort_ || device.empty() || ParseNetworkAddress(device)) {
        return {};
    }
    const std::unique_ptr<SystemFacts> facts = LocalSystemFacts();
    std::vector<DoctorCheck> checks = ExaminePort({device, {}}, *facts);
    const std::vector<DoctorCheck> system = ExamineSystem(*facts);
    checks.insert(checks.end(), system.begin(), system.end());
    const std::string cause = LikelyCause(checks, PortLookupOf(texts));
    if (cause.empty()) {
        return {};
    }
    const std::string line = texts.textOr(port_text::kLikelyCause);
    // A translation without the placeholder still gets the cause, after it.
    return line.find("%1") == std::string::npos ? line + " " + cause : FillArguments(line, {cause});
}

}  // namespace halyx
