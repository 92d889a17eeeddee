// A whole configuration as text on the command line: export, import, and every command that takes
// an image file taking the text as well, run as a user runs them.
#include <gtest/gtest.h>

#include <regex>

#include "image/radio_image.h"

#include "support/radio_sim_process.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::BuiltProgram;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::ReadText;
using testing::SourceDir;
using testing::TempDir;

class CliConfigText : public ::testing::Test {
protected:
    CliConfigText() {
        std::filesystem::copy_file(SourceDir() / "data" / "default.kda", dir / "radio.kda");
    }

    ProcessResult Cli(const std::vector<std::string>& args) {
        return testing::RunProcess(BuiltProgram("halyx-cli"), args, dir.path(),
                                   {{"HALYX_HOME", home.path().string()}, {"LANG", "C"}});
    }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    TempDir dir;
    TempDir home;
};

TEST_F(CliConfigText, ExportImportAndEveryImageCommandTreatTheTextAsTheImage) {
    ASSERT_EQ(Cli({"export", "radio.kda", "--yaml", "radio.halyx.yaml"}).exitStatus, 0);
    ASSERT_EQ(Cli({"import", "--yaml", "radio.halyx.yaml", "-o", "back.kda"}).exitStatus, 0);
    EXPECT_EQ(ReadBytes(dir / "back.kda"), ReadBytes(dir / "radio.kda"));

    // show and diff read the text as they read the image.
    EXPECT_EQ(Cli({"show", "radio.halyx.yaml", "--json"}).out,
              Cli({"show", "radio.kda", "--json"}).out);
    EXPECT_EQ(Cli({"diff", "radio.kda", "radio.halyx.yaml"}).exitStatus, 0);

    // set edits a text in place and it stays a text, changed in exactly the lines edited.
    const std::string before = ReadText(dir / "radio.halyx.yaml");
    ASSERT_EQ(
        Cli({"set", "radio.halyx.yaml", "--squelch", "7", "--channel", "2", "--rx-tone", "D023N"})
            .exitStatus,
        0);
    const std::string after = ReadText(dir / "radio.halyx.yaml");
    EXPECT_EQ(std::regex_replace(before, std::regex("squelchLevel: 3"), "squelchLevel: 7"),
              std::regex_replace(after,
                                 std::regex("(channel: 2, .*)rxTone: \"D023N\", txTone: "
                                            "\"D023N\""),
                                 "$1rxTone: \"off\", txTone: \"off\""));
    const ProcessResult diff = Cli({"diff", "radio.kda", "radio.halyx.yaml"});
    EXPECT_EQ(diff.exitStatus, 6);
    EXPECT_NE(diff.out.find("Squelch: 3 -> 7"), std::string::npos) << diff.out;

    // set -o turns it back into an image file.
    ASSERT_EQ(Cli({"set", "radio.halyx.yaml", "--squelch", "3", "--channel", "2", "--rx-tone",
                   "off", "-o", "again.kda"})
                  .exitStatus,
              0);
    EXPECT_EQ(ReadBytes(dir / "again.kda"), ReadBytes(dir / "radio.kda"));
}

TEST_F(CliConfigText, ImportWithBaseTakesTheOtherBytesTheTextLeavesOut) {
    ASSERT_EQ(Cli({"export", "radio.kda", "--yaml", "full.halyx.yaml"}).exitStatus, 0);
    const std::string full = ReadText(dir / "full.halyx.yaml");
    const auto other = full.find("otherBytes:");
    const auto length = full.find("imageLength:");
    Write("lean.halyx.yaml", full.substr(0, other) + full.substr(length));

    ASSERT_EQ(Cli({"import", "--yaml", "lean.halyx.yaml", "--base", "radio.kda", "-o", "b.kda"})
                  .exitStatus,
              0);
    EXPECT_EQ(ReadBytes(dir / "b.kda"), ReadBytes(dir / "radio.kda"));
    // Without a base those bytes are erased memory: the header's zero bytes become FF.
    ASSERT_EQ(Cli({"import", "--yaml", "lean.halyx.yaml", "-o", "erased.kda"}).exitStatus, 0);
    const auto erased = ReadBytes(dir / "erased.kda");
    ASSERT_EQ(erased.size(), 2048u);
    EXPECT_EQ(erased[0], 0xFF);
    EXPECT_EQ(Cli({"diff", "radio.kda", "erased.kda"}).exitStatus, 6);
}

// A text goes to the radio as the image it stands for: the simulated radio ends up holding it.
TEST_F(CliConfigText, WriteSendsTheImageTheTextStandsFor) {
    ASSERT_EQ(Cli({"set", "radio.kda", "-o", "site.halyx.yaml", "--squelch", "8", "--channel", "5",
                   "--rx", "440.1", "--rx-tone", "D754N"})
                  .exitStatus,
              0);
    ASSERT_EQ(Cli({"import", "--yaml", "site.halyx.yaml", "-o", "site.kda"}).exitStatus, 0);
    std::vector<std::uint8_t> blank(kImageSize, 0xFF);
    blank[header::kBand] = 1;
    testing::WriteBytes(dir / "memory.kda", blank);
    testing::RadioSimProcess sim(
        {"--image", (dir / "memory.kda").string(), "--save", (dir / "saved.kda").string()});
    const ProcessResult written = Cli({"write", "--port", sim.devicePath(), "site.halyx.yaml"});
    ASSERT_EQ(written.exitStatus, 0) << written.err;
    sim.Stop();
    const auto sent = ReadBytes(dir / "site.kda");
    const auto saved = ReadBytes(dir / "saved.kda");
    ASSERT_EQ(saved.size(), kImageSize);
    // The radio holds the header and the records; channel 1's first byte always arrives as 1.
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + kHeaderSize, sent.begin()));
    EXPECT_TRUE(std::equal(saved.begin() + kFirstRecordOffset + 1, saved.begin() + kRecordsEnd,
                           sent.begin() + kFirstRecordOffset + 1));
}

TEST_F(CliConfigText, RefusedTextExitsOneWithEveryProblemAndNothingIsWrittenOrSent) {
    Write("bad.halyx.yaml",
          "format: halyx-config/1\n"
          "band: 406.1-470\n"
          "settings: {timeOut: 0, voxLevel: 0, squelchLevel: 10, settingsChannel: 1, language: 0,\n"
          "           scramble: 0, compand: 0, txPower: 2, serialNumber: \"1\", userId: \"\"}\n"
          "channels:\n"
          "  - {channel: 1, rxFrequency: 406.0, txFrequency: 406.1, rxTone: off, txTone: off, "
          "bandwidth: 12.5K}\n");
    const std::string problems =
        "halyx-cli: bad.halyx.yaml:3: settings.squelchLevel: \"10\" is not on the list, accepted: "
        "1..9\n"
        "halyx-cli: bad.halyx.yaml:6: channels[1].rxFrequency: \"406.0\" is outside the "
        "406.1-470 MHz band, the window would store 406.10000, accepted: 406.10000 to 470.00000 "
        "MHz on a 5 kHz or 6.25 kHz step\n";
    const std::vector<std::vector<std::string>> commands = {
        {"import", "--yaml", "bad.halyx.yaml", "-o", "out.kda"},
        {"show", "bad.halyx.yaml"},
        {"diff", "radio.kda", "bad.halyx.yaml"},
        {"set", "bad.halyx.yaml", "--squelch", "5", "-o", "out.kda"},
        {"export", "bad.halyx.yaml", "--csv", "out.csv"},
        // The radio commands refuse the text before any port is opened.
        {"write", "--port", "/dev/null", "bad.halyx.yaml"},
        {"fleet", "write", "--ports", "/dev/null", "bad.halyx.yaml"},
    };
    for (const auto& command : commands) {
        const ProcessResult result = Cli(command);
        EXPECT_EQ(result.exitStatus, 1) << command[0];
        EXPECT_EQ(result.err, problems) << command[0];
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.kda"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.csv"));

    // A text that cannot be read at all is a file error, as an image file is.
    EXPECT_EQ(Cli({"show", "missing.halyx.yaml"}).exitStatus, 2);
    Write("huge.halyx.yaml", std::string(2 * 1024 * 1024, '#'));
    EXPECT_EQ(Cli({"show", "huge.halyx.yaml"}).exitStatus, 2);
    // One of --csv and --yaml; a text import names where to write.
    EXPECT_EQ(Cli({"import", "--yaml", "bad.halyx.yaml"}).exitStatus, 1);
    EXPECT_EQ(Cli({"import", "radio.kda", "--csv", "a.csv", "--yaml", "b.yaml"}).exitStatus, 1);
}

}  // namespace
}  // namespace halyx
