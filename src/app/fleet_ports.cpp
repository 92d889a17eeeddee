#include "app/fleet_ports.h"

#include "settings/setting_file.h"

namespace halyx {

std::vector<FleetPortChoice> FindFleetPorts(const ProfileFile& settingFile) {
    const std::vector<SerialDeviceInfo> devices = SystemSerialDevices();
    return FleetPortChoices(
        ListComPorts(kFleetHighestPortNumber, DevicesFromSettingFile(settingFile), devices),
        devices);
}

}  // namespace halyx
