#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/fleet_ports.h"
#include "cli/output_paths.h"
#include "fleet/fleet_overrides.h"
#include "fleet/fleet_radio.h"
#include "fleet/fleet_report_json.h"
#include "history/history_places.h"

namespace halyx::cli {

// A fleet run that has passed every check made before anything is sent.
struct FleetPlan {
    FleetMode mode = FleetMode::Write;
    RadioImage image;  // the fleet image (write), or what each read is laid over (read)
    std::vector<FleetPortChoice> ports;
    std::vector<RadioOverrides> portOverrides;            // one per port, or none at all
    std::optional<std::vector<OverridesRow>> serialRows;  // rows keyed by serial number
    HistoryPlaces places;
    bool keepBackups = true;
    std::string reportPath;  // empty: no report file
    std::string outDir;      // read: where each radio's image goes
    std::string logPath;     // empty: no traffic logs; else one per radio, see FleetLogPath
    std::vector<NamedPath> otherFiles;  // read: the files no image read may replace
    FleetRunInfo info;
};

// Runs the plan to its end (Ctrl-C, SIGTERM or SIGHUP stops the radios still running, as
// cancelled), prints the
// table on standard output and writes the report and the images read. Needs a QCoreApplication.
// The exit status: done, some radios failed, or a file error for a report or image not saved.
int RunFleetPlan(const FleetPlan& plan);

}  // namespace halyx::cli
