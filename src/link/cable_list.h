#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/port_names.h"

namespace halyx {

// One port as the port lists show it: which cable it is, not only where it lies.
struct CableEntry {
    std::string comName;     // "COM3"
    std::string devicePath;  // "/dev/ttyUSB0", or a network address mapped to the number
    std::string usbId;       // "1a86:7523"; empty for a port that is no USB adapter
    std::string chip;        // "CH340"; empty when the ids name no chip we know
    std::string description;
    bool network = false;  // a serial line on another machine
};

// The common name of a USB serial adapter's chip from its ids ("CH340", "PL2303", "CP210x",
// "FTDI FT232R", ...); empty for ids we do not know. Programming cables are nearly always one of
// these, and their drivers and troubles go by the chip.
std::string UsbChipName(std::uint16_t vendorId, std::uint16_t productId);
// "1a86:7523": four lower-case hexadecimal digits each.
std::string UsbIdText(std::uint16_t vendorId, std::uint16_t productId);

// Every numbered port with what the system says of its device. `devices` as listed by the
// system (port_names.h), `comPorts` as ListComPorts gives them.
std::vector<CableEntry> CableList(const std::vector<ComPortEntry>& comPorts,
                                  const std::vector<SerialDeviceInfo>& devices);

}  // namespace halyx
