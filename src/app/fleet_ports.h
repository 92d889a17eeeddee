#pragma once

#include <vector>

#include "fleet/fleet_ports.h"

namespace halyx {

class ProfileFile;

// The ports the fleet dialog offers now: the setting file's "devices" mapping and the system's
// serial ports.
std::vector<FleetPortChoice> FindFleetPorts(const ProfileFile& settingFile);

}  // namespace halyx
