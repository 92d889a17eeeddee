#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace halyx {

// Why a serial port (a device, or a line shared over the network) could not be opened, as the faces
// explain it to the user.
enum class PortOpenCause {
    None,
    NoDevice,           // the port number names no device at all
    NoSuchDevice,       // the device path does not exist (unplugged, mistyped)
    PermissionDenied,   // the user may not read and write the device
    InUse,              // another program holds it (its lock file, or the device says busy)
    NotSerial,          // the path leads to something that is no serial line
    SettingRefused,     // the device refused the line settings
    ConnectionRefused,  // network port: nothing listens at that address
    HostNotFound,       // network port: the host name does not resolve
    NoAnswer,           // network port: no connection or no line set-up in time
    ServerRefused,      // network port: the server will not set the line up; systemText says how
    Other,              // anything else; systemText says what the system reported
};

struct PortOpenFailure {
    PortOpenCause cause = PortOpenCause::None;
    std::string portName;    // "COM3" or the device path, as the user named the port
    std::string group;       // PermissionDenied: the group owning the device, when known
    std::string systemText;  // Other: the system's own words

    bool failed() const { return cause != PortOpenCause::None; }
};

// What the serial library said when its open failed.
struct PortOpenAttempt {
    bool permissionError = false;  // includes its own lock file being held by another program
    bool notFound = false;
    bool settingRefused = false;  // opened, but a line setting was refused
    std::string systemText;
};

// What the system says about the device itself, looked at after the open failed.
struct PortDeviceFacts {
    bool exists = true;
    bool characterDevice = true;
    bool accessDenied = false;  // no read and write permission for this user
    bool busy = false;          // the device refused a second open (EBUSY)
    bool terminal = true;       // it behaves as a serial line
    std::string group;          // the group that owns the device node
};

// Looks at `devicePath` without disturbing it more than an open already did.
PortDeviceFacts ProbePortDevice(const std::string& devicePath);

// The cause, from what the library said and what the device shows; the device's own facts win
// because the library folds several causes into one error.
PortOpenFailure ClassifyPortOpenFailure(const std::string& portName, const PortOpenAttempt& attempt,
                                        const PortDeviceFacts& facts);

// A language-file text by key, falling back to the given built-in English text.
using PortTextLookup = std::function<std::string(std::string_view key, std::string_view english)>;

// The explanation of `failure` in the current language (keys S0202..S0209, S0290..S0293 for network
// ports), with the port's name and, for a permission problem, the group to join. Empty when nothing
// failed.
std::string PortOpenFailureText(const PortOpenFailure& failure, const PortTextLookup& lookup);
// The same in the built-in English texts.
std::string PortOpenFailureTextEnglish(const PortOpenFailure& failure);

}  // namespace halyx
