// The fleet engine on real serial ports: halyx-radiosim --count serves one pseudo-terminal per
// radio, each opened by its own SerialPort, all read on the test's own thread.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>

#include "fleet/fleet_engine.h"
#include "fleet/fleet_ticker.h"
#include "link/serial_port.h"
#include "support/radio_sim_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::RadioSimProcess;
using testing::TempDir;

TEST(SerialFleet, FourSimulatedRadiosAtOnceEachEndingItsOwnWay) {
    TempDir dir;
    std::vector<std::uint8_t> held(kImageSize);
    for (std::size_t i = 0; i < held.size(); ++i) {
        held[i] = static_cast<std::uint8_t>(i * 5 + 3);
    }
    testing::WriteBytes(dir / "held.kda", held);
    RadioSimProcess sim({"--count",  "4",
                         "--baud",   "115200",
                         "--image",  (dir / "held.kda").string(),
                         "--serial", "SIM%d",
                         "--save",   (dir / "after%d.bin").string(),
                         "--for",    "2",
                         "--silent", "--for",
                         "3",        "--nak-block",
                         "5:3",      "--for",
                         "4",        "--disappear-after",
                         "30"},
                        4);
    ASSERT_EQ(sim.devicePaths().size(), 4u);

    RadioImage fleetImage;
    fleetImage.bytes.fill(0x42);
    fleetImage.length = 1024;
    std::vector<std::unique_ptr<SerialPort>> ports;
    std::vector<FleetEngine::Radio> radios;
    for (const std::string& path : sim.devicePaths()) {
        ports.push_back(std::make_unique<SerialPort>());
        radios.push_back({{path, path, {}}, ports.back().get()});
    }
    ports.push_back(std::make_unique<SerialPort>());
    radios.push_back({{"COM9", (dir / "no-such-tty").string(), {}}, ports.back().get()});

    FleetEngine engine(fleetImage, std::move(radios), FleetRunSettings{}, nullptr);
    FleetTicker ticker(engine);
    QElapsedTimer wall;
    wall.start();
    ticker.RunToEnd();
    const auto reports = engine.Reports();
    ASSERT_EQ(reports.size(), 5u);
    EXPECT_EQ(reports[0].result, FleetResult::Success) << reports[0].message;
    EXPECT_EQ(reports[1].result, FleetResult::LinkFailure);
    EXPECT_EQ(reports[2].result, FleetResult::LinkFailure);
    EXPECT_EQ(reports[3].result, FleetResult::PortError) << reports[3].message;
    EXPECT_EQ(reports[4].result, FleetResult::PortError);
    EXPECT_EQ(reports[0].serialBefore, "SIM1");
    EXPECT_EQ(reports[0].serialAfter, "SIM1");
    // In parallel: the whole run takes about as long as the slowest radio, not their sum.
    EXPECT_LT(wall.elapsed(), reports[0].durationMs + reports[1].durationMs);

    sim.Stop();
    const std::vector<std::uint8_t> after = testing::ReadBytes(dir / "after1.bin");
    ASSERT_EQ(after.size(), kImageSize);
    std::vector<std::uint8_t> expected(held);
    std::fill(expected.begin(), expected.begin() + kHeaderSize, 0x42);
    std::fill(expected.begin() + kFirstRecordOffset, expected.begin() + kRecordsEnd, 0x42);
    expected[kFirstRecordOffset] = 1;
    const std::string serial = "SIM1";
    std::fill_n(expected.begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
    std::copy(serial.begin(), serial.end(), expected.begin() + header::kSerialNumber);
    std::copy_n(held.begin() + header::kUserId, header::kUserIdSize,
                expected.begin() + header::kUserId);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(testing::ReadBytes(dir / "after2.bin"), [&] {
        std::vector<std::uint8_t> two(held);
        std::fill_n(two.begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
        const std::string s = "SIM2";
        std::copy(s.begin(), s.end(), two.begin() + header::kSerialNumber);
        return two;
    }());
}

}  // namespace
}  // namespace halyx
