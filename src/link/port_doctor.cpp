#include "link/port_doctor.h"

#include <algorithm>
#include <numeric>

#include "link/network_address.h"
#include "link/port_doctor_texts.h"

namespace halyx {
namespace {

// A check by code, worded in English from the one table the window's language also uses.
DoctorCheck DoctorFound(std::string id, CheckOutcome outcome, DoctorFinding code,
                        std::vector<std::string> facts = {}) {
    DoctorWords words = DoctorCheckWordsEnglish(code, facts);
    return {std::move(id),        outcome, std::move(words.finding),
            std::move(words.fix), code,    std::move(facts)};
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// brltty's device rules claim these chips for braille displays and take the port away.
bool ChipBrlttyClaims(const std::string& chip) {
    return chip.empty() || chip.rfind("CH34", 0) == 0 || chip.rfind("CP21", 0) == 0;
}

DoctorCheck PermissionCheck(const std::string& path, const SystemFacts& facts) {
    if (facts.CanReadWrite(path)) {
        return DoctorFound("permission", CheckOutcome::Ok, DoctorFinding::MayReadWrite, {path});
    }
    const SystemFacts::Owner owner = facts.DeviceOwner(path);
    if (owner.group.empty() || owner.group == "root") {
        return DoctorFound("permission", CheckOutcome::Problem, DoctorFinding::OwnedWithoutGroup,
                           {path, owner.user});
    }
    if (Contains(facts.MemberGroups(), owner.group) &&
        !Contains(facts.ActiveGroups(), owner.group)) {
        return DoctorFound("permission", CheckOutcome::Problem, DoctorFinding::GroupNotActive,
                           {owner.group});
    }
    return DoctorFound("permission", CheckOutcome::Problem, DoctorFinding::NotInGroup,
                       {facts.UserName(), owner.group, path});
}

DoctorCheck HoldersCheck(const std::string& path, const SystemFacts& facts) {
    const std::vector<SystemFacts::Holder> holders = facts.Holders(path);
    if (holders.empty()) {
        return DoctorFound("holders", CheckOutcome::Ok, DoctorFinding::NoHolders, {path});
    }
    std::string names;
    for (const SystemFacts::Holder& holder : holders) {
        names += (names.empty() ? "" : ", ") + holder.program + " (pid " +
                 std::to_string(holder.pid) + ")";
    }
    return DoctorFound("holders", CheckOutcome::Problem, DoctorFinding::HeldBy,
                       {path, names, std::to_string(holders.front().pid)});
}

}  // namespace

std::vector<DoctorCheck> ExaminePort(const DoctorSubject& subject, const SystemFacts& facts) {
    const std::string& path = subject.devicePath;
    if (ParseNetworkAddress(path)) {
        return {DoctorFound("device", CheckOutcome::Skipped, DoctorFinding::DeviceRemote, {path})};
    }
    if (!facts.DeviceExists(path)) {
        return {DeviceMissingCheck(path)};
    }
    std::vector<DoctorCheck> checks{
        DoctorFound("device", CheckOutcome::Ok, DoctorFinding::DevicePresent, {path}),
        PermissionCheck(path, facts),
        HoldersCheck(path, facts),
    };
    return checks;
}

DoctorCheck ToldCheck(std::string id, CheckOutcome outcome, std::string finding, std::string fix) {
    return {std::move(id), outcome, std::move(finding), std::move(fix), DoctorFinding::Told, {}};
}

DoctorCheck DeviceMissingCheck(const std::string& portName) {
    return DoctorFound("device", CheckOutcome::Problem, DoctorFinding::DeviceMissing, {portName});
}

std::vector<DoctorCheck> ExamineSystem(const SystemFacts& facts, const std::string& chip) {
    std::vector<DoctorCheck> checks;
    if (facts.ProgramRunning("brltty")) {
        checks.push_back(DoctorFound(
            "brltty", ChipBrlttyClaims(chip) ? CheckOutcome::Problem : CheckOutcome::Warning,
            DoctorFinding::BrlttyRunning));
    } else if (facts.ProgramInstalled("brltty")) {
        checks.push_back(
            DoctorFound("brltty", CheckOutcome::Warning, DoctorFinding::BrlttyInstalled));
    } else {
        checks.push_back(DoctorFound("brltty", CheckOutcome::Ok, DoctorFinding::BrlttyAbsent));
    }
    if (facts.ProgramRunning("ModemManager")) {
        checks.push_back(
            DoctorFound("modemmanager", CheckOutcome::Warning, DoctorFinding::ModemManagerRunning));
    } else {
        checks.push_back(
            DoctorFound("modemmanager", CheckOutcome::Ok, DoctorFinding::ModemManagerAbsent));
    }
    return checks;
}

std::string LikelyCause(const std::vector<DoctorCheck>& checks) {
    return LikelyCause(
        checks, [](std::string_view, std::string_view english) { return std::string(english); });
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
        return DoctorFound("loopback", CheckOutcome::Ok, DoctorFinding::LoopbackIntact,
                           {std::to_string(sent.size())});
    }
    if (received.empty()) {
        return DoctorFound("loopback", CheckOutcome::Problem, DoctorFinding::LoopbackNothing);
    }
    std::size_t same = 0;
    for (std::size_t i = 0; i < std::min(sent.size(), received.size()); ++i) {
        same += sent[i] == received[i] ? 1 : 0;
    }
    return DoctorFound(
        "loopback", CheckOutcome::Problem, DoctorFinding::LoopbackGarbled,
        {std::to_string(received.size()), std::to_string(sent.size()), std::to_string(same)});
}

}  // namespace halyx
