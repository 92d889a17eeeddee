#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halyx {

// The radio link names its port by number, COMn, as the setting file stores it. On Windows port
// n is the device \\.\COMn. Elsewhere COMn is, in this order:
//   1. the device path the caller's mapping gives for "COMn" (the setting file's "devices"
//      section, COM1=/dev/ttyUSB0 or COM2=rfc2217://bench:4001, which the caller reads and
//      passes in);
//   2. the n-th serial port the system lists, USB adapters (ports with a vendor id) first, then
//      by device path, so that a plugged-in programming cable is COM1.
// Port 0 (no port chosen) names nothing, and opening it fails.

inline constexpr std::string_view kComPrefix = "COM";

// One serial port as the system lists it.
struct SerialDeviceInfo {
    std::string devicePath;      // "/dev/ttyUSB0"; on Windows the port name "COM3"
    std::string description;     // the driver's or adapter's description, may be empty
    bool usb = false;            // the port reports a USB vendor id
    std::uint16_t vendorId = 0;  // USB ids, 0 when the port has none
    std::uint16_t productId = 0;
};

// The "devices" value for a "COMn" key, or empty when there is none.
using DeviceMapping = std::function<std::string(std::string_view comName)>;

// "COM" followed by the number: the key of the "devices" section and the name users see.
std::string ComName(int portNumber);

// The system's serial ports in COM order (see above). Pseudo-terminals are never listed.
std::vector<SerialDeviceInfo> SystemSerialDevices();
// Puts `devices` into COM order: USB first, then by device path.
void SortIntoComOrder(std::vector<SerialDeviceInfo>& devices);

// The device path of port `portNumber`; empty when it names no device. `devices` must be in
// COM order; `mapping` may be empty.
std::string ResolvePortDevice(int portNumber, const DeviceMapping& mapping,
                              const std::vector<SerialDeviceInfo>& devices);
// The same against the system's current listing.
std::string ResolvePortDevice(int portNumber, const DeviceMapping& mapping);

// A port as given on a command line: "COM3", "com3" or "3" name port 3; a network address
// (rfc2217://HOST:PORT, tcp://HOST:PORT, see network_address.h) and anything else holding '/' is
// a device path used as it is. Empty for any other text, and for a network address that does
// not parse; "0" and "COM0" give port 0.
struct PortText {
    int portNumber = 0;      // 0 when a device path was given
    std::string devicePath;  // empty when a number was given
};
std::optional<PortText> ParsePortText(std::string_view text);

// A COM number that names an existing device, for the port dialogs.
struct ComPortEntry {
    int portNumber = 0;
    std::string devicePath;
    std::string description;
};
// Ports 1 to `highestNumber` that name a device: listed by the system, or mapped to a path that
// exists or to a network address. Ascending by number; a device may appear under two numbers when a
// mapping names it.
std::vector<ComPortEntry> ListComPorts(int highestNumber, const DeviceMapping& mapping,
                                       const std::vector<SerialDeviceInfo>& devices);
std::vector<ComPortEntry> ListComPorts(int highestNumber, const DeviceMapping& mapping);

}  // namespace halyx
