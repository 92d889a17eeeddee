#include "cli/fleet_ports.h"

#include <gtest/gtest.h>

#include "cli/fleet_ports.h"

namespace halyx::cli {
namespace {

TEST(FleetPorts, NamesAreNormalisedAndTwoNamesForOneRadioAreRefused) {
    const DeviceMapping mapping = [](std::string_view com) {
        return com == "COM2" ? std::string("/dev/ttyUSB7") : std::string();
    };
    const FleetPortList list = ParseFleetPorts("com2,/dev/pts/4,3", mapping);
    ASSERT_TRUE(list.ok()) << list.error;
    ASSERT_EQ(list.ports.size(), 3u);
    EXPECT_EQ(list.ports[0].name, "COM2");
    EXPECT_EQ(list.ports[0].devicePath, "/dev/ttyUSB7");
    EXPECT_EQ(list.ports[1].name, "/dev/pts/4");
    EXPECT_EQ(list.ports[1].devicePath, "/dev/pts/4");
    EXPECT_EQ(list.ports[2].name, "COM3");

    EXPECT_EQ(ParseFleetPorts("COM2,2", mapping).error, "--ports: COM2 is given twice");
    EXPECT_EQ(ParseFleetPorts("COM2,/dev/ttyUSB7", mapping).error,
              "--ports: COM2 and /dev/ttyUSB7 are the same device, /dev/ttyUSB7");
    EXPECT_FALSE(ParseFleetPorts("COM1,,COM3", mapping).ok());
    EXPECT_FALSE(ParseFleetPorts("COM0", mapping).ok());
    EXPECT_FALSE(ParseFleetPorts("", mapping).ok());

    // The window's overrides column and the command line's go by the same one rule.
    EXPECT_EQ(FleetPortName("com12"), "COM12");
    EXPECT_EQ(FleetPortName("12"), "COM12");
    EXPECT_EQ(FleetPortName("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(FleetPortName("0"), "0");
}

TEST(FleetPorts, ImagesReadGetNamesThatNeverClash) {
    std::vector<FleetRadioReport> reports(5);
    const std::vector<std::pair<std::string, std::string>> radios = {
        {"COM1", "SN1"}, {"COM2", "sn1"}, {"/dev/pts/3", ""}, {"COM4", "SN/4"}, {"COM5", "X"}};
    for (std::size_t i = 0; i < reports.size(); ++i) {
        reports[i].portName = radios[i].first;
        reports[i].serialBefore = radios[i].second;
        reports[i].result = FleetResult::Success;
        reports[i].imageRead = RadioImage{};
    }
    reports[4].result = FleetResult::LinkFailure;
    EXPECT_EQ(FleetReadFileNames(reports),
              (std::vector<std::string>{"SN1.kda", "sn1-2.kda", "_dev_pts_3.kda", "SN_4.kda", ""}));
    EXPECT_EQ(FleetLogPath("logs/comm.log", 2), "logs/comm-2.log");
    EXPECT_EQ(FleetLogPath("trace", 10), "trace-10");
}

}  // namespace
}  // namespace halyx::cli
