#include "link/cable_list.h"

#include <algorithm>
#include <cstdio>

#include "link/network_address.h"

namespace halyx {
namespace {

constexpr std::uint16_t kWchVendor = 0x1a86;
constexpr std::uint16_t kProlificVendor = 0x067b;
constexpr std::uint16_t kSiliconLabsVendor = 0x10c4;
constexpr std::uint16_t kFtdiVendor = 0x0403;

struct KnownChip {
    std::uint16_t vendorId;
    std::uint16_t productId;
    const char* name;
};

constexpr KnownChip kKnownChips[] = {
    {kWchVendor, 0x7523, "CH340"},          {kWchVendor, 0x7522, "CH340"},
    {kWchVendor, 0x5523, "CH341"},          {kWchVendor, 0x55d4, "CH9102"},
    {kProlificVendor, 0x2303, "PL2303"},    {kProlificVendor, 0x23a3, "PL2303"},
    {kProlificVendor, 0x23c3, "PL2303"},    {kProlificVendor, 0x23d3, "PL2303"},
    {kSiliconLabsVendor, 0xea60, "CP210x"}, {kSiliconLabsVendor, 0xea70, "CP2105"},
    {kSiliconLabsVendor, 0xea71, "CP2108"}, {kFtdiVendor, 0x6001, "FTDI FT232R"},
    {kFtdiVendor, 0x6010, "FTDI FT2232"},   {kFtdiVendor, 0x6011, "FTDI FT4232"},
    {kFtdiVendor, 0x6014, "FTDI FT232H"},   {kFtdiVendor, 0x6015, "FTDI FT-X"},
};

}  // namespace

std::string UsbChipName(std::uint16_t vendorId, std::uint16_t productId) {
    for (const KnownChip& chip : kKnownChips) {
        if (chip.vendorId == vendorId && chip.productId == productId) {
            return chip.name;
        }
    }
    // FTDI makes many more; all take the same driver.
    return vendorId == kFtdiVendor ? "FTDI" : std::string();
}

std::string UsbIdText(std::uint16_t vendorId, std::uint16_t productId) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", vendorId, productId);
    return text;
}

std::vector<CableEntry> CableList(const std::vector<ComPortEntry>& comPorts,
                                  const std::vector<SerialDeviceInfo>& devices) {
    std::vector<CableEntry> cables;
    for (const ComPortEntry& port : comPorts) {
        CableEntry cable{ComName(port.portNumber), port.devicePath, {}, {}, port.description};
        cable.network = ParseNetworkAddress(port.devicePath).has_value();
        const auto device = std::find_if(devices.begin(), devices.end(), [&](const auto& d) {
            return d.devicePath == port.devicePath;
        });
        if (device != devices.end() && device->usb) {
            cable.usbId = UsbIdText(device->vendorId, device->productId);
            cable.chip = UsbChipName(device->vendorId, device->productId);
        }
        cables.push_back(std::move(cable));
    }
    return cables;
}

}  // namespace halyx
