// halyx-cli fleet write / fleet read: one image to many radios at once, each on its own port,
// with the engine the window's fleet dialog runs.
#include <CLI/CLI.hpp>
#include <QCoreApplication>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/fleet_ports.h"
#include "cli/fleet_run.h"
#include "cli/image_argument.h"
#include "cli/output_paths.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "fleet/fleet_overrides.h"
#include "fleet/fleet_report_csv.h"
#include "settings/file_layout.h"
#include "settings/setting_file.h"

namespace halyx::cli {
namespace {

// The report's table goes beside it under the same name: it is an output like the report.
constexpr const char* kReportTableOption = "--report (its CSV table)";

struct FleetOptions {
    std::string image;
    std::string ports;
    std::string overrides;
    std::string report;
    std::string outDir;
    std::string base;
    std::string log;
    bool noBackup = false;
};

// The overrides file, checked whole before anything is sent: every bad row and value and every
// row keyed by a port not given, at once. A row's port is the given port that opens the same
// device, however either is spelled. Rows keyed by serial number are matched by the engine once
// every radio has been read.
std::optional<int> LoadOverrides(const std::string& path, const DeviceMapping& devices,
                                 FleetPlan& plan) {
    const ReadResult read = ReadSmallFile(path, kTextFileLimit);
    if (FileResultStatus(read.result) != kDone) {
        return kFileError;
    }
    std::vector<std::string> names;
    for (const FleetPortChoice& port : plan.ports) {
        names.push_back(port.name);
    }
    OverridesPlan overrides = PlanFleetOverrides(
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
        names, [&plan, &devices](std::string_view key) {
            return OverridesPortKey(key, plan.ports, devices);
        });
    if (!overrides.ok()) {
        for (const OverridesProblem& problem : overrides.problems) {
            PrintError(path + ": " + DescribeOverridesProblem(problem));
        }
        PrintError("nothing was sent");
        return kUsage;
    }
    if (overrides.key == OverridesKey::Radio) {
        plan.serialRows = std::move(overrides.serialRows);
    } else {
        plan.portOverrides = std::move(overrides.perRadio);
    }
    return std::nullopt;
}

// Every file and folder the run will write, proven writable now: a report that cannot be kept
// found out after the radios were written would leave them changed with no record of it.
std::optional<int> ProveOutputsWritable(const FleetOptions& options, const FleetPlan& plan) {
    const auto refuse = [](const std::string& option, const std::string& path,
                           const std::string& why) {
        PrintError(option + ": " + path + " " + why + "; nothing was sent");
        return kUsage;
    };
    if (!options.report.empty()) {
        if (const auto why = WhyNotWritable(options.report)) {
            return refuse("--report", options.report, *why);
        }
        const std::string table = FleetReportCsvPath(options.report).string();
        if (const auto why = WhyNotWritable(table)) {
            return refuse(kReportTableOption, table, *why);
        }
    }
    if (plan.mode == FleetMode::Read) {
        if (const auto why = WhyFolderNotWritable(options.outDir)) {
            return refuse("--out-dir", options.outDir, *why);
        }
    }
    if (plan.places.known()) {
        if (const auto why = WhyNotAppendable(plan.places.auditPath)) {
            return refuse("the audit log", plan.places.auditPath.string(), *why);
        }
        if (plan.keepBackups) {
            if (const auto why = WhyFolderNotWritable(plan.places.backupFolder)) {
                return refuse("the backups folder", plan.places.backupFolder.string(), *why);
            }
        }
    }
    return std::nullopt;
}

// No output may be an input or another output: --report fleet.kda would replace the fleet image.
// The images a read saves are named only later, after each radio's serial number: they are
// checked against all of these then.
std::optional<int> RefuseOutputsThatAreInputs(const FleetOptions& options, FleetPlan& plan) {
    std::vector<NamedPath> inputs = {
        {"IMAGE.kda", options.image}, {"--overrides", options.overrides}, {"--base", options.base}};
    std::vector<NamedPath> outputs = {{"--report", options.report}, AuditLogOutput(plan.places)};
    if (!options.report.empty()) {
        outputs.push_back({kReportTableOption, FleetReportCsvPath(options.report).string()});
    }
    for (std::size_t i = 0; i < plan.ports.size() && !options.log.empty(); ++i) {
        outputs.push_back({"--log", FleetLogPath(options.log, i + 1)});
    }
    for (const FleetPortChoice& port : plan.ports) {
        inputs.push_back({"--ports", port.devicePath});
    }
    if (const auto refused = RefuseClashingOutputs(inputs, outputs)) {
        return refused;
    }
    plan.otherFiles = inputs;
    plan.otherFiles.insert(plan.otherFiles.end(), outputs.begin(), outputs.end());
    return std::nullopt;
}

// Everything that can be refused before a byte is sent; a status when something was.
std::optional<int> Prepare(const FleetOptions& options, FleetPlan& plan) {
    const ProfileFile settings = SettingFile();
    const DeviceMapping devices = DevicesFromSettingFile(settings);
    FleetPortList ports = ParseFleetPorts(options.ports, devices);
    if (!ports.ok()) {
        PrintError(ports.error);
        return kUsage;
    }
    plan.ports = std::move(ports.ports);
    plan.places = ResolveHistoryPlaces(CurrentFileLayout());
    plan.keepBackups = !options.noBackup;
    if (const auto refused = RefuseOutputsThatAreInputs(options, plan)) {
        return refused;
    }
    if (plan.mode == FleetMode::Write) {
        if (const int status = LoadImageArgument(options.image, plan.image); status != kDone) {
            return status;
        }
        if (!options.overrides.empty()) {
            if (const auto status = LoadOverrides(options.overrides, devices, plan)) {
                return status;
            }
        }
    } else if (!options.base.empty()) {
        if (FileResultStatus(LoadImageFile(options.base, plan.image)) != kDone) {
            return kFileError;
        }
    } else {
        // As a single read: bytes the radio never sends come from the default image.
        LoadImageFile(DefaultImagePath(CurrentFileLayout()), plan.image);
    }
    if (const auto refused = ProveOutputsWritable(options, plan)) {
        return refused;
    }
    plan.reportPath = options.report;
    plan.outDir = options.outDir;
    plan.logPath = options.log;
    plan.info = {"halyx-cli", plan.mode == FleetMode::Write ? "fleet write" : "fleet read",
                 options.image, options.overrides};
    return std::nullopt;
}

int RunFleet(const FleetOptions& options, FleetMode mode, CommandContext& context) {
    FleetPlan plan;
    plan.mode = mode;
    if (const auto refused = Prepare(options, plan)) {
        return *refused;
    }
    // The serial ports hand received bytes over through Qt's event loop.
    QCoreApplication app(context.argc, context.argv);
    return RunFleetPlan(plan);
}

}  // namespace

void AddFleetCommands(CLI::App& app, CommandContext& context) {
    static FleetOptions options;
    CLI::App* fleet = app.add_subcommand(
        "fleet", "many radios at once, each on its own port, each backed up and verified");
    fleet->require_subcommand(1);
    const auto common = [](CLI::App& command) {
        command.add_option("--ports", options.ports, "PORT[,PORT...]: COMn, n or device paths")
            ->required();
        command.add_option("--report", options.report, "write the run's report here (JSON)");
        command.add_option("--log", options.log,
                           "traffic logs: radio K's goes to this name with -K before the "
                           "extension (comm.log: comm-1.log, comm-2.log, ...)");
        command.add_flag("--no-backup", options.noBackup,
                         "keep no backups of what the radios held (the audit log is kept)");
    };

    CLI::App* write = fleet->add_subcommand(
        "write",
        "read each radio, back it up, write it the image with its own serial number and user ID "
        "(or the overrides), verify it");
    write->add_option("IMAGE.kda", options.image, "the fleet image")->required();
    write->add_option("--overrides", options.overrides,
                      "CSV: a port or radio (serial number) column, then any of serialNumber, "
                      "userId, squelch, tot, vox, power");
    common(*write);
    write->callback([&context] { context.status = RunFleet(options, FleetMode::Write, context); });

    CLI::App* read =
        fleet->add_subcommand("read", "read and back up each radio, saving its image in a folder");
    read->add_option("--out-dir", options.outDir, "folder for the images read")->required();
    read->add_option("--base", options.base,
                     "bytes the radios never send come from this image (default: the default "
                     "image, else zeros)");
    common(*read);
    read->callback([&context] { context.status = RunFleet(options, FleetMode::Read, context); });
}

}  // namespace halyx::cli
