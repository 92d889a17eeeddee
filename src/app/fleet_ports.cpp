#include "app/fleet_ports.h"

#include "link/cable_list.h"
#include "settings/setting_file.h"

namespace halyx {

std::vector<FleetPortChoice> FindFleetPorts(const ProfileFile& settingFile) {
    const std::vector<SerialDeviceInfo> devices = SystemSerialDevices();
    std::vector<FleetPortChoice> choices = FleetPortChoices(
        ListComPorts(kFleetHighestPortNumber, DevicesFromSettingFile(settingFile), devices),
        devices);
    // Which cable each is, as the port dialog names it: chip and USB id before the description.
    for (FleetPortChoice& choice : choices) {
        for (const SerialDeviceInfo& device : devices) {
            if (device.devicePath == choice.devicePath && device.usb) {
                const std::string chip = UsbChipName(device.vendorId, device.productId);
                const std::string cable =
                    (chip.empty() ? "" : chip + " ") + UsbIdText(device.vendorId, device.productId);
                choice.description =
                    choice.description.empty() ? cable : cable + ", " + choice.description;
            }
        }
    }
    return choices;
}

}  // namespace halyx
