#include "cli/fleet_ports.h"

#include <algorithm>

namespace halyx::cli {

std::string FleetPortName(std::string_view text) {
    const auto port = ParsePortText(text);
    if (port && port->devicePath.empty()) {
        return ComName(port->portNumber);
    }
    return std::string(text);
}

FleetPortList ParseFleetPorts(std::string_view text, const DeviceMapping& mapping) {
    FleetPortList list;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        start = comma + 1;
        const auto port = ParsePortText(item);
        if (!port || (port->devicePath.empty() && port->portNumber <= 0)) {
            list.error = "--ports: '" + std::string(item) +
                         "' is not a port; use COMn, n or a device path, separated by commas";
            return list;
        }
        FleetPortChoice choice{FleetPortName(item), port->devicePath};
        if (choice.device.empty()) {
            choice.device = ResolvePortDevice(port->portNumber, mapping);
        }
        for (const FleetPortChoice& earlier : list.ports) {
            if (earlier.name == choice.name) {
                list.error = "--ports: " + choice.name + " is given twice";
                return list;
            }
            if (!choice.device.empty() && earlier.device == choice.device) {
                list.error = "--ports: " + earlier.name + " and " + choice.name +
                             " are the same device, " + choice.device;
                return list;
            }
        }
        list.ports.push_back(std::move(choice));
    }
    return list;
}

}  // namespace halyx::cli
