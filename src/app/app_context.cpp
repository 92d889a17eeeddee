#include "app/app_context.h"

#include "link/serial_line_settings.h"
#include "settings/setting_file.h"

namespace halyx {

AppContext::AppContext() : AppContext(CurrentFileLayout()) {}

AppContext::AppContext(ProfileFile settings)
    : AppContext(CurrentFileLayout(), std::move(settings)) {}

AppContext::AppContext(FileLayout fileLayout) : AppContext(fileLayout, SettingFileOf(fileLayout)) {}

AppContext::AppContext(FileLayout fileLayout, ProfileFile settings)
    : layout(std::move(fileLayout)),
      settingFile(std::move(settings)),
      serialPort(&trafficLog),
      link(&serialPort, &trafficLog),
      serialLinkPort_(std::make_unique<SerialLinkPort>(serialPort, settingFile)) {
    port = serialLinkPort_.get();
}

AppContext::~AppContext() = default;

SerialLinkPort::SerialLinkPort(SerialPort& port, const ProfileFile& settingFile)
    : port_(port), settingFile_(settingFile) {
    port_.SetPortResolver([this](int portNumber) {
        return ResolvePortDevice(portNumber, DevicesFromSettingFile(settingFile_));
    });
}

bool SerialLinkPort::Open(int portNumber) {
    return OpenAtBaud(portNumber, SerialLineSettings::kLinkBaudRate);
}

bool SerialLinkPort::OpenAtBaud(int portNumber, std::uint32_t baudRate) {
    const SerialLineSettings line;
    if (!port_.Open(owner_, portNumber, baudRate, line.parity, line.byteSize, line.stopBits,
                    line.eventMask, line.writeCapacity)) {
        return false;
    }
    port_.StartWorker();
    return true;
}

void SerialLinkPort::Close() {
    port_.Close();
}

bool OpenLinkPort(AppContext& context) {
    const int portNumber = context.settingFile.readInt(settings::kPortSection, settings::kComKey);
    if (!context.port->Open(portNumber)) {
        return false;
    }
    context.portOpen = true;
    return true;
}

std::string PortOpenFailureDetail(const AppContext& context) {
    return PortOpenFailureText(context.port->LastOpenFailure(),
                               [&context](std::string_view key, std::string_view english) {
                                   return context.textOr(key, english);
                               });
}

void CloseLinkPort(AppContext& context) {
    context.port->Close();
    context.portOpen = false;
}

}  // namespace halyx
