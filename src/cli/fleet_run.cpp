#include "cli/fleet_run.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <utility>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/stop_signals.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "fleet/fleet_report_csv.h"
#include "fleet/fleet_session.h"
#include "image/visible_text.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"

namespace halyx::cli {
namespace {

// One line on standard error as each radio ends, so a long run shows it is moving.
class ProgressLines {
public:
    explicit ProgressLines(const FleetEngine& engine)
        : engine_(engine), reported_(engine.size(), false) {}

    void Update() {
        for (std::size_t i = 0; i < engine_.size(); ++i) {
            const FleetRadio& radio = engine_.radio(i);
            if (radio.done() && !reported_[i]) {
                reported_[i] = true;
                const FleetRadioReport& report = radio.report();
                std::cerr << TerminalText(
                    report.portName + ": " + std::string(FleetResultName(report.result)) +
                    (report.message.empty() ? "" : " (" + report.message + ")") + "\n");
            }
        }
    }

private:
    const FleetEngine& engine_;
    std::vector<bool> reported_;
};

// Saves each successfully read radio's image in the out folder; false when one could not be.
bool SaveImagesRead(const FleetPlan& plan, const std::vector<FleetRadioReport>& reports) {
    const std::string& outDir = plan.outDir;
    const std::vector<std::string> names = FleetReadFileNames(reports);
    bool allSaved = true;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (names[i].empty()) {
            continue;
        }
        const std::filesystem::path path = std::filesystem::path(outDir) / names[i];
        // The base image, the report or a traffic log may lie in the out folder under the name
        // a radio's serial number gives; what was read stays in its backup.
        const auto clash = std::find_if(
            plan.otherFiles.begin(), plan.otherFiles.end(), [&path](const NamedPath& other) {
                return !other.path.empty() && SameFile(path, other.path);
            });
        if (clash != plan.otherFiles.end()) {
            PrintError(reports[i].portName + ": " + path.string() + " is the same file as " +
                       clash->option + "; the image read was not saved there");
            allSaved = false;
            continue;
        }
        const FileResult saved = SaveImageFile(path, *reports[i].imageRead);
        if (!saved.ok()) {
            PrintError(reports[i].portName + ": " + FileErrorTextEnglish(saved));
            allSaved = false;
            continue;
        }
        PrintOut(reports[i].portName + ": saved " + path.string() + "\n");
    }
    return allSaved;
}

}  // namespace

int RunFleetPlan(const FleetPlan& plan) {
    std::vector<std::unique_ptr<TrafficLog>> logs;
    for (std::size_t i = 0; i < plan.ports.size() && !plan.logPath.empty(); ++i) {
        logs.push_back(std::make_unique<TrafficLog>());
        const std::string path = FleetLogPath(plan.logPath, i + 1);
        if (!logs.back()->Open(path)) {
            PrintError(path + ": cannot create the traffic log");
            return kFileError;
        }
    }
    if (!plan.places.known()) {
        PrintError("no home folder is known: no backups or audit lines are kept");
    }
    FleetSession::Setup setup;
    setup.mode = plan.mode;
    setup.image = plan.image;
    for (std::size_t i = 0; i < plan.ports.size(); ++i) {
        FleetRadioSetup radio{plan.ports[i].name, plan.ports[i].devicePath, {}};
        if (i < plan.portOverrides.size()) {
            radio.overrides = plan.portOverrides[i];
        }
        setup.radios.push_back(std::move(radio));
    }
    setup.serialRows = plan.serialRows;
    setup.places = plan.places;
    setup.keepBackups = plan.keepBackups;
    setup.program = plan.info.program;
    setup.operation = plan.info.operation;
    setup.openPort = [&logs](const std::string&, std::size_t index) {
        return std::make_unique<SerialPort>(logs.empty() ? nullptr : logs[index].get());
    };
    FleetSession session(std::move(setup));
    FleetEngine& engine = session.engine();

    StopSignals interrupt;
    ProgressLines progress(engine);
    session.RunToEnd([&] {
        if (interrupt.requested()) {
            PrintError("stopping: the radios still running end as cancelled");
            engine.Stop();
        }
        progress.Update();
    });

    const std::vector<FleetRadioReport> reports = engine.Reports();
    PrintOut(FleetReportTable(reports));
    int status = engine.AllSucceeded() ? kDone : kSomeRadiosFailed;
    for (const std::string& error : session.history().auditErrors()) {
        PrintError("audit log: " + error);
    }
    if (plan.mode == FleetMode::Read && !SaveImagesRead(plan, reports) && status == kDone) {
        status = kFileError;
    }
    if (!plan.reportPath.empty()) {
        // The JSON report, and the same as a table beside it for a spreadsheet.
        for (const auto& [path, text] :
             {std::pair{std::filesystem::path(plan.reportPath),
                        FleetReportJson(plan.info, reports)},
              std::pair{FleetReportCsvPath(plan.reportPath), FleetReportCsv(reports)}}) {
            const FileResult saved = WriteFileAtomically(path, text);
            if (!saved.ok()) {
                PrintError(FileErrorTextEnglish(saved));
                status = status == kDone ? kFileError : status;
                break;
            }
        }
    }
    return status;
}

}  // namespace halyx::cli
