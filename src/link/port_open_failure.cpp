#include "link/port_open_failure.h"

#include <cerrno>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

namespace halyx {
namespace {

struct KeyedText {
    std::string_view key;
    std::string_view english;
};

constexpr KeyedText kNoDevice{"S0202", "%1 does not name a serial port on this computer."};
constexpr KeyedText kNoSuchDevice{"S0203", "%1: no such device. Is the cable plugged in?"};
constexpr KeyedText kPermissionDenied{"S0204", "%1: permission denied."};
constexpr KeyedText kJoinGroup{
    "S0205",
    "Your user must be in the group \"%2\" that owns the device (for example dialout); "
    "add it and log in again."};
constexpr KeyedText kInUse{"S0206", "%1 is in use by another program."};
constexpr KeyedText kNotSerial{"S0207", "%1 is not a serial device."};
constexpr KeyedText kSettingRefused{"S0208", "%1 does not accept the line settings."};
constexpr KeyedText kOther{"S0209", "%1 cannot be opened: %2"};
constexpr KeyedText kConnectionRefused{
    "S0290", "%1: the connection was refused. Is the serial server (ser2net) running there?"};
constexpr KeyedText kHostNotFound{"S0291", "%1: the host name cannot be resolved."};
constexpr KeyedText kNoAnswer{"S0292", "%1: the server did not answer in time."};
constexpr KeyedText kServerRefused{"S0293", "%1: the server will not set up the serial line: %2."};

std::string ReplaceAll(std::string text, std::string_view what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

std::string Fill(const PortTextLookup& lookup, const KeyedText& text, const std::string& second,
                 const std::string& portName) {
    // The name goes in last so that a path containing "%2" is shown as it is.
    return ReplaceAll(ReplaceAll(lookup(text.key, text.english), "%2", second), "%1", portName);
}

#ifndef _WIN32
std::string GroupName(gid_t gid) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return std::to_string(gid);
    }
    return found->gr_name;
}
#endif

}  // namespace

PortDeviceFacts ProbePortDevice(const std::string& devicePath) {
    PortDeviceFacts facts;
#ifndef _WIN32
    struct stat node {};
    if (stat(devicePath.c_str(), &node) != 0) {
        facts.exists = !(errno == ENOENT || errno == ENOTDIR);
        facts.accessDenied = errno == EACCES;
        return facts;
    }
    facts.group = GroupName(node.st_gid);
    facts.characterDevice = S_ISCHR(node.st_mode);
    if (!facts.characterDevice) {
        facts.terminal = false;
        return facts;
    }
    if (access(devicePath.c_str(), R_OK | W_OK) != 0) {
        facts.accessDenied = errno == EACCES || errno == EPERM;
        return facts;
    }
    // The library has already opened it this way; without O_NONBLOCK a modem line would wait for
    // carrier, and without O_NOCTTY a terminal could become ours.
    const int fd = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        facts.busy = errno == EBUSY;
        facts.accessDenied = errno == EACCES || errno == EPERM;
        facts.exists = !(errno == ENXIO || errno == ENODEV || errno == ENOENT);
        return facts;
    }
    facts.terminal = isatty(fd) != 0;
    close(fd);
#else
    static_cast<void>(devicePath);
#endif
    return facts;
}

PortOpenFailure ClassifyPortOpenFailure(const std::string& portName, const PortOpenAttempt& attempt,
                                        const PortDeviceFacts& facts) {
    PortOpenFailure failure;
    failure.portName = portName;
    if (!facts.exists) {
        failure.cause = PortOpenCause::NoSuchDevice;
    } else if (facts.accessDenied) {
        failure.cause = PortOpenCause::PermissionDenied;
        failure.group = facts.group;
    } else if (facts.busy) {
        failure.cause = PortOpenCause::InUse;
    } else if (!facts.characterDevice || !facts.terminal) {
        failure.cause = PortOpenCause::NotSerial;
    } else if (attempt.permissionError) {
        // The device itself lets this user in, so what refused is the library's lock file.
        failure.cause = PortOpenCause::InUse;
    } else if (attempt.notFound) {
        failure.cause = PortOpenCause::NoSuchDevice;
    } else if (attempt.settingRefused) {
        failure.cause = PortOpenCause::SettingRefused;
    } else {
        failure.cause = PortOpenCause::Other;
        failure.systemText = attempt.systemText;
    }
    return failure;
}

std::string PortOpenFailureText(const PortOpenFailure& failure, const PortTextLookup& lookup) {
    const std::string& name = failure.portName;
    switch (failure.cause) {
        case PortOpenCause::None:
            return {};
        case PortOpenCause::NoDevice:
            return Fill(lookup, kNoDevice, {}, name);
        case PortOpenCause::NoSuchDevice:
            return Fill(lookup, kNoSuchDevice, {}, name);
        case PortOpenCause::PermissionDenied: {
            std::string text = Fill(lookup, kPermissionDenied, {}, name);
#ifdef __linux__
            // Serial devices are opened to a group (dialout on most systems) rather than to
            // users; joining it is the usual cure. Root owns the node only when no group is meant.
            if (!failure.group.empty() && failure.group != "root") {
                text += " " + Fill(lookup, kJoinGroup, failure.group, name);
            }
#endif
            return text;
        }
        case PortOpenCause::InUse:
            return Fill(lookup, kInUse, {}, name);
        case PortOpenCause::NotSerial:
            return Fill(lookup, kNotSerial, {}, name);
        case PortOpenCause::SettingRefused:
            return Fill(lookup, kSettingRefused, {}, name);
        case PortOpenCause::ConnectionRefused:
            return Fill(lookup, kConnectionRefused, {}, name);
        case PortOpenCause::HostNotFound:
            return Fill(lookup, kHostNotFound, {}, name);
        case PortOpenCause::NoAnswer:
            return Fill(lookup, kNoAnswer, {}, name);
        case PortOpenCause::ServerRefused:
            return Fill(lookup, kServerRefused, failure.systemText, name);
        case PortOpenCause::Other:
            break;
    }
    return Fill(lookup, kOther, failure.systemText, name);
}

std::string PortOpenFailureTextEnglish(const PortOpenFailure& failure) {
    return PortOpenFailureText(
        failure, [](std::string_view, std::string_view english) { return std::string(english); });
}

}  // namespace halyx
