#include "fleet/fleet_ports.h"

#include <algorithm>
#include <optional>

#include "files/same_file.h"

namespace halyx {
namespace {

bool AlreadyOffered(const std::vector<FleetPortChoice>& choices, const std::string& devicePath) {
    return std::any_of(choices.begin(), choices.end(),
                       [&](const FleetPortChoice& c) { return c.devicePath == devicePath; });
}

}  // namespace

std::string FleetPortName(std::string_view text) {
    const std::optional<PortText> port = ParsePortText(text);
    if (port && port->devicePath.empty() && port->portNumber > 0) {
        return ComName(port->portNumber);
    }
    return std::string(text);
}

std::string FleetDeviceIdentity(const std::string& devicePath) {
    return devicePath.empty() ? std::string() : ResolvedPath(devicePath).string();
}

bool SameFleetDevice(const std::string& a, const std::string& b) {
    return SameFile(a, b);
}

std::string OverridesPortKey(std::string_view key, const std::vector<FleetPortChoice>& ports,
                             const DeviceMapping& mapping) {
    const auto port = ParsePortText(key);
    if (port && (!port->devicePath.empty() || port->portNumber > 0)) {
        const std::string device = port->devicePath.empty()
                                       ? ResolvePortDevice(port->portNumber, mapping)
                                       : port->devicePath;
        for (const FleetPortChoice& choice : ports) {
            if (SameFleetDevice(device, choice.devicePath)) {
                return choice.name;
            }
        }
    }
    return FleetPortName(key);
}

std::vector<FleetPortChoice> FleetPortChoices(const std::vector<ComPortEntry>& comPorts,
                                              const std::vector<SerialDeviceInfo>& devices) {
    std::vector<FleetPortChoice> choices;
    for (const ComPortEntry& port : comPorts) {
        // Two names for one device would let a run open it twice.
        if (!AlreadyOffered(choices, port.devicePath)) {
            choices.push_back({ComName(port.portNumber), port.devicePath, port.description});
        }
    }
    for (const SerialDeviceInfo& device : devices) {
        if (!AlreadyOffered(choices, device.devicePath)) {
            choices.push_back({device.devicePath, device.devicePath, device.description});
        }
    }
    return choices;
}

}  // namespace halyx
