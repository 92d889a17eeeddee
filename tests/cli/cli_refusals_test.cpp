// halyx-cli given names that are not what they seem: files that are no regular files, ports that
// cannot be opened. Each run must end promptly with the documented exit status and say why.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

namespace fs = std::filesystem;
using testing::BuiltProgram;
using testing::ProcessResult;
using testing::SourceDir;
using testing::TempDir;

// Far below the suite's limit; a run that hangs is killed and shows exit status -1.
constexpr unsigned kTimeLimitSeconds = 20;

class CliRefusal : public ::testing::Test {
protected:
    CliRefusal() {
        fs::copy_file(SourceDir() / "data" / "default.kda", dir / "radio.kda");
        std::ofstream(home / "setting.ini") << "[setup]\nlanguage=english\n";
    }

    ProcessResult Cli(const std::vector<std::string>& args) {
        return testing::RunProcess(BuiltProgram("halyx-cli"), args, dir.path(),
                                   {{"HALYX_HOME", home.path().string()}}, kTimeLimitSeconds);
    }

    static bool Says(const ProcessResult& result, const std::string& text) {
        return result.err.find(text) != std::string::npos;
    }

    TempDir dir;
    TempDir home;
};

TEST_F(CliRefusal, NamedPipeFolderOrDeviceAsAnImageExitTwoSayingWhatItIs) {
    ASSERT_EQ(mkfifo((dir / "f.kda").c_str(), 0600), 0);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"show", "f.kda"},
             {"set", "f.kda", "--squelch", "5"},
             {"write", "--port", "/dev/null", "f.kda"},
             {"read", "--port", "/dev/null", "--base", "f.kda", "-o", "out.kda"}}) {
        const ProcessResult result = Cli(args);
        EXPECT_EQ(result.exitStatus, 2) << args[0] << ": " << result.err;
        EXPECT_TRUE(Says(result, "f.kda: is not a regular file (a named pipe)")) << result.err;
    }
    EXPECT_FALSE(fs::exists(dir / "out.kda"));

    fs::create_directory(dir / "adir.kda");
    const ProcessResult folder = Cli({"show", "adir.kda"});
    EXPECT_EQ(folder.exitStatus, 2);
    EXPECT_TRUE(Says(folder, "adir.kda: is a folder")) << folder.err;

    // A device node of the test's own, so that a faulty save could never replace a system one.
    if (mknod((dir / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "this system does not let the test make a device node";
    }
    fs::create_symlink("device", dir / "l.kda");
    const ProcessResult linked = Cli({"set", "l.kda", "--squelch", "5"});
    EXPECT_EQ(linked.exitStatus, 2);
    EXPECT_TRUE(Says(linked, "l.kda: is not a regular file (a device)")) << linked.err;
    EXPECT_TRUE(fs::is_character_file(dir / "device"));
    // Saving a good image through a link to it is refused as well, and nothing is left behind.
    const ProcessResult saved = Cli({"set", "radio.kda", "-o", "l.kda", "--squelch", "5"});
    EXPECT_EQ(saved.exitStatus, 2);
    EXPECT_TRUE(fs::is_character_file(dir / "device"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 5);
}

TEST_F(CliRefusal, SettingAndLanguageFilesThatAreNoFilesDoNotStopTheProgram) {
    fs::remove(home / "setting.ini");
    ASSERT_EQ(mkfifo((home / "setting.ini").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", home / "chinese.lang");
    const ProcessResult result = Cli({"show", "radio.kda"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(fs::symlink_status(home / "setting.ini").type(), fs::file_type::fifo);
}

TEST_F(CliRefusal, PortThatCannotBeOpenedExitsFiveWithTheCause) {
    const ProcessResult missing =
        Cli({"tuning", "read", "--port", (dir / "ttyGone").string(), "-o", "v.dat"});
    EXPECT_EQ(missing.exitStatus, 5);
    EXPECT_TRUE(Says(missing, "ttyGone: the serial port cannot be opened: ")) << missing.err;
    EXPECT_TRUE(Says(missing, "no such device")) << missing.err;

    for (const std::string& notSerial : {(dir / "radio.kda").string(), std::string("/dev/null")}) {
        const ProcessResult result = Cli({"tuning", "read", "--port", notSerial, "-o", "v.dat"});
        EXPECT_EQ(result.exitStatus, 5);
        EXPECT_TRUE(Says(result, notSerial + " is not a serial device.")) << result.err;
    }

    const ProcessResult unnumbered = Cli({"tuning", "read", "--port", "COM250", "-o", "v.dat"});
    EXPECT_EQ(unnumbered.exitStatus, 5);
    EXPECT_TRUE(Says(unnumbered, "COM250 does not name a serial port")) << unnumbered.err;
    EXPECT_FALSE(fs::exists(dir / "v.dat"));
}

}  // namespace
}  // namespace halyx
