#include "link/port_doctor.h"

#include <algorithm>
#include <numeric>

#include "link/network_address.h"

namespace halyx {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// brltty's device rules claim these chips for braille displays and take the port away.
bool ChipBrlttyClaims(const std::string& chip) {
    return chip.empty() || chip.rfind("CH34", 0) == 0 || chip.rfind("CP21", 0) == 0;
}

DoctorCheck PermissionCheck(const std::string& path, const SystemFacts& facts) {
    if (facts.CanReadWrite(path)) {
        return {"permission", CheckOutcome::Ok, "you may read and write " + path, {}};
    }
    const SystemFacts::Owner owner = facts.DeviceOwner(path);
    if (owner.group.empty() || owner.group == "root") {
        return {"permission", CheckOutcome::Problem,
                path + " belongs to " + owner.user + " and no group lets you use it",
                "ask the administrator for access to " + path};
    }
    if (Contains(facts.MemberGroups(), owner.group) &&
        !Contains(facts.ActiveGroups(), owner.group)) {
        return {"permission", CheckOutcome::Problem,
                "you were added to the group " + owner.group + " but this session predates it",
                "log out and in again (or restart) so the new group takes effect"};
    }
    return {
        "permission", CheckOutcome::Problem,
        "you (" + facts.UserName() + ") are not in the group " + owner.group + " that owns " + path,
        "sudo usermod -aG " + owner.group + " $USER, then log out and in again"};
}

DoctorCheck HoldersCheck(const std::string& path, const SystemFacts& facts) {
    const std::vector<SystemFacts::Holder> holders = facts.Holders(path);
    if (holders.empty()) {
        return {"holders", CheckOutcome::Ok, "no other program has " + path + " open", {}};
    }
    std::string names;
    for (const SystemFacts::Holder& holder : holders) {
        names += (names.empty() ? "" : ", ") + holder.program + " (pid " +
                 std::to_string(holder.pid) + ")";
    }
    return {"holders", CheckOutcome::Problem, path + " is held by " + names,
            "close that program (or: kill " + std::to_string(holders.front().pid) + ")"};
}

}  // namespace

std::vector<DoctorCheck> ExaminePort(const DoctorSubject& subject, const SystemFacts& facts) {
    const std::string& path = subject.devicePath;
    if (ParseNetworkAddress(path)) {
        return {{"device",
                 CheckOutcome::Skipped,
                 path + " is a serial line on another machine: its device is checked there",
                 {}}};
    }
    if (!facts.DeviceExists(path)) {
        return {{"device", CheckOutcome::Problem, path + " does not exist (any more)",
                 "plug the cable in again, then choose the port it now has (halyx-cli ports)"}};
    }
    std::vector<DoctorCheck> checks{
        {"device", CheckOutcome::Ok, path + " is present", {}},
        PermissionCheck(path, facts),
        HoldersCheck(path, facts),
    };
    return checks;
}

std::vector<DoctorCheck> ExamineSystem(const SystemFacts& facts, const std::string& chip) {
    std::vector<DoctorCheck> checks;
    if (facts.ProgramRunning("brltty")) {
        checks.push_back({"brltty",
                          ChipBrlttyClaims(chip) ? CheckOutcome::Problem : CheckOutcome::Warning,
                          "brltty (braille display support) is running and claims CH340 and "
                          "CP210x cables as soon as they are plugged in",
                          "sudo systemctl mask brltty-udev.service brltty.service (or sudo apt "
                          "remove brltty), then plug the cable in again"});
    } else if (facts.ProgramInstalled("brltty")) {
        checks.push_back({"brltty", CheckOutcome::Warning,
                          "brltty is installed; it may claim CH340 and CP210x cables when they "
                          "are plugged in",
                          "sudo apt remove brltty if no braille display is used"});
    } else {
        checks.push_back({"brltty", CheckOutcome::Ok, "brltty is not installed", {}});
    }
    if (facts.ProgramRunning("ModemManager")) {
        checks.push_back({"modemmanager", CheckOutcome::Warning,
                          "ModemManager is running and probes every new serial port for a few "
                          "seconds, sending AT commands the radio may take amiss",
                          "wait a few seconds after plugging in, or sudo systemctl stop "
                          "ModemManager"});
    } else {
        checks.push_back({"modemmanager", CheckOutcome::Ok, "ModemManager is not running", {}});
    }
    return checks;
}

std::string LikelyCause(const std::vector<DoctorCheck>& checks) {
    for (const CheckOutcome wanted : {CheckOutcome::Problem, CheckOutcome::Warning}) {
        for (const DoctorCheck& check : checks) {
            if (check.outcome == wanted) {
                return check.fix.empty() ? check.finding : check.finding + "; " + check.fix;
            }
        }
    }
    return {};
}

const char* OutcomeName(CheckOutcome outcome) {
    switch (outcome) {
        case CheckOutcome::Ok:
            return "ok";
        case CheckOutcome::Warning:
            return "warning";
        case CheckOutcome::Problem:
            return "problem";
        case CheckOutcome::Skipped:
            break;
    }
    return "skipped";
}

std::vector<unsigned char> LoopbackPattern() {
    std::vector<unsigned char> pattern(256);
    std::iota(pattern.begin(), pattern.end(), 0);
    std::reverse(pattern.begin() + 128, pattern.end());
    return pattern;
}

DoctorCheck LoopbackCheck(const std::vector<unsigned char>& received) {
    const std::vector<unsigned char> sent = LoopbackPattern();
    if (received == sent) {
        return {"loopback",
                CheckOutcome::Ok,
                "all " + std::to_string(sent.size()) + " bytes came back intact",
                {}};
    }
    if (received.empty()) {
        return {"loopback", CheckOutcome::Problem, "nothing came back",
                "join the cable's TX and RX (or fit its loopback plug) and run the test again; "
                "if they are joined, the cable or its driver is broken"};
    }
    std::size_t same = 0;
    for (std::size_t i = 0; i < std::min(sent.size(), received.size()); ++i) {
        same += sent[i] == received[i] ? 1 : 0;
    }
    return {"loopback", CheckOutcome::Problem,
            std::to_string(received.size()) + " of " + std::to_string(sent.size()) +
                " bytes came back, " + std::to_string(same) + " of them intact",
            "the cable garbles or loses bytes: check its speed setting, its connector and its "
            "driver"};
}

}  // namespace halyx
