// A user's radio session from the command line: halyx-cli and halyx-radiosim as real processes
// on a pseudo-terminal, including every fault the simulator can stage. Whatever the radio does,
// nothing may crash, the exit status must say what happened, and a failed read writes no file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>

#include "image/radio_image.h"
#include "support/radio_sim_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::BuiltProgram;
using testing::CountingBytes;
using testing::ProcessResult;
using testing::RadioSimProcess;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Json = nlohmann::json;

std::vector<Json> AuditLines(const std::filesystem::path& path) {
    std::vector<Json> lines;
    const std::string text = testing::ReadText(path);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(Json::parse(text.substr(start, end - start)));
    }
    return lines;
}

// A radio memory in which every byte differs from its neighbours, with 0x10 (the frame end
// byte) and both start bytes inside the payloads.
std::vector<std::uint8_t> RadioMemory() {
    auto bytes = CountingBytes(kImageSize, 0x05);
    bytes[22] = 1;  // upper band
    return bytes;
}

class CliRadio : public ::testing::Test {
protected:
    CliRadio() { WriteBytes(dir / "radio.kda", RadioMemory()); }

    std::vector<std::string> SimArgs(std::vector<std::string> faults) const {
        std::vector<std::string> args{"--image", (dir / "radio.kda").string(), "--save",
                                      (dir / "saved.kda").string()};
        args.insert(args.end(), faults.begin(), faults.end());
        return args;
    }

    ProcessResult Cli(std::vector<std::string> args) {
        return testing::RunProcess(
            BuiltProgram("halyx-cli"), args, dir.path(),
            {{"HALYX_HOME", dir.path().string()}, {"XDG_DATA_HOME", (dir / "data").string()}});
    }

    // Reads through a simulator staging `faults`; the output goes to out.kda.
    ProcessResult ReadWith(std::vector<std::string> faults) {
        RadioSimProcess sim(SimArgs(faults));
        return Cli({"read", "--port", sim.devicePath(), "-o", "out.kda", "--log", "comm.log"});
    }

    ProcessResult WriteWith(std::vector<std::string> faults,
                            const std::string& image = "edited.kda") {
        RadioSimProcess sim(SimArgs(faults));
        return Cli({"write", "--port", sim.devicePath(), image});
    }

    TempDir dir;
};

TEST_F(CliRadio, ReadTakesSettingsAndRecordsAndKeepsTheBaseElsewhere) {
    WriteBytes(dir / "base.kda", std::vector<std::uint8_t>(700, 0xEE));
    RadioSimProcess sim(SimArgs({}));
    const ProcessResult result = Cli({"read", "--port", sim.devicePath(), "-o", "out.kda", "--base",
                                      "base.kda", "--log", "comm.log"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const auto memory = RadioMemory();
    const auto out = ReadBytes(dir / "out.kda");
    ASSERT_EQ(out.size(), 700u) << "a read keeps the base image's length";
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool sent = i <= 40 || (i >= kFirstRecordOffset && i < kRecordsEnd);
        ASSERT_EQ(out[i], sent ? memory[i] : 0xEE) << "byte " << i;
    }
    const std::string log = testing::ReadText(dir / "comm.log");
    EXPECT_NE(log.find("PC->Radio:  35 01 02 01 00 49 00 10 \r\n"), std::string::npos);
}

TEST_F(CliRadio, WriteIsVerifiedAndLandsInTheRadio) {
    auto edited = RadioMemory();
    std::fill(edited.begin() + kFirstRecordOffset, edited.begin() + kRecordsEnd, 0x42);
    edited[kFirstRecordOffset] = 1;  // the radio always receives 1 in channel 1's first byte
    WriteBytes(dir / "edited.kda", edited);
    RadioSimProcess sim(SimArgs({}));
    const ProcessResult result = Cli({"write", "--port", sim.devicePath(), "edited.kda"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    sim.Stop();
    const auto saved = ReadBytes(dir / "saved.kda");
    ASSERT_EQ(saved.size(), kImageSize);
    EXPECT_TRUE(std::equal(saved.begin() + kFirstRecordOffset, saved.begin() + kRecordsEnd,
                           edited.begin() + kFirstRecordOffset));
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 41, edited.begin()));
}

TEST_F(CliRadio, ChannelOneInUseMarkIsNotReportedAsADifference) {
    auto edited = RadioMemory();
    edited[kFirstRecordOffset] = 7;
    WriteBytes(dir / "edited.kda", edited);
    EXPECT_EQ(WriteWith({}).exitStatus, 0);
}

TEST_F(CliRadio, RecoverableFaultsStillEndInASuccessfulRead) {
    const std::vector<std::vector<std::string>> faults = {
        {"--garbage", "5"},        {"--bad-checksum", "1:2"}, {"--bad-checksum", "7"},
        {"--corrupt-length", "3"}, {"--drop-frame", "4"},
    };
    const auto memory = RadioMemory();
    for (const auto& fault : faults) {
        const ProcessResult result = ReadWith(fault);
        ASSERT_EQ(result.exitStatus, 0) << fault[0] << " " << fault[1] << ": " << result.err;
        const auto out = ReadBytes(dir / "out.kda");
        ASSERT_TRUE(std::equal(out.begin() + kFirstRecordOffset, out.begin() + kRecordsEnd,
                               memory.begin() + kFirstRecordOffset))
            << fault[0];
        std::filesystem::remove(dir / "out.kda");
    }
}

TEST_F(CliRadio, ReadFailuresExitThreeAndWriteNoFile) {
    const std::vector<std::vector<std::string>> faults = {
        {"--silent"},
        {"--bad-checksum", "1:3"},
        {"--corrupt-length", "9:3"},
        {"--disappear-after", "5"},
    };
    for (const auto& fault : faults) {
        const ProcessResult result = ReadWith(fault);
        EXPECT_EQ(result.exitStatus, 3) << fault[0] << ": " << result.err;
        EXPECT_NE(result.err.find("did not answer"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.kda")) << fault[0];
    }
}

TEST_F(CliRadio, SilentRadioGetsARequestAndTwoNaksThenFails) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadWith({"--silent"}).exitStatus, 3);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 2.5);
    EXPECT_LT(seconds, 6.0);
    const std::string log = testing::ReadText(dir / "comm.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;  // marker, request, NAK, NAK
    EXPECT_NE(log.find("PC->Radio:  36 05 10 \r\nPC->Radio:  36 05 10 \r\n"), std::string::npos);
}

TEST_F(CliRadio, WriteFailuresAndDifferencesHaveTheirOwnStatus) {
    WriteBytes(dir / "edited.kda", RadioMemory());
    EXPECT_EQ(WriteWith({"--nak-block", "5:3"}).exitStatus, 3);
    EXPECT_EQ(WriteWith({"--nak-block", "5:2"}).exitStatus, 0);
    EXPECT_EQ(WriteWith({"--silent-after-write"}).exitStatus, 3);
    const ProcessResult differs = WriteWith({"--readback-differs"});
    EXPECT_EQ(differs.exitStatus, 4);
    EXPECT_NE(differs.err.find("differ"), std::string::npos);
}

TEST_F(CliRadio, PortThatCannotBeOpenedExitsFive) {
    const ProcessResult result =
        Cli({"read", "--port", "/dev/halyx-no-such-port", "-o", "out.kda"});
    EXPECT_EQ(result.exitStatus, 5);
    EXPECT_NE(result.err.find("/dev/halyx-no-such-port"), std::string::npos);
    EXPECT_EQ(Cli({"read", "--port", "banana", "-o", "out.kda"}).exitStatus, 1);
}

TEST_F(CliRadio, TuningValuesRoundTripThroughTheRadio) {
    RadioSimProcess sim(SimArgs({}));
    WriteBytes(dir / "values.dat", {1, 10, 20, 30, 2, 40, 50, 60, 3, 70, 80, 90});
    const ProcessResult written = Cli({"tuning", "write", "--port", sim.devicePath(), "--baud",
                                       "38400", "values.dat", "--image", "radio.kda"});
    ASSERT_EQ(written.exitStatus, 0) << written.err;
    const ProcessResult read =
        Cli({"tuning", "read", "--port", sim.devicePath(), "--baud", "38400", "-o", "back.dat"});
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(ReadBytes(dir / "back.dat"), ReadBytes(dir / "values.dat"));

    WriteBytes(dir / "long.dat", std::vector<std::uint8_t>(13, 1));
    const ProcessResult refused =
        Cli({"tuning", "write", "--port", sim.devicePath(), "long.dat", "--image", "radio.kda"});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_NE(refused.err.find("long.dat"), std::string::npos);
    EXPECT_EQ(Cli({"tuning", "point", "--port", sim.devicePath(), "6", "1", "2", "200"}).exitStatus,
              0);
}

// Every radio command leaves an audit line; a successful read also a backup equal to what it
// saved, unless --no-backup; `log` shows the lines, as a table or as they are, from a date on.
TEST_F(CliRadio, RadioCommandsLeaveBackupsAndAuditLinesThatLogShows) {
    RadioSimProcess sim(SimArgs({}));
    ASSERT_EQ(Cli({"read", "--port", sim.devicePath(), "-o", "out.kda"}).exitStatus, 0);
    ASSERT_EQ(
        Cli({"read", "--port", sim.devicePath(), "-o", "again.kda", "--no-backup"}).exitStatus, 0);
    ASSERT_EQ(Cli({"write", "--port", sim.devicePath(), "out.kda"}).exitStatus, 0);
    sim.Stop();
    ASSERT_EQ(Cli({"write", "--port", "/dev/halyx-no-such-port", "out.kda"}).exitStatus, 5);

    // The write reads the radio first and backs it up: its own read line comes before it.
    const std::vector<Json> lines = AuditLines(dir / "data" / "halyx" / "audit.jsonl");
    ASSERT_EQ(lines.size(), 5u);
    const std::string backup = lines[0]["backup"];
    EXPECT_EQ(ReadBytes(backup), ReadBytes(dir / "out.kda"));
    EXPECT_EQ(std::filesystem::path(backup).parent_path().parent_path(),
              dir / "data" / "halyx" / "backups");
    for (const auto& [index, operation, result] :
         std::vector<std::tuple<std::size_t, std::string, std::string>>{
             {0, "read", "success"},
             {1, "read", "success"},
             {2, "read", "success"},
             {3, "write", "success"},
             {4, "write", "port-error"}}) {
        const Json& line = lines[index];
        EXPECT_EQ(line["program"], "halyx-cli");
        EXPECT_EQ(line["operation"], operation) << index;
        EXPECT_EQ(line["result"], result) << index;
        EXPECT_EQ(line["backup"].is_null(), index != 0 && index != 2) << index;
        EXPECT_EQ(line["sha256Read"].is_string(), index < 3) << index;
        EXPECT_EQ(line["sha256Written"].is_string(), index == 3) << index;  // nothing sent to 4
        EXPECT_EQ(line["port"], index < 4 ? sim.devicePath() : "/dev/halyx-no-such-port");
        EXPECT_EQ(line["serialNumber"], index < 4 ? lines[0]["serialNumber"] : Json()) << index;
    }
    EXPECT_TRUE(lines[0]["serialNumber"].is_string());
    EXPECT_EQ(lines[0]["sha256Read"], lines[3]["sha256Written"]) << "the same image both ways";

    const ProcessResult table = Cli({"log"});
    ASSERT_EQ(table.exitStatus, 0) << table.err;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 6) << table.out;
    EXPECT_NE(table.out.find("port-error"), std::string::npos) << table.out;
    const std::string today = lines[0]["time"].get<std::string>().substr(0, 10);
    EXPECT_EQ(Cli({"log", "--json", "--since", today}).out,
              testing::ReadText(dir / "data" / "halyx" / "audit.jsonl"));
    EXPECT_EQ(Cli({"log", "--json", "--since", "2999-01-01T00:00"}).out, "");
    EXPECT_EQ(Cli({"log", "--since", "yesterday"}).exitStatus, 1);
}

}  // namespace
}  // namespace halyx

namespace halyx {
namespace {

// A write reads the radio first, backs it up and checks it: the radio (406.1-470 MHz, serial
// "RADIO-1", user "U1") against images that differ from it in band, identity or channels.
class CliReadFirst : public CliRadio {
protected:
    CliReadFirst() {
        memory = RadioMemory();
        SetText(memory, header::kSerialNumber, header::kSerialNumberSize, "RADIO-1");
        SetText(memory, header::kUserId, header::kUserIdSize, "U1");
        memory[kFirstRecordOffset] = 1;  // what every write puts there
        WriteBytes(dir / "radio.kda", memory);
        edited = memory;
        std::fill(edited.begin() + kFirstRecordOffset + 1, edited.begin() + kRecordsEnd, 0x42);
    }

    static void SetText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size,
                        const std::string& text) {
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, 0);
        std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    std::vector<Json> Audit() const { return AuditLines(dir / "data" / "halyx" / "audit.jsonl"); }

    std::vector<std::uint8_t> memory;
    std::vector<std::uint8_t> edited;
};

TEST_F(CliReadFirst, ARadioOfTheOtherBandIsRefusedWithStatusEightAndLeftUntouched) {
    edited[header::kBand] = 0;
    WriteBytes(dir / "edited.kda", edited);
    const ProcessResult result = WriteWith({});
    EXPECT_EQ(result.exitStatus, 8) << result.err;
    EXPECT_NE(result.err.find("is a 406.1-470 MHz radio and edited.kda is for 136-174 MHz; "
                              "nothing was written"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadBytes(dir / "saved.kda"), memory);
    const std::vector<Json> lines = Audit();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["result"], "success");
    EXPECT_EQ(ReadBytes(lines[0]["backup"].get<std::string>()), memory);
    EXPECT_EQ(lines[1]["operation"], "write");
    EXPECT_EQ(lines[1]["result"], "wrong-band");
}

TEST_F(CliReadFirst, TheImagesIdentityIsWrittenUnlessTheRadiosIsKeptAndTheOutputSaysWhich) {
    SetText(edited, header::kSerialNumber, header::kSerialNumberSize, "IMAGE-2");
    SetText(edited, header::kUserId, header::kUserIdSize, "U2");
    WriteBytes(dir / "edited.kda", edited);
    for (const bool keep : {false, true}) {
        RadioSimProcess sim(SimArgs({}));
        std::vector<std::string> args{"write", "--port", sim.devicePath(), "edited.kda"};
        if (keep) {
            args.push_back("--keep-identity");
        }
        const ProcessResult result = Cli(args);
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        sim.Stop();
        EXPECT_NE(result.out.find(keep ? "kept the radio's own 'RADIO-1' / 'U1'"
                                       : "wrote the image's 'IMAGE-2' / 'U2'"),
                  std::string::npos)
            << result.out;
        const auto saved = ReadBytes(dir / "saved.kda");
        const auto& identity = keep ? memory : edited;
        EXPECT_TRUE(std::equal(saved.begin() + header::kSerialNumber,
                               saved.begin() + header::kUserId + header::kUserIdSize,
                               identity.begin() + header::kSerialNumber))
            << keep;
        EXPECT_TRUE(std::equal(saved.begin() + kFirstRecordOffset, saved.begin() + kRecordsEnd,
                               edited.begin() + kFirstRecordOffset));
    }
}

// The read takes 21 frames from the application; the radio then takes the settings block and
// four record blocks and goes away, as a pulled cable would.
TEST_F(CliReadFirst, APartlyWrittenRadioIsRestoredByteForByteByTheCommandItPrints) {
    WriteBytes(dir / "edited.kda", edited);
    const ProcessResult result = WriteWith({"--disappear-after", "26"});
    EXPECT_EQ(result.exitStatus, 3) << result.err;
    const auto partly = ReadBytes(dir / "saved.kda");
    ASSERT_EQ(partly.size(), kImageSize);
    EXPECT_NE(partly, memory) << "the radio took part of the write";

    const std::vector<Json> lines = Audit();
    ASSERT_EQ(lines.size(), 2u);
    const std::string backup = lines[0]["backup"];
    EXPECT_EQ(ReadBytes(backup), memory);
    EXPECT_EQ(lines[1]["result"], "partly-written");
    EXPECT_NE(result.err.find("the radio is partly written; the backup taken before the write is " +
                              backup),
              std::string::npos)
        << result.err;
    const std::string command = "halyx-cli write --no-read-first --port ";
    const std::size_t at = result.err.find(command);
    ASSERT_NE(at, std::string::npos) << result.err;
    const std::string line = result.err.substr(at, result.err.find('\n', at) - at);
    EXPECT_EQ(line.substr(line.size() - backup.size()), backup);

    // The same command, on the port the radio is back on.
    WriteBytes(dir / "radio.kda", partly);
    RadioSimProcess back(SimArgs({}));
    const ProcessResult restore =
        Cli({"write", "--no-read-first", "--port", back.devicePath(), backup});
    ASSERT_EQ(restore.exitStatus, 0) << restore.err;
    back.Stop();
    EXPECT_EQ(ReadBytes(dir / "saved.kda"), memory);
}

}  // namespace
}  // namespace halyx
