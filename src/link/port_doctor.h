#pragma once

#include <memory>
#include <string>
#include <vector>

namespace halyx {

// What the port doctor looks at, behind an interface so that its reasoning is tested with any
// system one cares to describe. The real one reads the device node, /proc and /etc/group.
class SystemFacts {
public:
    struct Owner {
        std::string user;
        std::string group;
    };
    struct Holder {
        int pid = 0;
        std::string program;
    };
    virtual ~SystemFacts() = default;
    virtual bool DeviceExists(const std::string& devicePath) const = 0;
    virtual Owner DeviceOwner(const std::string& devicePath) const = 0;
    // Whether this process may read and write the device.
    virtual bool CanReadWrite(const std::string& devicePath) const = 0;
    virtual std::string UserName() const = 0;
    // Groups this process runs with, and groups the user is a member of in the group database
    // (which a new login picks up).
    virtual std::vector<std::string> ActiveGroups() const = 0;
    virtual std::vector<std::string> MemberGroups() const = 0;
    // Other processes that have the device open.
    virtual std::vector<Holder> Holders(const std::string& devicePath) const = 0;
    virtual bool ProgramInstalled(const std::string& name) const = 0;
    virtual bool ProgramRunning(const std::string& name) const = 0;
};

// The facts of this machine.
std::unique_ptr<SystemFacts> LocalSystemFacts();

// In this order: the outcome words of the language files follow it.
enum class CheckOutcome { Ok, Warning, Problem, Skipped };

// What a check found, so that each face can put it in its own words (port_doctor_texts.h). Told:
// a finding that comes in words already (an open failure, say).
enum class DoctorFinding {
    Told,
    DevicePresent,        // facts: device
    DeviceRemote,         // device
    DeviceMissing,        // device
    MayReadWrite,         // device
    OwnedWithoutGroup,    // device, owning user
    GroupNotActive,       // group
    NotInGroup,           // user, group, device
    NoHolders,            // device
    HeldBy,               // device, the holders ("minicom (pid 42)", ...), the first pid
    BrlttyRunning,        //
    BrlttyInstalled,      //
    BrlttyAbsent,         //
    ModemManagerRunning,  //
    ModemManagerAbsent,   //
    LoopbackIntact,       // bytes sent
    LoopbackNothing,      //
    LoopbackGarbled,      // bytes received, bytes sent, bytes intact
};

struct DoctorCheck {
    std::string id;  // "device", "permission", "holders", "brltty", "modemmanager", ...
    CheckOutcome outcome = CheckOutcome::Ok;
    std::string finding;  // what was found, in plain English
    std::string fix;      // what to do about it; empty when nothing is to be done
    DoctorFinding code = DoctorFinding::Told;
    std::vector<std::string> facts;  // what goes into the code's sentences
};

// The cable a check is about: its device and, for USB adapters, the chip (cable_list.h).
struct DoctorSubject {
    std::string devicePath;
    std::string chip;
};

// Every check for one port, in the order a user would go through them. A network address gets
// only the checks that apply to it (none of the device's); the caller adds the open attempt.
std::vector<DoctorCheck> ExaminePort(const DoctorSubject& subject, const SystemFacts& facts);
// A check that comes in words already (an open failure, say), shown as it is in every language.
DoctorCheck ToldCheck(std::string id, CheckOutcome outcome, std::string finding,
                      std::string fix = {});
// The finding for a port whose device is not there (unplugged, or never was).
DoctorCheck DeviceMissingCheck(const std::string& portName);
// The checks about the machine rather than one port: brltty and ModemManager.
std::vector<DoctorCheck> ExamineSystem(const SystemFacts& facts, const std::string& chip = {});

// The first problem found, as one line ("finding; fix") in English, for an error message; empty
// when all went well. The window's language: port_doctor_texts.h.
std::string LikelyCause(const std::vector<DoctorCheck>& checks);
const char* OutcomeName(CheckOutcome outcome);

// A cable self-test: with TX joined to RX, every byte sent comes straight back. The pattern
// holds every byte value, the frame bytes and 0xFF among them.
std::vector<unsigned char> LoopbackPattern();
// The check's result from what came back within the wait.
DoctorCheck LoopbackCheck(const std::vector<unsigned char>& received);

}  // namespace halyx
