#include "link/port_doctor_texts.h"

#include <string_view>

#include "image/text_arguments.h"

namespace halyx {
namespace {

struct DoctorText {
    DoctorFinding code;
    std::string_view key;  // empty: English only
    std::string_view english;
};

constexpr char kPartSeparator = '|';

// %1, %2, ... are the check's facts in the order ExaminePort and its kin give them.
constexpr DoctorText kDoctorTexts[] = {
    {DoctorFinding::DevicePresent, "S0315", "%1 is present"},
    {DoctorFinding::DeviceRemote, "S0316",
     "%1 is a serial line on another machine: its device is checked there"},
    {DoctorFinding::DeviceMissing, "S0317",
     "%1 does not exist (any more)|plug the cable in again, then choose the port it now has "
     "(halyx-cli ports)"},
    {DoctorFinding::MayReadWrite, "S0318", "you may read and write %1"},
    {DoctorFinding::OwnedWithoutGroup, "S0319",
     "%1 belongs to %2 and no group lets you use it|ask the administrator for access to %1"},
    {DoctorFinding::GroupNotActive, "S0390",
     "you were added to the group %1 but this session predates it|log out and in again (or "
     "restart) so the new group takes effect"},
    {DoctorFinding::NotInGroup, "S0391",
     "you (%1) are not in the group %2 that owns %3|sudo usermod -aG %2 $USER, then log out and in "
     "again"},
    {DoctorFinding::NoHolders, "S0392", "no other program has %1 open"},
    {DoctorFinding::HeldBy, "S0393", "%1 is held by %2|close that program (or: kill %3)"},
    {DoctorFinding::BrlttyRunning, "S0394",
     "brltty (braille display support) is running and claims CH340 and CP210x cables as soon as "
     "they are plugged in|sudo systemctl mask brltty-udev.service brltty.service (or sudo apt "
     "remove brltty), then plug the cable in again"},
    {DoctorFinding::BrlttyInstalled, "S0395",
     "brltty is installed; it may claim CH340 and CP210x cables when they are plugged in|sudo apt "
     "remove brltty if no braille display is used"},
    {DoctorFinding::BrlttyAbsent, "S0396", "brltty is not installed"},
    {DoctorFinding::ModemManagerRunning, "S0397",
     "ModemManager is running and probes every new serial port for a few seconds, sending AT "
     "commands the radio may take amiss|wait a few seconds after plugging in, or sudo systemctl "
     "stop ModemManager"},
    {DoctorFinding::ModemManagerAbsent, "S0398", "ModemManager is not running"},
    {DoctorFinding::LoopbackIntact, "S0401", "all %1 bytes came back intact"},
    {DoctorFinding::LoopbackNothing, "S0402",
     "nothing came back|join the cable's TX and RX (or fit its loopback plug) and run the test "
     "again; if they are joined, the cable or its driver is broken"},
    {DoctorFinding::LoopbackGarbled, "S0403",
     "%1 of %2 bytes came back, %3 of them intact|the cable garbles or loses bytes: check its "
     "speed setting, its connector and its driver"},
};

constexpr DoctorText kOutcomeWords{DoctorFinding::Told, "S0399", "ok|warning|problem|skipped"};
// The checks' names, in the order of kCheckIds; the ids themselves are what the command line and
// its JSON print.
constexpr DoctorText kCheckNames{DoctorFinding::Told, "S0400",
                                 "device|permission|holders|brltty|modemmanager|loopback"};
constexpr std::string_view kCheckIds[] = {"device", "permission",   "holders",
                                          "brltty", "modemmanager", "loopback"};

std::vector<std::string> DoctorTextParts(std::string_view text) {
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(kPartSeparator, from);
        parts.emplace_back(text.substr(from, at - from));
        if (at == std::string_view::npos) {
            return parts;
        }
        from = at + 1;
    }
}

// The text's parts in the lookup's language, each missing or empty one in English. A text of one
// part is taken whole, so a translation may use the separator as an ordinary character there.
std::vector<std::string> LocalParts(const DoctorText& text, const PortTextLookup& lookup) {
    std::vector<std::string> english = DoctorTextParts(text.english);
    if (text.key.empty()) {
        return english;
    }
    const std::string local = lookup(text.key, text.english);
    if (english.size() == 1) {
        return {local.empty() ? english.front() : local};
    }
    const std::vector<std::string> parts = DoctorTextParts(local);
    for (std::size_t i = 0; i < english.size() && i < parts.size(); ++i) {
        if (!parts[i].empty()) {
            english[i] = parts[i];
        }
    }
    return english;
}

const DoctorText* TextOf(DoctorFinding code) {
    for (const DoctorText& text : kDoctorTexts) {
        if (text.code == code) {
            return &text;
        }
    }
    return nullptr;
}

std::string DoctorEnglish(std::string_view, std::string_view english) {
    return std::string(english);
}

}  // namespace

DoctorWords DoctorCheckWords(const DoctorCheck& check, const PortTextLookup& lookup) {
    const DoctorText* text = TextOf(check.code);
    if (text == nullptr) {
        return {check.finding, check.fix};
    }
    const std::vector<std::string> parts = LocalParts(*text, lookup);
    return {FillArguments(parts[0], check.facts),
            parts.size() > 1 ? FillArguments(parts[1], check.facts) : std::string()};
}

DoctorWords DoctorCheckWordsEnglish(DoctorFinding code, const std::vector<std::string>& facts) {
    DoctorCheck check;
    check.code = code;
    check.facts = facts;
    return DoctorCheckWords(check, DoctorEnglish);
}

std::string OutcomeWord(CheckOutcome outcome, const PortTextLookup& lookup) {
    const std::vector<std::string> words = LocalParts(kOutcomeWords, lookup);
    return words[static_cast<std::size_t>(outcome)];
}

std::string CheckName(std::string_view id, const PortTextLookup& lookup) {
    const std::vector<std::string> names = LocalParts(kCheckNames, lookup);
    for (std::size_t i = 0; i < std::size(kCheckIds) && i < names.size(); ++i) {
        if (kCheckIds[i] == id) {
            return names[i];
        }
    }
    return std::string(id);
}

std::string LikelyCause(const std::vector<DoctorCheck>& checks, const PortTextLookup& lookup) {
    for (const CheckOutcome wanted : {CheckOutcome::Problem, CheckOutcome::Warning}) {
        for (const DoctorCheck& check : checks) {
            if (check.outcome == wanted) {
                const DoctorWords words = DoctorCheckWords(check, lookup);
                return words.fix.empty() ? words.finding : words.finding + "; " + words.fix;
            }
        }
    }
    return {};
}

}  // namespace halyx
