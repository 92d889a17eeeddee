// halyx-cli fleet write / fleet read: one image to many radios at once, each on its own port,
// with the engine the window's fleet dialog runs.
#include <CLI/CLI.hpp>
#include <QCoreApplication>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/fleet_ports.h"
#include "cli/fleet_run.h"
#include "cli/image_argument.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "fleet/fleet_overrides.h"
#include "settings/file_layout.h"
#include "settings/setting_file.h"

namespace halyx::cli {
namespace {

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

int FileStatus(const FileResult& result) {
    if (result.ok()) {
        return kDone;
    }
    PrintError(FileErrorTextEnglish(result));
    return kFileError;
}

// The overrides file, checked whole before anything is sent: every bad row and value at once,
// and rows keyed by port matched to the ports given. Rows keyed by serial number are matched by
// the engine once every radio has been read.
std::optional<int> LoadOverrides(const std::string& path, FleetPlan& plan) {
    const ReadResult read = ReadSmallFile(path, kTextFileLimit);
    if (FileStatus(read.result) != kDone) {
        return kFileError;
    }
    OverridesParse parse = ParseFleetOverrides(
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
    const auto refuse = [&path](const std::vector<OverridesProblem>& problems) {
        for (const OverridesProblem& problem : problems) {
            PrintError(path + ": " + DescribeOverridesProblem(problem));
        }
        PrintError("nothing was sent");
        return kUsage;
    };
    if (!parse.ok()) {
        return refuse(parse.problems);
    }
    if (parse.overrides.key == OverridesKey::Radio) {
        plan.serialRows = std::move(parse.overrides.rows);
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (OverridesRow& row : parse.overrides.rows) {
        row.key = FleetPortName(row.key);
    }
    for (const FleetPortChoice& port : plan.ports) {
        names.push_back(port.name);
    }
    const OverridesMatch match = MatchOverrides(parse.overrides, names);
    if (!match.ok()) {
        return refuse(match.problems);
    }
    plan.portOverrides = match.perRadio;
    return std::nullopt;
}

// Everything that can be refused before a byte is sent; a status when something was.
std::optional<int> Prepare(const FleetOptions& options, FleetPlan& plan) {
    const ProfileFile settings = SettingFile();
    FleetPortList ports = ParseFleetPorts(options.ports, DevicesFromSettingFile(settings));
    if (!ports.ok()) {
        PrintError(ports.error);
        return kUsage;
    }
    plan.ports = std::move(ports.ports);
    if (!options.report.empty()) {
        // A run whose report cannot be kept is not started: the radios would be changed with no
        // record of it where the user asked for one.
        std::error_code error;
        const std::filesystem::path folder =
            std::filesystem::absolute(options.report, error).parent_path();
        if (error || !std::filesystem::is_directory(folder, error)) {
            PrintError(options.report + ": the folder " + folder.string() + " does not exist");
            return kFileError;
        }
    }
    if (plan.mode == FleetMode::Write) {
        if (const int status = LoadImageArgument(options.image, plan.image); status != kDone) {
            return status;
        }
        if (!options.overrides.empty()) {
            if (const auto status = LoadOverrides(options.overrides, plan)) {
                return status;
            }
        }
    } else {
        if (!options.base.empty()) {
            if (FileStatus(LoadImageFile(options.base, plan.image)) != kDone) {
                return kFileError;
            }
        } else {
            // As a single read: bytes the radio never sends come from the default image.
            LoadImageFile(DefaultImagePath(CurrentFileLayout()), plan.image);
        }
        std::error_code error;
        std::filesystem::create_directories(options.outDir, error);
        if (!std::filesystem::is_directory(options.outDir, error)) {
            PrintError(options.outDir + ": the folder cannot be created");
            return kFileError;
        }
    }
    plan.places = ResolveHistoryPlaces(CurrentFileLayout());
    plan.keepBackups = !options.noBackup;
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
