#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/port_names.h"

namespace halyx {

// One radio's port of a fleet run, for the command line and the window alike.
struct FleetPortChoice {
    std::string name;        // "COM3", or the device path for a port without a COM number
    std::string devicePath;  // what is opened; empty when COMn names no device: that radio
                             // fails to open
    std::string description;
};

// The name a port goes by in reports, in the port list and in an overrides file's port column:
// "com3", "COM3" and "3" are COM3; anything else (a device path) stays as it is.
std::string FleetPortName(std::string_view text);

// The device a path opens, as one text however it is spelled: links, "." and ".." resolved, so
// /dev/serial/by-id/... and /dev/ttyUSB0 are the same radio. Empty for an empty path.
std::string FleetDeviceIdentity(const std::string& devicePath);

// Whether two device paths open the same device: the files themselves when both exist.
bool SameFleetDevice(const std::string& a, const std::string& b);

// An overrides row's port key as the name of the port given that opens the same device (a
// link, another spelling, a COM number the "devices" mapping or the port listing leads to);
// a key no given port opens keeps its own name, so it is reported as matching no radio.
std::string OverridesPortKey(std::string_view key, const std::vector<FleetPortChoice>& ports,
                             const DeviceMapping& mapping);

// COM numbers searched for fleet ports: a USB hub full of cables goes well past the 16 the port
// settings dialog shows.
inline constexpr int kFleetHighestPortNumber = 128;

// Every device once: by its COM number where one names it (the lowest, when a "devices" mapping
// names it twice), then the listed devices no number reaches, by path. `comPorts` is in
// ascending COM order, `devices` in the system's COM order.
std::vector<FleetPortChoice> FleetPortChoices(const std::vector<ComPortEntry>& comPorts,
                                              const std::vector<SerialDeviceInfo>& devices);

}  // namespace halyx
