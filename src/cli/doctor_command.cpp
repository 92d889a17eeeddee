// halyx-cli doctor: every check of the port doctor, on one port or every port, with the cable
// self-test on request.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <iostream>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_output.h"
#include "cli/port_doctor_hint.h"
#include "link/cable_list.h"
#include "link/cable_self_test.h"
#include "link/network_address.h"
#include "link/port_doctor.h"
#include "link/serial_port.h"
#include "settings/setting_file.h"

namespace halyx::cli {

std::vector<CableEntry> ListCables();  // ports_command.cpp

namespace {

struct DoctorOptions {
    std::string port;
    bool json = false;
    bool loopback = false;
};

struct PortReport {
    std::string name;
    DoctorSubject subject;
    std::vector<DoctorCheck> checks;
};

DoctorCheck OpenCheck(SerialPort& port, const std::string& devicePath) {
    if (port.OpenDevice(devicePath, 0)) {
        return ToldCheck("open", CheckOutcome::Ok, devicePath + " opens at 9600 baud, 8N1");
    }
    return ToldCheck("open", CheckOutcome::Problem,
                     PortOpenFailureTextEnglish(port.LastOpenFailure()));
}

PortReport Examine(const std::string& name, const DoctorSubject& subject, const SystemFacts& facts,
                   bool loopback) {
    PortReport report{name, subject, ExaminePort(subject, facts)};
    SerialPort port;
    report.checks.push_back(OpenCheck(port, subject.devicePath));
    if (loopback && port.IsOpen()) {
        report.checks.push_back(RunCableSelfTest(port));
    }
    return report;
}

std::string ChipOf(const std::string& devicePath, const std::vector<CableEntry>& cables) {
    for (const CableEntry& cable : cables) {
        if (cable.devicePath == devicePath) {
            return cable.chip;
        }
    }
    return {};
}

Json ChecksJson(const std::vector<DoctorCheck>& checks) {
    Json list = Json::array();
    for (const DoctorCheck& check : checks) {
        list.push_back({{"check", check.id},
                        {"result", OutcomeName(check.outcome)},
                        {"finding", JsonText(check.finding)},
                        {"fix", JsonText(check.fix)}});
    }
    return list;
}

void PrintChecks(const std::vector<DoctorCheck>& checks) {
    for (const DoctorCheck& check : checks) {
        std::cout << "  [" << OutcomeName(check.outcome) << "] " << check.id << ": "
                  << check.finding << "\n";
        if (!check.fix.empty()) {
            std::cout << "      fix: " << check.fix << "\n";
        }
    }
}

bool AnyProblem(const std::vector<DoctorCheck>& checks) {
    return std::any_of(checks.begin(), checks.end(), [](const DoctorCheck& check) {
        return check.outcome == CheckOutcome::Problem;
    });
}

int RunDoctor(const DoctorOptions& options, CommandContext& context) {
    QCoreApplication qt(context.argc, context.argv);
    const std::unique_ptr<SystemFacts> facts = LocalSystemFacts();
    const std::vector<CableEntry> cables = ListCables();
    std::vector<PortReport> reports;
    if (!options.port.empty()) {
        const std::optional<PortText> port = ParsePortText(options.port);
        if (!port) {
            PrintError("--port: '" + options.port + "' is not a port");
            return kUsage;
        }
        std::string path = port->devicePath;
        if (path.empty()) {
            path = ResolvePortDevice(port->portNumber, DevicesFromSettingFile(SettingFile()));
        }
        if (path.empty()) {
            PrintError(options.port + " names no serial port on this computer");
            return kPortNotOpened;
        }
        reports.push_back(
            Examine(options.port, {path, ChipOf(path, cables)}, *facts, options.loopback));
    } else {
        for (const CableEntry& cable : cables) {
            reports.push_back(
                Examine(cable.comName, {cable.devicePath, cable.chip}, *facts, options.loopback));
        }
    }
    const std::vector<DoctorCheck> system =
        ExamineSystem(*facts, reports.empty() ? std::string() : reports.front().subject.chip);

    bool problem = AnyProblem(system);
    Json ports = Json::array();
    for (const PortReport& report : reports) {
        problem = problem || AnyProblem(report.checks);
        if (options.json) {
            ports.push_back({{"port", report.name},
                             {"device", JsonText(report.subject.devicePath)},
                             {"checks", ChecksJson(report.checks)}});
        } else {
            std::cout << report.name << " (" << report.subject.devicePath << ")\n";
            PrintChecks(report.checks);
        }
    }
    if (options.json) {
        std::cout << ReadableJson(Json{{"ports", ports}, {"system", ChecksJson(system)}});
    } else {
        if (reports.empty()) {
            std::cout << "No serial port found. Is the cable plugged in?\n";
        }
        std::cout << "This computer\n";
        PrintChecks(system);
    }
    return problem ? kPortNotOpened : kDone;
}

}  // namespace

std::string PortDoctorHint(const std::string& devicePath) {
    if (devicePath.empty() || ParseNetworkAddress(devicePath)) {
        return {};  // the open's own cause says all this machine can know of a remote line
    }
    const std::unique_ptr<SystemFacts> facts = LocalSystemFacts();
    std::vector<DoctorCheck> checks = ExaminePort({devicePath, {}}, *facts);
    const std::vector<DoctorCheck> system = ExamineSystem(*facts);
    checks.insert(checks.end(), system.begin(), system.end());
    return LikelyCause(checks);
}

void AddDoctorCommand(CLI::App& app, CommandContext& context) {
    static DoctorOptions options;
    CLI::App* doctor = app.add_subcommand(
        "doctor",
        "check why a radio cannot be reached: device, permission, other programs, "
        "brltty, ModemManager; exit 5 when a problem is found");
    doctor->add_option("--port", options.port,
                       "the port to check (default: every port); COMn, n, a device path, "
                       "rfc2217://HOST:PORT or tcp://HOST:PORT");
    doctor->add_flag("--json", options.json, "print the checks as JSON");
    doctor->add_flag("--loopback", options.loopback,
                     "cable self-test: with the cable's TX and RX joined, send a pattern and "
                     "check it comes back intact");
    doctor->callback([&context] { context.status = RunDoctor(options, context); });
}

}  // namespace halyx::cli
