#pragma once

#include <string>
#include <vector>

#include "fleet/fleet_report.h"

namespace halyx {

// What a fleet report says about the run as a whole.
struct FleetRunInfo {
    std::string program;    // "halyx-cli", "halyx"
    std::string operation;  // "fleet write", "fleet read"
    std::string imagePath;  // the fleet image; empty for a read
    std::string overridesPath;
};

// The report file: an object with the run's info, counts and one entry per radio in the order
// given (port, device, serial and user ID before and after, result, message, phase timings in
// ms, duration, backup path). Texts that are empty are null. Indented, ended with a newline.
std::string FleetReportJson(const FleetRunInfo& info, const std::vector<FleetRadioReport>& radios);

// The same as a table for a terminal: a line per radio, then "N of M radios succeeded".
std::string FleetReportTable(const std::vector<FleetRadioReport>& radios);

}  // namespace halyx
