#include "cli/fleet_run.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>
#include <utility>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "fleet/fleet_report_csv.h"
#include "fleet/fleet_session.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"

namespace halyx::cli {
namespace {

// Set by the signal handler on whichever thread the signal lands (any of the process), read by the
// ticking thread: a lock-free atomic is both signal-safe and free of a data race.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RequestStop(int) {
    stopRequested = true;
}

// Ctrl-C ends the radios still running as cancelled, so each still gets its audit line and the
// report is written; a second Ctrl-C ends the program at once.
class StopOnInterrupt {
public:
    StopOnInterrupt() {
        stopRequested = false;
        previous_ = std::signal(SIGINT, RequestStop);
    }
    ~StopOnInterrupt() { std::signal(SIGINT, previous_); }
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

    bool requested() {
        if (stopRequested && !handled_) {
            handled_ = true;
            std::signal(SIGINT, SIG_DFL);
            return true;
        }
        return false;
    }

private:
    void (*previous_)(int) = SIG_DFL;
    bool handled_ = false;
};

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
                std::cerr << report.portName << ": " << FleetResultName(report.result)
                          << (report.message.empty() ? "" : " (" + report.message + ")") << "\n";
            }
        }
    }

private:
    const FleetEngine& engine_;
    std::vector<bool> reported_;
};

// Saves each successfully read radio's image in the out folder; false when one could not be.
bool SaveImagesRead(const std::string& outDir, const std::vector<FleetRadioReport>& reports) {
    const std::vector<std::string> names = FleetReadFileNames(reports);
    bool allSaved = true;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (names[i].empty()) {
            continue;
        }
        const std::filesystem::path path = std::filesystem::path(outDir) / names[i];
        const FileResult saved = SaveImageFile(path, *reports[i].imageRead);
        if (!saved.ok()) {
            PrintError(reports[i].portName + ": " + FileErrorTextEnglish(saved));
            allSaved = false;
            continue;
        }
        std::cout << reports[i].portName << ": saved " << path.string() << "\n";
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

    StopOnInterrupt interrupt;
    ProgressLines progress(engine);
    session.RunToEnd([&] {
        if (interrupt.requested()) {
            PrintError("stopping: the radios still running end as cancelled");
            engine.Stop();
        }
        progress.Update();
    });

    const std::vector<FleetRadioReport> reports = engine.Reports();
    std::cout << FleetReportTable(reports);
    int status = engine.AllSucceeded() ? kDone : kSomeRadiosFailed;
    for (const std::string& error : session.history().auditErrors()) {
        PrintError("audit log: " + error);
    }
    if (plan.mode == FleetMode::Read && !SaveImagesRead(plan.outDir, reports) && status == kDone) {
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
