// halyx-cli as a user runs it: a real process, its exit status, its output and the files it leaves.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::BuiltProgram;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::SourceDir;
using testing::TempDir;

class CliProcess : public ::testing::Test {
protected:
    CliProcess() {
        std::filesystem::copy_file(SourceDir() / "data" / "default.kda", dir / "radio.kda");
    }

    // Runs from an unrelated working directory with English texts, as a script would.
    ProcessResult Cli(const std::vector<std::string>& args) {
        std::ofstream(home / "setting.ini") << "[setup]\nlanguage=english\n";
        std::filesystem::copy_file(SourceDir() / "data" / "english.lang", home / "english.lang",
                                   std::filesystem::copy_options::skip_existing);
        return testing::RunProcess(BuiltProgram("halyx-cli"), args, dir.path(),
                                   {{"HALYX_HOME", home.path().string()}});
    }

    TempDir dir;
    TempDir home;
};

TEST_F(CliProcess, ShowJsonDescribesTheDefaultImage) {
    const ProcessResult result =
        Cli({"show", (SourceDir() / "data" / "default.kda").string(), "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("\"band\": \"406.1-470\""), std::string::npos);
    EXPECT_NE(result.out.find("\"imageLength\": 2048"), std::string::npos);
    EXPECT_NE(result.out.find("{\"channel\": 1, \"empty\": false, \"rxFrequency\": \"446.00625\""),
              std::string::npos);
    EXPECT_NE(result.out.find("{\"channel\": 20, \"empty\": true}"), std::string::npos);
}

TEST_F(CliProcess, SetEditsInPlaceAndShowReadsThemBack) {
    const ProcessResult set = Cli({"set", "radio.kda", "--channel", "9", "--rx", "446.0123",
                                   "--rx-tone", "88.5", "--squelch", "9"});
    ASSERT_EQ(set.exitStatus, 0) << set.err;
    EXPECT_NE(set.err.find("--rx '446.0123' on channel 9: stored 446.01000, moved onto the "
                           "channel step"),
              std::string::npos)
        << set.err;
    const ProcessResult shown = Cli({"show", "radio.kda", "--json"});
    EXPECT_NE(
        shown.out.find(
            "{\"channel\": 9, \"empty\": false, \"rxFrequency\": \"446.01000\", \"txFrequency\": "
            "\"446.01000\", \"rxTone\": \"88.5\", \"txTone\": \"88.5\""),
        std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("\"squelchLevel\": 9"), std::string::npos);
}

TEST_F(CliProcess, SetTellsEachCorrectedFrequencyOnStandardErrorAndNothingElse) {
    const ProcessResult set =
        Cli({"set", "radio.kda", "--channel", "3", "--rx", "500", "--channel", "4", "--tx", "1",
             "--channel", "5", "--rx", "446.00625", "--tx", ""});
    ASSERT_EQ(set.exitStatus, 0) << set.err;
    EXPECT_NE(set.err.find("--rx '500' on channel 3: stored "), std::string::npos) << set.err;
    EXPECT_NE(set.err.find(", above the band\n"), std::string::npos) << set.err;
    EXPECT_NE(set.err.find("--tx '1' on channel 4: stored "), std::string::npos) << set.err;
    EXPECT_NE(set.err.find(", below the band\n"), std::string::npos) << set.err;
    // Stored as typed, or emptied as asked: nothing to tell.
    EXPECT_EQ(std::count(set.err.begin(), set.err.end(), '\n'), 2) << set.err;
}

TEST_F(CliProcess, SetWithOutputLeavesTheInputAlone) {
    const auto original = ReadBytes(dir / "radio.kda");
    ASSERT_EQ(Cli({"set", "radio.kda", "-o", "out.kda", "--tot", "off"}).exitStatus, 0);
    EXPECT_EQ(ReadBytes(dir / "radio.kda"), original);
    const auto edited = ReadBytes(dir / "out.kda");
    ASSERT_EQ(edited.size(), original.size());
    EXPECT_EQ(edited[23], 0);
}

TEST_F(CliProcess, RefusedValueExitsOneAndWritesNothing) {
    const auto original = ReadBytes(dir / "radio.kda");
    const ProcessResult result = Cli({"set", "radio.kda", "--tot", "120", "--squelch", "12"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("--squelch"), std::string::npos);
    EXPECT_NE(result.err.find("1..9"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "radio.kda"), original);
}

TEST_F(CliProcess, FileProblemsExitTwoNamingTheFile) {
    testing::WriteBytes(dir / "big.kda", testing::CountingBytes(3000));
    const ProcessResult big = Cli({"show", "big.kda"});
    EXPECT_EQ(big.exitStatus, 2);
    EXPECT_NE(big.err.find("big.kda"), std::string::npos);
    EXPECT_NE(big.err.find("3000"), std::string::npos);

    const ProcessResult missing = Cli({"set", "missing.kda", "--tot", "off"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_NE(missing.err.find("missing.kda"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.kda"));
}

TEST_F(CliProcess, JsonKeepsLanguageTextsAndEscapesRawRadioBytes) {
    std::ofstream(home / "setting.ini") << "[setup]\nlanguage=chinese\n";
    std::filesystem::copy_file(SourceDir() / "data" / "chinese.lang", home / "chinese.lang");
    auto image = ReadBytes(dir / "radio.kda");
    image[12] = 0xB0;  // a serial number byte that is no text at all
    testing::WriteBytes(dir / "odd.kda", image);
    const ProcessResult result =
        testing::RunProcess(BuiltProgram("halyx-cli"), {"show", "odd.kda", "--json"}, dir.path(),
                            {{"HALYX_HOME", home.path().string()}});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("\"rxTone\": \"off\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"serialNumber\": \"\\u00b0000000001\""), std::string::npos)
        << result.out;
}

TEST_F(CliProcess, InstalledProgramFindsItsLanguageFilesInTheDataFolder) {
    // The layout `cmake --install` makes: bin/halyx-cli beside share/halyx/*.lang.
    std::filesystem::create_directories(home / "bin");
    std::filesystem::create_directories(home / "share" / "halyx");
    std::filesystem::copy_file(BuiltProgram("halyx-cli"), home / "bin" / "halyx-cli");
    std::filesystem::copy_file(SourceDir() / "data" / "chinese.lang",
                               home / "share" / "halyx" / "chinese.lang");
    // The shared data folder is not the user's: setting.ini is read from $XDG_CONFIG_HOME/halyx.
    std::ofstream(home / "share" / "halyx" / "setting.ini") << "[setup]\nlanguage=english\n";
    std::filesystem::create_directories(home / "config" / "halyx");
    std::ofstream(home / "config" / "halyx" / "setting.ini") << "[setup]\nlanguage=chinese\n";
    unsetenv("HALYX_HOME");
    const ProcessResult result = testing::RunProcess(
        home / "bin" / "halyx-cli", {"show", "radio.kda", "--json"}, dir.path(),
        {{"XDG_CONFIG_HOME", (home / "config").string()}, {"LANG", "en_US.UTF-8"}});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("\"rxTone\": \"off\""), std::string::npos) << result.out;
    // JSON takes nothing from a language file; the readable output finds it in the data folder.
    const ProcessResult readable = testing::RunProcess(
        home / "bin" / "halyx-cli", {"show", "radio.kda", "--lang", "zh"}, dir.path());
    EXPECT_NE(readable.out.find("关闭"), std::string::npos) << readable.out;
}

TEST_F(CliProcess, UsageErrorsExitOne) {
    EXPECT_EQ(Cli({}).exitStatus, 1);
    EXPECT_EQ(Cli({"fly"}).exitStatus, 1);
    EXPECT_EQ(Cli({"show"}).exitStatus, 1);
    EXPECT_EQ(Cli({"set", "radio.kda", "--channel"}).exitStatus, 1);
    EXPECT_EQ(Cli({"--help"}).exitStatus, 0);
}

}  // namespace
}  // namespace halyx
