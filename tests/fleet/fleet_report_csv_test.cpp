#include "fleet/fleet_report_csv.h"

#include <gtest/gtest.h>

namespace halyx {
namespace {

TEST(FleetReportCsv, OneRowPerRadioThatASpreadsheetReadsButNeverRuns) {
    FleetRadioReport good;
    good.portName = "COM1";
    good.devicePath = "/dev/ttyUSB0";
    good.serialBefore = "SIM1";
    good.serialAfter = "NEW1";
    good.result = FleetResult::Success;
    good.times = {1, 2, 3, 4, 5};
    good.durationMs = 15;
    good.backupPath = "/home/u/backups/2026-12-09/101530-SIM1.kda";
    FleetRadioReport hostile;
    hostile.portName = "COM2";
    hostile.devicePath = "/dev/ttyUSB1";
    hostile.serialBefore = "=1+2\x01\xB0";  // what a radio sent, formula and all
    hostile.userIdBefore = "a,\"b";
    hostile.result = FleetResult::LinkFailure;
    hostile.message = "the radio did not answer the read; nothing was written";

    const std::string csv = FleetReportCsv({good, hostile});
    EXPECT_EQ(csv,
              "\xEF\xBB\xBF"
              "port,device,serialBefore,serialAfter,userIdBefore,userIdAfter,result,message,"
              "openMs,readMs,backupMs,writeMs,verifyMs,durationMs,backup\r\n"
              "COM1,/dev/ttyUSB0,SIM1,NEW1,,,success,,1,2,3,4,5,15,"
              "/home/u/backups/2026-12-09/101530-SIM1.kda\r\n"
              "COM2,/dev/ttyUSB1,'=1+2??,,\"a,\"\"b\",,link-failure,"
              "the radio did not answer the read; nothing was written,0,0,0,0,0,0,\r\n");

    EXPECT_EQ(FleetReportCsvPath("/tmp/run/fleet-report-1.json"),
              std::filesystem::path("/tmp/run/fleet-report-1.csv"));
}

}  // namespace
}  // namespace halyx
