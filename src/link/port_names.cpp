#include "link/port_names.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

#include <QSerialPortInfo>

#include "link/network_address.h"

namespace halyx {
namespace {

// Windows numbers its ports up to COM256.
constexpr int kHighestPortNumber = 256;

#ifdef _WIN32
constexpr std::string_view kWindowsDevicePrefix = "\\\\.\\";
#endif

bool StartsWithComPrefix(std::string_view text) {
    if (text.size() < kComPrefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kComPrefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != kComPrefix[i]) {
            return false;
        }
    }
    return true;
}

std::optional<int> ParsePortNumber(std::string_view digits) {
    int number = 0;
    const char* end = digits.data() + digits.size();
    const auto [next, error] = std::from_chars(digits.data(), end, number);
    if (digits.empty() || error != std::errc() || next != end || number < 0 ||
        number > kHighestPortNumber) {
        return std::nullopt;
    }
    return number;
}

std::string Mapped(const DeviceMapping& mapping, int portNumber) {
    return mapping ? mapping(ComName(portNumber)) : std::string();
}

std::string DescriptionOf(const std::string& devicePath,
                          const std::vector<SerialDeviceInfo>& devices) {
    const auto found = std::find_if(devices.begin(), devices.end(), [&](const auto& device) {
        return device.devicePath == devicePath;
    });
    return found == devices.end() ? std::string() : found->description;
}

}  // namespace

std::string ComName(int portNumber) {
    return std::string(kComPrefix) + std::to_string(portNumber);
}

std::vector<SerialDeviceInfo> SystemSerialDevices() {
    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef _WIN32
        const QString path = info.portName();
#else
        const QString path = info.systemLocation();
#endif
        devices.push_back({path.toStdString(), info.description().toStdString(),
                           info.hasVendorIdentifier(), info.vendorIdentifier(),
                           info.productIdentifier()});
    }
    SortIntoComOrder(devices);
    return devices;
}

void SortIntoComOrder(std::vector<SerialDeviceInfo>& devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        if (a.usb != b.usb) {
            return a.usb;
        }
        return a.devicePath < b.devicePath;
    });
}

std::string ResolvePortDevice(int portNumber, const DeviceMapping& mapping,
                              const std::vector<SerialDeviceInfo>& devices) {
    if (portNumber <= 0) {
        return {};
    }
#ifdef _WIN32
    static_cast<void>(devices);
    if (std::string mapped = Mapped(mapping, portNumber); ParseNetworkAddress(mapped)) {
        return mapped;  // a line on another machine is reached the same way everywhere
    }
    return std::string(kWindowsDevicePrefix) + ComName(portNumber);
#else
    std::string mapped = Mapped(mapping, portNumber);
    if (!mapped.empty()) {
        return mapped;
    }
    const auto index = static_cast<std::size_t>(portNumber - 1);
    return index < devices.size() ? devices[index].devicePath : std::string();
#endif
}

std::string ResolvePortDevice(int portNumber, const DeviceMapping& mapping) {
    return ResolvePortDevice(portNumber, mapping, SystemSerialDevices());
}

std::optional<PortText> ParsePortText(std::string_view text) {
    if (HasNetworkScheme(text)) {
        // Meant as a network port: a mistyped one is refused here, not tried as a file name.
        if (!ParseNetworkAddress(text)) {
            return std::nullopt;
        }
        return PortText{0, std::string(text)};
    }
    if (text.find('/') != std::string_view::npos) {
        return PortText{0, std::string(text)};
    }
    if (StartsWithComPrefix(text)) {
        text.remove_prefix(kComPrefix.size());
    }
    const std::optional<int> number = ParsePortNumber(text);
    if (!number) {
        return std::nullopt;
    }
    return PortText{*number, {}};
}

std::vector<ComPortEntry> ListComPorts(int highestNumber, const DeviceMapping& mapping,
                                       const std::vector<SerialDeviceInfo>& devices) {
    std::vector<ComPortEntry> ports;
    for (int number = 1; number <= highestNumber; ++number) {
#ifdef _WIN32
        const std::string name = ComName(number);
        if (const auto found = std::find_if(devices.begin(), devices.end(),
                                            [&](const auto& d) { return d.devicePath == name; });
            found != devices.end()) {
            ports.push_back(
                {number, ResolvePortDevice(number, mapping, devices), found->description});
        }
#else
        const std::string mapped = Mapped(mapping, number);
        std::error_code error;
        if (!mapped.empty()) {
            // A network port cannot be probed without connecting: it is offered as mapped.
            if (ParseNetworkAddress(mapped) || std::filesystem::exists(mapped, error)) {
                ports.push_back({number, mapped, DescriptionOf(mapped, devices)});
            }
        } else if (static_cast<std::size_t>(number) <= devices.size()) {
            const SerialDeviceInfo& device = devices[static_cast<std::size_t>(number - 1)];
            ports.push_back({number, device.devicePath, device.description});
        }
#endif
    }
    return ports;
}

std::vector<ComPortEntry> ListComPorts(int highestNumber, const DeviceMapping& mapping) {
    return ListComPorts(highestNumber, mapping, SystemSerialDevices());
}

}  // namespace halyx
