// halyx-cli fleet as a user runs it: a real process against halyx-radiosim --count, one
// pseudo-terminal per radio, with the report, the audit log and the backups it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

#include "history/sha256.h"
#include "image/radio_image.h"
#include "support/radio_sim_process.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Json = nlohmann::json;
using testing::RadioSimProcess;
using testing::ReadBytes;

constexpr unsigned kFleetTimeLimitSeconds = 60;

void PutText(Bytes& bytes, std::size_t offset, std::size_t size, const std::string& text) {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, std::uint8_t{0});
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool SameRange(const Bytes& a, const Bytes& b, std::size_t from, std::size_t to) {
    return a.size() >= to && b.size() >= to &&
           std::equal(a.begin() + static_cast<std::ptrdiff_t>(from),
                      a.begin() + static_cast<std::ptrdiff_t>(to),
                      b.begin() + static_cast<std::ptrdiff_t>(from));
}

// Every byte that travels on the link: the header and the twenty records.
bool SameOnTheLink(const Bytes& a, const Bytes& b) {
    return SameRange(a, b, 0, kHeaderSize) && SameRange(a, b, kFirstRecordOffset, kRecordsEnd);
}

class CliFleet : public ::testing::Test {
protected:
    CliFleet() {
        std::ofstream(home / "setting.ini") << "[setup]\nlanguage=english\n";
        fleetImage = ReadBytes(testing::SourceDir() / "data" / "default.kda");
        testing::WriteBytes(dir / "fleet.kda", fleetImage);
    }

    // Radio K holds its own pattern, serial number SIMK (set by the simulator) and user ID UK.
    Bytes Held(int k) const {
        Bytes held(kImageSize);
        for (std::size_t i = 0; i < held.size(); ++i) {
            held[i] = static_cast<std::uint8_t>(i * 3 + static_cast<std::size_t>(k) * 17);
        }
        PutText(held, header::kSerialNumber, header::kSerialNumberSize, "SIM" + std::to_string(k));
        PutText(held, header::kUserId, header::kUserIdSize, "U" + std::to_string(k));
        return held;
    }

    std::vector<std::string> SimArgs(int count) {
        for (int k = 1; k <= count; ++k) {
            testing::WriteBytes(dir / ("held" + std::to_string(k) + ".kda"), Held(k));
        }
        return {"--count", std::to_string(count),         "--baud",   "115200",
                "--image", (dir / "held%d.kda").string(), "--serial", "SIM%d",
                "--save",  (dir / "after%d.bin").string()};
    }

    testing::ProcessResult Cli(const std::vector<std::string>& args) {
        return testing::RunProcess(
            testing::BuiltProgram("halyx-cli"), args, dir.path(),
            {{"HALYX_HOME", home.path().string()}, {"XDG_DATA_HOME", (dir / "xdg").string()}},
            kFleetTimeLimitSeconds);
    }

    std::vector<Json> AuditLines() const {
        std::vector<Json> lines;
        std::ifstream in(dir / "xdg" / "halyx" / "audit.jsonl");
        for (std::string line; std::getline(in, line);) {
            lines.push_back(Json::parse(line));
        }
        // Radios end in their own order; sorted by port they compare the same every run.
        std::sort(lines.begin(), lines.end(),
                  [](const Json& a, const Json& b) { return a["port"] < b["port"]; });
        return lines;
    }

    // What a radio is sent: the fleet image with the given identity.
    Bytes Sent(const std::string& serial, const std::string& userId) const {
        Bytes sent = fleetImage;
        PutText(sent, header::kSerialNumber, header::kSerialNumberSize, serial);
        PutText(sent, header::kUserId, header::kUserIdSize, userId);
        return sent;
    }

    testing::TempDir dir;
    testing::TempDir home;
    Bytes fleetImage;
};

TEST_F(CliFleet, WritesFourRadiosKeepingTheirIdentitiesAppliesOverridesAndRecordsEach) {
    std::vector<std::string> args = SimArgs(4);
    args.insert(args.end(), {"--for", "3", "--silent"});
    RadioSimProcess sim(args, 4);
    const auto& paths = sim.devicePaths();
    ASSERT_EQ(paths.size(), 4u);
    std::ofstream(dir / "overrides.csv") << "port,serialNumber,userId,squelch\r\n"
                                         << paths[1] << ",NEW2,CAR2,5\r\n"
                                         << paths[3] << ",,,\r\n";

    const testing::ProcessResult run =
        Cli({"fleet", "write", "fleet.kda", "--ports",
             paths[0] + "," + paths[1] + "," + paths[2] + "," + paths[3], "--overrides",
             "overrides.csv", "--report", "report.json"});
    sim.Stop();
    ASSERT_EQ(run.exitStatus, 7) << run.err;

    // The radios hold the fleet image with their own identity, or the overrides'.
    const std::vector<Bytes> sent = {
        Sent("SIM1", "U1"), Sent("NEW2", "CAR2"), {}, Sent("SIM4", "U4")};
    Bytes sent2 = sent[1];
    sent2[header::kSquelchLevel] = 5;
    for (int k : {1, 2, 4}) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(SameOnTheLink(ReadBytes(dir / ("after" + std::to_string(k) + ".bin")),
                                  k == 2 ? sent2 : sent[static_cast<std::size_t>(k - 1)]));
    }
    EXPECT_EQ(ReadBytes(dir / "after3.bin"), Held(3));  // the silent radio got nothing

    // One audit line per radio, the backups holding what each radio held.
    // Radios finish in any order on a busy machine: the lines are matched to their ports.
    std::vector<Json> audit = AuditLines();
    ASSERT_EQ(audit.size(), 4u);
    std::ranges::sort(audit, {}, [&paths](const Json& line) {
        return std::ranges::find(paths, line["port"].get<std::string>()) - paths.begin();
    });
    std::vector<std::string> backups;
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        Json line = audit[static_cast<std::size_t>(k - 1)];
        EXPECT_TRUE(line["time"].get<std::string>().ends_with("Z"));
        EXPECT_GT(line["durationMs"].get<int>(), 0);
        backups.push_back(line["backup"].is_null() ? "" : line["backup"].get<std::string>());
        if (k == 3) {
            line.erase("time");
            line.erase("durationMs");
            EXPECT_EQ(line.dump(), Json({{"program", "halyx-cli"},
                                         {"operation", "fleet write"},
                                         {"port", paths[2]},
                                         {"device", paths[2]},
                                         {"serialNumber", nullptr},
                                         {"userId", nullptr},
                                         {"sha256Read", nullptr},
                                         {"sha256Written", nullptr},
                                         {"result", "link-failure"},
                                         {"backup", nullptr}})
                                       .dump());
            continue;
        }
        const Bytes backup = ReadBytes(backups.back());
        EXPECT_TRUE(SameOnTheLink(backup, Held(k)));
        EXPECT_EQ(std::filesystem::path(backups.back()).filename().string().substr(6),
                  "-SIM" + std::to_string(k) + ".kda");
        Bytes written = k == 2 ? sent2 : sent[static_cast<std::size_t>(k - 1)];
        line.erase("time");
        line.erase("durationMs");
        EXPECT_EQ(line.dump(), Json({{"program", "halyx-cli"},
                                     {"operation", "fleet write"},
                                     {"port", paths[static_cast<std::size_t>(k - 1)]},
                                     {"device", paths[static_cast<std::size_t>(k - 1)]},
                                     {"serialNumber", "SIM" + std::to_string(k)},
                                     {"userId", "U" + std::to_string(k)},
                                     {"sha256Read", Sha256Hex(backup.data(), backup.size())},
                                     {"sha256Written", Sha256Hex(written.data(), written.size())},
                                     {"result", "success"},
                                     {"backup", backups.back()}})
                                   .dump());
    }

    // The report: one entry per radio in the order given. Timings vary, so they are checked for
    // sense and then left out of the comparison.
    Json report = Json::parse(testing::ReadText(dir / "report.json"));
    for (Json& radio : report["radios"]) {
        std::int64_t phases = 0;
        for (const auto& [phase, ms] : radio["timesMs"].items()) {
            EXPECT_GE(ms.get<std::int64_t>(), 0) << phase;
            phases += ms.get<std::int64_t>();
        }
        EXPECT_LE(phases, radio["durationMs"].get<std::int64_t>() + 5);
        radio.erase("timesMs");
        radio.erase("durationMs");
    }
    const auto entry = [&](int k, Json serialAfter, Json userIdAfter, const char* result,
                           Json message) {
        const std::size_t i = static_cast<std::size_t>(k - 1);
        const bool read = k != 3;
        return Json({{"port", paths[i]},
                     {"device", paths[i]},
                     {"serialBefore", read ? Json("SIM" + std::to_string(k)) : Json(nullptr)},
                     {"serialAfter", serialAfter},
                     {"userIdBefore", read ? Json("U" + std::to_string(k)) : Json(nullptr)},
                     {"userIdAfter", userIdAfter},
                     {"result", result},
                     {"message", message},
                     {"backup", read ? Json(backups[i]) : Json(nullptr)}});
    };
    const Json expected = {
        {"program", "halyx-cli"},
        {"operation", "fleet write"},
        {"image", "fleet.kda"},
        {"overrides", "overrides.csv"},
        {"succeeded", 3},
        {"failed", 1},
        {"radios",
         {entry(1, "SIM1", "U1", "success", nullptr), entry(2, "NEW2", "CAR2", "success", nullptr),
          entry(3, nullptr, nullptr, "link-failure",
                "the radio did not answer the read; nothing was written"),
          entry(4, "SIM4", "U4", "success", nullptr)}}};
    EXPECT_EQ(report.dump(2), expected.dump(2));

    // The table names every radio with its result, and the count.
    // The port column is as wide as the longest port name, which depends on the terminals given.
    const std::size_t row = run.out.find(paths[1] + " ");
    ASSERT_NE(row, std::string::npos) << run.out;
    EXPECT_NE(run.out.find("SIM2 -> NEW2  U2 -> CAR2  success", row), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("link-failure"), std::string::npos);
    EXPECT_NE(run.out.find("3 of 4 radios succeeded\n"), std::string::npos);
}

TEST_F(CliFleet, AllRadiosSucceedingExitZeroAndARadioKeyedRowForNoRadioWritesNothing) {
    RadioSimProcess sim(SimArgs(2), 2);
    const auto& paths = sim.devicePaths();
    const std::string ports = paths[0] + "," + paths[1];
    std::ofstream(dir / "by-serial.csv") << "radio,userId\nSIM2,CAR2\n";
    const testing::ProcessResult ok =
        Cli({"fleet", "write", "fleet.kda", "--ports", ports, "--overrides", "by-serial.csv"});
    ASSERT_EQ(ok.exitStatus, 0) << ok.err << ok.out;
    EXPECT_NE(ok.out.find("2 of 2 radios succeeded\n"), std::string::npos);

    std::ofstream(dir / "stranger.csv") << "radio,userId\nSIM2,CAR2\nSIM7,CAR7\n";
    const testing::ProcessResult held =
        Cli({"fleet", "write", "fleet.kda", "--ports", ports, "--overrides", "stranger.csv"});
    sim.Stop();
    EXPECT_EQ(held.exitStatus, 7);
    EXPECT_NE(held.out.find("nothing was written: the overrides do not match the radios read "
                            "(line 3: no radio read has serial number 'SIM7')"),
              std::string::npos)
        << held.out;
    // Both radios keep what the first run wrote.
    EXPECT_TRUE(SameOnTheLink(ReadBytes(dir / "after1.bin"), Sent("SIM1", "U1")));
    EXPECT_TRUE(SameOnTheLink(ReadBytes(dir / "after2.bin"), Sent("SIM2", "CAR2")));
    const std::vector<Json> audit = AuditLines();
    ASSERT_EQ(audit.size(), 4u);
    EXPECT_EQ(std::count_if(audit.begin(), audit.end(),
                            [](const Json& line) { return line["result"] == "cancelled"; }),
              2);
}

TEST_F(CliFleet, RefusesBadOverridesAndBadPortListsBeforeAnythingIsSent) {
    RadioSimProcess sim(SimArgs(1), 1);
    const std::string port = sim.devicePath();
    std::ofstream(dir / "bad.csv") << "port,squelch,tot\n" << port << ",12,35\nCOM9,3,\n";
    const testing::ProcessResult bad =
        Cli({"fleet", "write", "fleet.kda", "--ports", port, "--overrides", "bad.csv"});
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_EQ(bad.err,
              "halyx-cli: bad.csv: line 2: squelch: '12' is not allowed; use 1..9\n"
              "halyx-cli: bad.csv: line 2: tot: '35' is not allowed; use off or 30..180 in steps "
              "of 10\n"
              "halyx-cli: bad.csv: line 3: no radio is on port 'COM9'\n"  // with them, not after
              "halyx-cli: nothing was sent\n");
    std::ofstream(dir / "stranger.csv") << "port,squelch\n" << port << ",3\nCOM9,3\n";
    const testing::ProcessResult stranger =
        Cli({"fleet", "write", "fleet.kda", "--ports", port, "--overrides", "stranger.csv"});
    EXPECT_EQ(stranger.exitStatus, 1);
    EXPECT_EQ(stranger.err,
              "halyx-cli: stranger.csv: line 3: no radio is on port 'COM9'\n"
              "halyx-cli: nothing was sent\n");
    const testing::ProcessResult twice =
        Cli({"fleet", "write", "fleet.kda", "--ports", port + "," + port});
    EXPECT_EQ(twice.exitStatus, 1);
    EXPECT_EQ(twice.err, "halyx-cli: --ports: " + port + " is given twice\n");
    EXPECT_EQ(Cli({"fleet", "write", "missing.kda", "--ports", port}).exitStatus, 2);
    EXPECT_EQ(
        Cli({"fleet", "write", "fleet.kda", "--ports", port, "--overrides", "none.csv"}).exitStatus,
        2);
    sim.Stop();
    EXPECT_EQ(ReadBytes(dir / "after1.bin"), Held(1));
    EXPECT_FALSE(std::filesystem::exists(dir / "xdg" / "halyx" / "audit.jsonl"));
}

TEST_F(CliFleet, ReadSavesEachRadiosImageUnderItsSerialNumber) {
    RadioSimProcess sim(SimArgs(2), 2);
    const auto& paths = sim.devicePaths();
    const testing::ProcessResult run =
        Cli({"fleet", "read", "--ports", paths[0] + "," + paths[1], "--out-dir", "images",
             "--no-backup", "--log", "comm.log"});
    sim.Stop();
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    for (int k : {1, 2}) {
        const std::string name = "SIM" + std::to_string(k) + ".kda";
        EXPECT_TRUE(SameOnTheLink(ReadBytes(dir / "images" / name), Held(k))) << k;
        EXPECT_NE(run.out.find(": saved images/" + name), std::string::npos) << run.out;
        EXPECT_EQ(ReadBytes(dir / ("after" + std::to_string(k) + ".bin")), Held(k));
        // Each radio's traffic in its own log, both directions.
        const std::string log = testing::ReadText(dir / ("comm-" + std::to_string(k) + ".log"));
        EXPECT_NE(log.find("PC->Radio:  "), std::string::npos) << k;
        EXPECT_NE(log.find("Radio->PC:  "), std::string::npos) << k;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "xdg" / "halyx" / "backups"));
    const std::vector<Json> audit = AuditLines();
    ASSERT_EQ(audit.size(), 2u);
    EXPECT_EQ(audit[0]["operation"], "fleet read");
    EXPECT_TRUE(audit[0]["backup"].is_null());
    EXPECT_TRUE(audit[1]["sha256Written"].is_null());
}

}  // namespace
}  // namespace halyx
