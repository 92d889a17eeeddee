#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "link/port_names.h"
#include "settings/profile_file.h"
#include "settings/setting_file.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

std::vector<SerialDeviceInfo> ListedDevices() {
    // As the system might list them: unsorted, built-in ports mixed with USB adapters.
    return {{"/dev/ttyS1", "built-in 2", false},
            {"/dev/ttyUSB1", "CP2102", true},
            {"/dev/ttyS0", "built-in 1", false},
            {"/dev/ttyACM0", "CDC", true}};
}

std::vector<std::string> Paths(const std::vector<SerialDeviceInfo>& devices) {
    std::vector<std::string> paths;
    for (const auto& device : devices) {
        paths.push_back(device.devicePath);
    }
    return paths;
}

DeviceMapping MapOf(std::map<std::string, std::string> entries) {
    return [entries = std::move(entries)](std::string_view comName) {
        const auto found = entries.find(std::string(comName));
        return found == entries.end() ? std::string() : found->second;
    };
}

TEST(PortNames, UsbAdaptersComeFirstThenDevicesByPath) {
    std::vector<SerialDeviceInfo> devices = ListedDevices();
    SortIntoComOrder(devices);
    EXPECT_EQ(Paths(devices), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB1",
                                                        "/dev/ttyS0", "/dev/ttyS1"}));
}

TEST(PortNames, MappingWinsOverTheListingAndPortZeroNamesNothing) {
    std::vector<SerialDeviceInfo> devices = ListedDevices();
    SortIntoComOrder(devices);
    const DeviceMapping mapping = MapOf({{"COM2", "/dev/pts/7"}});

    EXPECT_EQ(ResolvePortDevice(2, mapping, devices), "/dev/pts/7");
    EXPECT_EQ(ResolvePortDevice(1, mapping, devices), "/dev/ttyACM0");
    EXPECT_EQ(ResolvePortDevice(3, mapping, devices), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortDevice(4, {}, devices), "/dev/ttyS1");
    EXPECT_EQ(ResolvePortDevice(5, mapping, devices), "");
    EXPECT_EQ(ResolvePortDevice(0, MapOf({{"COM0", "/dev/ttyS0"}}), devices), "");
    EXPECT_EQ(ResolvePortDevice(-1, mapping, devices), "");
}

TEST(PortNames, SettingFileDevicesSectionMapsComNames) {
    testing::TempDir dir;
    const ProfileFile settings(dir / "setting.ini");
    ASSERT_TRUE(settings.writeText("port", "com", "3"));
    ASSERT_TRUE(settings.writeText("devices", "COM3", "/dev/ttyUSB7"));
    const DeviceMapping mapping = DevicesFromSettingFile(settings);

    EXPECT_EQ(ResolvePortDevice(3, mapping, {}), "/dev/ttyUSB7");
    EXPECT_EQ(ResolvePortDevice(1, mapping, {}), "");
    // Read at each call: a change made while running counts at the next open.
    ASSERT_TRUE(settings.writeText("devices", "COM1", "/dev/ttyACM2"));
    EXPECT_EQ(ResolvePortDevice(1, mapping, {}), "/dev/ttyACM2");
}

TEST(PortNames, CommandLinePortTextGivesANumberOrAPath) {
    EXPECT_EQ(ParsePortText("COM3")->portNumber, 3);
    EXPECT_EQ(ParsePortText("com12")->portNumber, 12);
    EXPECT_EQ(ParsePortText("3")->portNumber, 3);
    EXPECT_EQ(ParsePortText("0")->portNumber, 0);
    EXPECT_TRUE(ParsePortText("3")->devicePath.empty());
    EXPECT_EQ(ParsePortText("/dev/ttyUSB0")->devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(ParsePortText("/dev/ttyUSB0")->portNumber, 0);
    EXPECT_EQ(ParsePortText("./ttyFake")->devicePath, "./ttyFake");

    for (const char* bad : {"", "COM", "COMX", "3a", "-1", " 3", "COM 3", "ttyS0", "99999999999"}) {
        EXPECT_FALSE(ParsePortText(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(PortNames, ListingShowsListedPortsAndMappedPathsThatExist) {
    testing::TempDir dir;
    const std::string present = (dir / "ttyPresent").string();
    testing::WriteBytes(present, {});
    std::vector<SerialDeviceInfo> devices = ListedDevices();
    SortIntoComOrder(devices);
    const DeviceMapping mapping =
        MapOf({{"COM2", present}, {"COM3", (dir / "ttyMissing").string()}, {"COM6", present}});

    const std::vector<ComPortEntry> ports = ListComPorts(8, mapping, devices);

    std::vector<int> numbers;
    for (const auto& port : ports) {
        numbers.push_back(port.portNumber);
    }
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 4, 6}));
    EXPECT_EQ(ports[0].devicePath, "/dev/ttyACM0");
    EXPECT_EQ(ports[0].description, "CDC");
    EXPECT_EQ(ports[1].devicePath, present);
    EXPECT_EQ(ports[2].devicePath, "/dev/ttyS1");
}

}  // namespace
}  // namespace halyx
