#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fleet/fleet_ports.h"
#include "fleet/fleet_report.h"
#include "link/port_names.h"

namespace halyx::cli {

// The names a fleet run goes by: its ports, the images a read saves, the traffic logs.

struct FleetPortList {
    std::vector<FleetPortChoice> ports;
    std::string error;  // why the list is refused; empty when it is not
    bool ok() const { return error.empty(); }
};

// The --ports value: PORT[,PORT...], each as --port takes it. Refused when a port is not one,
// when the list is empty, or when two entries name the same port or the same device, since two
// exchanges on one radio would garble both.
FleetPortList ParseFleetPorts(std::string_view text, const DeviceMapping& mapping);

// Radio `number`'s (1-based) traffic log: "comm.log" becomes "comm-1.log", "trace" "trace-1".
std::string FleetLogPath(const std::string& path, std::size_t number);

// The file names of the images a fleet read saves, one per radio: the serial number read, made
// safe for a file name, or the port's name when the radio gave none; "-2", "-3", ... where two
// radios would share a name.
std::vector<std::string> FleetReadFileNames(const std::vector<FleetRadioReport>& reports);

}  // namespace halyx::cli
