// Radios on another machine: halyx-cli against halyx-radiosim's terminals shared by a real
// ser2net (Telnet with the COM-PORT option, and raw TCP) and against the simulator's own network
// serving, each a real process on 127.0.0.1. Memories must arrive byte for byte, 0xFF included,
// and every way the network can fail must end with the right exit status, never a hang.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <chrono>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>

#include "image/radio_image.h"
#include "support/radio_sim_process.h"
#include "support/ser2net_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ProcessResult;
using testing::RadioSimProcess;
using testing::ReadBytes;
using testing::Ser2netProcess;
using testing::WriteBytes;
using Clock = std::chrono::steady_clock;

constexpr unsigned kNetworkCliTimeLimit = 60;

bool SameOverTheNetwork(const Bytes& a, const Bytes& b) {
    const auto same = [&](std::size_t from, std::size_t to) {
        return a.size() >= to && b.size() >= to &&
               std::equal(a.begin() + static_cast<std::ptrdiff_t>(from),
                          a.begin() + static_cast<std::ptrdiff_t>(to),
                          b.begin() + static_cast<std::ptrdiff_t>(from));
    };
    return same(0, kHeaderSize) && same(kFirstRecordOffset, kRecordsEnd);
}

// Every byte value, 0xFF (the Telnet escape) and 0x10 (the frame end) among them.
Bytes NetworkPattern(int seed) {
    Bytes bytes = testing::CountingBytes(kImageSize, static_cast<std::uint8_t>(seed));
    bytes[header::kBand] = 1;
    return bytes;
}

class NetworkRadio : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing::Ser2netProgram().empty()) {
            GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net): the network "
                            "port tests need it";
        }
    }

    ProcessResult Cli(const std::vector<std::string>& args) {
        return testing::RunProcess(
            testing::BuiltProgram("halyx-cli"), args, dir.path(),
            {{"HALYX_HOME", dir.path().string()}, {"XDG_DATA_HOME", (dir / "xdg").string()}},
            kNetworkCliTimeLimit);
    }

    // A radio holding `memory` on a terminal, quick unless `paced` keeps it at 9600 baud.
    std::unique_ptr<RadioSimProcess> Radio(const Bytes& memory, const std::string& name,
                                           bool paced = false) {
        WriteBytes(dir / (name + ".kda"), memory);
        std::vector<std::string> args{"--image", (dir / (name + ".kda")).string(), "--save",
                                      (dir / (name + "-after.bin")).string()};
        if (!paced) {
            args.insert(args.end(), {"--baud", "115200"});
        }
        return std::make_unique<RadioSimProcess>(args);
    }

    testing::TempDir dir;
};

TEST_F(NetworkRadio, ReadsAndWritesThroughSer2netByteForByteInBothModes) {
    const Bytes held = NetworkPattern(0x05);
    auto sim = Radio(held, "radio");
    Ser2netProcess server({{sim->devicePath(), true}, {sim->devicePath(), false}}, dir.path());
    ASSERT_TRUE(server.running());

    for (std::size_t line : {0u, 1u}) {
        SCOPED_TRACE(server.Address(line));
        const ProcessResult read =
            Cli({"read", "--port", server.Address(line), "-o", "read.kda", "--log", "comm.log"});
        ASSERT_EQ(read.exitStatus, 0) << read.err;
        EXPECT_TRUE(SameOverTheNetwork(ReadBytes(dir / "read.kda"), held));
    }
    // A number mapped to the line in the setting file reaches it as well.
    std::ofstream(dir / "setting.ini") << "[devices]\nCOM9=" << server.Address(0) << "\n";
    const ProcessResult mapped = Cli({"read", "--port", "COM9", "-o", "mapped.kda"});
    ASSERT_EQ(mapped.exitStatus, 0) << mapped.err;
    EXPECT_TRUE(SameOverTheNetwork(ReadBytes(dir / "mapped.kda"), held));
    // The traffic log reads as for a cable: the request frame as sent, unescaped.
    EXPECT_NE(testing::ReadText(dir / "comm.log").find("PC->Radio:  35 01 02 01 00 49 00 10 "),
              std::string::npos);

    // A memory full of 0xFF is the worst case for the escape: written and verified through the
    // Telnet line, then read back through the raw one.
    WriteBytes(dir / "ff.kda", Bytes(kImageSize, 0xFF));
    const ProcessResult write = Cli({"write", "--port", server.Address(0), "ff.kda"});
    ASSERT_EQ(write.exitStatus, 0) << write.err;
    const ProcessResult back = Cli({"read", "--port", server.Address(1), "-o", "back.kda"});
    ASSERT_EQ(back.exitStatus, 0) << back.err;
    Bytes written(kImageSize, 0xFF);
    written[kFirstRecordOffset] = 1;  // the first record always goes out marked in use
    EXPECT_TRUE(SameOverTheNetwork(ReadBytes(dir / "back.kda"), written));
    server.Kill();
    sim->Stop();
    EXPECT_TRUE(SameOverTheNetwork(ReadBytes(dir / "radio-after.bin"), written));
}

TEST_F(NetworkRadio, FleetWritesFourRadiosOnThreeKindsOfNetworkLine) {
    const Bytes image = NetworkPattern(0x31);
    WriteBytes(dir / "fleet.kda", image);
    std::vector<std::unique_ptr<RadioSimProcess>> sims;
    sims.push_back(Radio(NetworkPattern(1), "r1"));
    sims.push_back(Radio(NetworkPattern(2), "r2"));
    Ser2netProcess server({{sims[0]->devicePath(), true}, {sims[1]->devicePath(), false}},
                          dir.path());
    ASSERT_TRUE(server.running());
    WriteBytes(dir / "r3.kda", NetworkPattern(3));
    RadioSimProcess direct(
        {"--count", "2", "--listen", "rfc2217", "0", "--baud", "115200", "--image",
         (dir / "r3.kda").string(), "--save", (dir / "r%d-direct.bin").string()},
        2);
    ASSERT_EQ(direct.devicePaths()[0].rfind("rfc2217://127.0.0.1:", 0), 0u);

    const std::string ports = server.Address(0) + "," + server.Address(1) + "," +
                              direct.devicePaths()[0] + "," + direct.devicePaths()[1];
    const ProcessResult run = Cli({"fleet", "write", "fleet.kda", "--ports", ports});
    ASSERT_EQ(run.exitStatus, 0) << run.out << run.err;
    server.Kill();
    for (auto& sim : sims) {
        sim->Stop();
    }
    direct.Stop();
    // Each radio keeps its own identity (serial number, user ID); all else is the fleet image.
    const std::vector<std::string> saved = {"r1-after.bin", "r2-after.bin", "r1-direct.bin",
                                            "r2-direct.bin"};
    for (std::size_t k = 0; k < saved.size(); ++k) {
        SCOPED_TRACE(saved[k]);
        const Bytes after = ReadBytes(dir / saved[k]);
        const Bytes before = NetworkPattern(k < 2 ? static_cast<int>(k + 1) : 3);
        Bytes expected = image;
        expected[kFirstRecordOffset] = 1;  // the first record always goes out marked in use
        for (std::size_t i : {header::kSerialNumber, header::kUserId}) {
            const std::size_t size =
                i == header::kSerialNumber ? header::kSerialNumberSize : header::kUserIdSize;
            std::copy_n(before.begin() + static_cast<std::ptrdiff_t>(i), size,
                        expected.begin() + static_cast<std::ptrdiff_t>(i));
        }
        EXPECT_TRUE(SameOverTheNetwork(after, expected));
    }
}

TEST_F(NetworkRadio, ServerKilledMidReadEndsAsALinkFailureAndWritesNoImage) {
    auto sim = Radio(NetworkPattern(7), "radio", /*paced=*/true);
    Ser2netProcess server({{sim->devicePath(), true}}, dir.path());
    ASSERT_TRUE(server.running());
    auto read = std::async(std::launch::async, [&] {
        return Cli({"read", "--port", server.Address(0), "-o", "out.kda", "--log", "comm.log"});
    });
    // The server goes once the radio has begun to answer (a paced read takes about a second).
    const auto limit = Clock::now() + std::chrono::seconds(20);
    while (testing::ReadText(dir / "comm.log").find("Radio->PC") == std::string::npos &&
           Clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    server.Kill();
    const ProcessResult result = read.get();
    EXPECT_EQ(result.exitStatus, 3) << result.err;
    EXPECT_NE(result.err.find("went away"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.kda"));
}

TEST_F(NetworkRadio, UnreachableServersFailBeforeAnythingIsSentAndQuickly) {
    // Refused: nothing listens there.
    const std::string closed = "rfc2217://127.0.0.1:" + std::to_string(testing::FreeTcpPort());
    // Stalled: a listener whose connections are queued by the kernel and never answered.
    const int stalled = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(stalled, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(stalled, 4), 0);
    getsockname(stalled, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string silent = "rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    struct Case {
        std::string port;
        std::string cause;
    };
    const std::vector<Case> cases = {
        {closed, "connection was refused"},
        {silent, "did not answer in time"},
        {"tcp://no-such-host.invalid:4001", "cannot be resolved"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        const auto start = Clock::now();
        const ProcessResult read = Cli({"read", "--port", c.port, "-o", "out.kda"});
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(read.exitStatus, 5) << read.err;
        EXPECT_NE(read.err.find(c.cause), std::string::npos) << read.err;
    }
    close(stalled);
    // A mistyped address is a usage error, not a file to open.
    EXPECT_EQ(Cli({"read", "--port", "rfc2217://bench:port", "-o", "out.kda"}).exitStatus, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.kda"));
}

TEST_F(NetworkRadio, DoctorChecksANetworkLineByOpeningItAndPortsListsAsJson) {
    auto sim = Radio(NetworkPattern(9), "radio");
    Ser2netProcess server({{sim->devicePath(), true}}, dir.path());
    ASSERT_TRUE(server.running());
    const ProcessResult well = Cli({"doctor", "--port", server.Address(0), "--json"});
    ASSERT_EQ(well.exitStatus, 0) << well.out << well.err;
    const auto report = nlohmann::json::parse(well.out);
    const auto& checks = report["ports"][0]["checks"];
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(checks[0]["result"], "skipped");  // no device of its own here
    EXPECT_EQ(checks[1]["check"], "open");
    EXPECT_EQ(checks[1]["result"], "ok");
    EXPECT_TRUE(report["system"].is_array());

    server.Kill();
    const ProcessResult gone = Cli({"doctor", "--port", server.Address(0)});
    EXPECT_EQ(gone.exitStatus, 5);
    EXPECT_NE(
        gone.out.find("[problem] open: " + server.Address(0) + ": the connection was refused"),
        std::string::npos)
        << gone.out;

    const ProcessResult ports = Cli({"ports", "--json"});
    ASSERT_EQ(ports.exitStatus, 0) << ports.err;
    EXPECT_TRUE(nlohmann::json::parse(ports.out)["ports"].is_array());
}

}  // namespace
}  // namespace halyx
