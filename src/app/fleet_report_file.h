#pragma once

#include <filesystem>
#include <vector>

#include "files/file_result.h"
#include "fleet/fleet_report.h"

namespace halyx {

// Writes a fleet run's report (JSON, one entry per radio) atomically to `path`.
FileResult SaveFleetReportFile(const std::filesystem::path& path,
                               const std::vector<FleetRadioReport>& reports);

}  // namespace halyx
