#include "app/fleet_report_file.h"

#include "files/raw_file.h"

namespace halyx {

FileResult SaveFleetReportFile(const std::filesystem::path& path,
                               const std::vector<FleetRadioReport>& reports) {
    static_cast<void>(reports);
    return WriteFileAtomically(path, std::string_view("{}\n"));
}

}  // namespace halyx
