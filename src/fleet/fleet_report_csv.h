#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "fleet/fleet_report.h"

namespace halyx {

// The fleet report as a table for a spreadsheet: a header row with the JSON report's names, then
// one row per radio in the order given (port, device, serial number and user ID before and
// after, result, message, phase timings in ms, duration, backup path). UTF-8 with a byte-order
// mark so that spreadsheets take it as such; bytes a radio sent that are not printable ASCII
// become '?', and a text a spreadsheet would run as a formula is kept as text.
std::string FleetReportCsv(const std::vector<FleetRadioReport>& radios);

// Where the table goes: beside the JSON report, with the extension ".csv".
std::filesystem::path FleetReportCsvPath(const std::filesystem::path& jsonReport);

}  // namespace halyx
