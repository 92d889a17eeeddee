// What halyx-cli loads: the text commands start without Qt, the radio commands and the PDF sheet
// bring in the module that runs on it, and a missing module is reported, not a mystery.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::BuiltProgram;
using testing::ProcessResult;
using testing::SourceDir;
using testing::TempDir;

class CliLibraries : public ::testing::Test {
protected:
    CliLibraries() {
        std::filesystem::copy_file(SourceDir() / "data" / "default.kda", dir / "radio.kda");
        std::ofstream(home / "setting.ini") << "[setup]\nlanguage=english\n";
    }

    // The dynamic loader names every library it loads on standard error.
    ProcessResult RunTracingLibraries(const std::filesystem::path& program,
                                      const std::vector<std::string>& args) {
        return testing::RunProcess(program, args, dir.path(),
                                   {{"HALYX_HOME", home.path().string()}, {"LD_DEBUG", "libs"}});
    }

    TempDir dir;
    TempDir home;
};

TEST_F(CliLibraries, TextCommandsLoadNoQtLibrary) {
    const std::vector<std::vector<std::string>> commands = {
        {"show", "radio.kda"},
        {"show", "radio.kda", "--json"},
        {"set", "radio.kda", "--channel", "3", "--rx", "446.1"},
        {"diff", "radio.kda", "radio.kda"},
        {"export", "radio.kda", "--csv", "channels.csv"},
        {"--lang", "zh", "show", "radio.kda"}};
    for (const auto& args : commands) {
        const ProcessResult result = RunTracingLibraries(BuiltProgram("halyx-cli"), args);
        EXPECT_EQ(result.exitStatus, 0) << args.front() << result.err;
        EXPECT_EQ(result.err.find("libQt6"), std::string::npos) << args.front();
        EXPECT_EQ(result.err.find("halyx-cli-qt"), std::string::npos) << args.front();
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "channels.csv"));
}

TEST_F(CliLibraries, QtCommandsComeFromTheModuleAndTheHelpListsEveryCommandInItsPlace) {
    const ProcessResult help = RunTracingLibraries(BuiltProgram("halyx-cli"), {"--help"});
    ASSERT_EQ(help.exitStatus, 0) << help.err;
    EXPECT_NE(help.err.find("halyx-cli-qt.so"), std::string::npos);
    std::size_t previous = 0;
    for (const char* command :
         {"show", "set", "read", "write", "tuning", "import", "export", "diff", "log", "fleet"}) {
        const std::size_t at = help.out.find("\n  " + std::string(command) + " ");
        ASSERT_NE(at, std::string::npos) << command << "\n" << help.out;
        EXPECT_GT(at, previous) << command;
        previous = at;
    }

    const ProcessResult pdf = RunTracingLibraries(
        BuiltProgram("halyx-cli"), {"export", "radio.kda", "--csv", "c.csv", "--pdf", "s.pdf"});
    ASSERT_EQ(pdf.exitStatus, 0) << pdf.err;
    EXPECT_NE(pdf.err.find("halyx-cli-qt.so"), std::string::npos);
    EXPECT_EQ(testing::ReadText(dir / "s.pdf").substr(0, 5), "%PDF-");
}

TEST_F(CliLibraries, MissingModuleFailsItsCommandsWithAReasonAndLeavesTheOthersWorking) {
    // A program copied without its module, as a broken installation would leave it.
    const std::filesystem::path program = home / "halyx-cli";
    std::filesystem::copy_file(BuiltProgram("halyx-cli"), program);
    const auto run = [&](const std::vector<std::string>& args) {
        return testing::RunProcess(program, args, dir.path(),
                                   {{"HALYX_HOME", home.path().string()}});
    };
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"read", "--port", "COM1", "-o", "read.kda"},
          {"export", "radio.kda", "--pdf", "sheet.pdf"}}) {
        const ProcessResult result = run(args);
        EXPECT_EQ(result.exitStatus, 2) << args.front();
        EXPECT_NE(result.err.find("halyx-cli: cannot load the radio commands: "), std::string::npos)
            << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "read.kda"));
    EXPECT_FALSE(std::filesystem::exists(dir / "sheet.pdf"));
    EXPECT_EQ(run({"show", "radio.kda"}).exitStatus, 0);
}

}  // namespace
}  // namespace halyx
