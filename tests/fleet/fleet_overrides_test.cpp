#include "fleet/fleet_overrides.h"

#include <gtest/gtest.h>

namespace halyx::test {
namespace {

TEST(FleetOverrides, RowsGiveTheValuesSetTakesAndLeaveEmptyCellsAlone) {
    const OverridesParse parse = ParseFleetOverrides(
        "\xEF\xBB\xBF Radio ,serialNumber,userId,squelch,TOT,vox,power\r\n"
        "SN0001,NEW 1,Car 1,9,off,off,0\r\n"
        "\r\n"
        "SN0002,,,1,180,9,2\r\n"
        "SN0003,,\"a,b\"\r\n");
    ASSERT_TRUE(parse.ok()) << DescribeOverridesProblems(parse.problems);
    EXPECT_EQ(parse.overrides.key, OverridesKey::Radio);
    ASSERT_EQ(parse.overrides.rows.size(), 3u);
    const OverridesRow& first = parse.overrides.rows[0];
    EXPECT_EQ(first.line, 2);
    EXPECT_EQ(first.key, "SN0001");
    EXPECT_EQ(first.overrides.serialNumber, "NEW 1");
    EXPECT_EQ(first.overrides.userId, "Car 1");
    EXPECT_EQ(first.overrides.squelchLevel, 9);
    EXPECT_EQ(first.overrides.timeOut, 0);
    EXPECT_EQ(first.overrides.voxLevel, 0);
    EXPECT_EQ(first.overrides.txPower, 0);
    const OverridesRow& second = parse.overrides.rows[1];
    EXPECT_EQ(second.line, 4);
    EXPECT_FALSE(second.overrides.serialNumber || second.overrides.userId);
    EXPECT_EQ(second.overrides.timeOut, 180);
    EXPECT_EQ(second.overrides.voxLevel, 9);
    EXPECT_EQ(second.overrides.txPower, 2);
    // A row that stops short leaves the rest of its columns empty.
    EXPECT_EQ(parse.overrides.rows[2].overrides.userId, "a,b");
    EXPECT_FALSE(parse.overrides.rows[2].overrides.squelchLevel);
}

TEST(FleetOverrides, EveryBadRowAndValueIsReportedWithItsLine) {
    const OverridesParse parse = ParseFleetOverrides(
        "port,squelch,tot,vox,power,serialNumber,userId\n"
        "COM1,0,35,10,3,TOO-LONG-SERIAL,1234567\n"
        ",5\n"
        "COM2,5\n"
        "COM2,6\n"
        "COM3,1,30,1,1,A,B,extra\n");
    EXPECT_FALSE(parse.ok());
    EXPECT_TRUE(parse.overrides.rows.empty());
    EXPECT_EQ(DescribeOverridesProblems(parse.problems),
              "line 2: squelch: '0' is not allowed; use 1..9\n"
              "line 2: tot: '35' is not allowed; use off or 30..180 in steps of 10\n"
              "line 2: vox: '10' is not allowed; use off or 1..9\n"
              "line 2: power: '3' is not allowed; use 0, 1 or 2\n"
              "line 2: serialNumber: 'TOO-LONG-SERIAL' is not allowed; use at most 10 characters "
              "(letters, digits, spaces)\n"
              "line 2: userId: '1234567' is not allowed; use at most 6 characters\n"
              "line 3: the key column is empty\n"
              "line 5: 'COM2' is also on line 4\n"
              "line 6: more fields than the header row names\n");
}

TEST(FleetOverrides, HeadersWithoutAKeyOrWithUnknownColumnsAreRefused) {
    EXPECT_EQ(DescribeOverridesProblems(ParseFleetOverrides("squelch,colour,squelch\n").problems),
              "line 1: unknown column 'colour'; use port or radio, and serialNumber, userId, "
              "squelch, tot, vox, power\n"
              "line 1: column 'squelch' appears twice\n"
              "line 1: the header row names no key column (port or radio)\n");
    EXPECT_EQ(DescribeOverridesProblems(ParseFleetOverrides("port,radio\n").problems),
              "line 1: more than one key column\n");
    EXPECT_EQ(DescribeOverridesProblems(ParseFleetOverrides("").problems),
              "the file holds no header row\n");
    EXPECT_FALSE(ParseFleetOverrides("port,userId\nCOM1,\"open\n").ok());
}

TEST(FleetOverrides, MatchingGivesEachRadioItsRowAndReportsRowsForNoRadioOrTwo) {
    OverridesParse parse = ParseFleetOverrides("radio,squelch\nSN1,2\nSN9,3\nTWIN,4\nSN3,5\n");
    ASSERT_TRUE(parse.ok());
    const OverridesMatch match =
        MatchOverrides(parse.overrides, {"SN3", "TWIN", "SN1", "TWIN", "SN4"});
    ASSERT_EQ(match.perRadio.size(), 5u);
    EXPECT_EQ(match.perRadio[0].squelchLevel, 5);
    EXPECT_EQ(match.perRadio[2].squelchLevel, 2);
    EXPECT_TRUE(match.perRadio[1].empty() && match.perRadio[3].empty() &&
                match.perRadio[4].empty());
    EXPECT_EQ(DescribeOverridesProblems(match.problems),
              "line 3: no radio read has serial number 'SN9'\n"
              "line 4: 2 radios have serial number 'TWIN'; the row cannot tell them apart\n");
    parse = ParseFleetOverrides("port,vox\nCOM7,1\n");
    EXPECT_EQ(DescribeOverridesProblems(MatchOverrides(parse.overrides, {"COM1"}).problems),
              "line 2: no radio is on port 'COM7'\n");
}

TEST(FleetOverrides, APlanReportsTheFilesProblemsAndItsUnmatchedRowsTogether) {
    const auto upper = [](std::string_view key) {
        std::string name(key);
        for (char& c : name) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return name;
    };
    const std::vector<std::string> ports{"COM1", "COM2"};
    const OverridesPlan bad =
        PlanFleetOverrides("port,squelch\ncom1,12\nCOM7,3\ncom2,4\nCOM2,5\n", ports, upper);
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(DescribeOverridesProblems(bad.problems),
              "line 2: squelch: '12' is not allowed; use 1..9\n"
              "line 3: no radio is on port 'COM7'\n"
              "line 5: 'COM2' is also on line 4\n");
    ASSERT_EQ(bad.perRadio.size(), 2u);
    EXPECT_TRUE(bad.perRadio[0].empty() && bad.perRadio[1].empty());

    const OverridesPlan good = PlanFleetOverrides("port,squelch\ncom2,4\n", ports, upper);
    ASSERT_TRUE(good.ok());
    EXPECT_TRUE(good.perRadio[0].empty());
    EXPECT_EQ(good.perRadio[1].squelchLevel, 4);

    const OverridesPlan bySerial =
        PlanFleetOverrides("radio,squelch\nSN1,4\nSN2,0\n", ports, upper);
    EXPECT_EQ(DescribeOverridesProblems(bySerial.problems),
              "line 3: squelch: '0' is not allowed; use 1..9\n");
    EXPECT_TRUE(bySerial.serialRows.empty());
    EXPECT_TRUE(PlanFleetOverrides("radio,squelch\nSN1,4\n", ports, upper).serialRows.size() == 1);
}

TEST(FleetOverrides, ControlCharactersAreRefusedAndShownEscaped) {
    const OverridesParse parse = ParseFleetOverrides(
        "port,userId,serialNumber\n"
        "COM1,\x1b[2J,A\n"
        "COM2,ok,\x1b]0;x\n"
        "\x1b[31m,ok\n");
    EXPECT_FALSE(parse.ok());
    EXPECT_EQ(DescribeOverridesProblems(parse.problems),
              "line 2: userId: '\\x1b[2J' is not allowed; use text without control characters\n"
              "line 3: serialNumber: '\\x1b]0;x' is not allowed; use at most 10 characters "
              "(letters, digits, spaces)\n");
    const OverridesMatch match = MatchOverrides({OverridesKey::Port, {{4, "\x1b[31m", {}}}},
                                                std::vector<std::string>{"COM1"});
    ASSERT_EQ(match.problems.size(), 1u);
    EXPECT_EQ(match.problems[0].message, "no radio is on port '\\x1b[31m'");
}

}  // namespace
}  // namespace halyx::test
