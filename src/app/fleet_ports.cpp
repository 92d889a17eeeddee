#include "app/fleet_ports.h"

#include <algorithm>

#include "settings/setting_file.h"

namespace halyx {
namespace {

bool Offered(const std::vector<FleetPortChoice>& choices, const std::string& devicePath) {
    return std::any_of(choices.begin(), choices.end(),
                       [&](const FleetPortChoice& c) { return c.devicePath == devicePath; });
}

}  // namespace

std::vector<FleetPortChoice> FleetPortChoices(const std::vector<ComPortEntry>& comPorts,
                                              const std::vector<SerialDeviceInfo>& devices) {
    std::vector<FleetPortChoice> choices;
    for (const ComPortEntry& port : comPorts) {
        // Two names for one device would let a run open it twice.
        if (!Offered(choices, port.devicePath)) {
            choices.push_back({ComName(port.portNumber), port.devicePath, port.description});
        }
    }
    for (const SerialDeviceInfo& device : devices) {
        if (!Offered(choices, device.devicePath)) {
            choices.push_back({device.devicePath, device.devicePath, device.description});
        }
    }
    return choices;
}

std::vector<FleetPortChoice> FindFleetPorts(const ProfileFile& settingFile) {
    const std::vector<SerialDeviceInfo> devices = SystemSerialDevices();
    return FleetPortChoices(
        ListComPorts(kFleetHighestPortNumber, DevicesFromSettingFile(settingFile), devices),
        devices);
}

}  // namespace halyx
