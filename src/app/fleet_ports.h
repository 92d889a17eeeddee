#pragma once

#include <string>
#include <vector>

#include "link/port_names.h"

namespace halyx {

class ProfileFile;

// A port the fleet dialog offers: the name users know it by and the device that is opened.
struct FleetPortChoice {
    std::string name;        // "COM3", or the device path for a port without a COM number
    std::string devicePath;  // what is opened
    std::string description;
};

// COM numbers searched for fleet ports: a USB hub full of cables goes well past the 16 the port
// settings dialog shows.
inline constexpr int kFleetHighestPortNumber = 128;

// Every device once: by its COM number where one names it (the lowest, when a "devices" mapping
// names it twice), then the listed devices no number reaches, by path. `comPorts` is in
// ascending COM order, `devices` in the system's COM order.
std::vector<FleetPortChoice> FleetPortChoices(const std::vector<ComPortEntry>& comPorts,
                                              const std::vector<SerialDeviceInfo>& devices);

// The same for the ports there are now: the setting file's "devices" mapping and the system's
// serial ports.
std::vector<FleetPortChoice> FindFleetPorts(const ProfileFile& settingFile);

}  // namespace halyx
