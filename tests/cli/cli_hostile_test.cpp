// halyx-cli given what a hostile tester gives it: files and radios full of control bytes and broken
// UTF-8, outputs that are inputs, outputs that cannot be written, one radio under two names, and
// signals mid-run. Each run is a real process; each must say what is wrong, exit with its status,
// and leave every input as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "image/radio_image.h"
#include "support/radio_sim_process.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx::hostile_test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Json = nlohmann::json;
using testing::ProcessResult;
using testing::RadioSimProcess;
using testing::ReadBytes;

constexpr unsigned kTimeLimitSeconds = 60;
const std::string kEscapes = "\x1b[2J\x1b]0;owned\x07";

void PutText(Bytes& bytes, std::size_t offset, std::size_t size, const std::string& text) {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, std::uint8_t{0});
    std::copy_n(text.begin(), std::min(size, text.size()),
                bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Every regular file under `folder` with its bytes: what "nothing was written" compares.
std::map<std::string, Bytes> Snapshot(const fs::path& folder) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path());
        }
    }
    return files;
}

// A byte no terminal should be handed from data: C0 controls but line end and tab, and DEL.
bool HasRawControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c < 0x20 && c != '\n' && c != '\t') || c == 0x7f;
    });
}

class CliHostile : public ::testing::Test {
protected:
    CliHostile() {
        std::ofstream(home / "setting.ini") << "[setup]\nlanguage=english\n";
        image = ReadBytes(testing::SourceDir() / "data" / "default.kda");
        testing::WriteBytes(dir / "m.kda", image);
    }

    std::vector<std::pair<std::string, std::string>> Env() const {
        return {{"HALYX_HOME", home.path().string()}, {"XDG_DATA_HOME", (dir / "xdg").string()}};
    }

    ProcessResult Cli(const std::vector<std::string>& args) {
        return testing::RunProcess(testing::BuiltProgram("halyx-cli"), args, dir.path(), Env(),
                                   kTimeLimitSeconds);
    }

    // halyx-cli left running, for a signal to reach it mid-run.
    pid_t Start(const std::vector<std::string>& args) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir.path().c_str()) != 0) {
                _exit(127);
            }
            for (const auto& [name, value] : Env()) {
                setenv(name.c_str(), value.c_str(), 1);
            }
            const int err = open("started.err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int out = open("started.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<std::string> all{testing::BuiltProgram("halyx-cli").string()};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& arg : all) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            alarm(kTimeLimitSeconds);
            execv(argv[0], argv.data());
            _exit(127);
        }
        return pid;
    }

    // Waits (a real process runs in real time) until the traffic log shows the exchange under way.
    static bool WaitForTraffic(const fs::path& log) {
        for (int i = 0; i < 1000; ++i) {
            std::ifstream in(log);
            const auto lines = std::count(std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>(), '\n');
            if (lines >= 4) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    static int WaitExit(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<Json> AuditLines() const {
        std::vector<Json> lines;
        std::ifstream in(dir / "xdg" / "halyx" / "audit.jsonl");
        for (std::string line; std::getline(in, line);) {
            lines.push_back(Json::parse(line));
        }
        return lines;
    }

    // A radio's memory the test can recognise afterwards: the simulator saves it when it stops.
    std::vector<std::string> RecognisableRadio() {
        testing::WriteBytes(dir / "held.bin", Bytes(kImageSize, 0x5a));
        return {"--baud",  "115200",
                "--image", (dir / "held.bin").string(),
                "--save",  (dir / "after.bin").string()};
    }

    bool RadioUntouched() const { return ReadBytes(dir / "after.bin") == Bytes(kImageSize, 0x5a); }

    Bytes Held(const std::string& serial, const std::string& userId) const {
        Bytes held = image;
        PutText(held, header::kSerialNumber, header::kSerialNumberSize, serial);
        PutText(held, header::kUserId, header::kUserIdSize, userId);
        return held;
    }

    testing::TempDir dir;
    testing::TempDir home;
    Bytes image;
};

TEST_F(CliHostile, NoCommandHandsTheTerminalAControlByteFromAFileOrARadio) {
    // An image whose identity is escape sequences, a CSV and an overrides file full of them, an
    // audit log whose lines carry them, and a radio whose serial number is one.
    testing::WriteBytes(dir / "evil.kda", Held("\x1b[2J\x7f\x9b", "\x1b]0;x\x07"));
    std::ofstream(dir / "evil.csv") << "Location,Name\x1b[31m,Frequency\n1,\x07,446.00625\x1b[2J\n"
                                    << "2,x,\x1b]0;title\x07\n";
    std::ofstream(dir / "evil-overrides.csv") << "port,userId\x1b[5m\n/dev/\x1b[2J,\x1b[1m\n";
    fs::create_directories(dir / "xdg" / "halyx");
    std::ofstream(dir / "xdg" / "halyx" / "audit.jsonl")
        << R"({"time":"2026-01-02T03:04:05.000Z","program":"halyx-cli","operation":"read",)"
        << R"("port":"\u001b[2J","serialNumber":"\u001b]0;t\u0007","result":"success",)"
        << R"("durationMs":1,"backup":"\u009b31m"})"
        << "\r\n";

    RadioSimProcess sim(
        {"--baud", "115200", "--image", (dir / "evil.kda").string(), "--serial", "\x1b[2J\x1b[H"});
    const std::vector<std::vector<std::string>> commands = {
        {"show", "evil.kda"},
        {"diff", "m.kda", "evil.kda"},
        {"log"},
        {"log", "--json"},
        {"import", "m.kda", "--csv", "evil.csv", "-o", "out.kda"},
        {"set", "m.kda", "--serial", "\x1b[2J", "-o", "refused.kda"},
        {"set", "m.kda", "--user-id", "\x1b]0;", "-o", "refused.kda"},
        {"fleet", "write", "m.kda", "--ports", "/dev/\x1b[2J"},
        {"fleet", "write", "m.kda", "--ports", sim.devicePath(), "--overrides",
         "evil-overrides.csv"},
        {"fleet", "read", "--ports", sim.devicePath(), "--out-dir", "read", "--report",
         "report.json"},
        {"read", "--port", "/dev/\x1b[2J", "-o", "x.kda"},
    };
    for (const auto& command : commands) {
        const ProcessResult run = Cli(command);
        SCOPED_TRACE(command.size() > 1 ? command[0] + " " + command[1] : command[0]);
        EXPECT_NE(run.out + run.err, "");
        EXPECT_FALSE(HasRawControl(run.out)) << run.out;
        EXPECT_FALSE(HasRawControl(run.err)) << run.err;
        EXPECT_EQ((run.out + run.err).find("\xc2\x9b"), std::string::npos);
    }
    sim.Stop();
    EXPECT_FALSE(fs::exists(dir / "refused.kda"));
    // The report keeps the radio's serial number whole, as JSON, escapes and all.
    const Json report = Json::parse(testing::ReadText(dir / "report.json"));
    EXPECT_EQ(report["radios"][0]["serialBefore"], "\x1b[2J\x1b[H");
}

TEST_F(CliHostile, JsonOfTextThatIsNoUtf8IsValidAndTheImageIsReplacedOnlyAfterIt) {
    std::ofstream(dir / "bad.csv")
        << "Location,Name,Frequency,Comment\n1,caf\xe9,446.093750,\xff\n";
    const ProcessResult run = Cli({"import", "m.kda", "--csv", "bad.csv", "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const Json report = Json::parse(run.out);  // throws on anything but valid JSON
    EXPECT_EQ(report["channels"], Json({1}));
    EXPECT_NE(ReadBytes(dir / "m.kda"), image);
    // A radio's bytes past UTF-8 in a show --json: each byte one character, the document valid.
    testing::WriteBytes(dir / "gbk.kda", Held("SN\xb2\xe2", "\xff"));
    const ProcessResult show = Cli({"show", "gbk.kda", "--json"});
    ASSERT_EQ(show.exitStatus, 0) << show.err;
    EXPECT_TRUE(Json::accept(show.out)) << show.out;
}

TEST_F(CliHostile, AnOutputThatIsAnInputUnderAnyNameIsRefusedAndNothingIsWritten) {
    std::ofstream(dir / "list.csv") << "Location,Frequency\n1,446.006250\n";
    std::ofstream(dir / "c.halyx.yaml") << "not read\n";
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "list.csv", dir / "link.csv");
    fs::create_hard_link(dir / "m.kda", dir / "hard.kda");
    const std::vector<std::vector<std::string>> commands = {
        {"import", "m.kda", "--csv", "list.csv", "-o", "list.csv"},
        {"import", "m.kda", "--csv", "link.csv", "-o", "sub/../list.csv"},
        {"import", "list.csv", "--csv", "list.csv"},
        {"import", "--yaml", "c.halyx.yaml", "-o", (dir / "c.halyx.yaml").string()},
        {"export", "m.kda", "--csv", "hard.kda"},
        {"export", "m.kda", "--csv", "a.csv", "--html", "./a.csv"},
        {"fleet", "write", "m.kda", "--ports", "/dev/ttyNONE", "--report", "hard.kda"},
        {"fleet", "write", "m.kda", "--ports", "/dev/ttyNONE", "--overrides", "list.csv",
         "--report", "link.csv"},
        {"fleet", "read", "--ports", "/dev/ttyNONE", "--out-dir", "o", "--base", "m.kda",
         "--report", "m.kda"},
        {"fleet", "write", "m.kda", "--ports", "/dev/ttyNONE", "--report", "xdg/halyx/audit.jsonl"},
        // The table written beside the report, list.csv, is the overrides under another name.
        {"fleet", "write", "m.kda", "--ports", "/dev/ttyNONE", "--overrides", "link.csv",
         "--report", "list.json"},
        {"fleet", "write", "m.kda", "--ports", "/dev/ttyNONE", "--report", "r.csv"},
        {"read", "--port", "/dev/ttyNONE", "--base", "m.kda", "-o", "hard.kda"},
        {"write", "--port", "/dev/ttyNONE", "m.kda", "--log", "hard.kda"},
        {"tuning", "write", "--port", "/dev/ttyNONE", "list.csv", "--image", "m.kda", "--log",
         "link.csv"},
    };
    const auto before = Snapshot(dir.path());
    for (const auto& command : commands) {
        const ProcessResult run = Cli(command);
        SCOPED_TRACE(command[0] + " " + command[1] + " " + command[2]);
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        EXPECT_NE(run.err.find("is the same file as"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << run.err;
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
}

TEST_F(CliHostile, AFleetRunWhoseOutputsCannotBeWrittenSendsNothing) {
    RadioSimProcess sim(RecognisableRadio());
    fs::create_directory(dir / "adir");
    fs::create_directory(dir / "table.csv");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir / "tpipe.csv").c_str(), 0600), 0);
    std::ofstream(dir / "file") << "x";
    const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
        {{"--report", "adir"}, "--report: adir is a folder"},
        {{"--report", "pipe"}, "--report: pipe is a pipe"},
        {{"--report", "/proc/halyx-report.json"}, "--report: /proc/halyx-report.json cannot"},
        {{"--report", "missing/r.json"}, "the folder"},
        {{"--report", "table.json"}, "--report (its CSV table): table.csv is a folder"},
        {{"--report", "tpipe.json"}, "--report (its CSV table): tpipe.csv is a pipe"},
    };
    for (const auto& [extra, says] : runs) {
        std::vector<std::string> args = {"fleet", "write", "m.kda", "--ports", sim.devicePath()};
        args.insert(args.end(), extra.begin(), extra.end());
        const ProcessResult run = Cli(args);
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing was sent"), std::string::npos) << run.err;
    }
    // A single read or tuning read likewise, before its first frame.
    for (const std::string command : {"read", "tuning read"}) {
        std::vector<std::string> args = {command.substr(0, command.find(' '))};
        if (command == "tuning read") {
            args.push_back("read");
        }
        args.insert(args.end(), {"--port", sim.devicePath(), "-o", "adir"});
        const ProcessResult single = Cli(args);
        EXPECT_EQ(single.exitStatus, 1) << command;
        EXPECT_NE(single.err.find("-o: adir is a folder; nothing was sent"), std::string::npos)
            << single.err;
    }
    const ProcessResult outDir =
        Cli({"fleet", "read", "--ports", sim.devicePath(), "--out-dir", "file"});
    EXPECT_EQ(outDir.exitStatus, 1) << outDir.err;
    EXPECT_NE(outDir.err.find("--out-dir: file"), std::string::npos) << outDir.err;
    // An audit log that is a pipe would lose every line: the run is refused too.
    fs::create_directories(dir / "xdg" / "halyx");
    ASSERT_EQ(mkfifo((dir / "xdg" / "halyx" / "audit.jsonl").c_str(), 0600), 0);
    const ProcessResult audit = Cli({"fleet", "write", "m.kda", "--ports", sim.devicePath()});
    EXPECT_EQ(audit.exitStatus, 1);
    EXPECT_NE(audit.err.find("the audit log: "), std::string::npos) << audit.err;
    sim.Stop();
    EXPECT_TRUE(RadioUntouched());
    EXPECT_EQ(ReadBytes(dir / "m.kda"), image);
}

TEST_F(CliHostile, ASingleReadWithAPipeAsItsAuditLogSaysTheLineWasLost) {
    RadioSimProcess sim({"--baud", "115200"});
    fs::create_directories(dir / "xdg" / "halyx");
    ASSERT_EQ(mkfifo((dir / "xdg" / "halyx" / "audit.jsonl").c_str(), 0600), 0);
    const ProcessResult run = Cli({"read", "--port", sim.devicePath(), "-o", "r.kda"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find("warning: not in the audit log: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("named pipe"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir / "r.kda"));
}

TEST_F(CliHostile, OneRadioUnderTwoNamesIsRefusedBeforeAnythingIsSent) {
    RadioSimProcess sim(RecognisableRadio());
    const std::string device = sim.devicePath();
    fs::create_symlink(device, dir / "cable");
    const std::string link = (dir / "cable").string();
    std::ofstream(home / "setting.ini")
        << "[setup]\nlanguage=english\n[devices]\nCOM7=" << device << "\n";
    const std::vector<std::string> lists = {device + "," + link, "COM7," + device, link + ",7"};
    for (const std::string& list : lists) {
        const ProcessResult run = Cli({"fleet", "write", "m.kda", "--ports", list});
        EXPECT_EQ(run.exitStatus, 1) << list;
        EXPECT_NE(run.err.find("are the same device"), std::string::npos) << run.err;
    }
    // Keys naming the given port by its link and by COM7, next to a refused value and a row for
    // a port not given: all four problems at once.
    std::ofstream(dir / "o.csv") << "port,squelch\n"
                                 << link << ",3\nCOM7,4\n"
                                 << device << ",12\nCOM9,2\n";
    const ProcessResult overrides =
        Cli({"fleet", "write", "m.kda", "--ports", device, "--overrides", "o.csv"});
    EXPECT_EQ(overrides.exitStatus, 1);
    EXPECT_EQ(overrides.err,
              "halyx-cli: o.csv: line 3: '" + device +
                  "' is also on line 2\n"
                  "halyx-cli: o.csv: line 4: squelch: '12' is not allowed; use 1..9\n"
                  "halyx-cli: o.csv: line 5: no radio is on port 'COM9'\n"
                  "halyx-cli: nothing was sent\n");
    sim.Stop();
    EXPECT_TRUE(RadioUntouched());
}

TEST_F(CliHostile, SigtermAndSighupEndRadioWorkAsCancelledWithAuditLineAndReport) {
    // Paced at 9600 baud and slow to answer: the signal comes while frames are going out.
    const std::vector<std::string> slow = {"--baud", "9600", "--response-delay-ms", "40"};
    {
        std::vector<std::string> args = slow;
        args.insert(args.end(), {"--count", "2", "--save", (dir / "after%d.bin").string()});
        RadioSimProcess sim(args, 2);
        const pid_t cli = Start({"fleet", "write", "m.kda", "--ports",
                                 sim.devicePaths()[0] + "," + sim.devicePaths()[1], "--report",
                                 "report.json", "--log", "comm.log"});
        ASSERT_TRUE(WaitForTraffic(dir / "comm-1.log"));
        kill(cli, SIGTERM);
        EXPECT_EQ(WaitExit(cli), 7) << testing::ReadText(dir / "started.err");
        const Json report = Json::parse(testing::ReadText(dir / "report.json"));
        ASSERT_EQ(report["radios"].size(), 2u);
        const std::vector<Json> audit = AuditLines();
        ASSERT_EQ(audit.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(report["radios"][i]["result"], "cancelled");
            EXPECT_EQ(audit[static_cast<std::size_t>(i)]["result"], "cancelled");
        }
    }
    for (const int signal : {SIGHUP, SIGTERM}) {
        SCOPED_TRACE(signal);
        RadioSimProcess sim(slow);
        fs::remove(dir / "comm.log");
        const pid_t cli =
            Start({"read", "--port", sim.devicePath(), "-o", "read.kda", "--log", "comm.log"});
        ASSERT_TRUE(WaitForTraffic(dir / "comm.log"));
        kill(cli, signal);
        EXPECT_EQ(WaitExit(cli), 128 + signal);
        EXPECT_NE(testing::ReadText(dir / "started.err").find("read: cancelled by a signal"),
                  std::string::npos);
        EXPECT_EQ(AuditLines().back()["result"], "cancelled");
        EXPECT_EQ(AuditLines().back()["operation"], "read");
        EXPECT_FALSE(fs::exists(dir / "read.kda"));
    }
    EXPECT_EQ(AuditLines().size(), 4u);
    EXPECT_EQ(ReadBytes(dir / "m.kda"), image);
}

TEST_F(CliHostile, ImpossibleSinceDatesAreRefused) {
    for (const std::string date : {"2026-13-45", "2026-02-29", "2026-04-31", "2026-00-10",
                                   "2026-01-01T24:00", "2026-01-01T10:60", "2026-01-01T10:00:61"}) {
        const ProcessResult run = Cli({"log", "--since", date});
        EXPECT_EQ(run.exitStatus, 1) << date;
        EXPECT_NE(run.err.find("is not a date"), std::string::npos) << date;
    }
    for (const std::string date : {"2024-02-29", "2026-12-31T23:59:59", "2026-01-31 00:00"}) {
        EXPECT_EQ(Cli({"log", "--since", date}).exitStatus, 0) << date;
    }
}

TEST_F(CliHostile, ABackupTheRunNamesIsNeverPrunedEvenWhenOnlyOneIsKept) {
    std::ofstream(home / "setting.ini") << "[setup]\nlanguage=english\n[backup]\nkeepFiles=1\n"
                                        << "keepDays=0\n";
    RadioSimProcess sim({"--baud", "115200", "--count", "3", "--serial", "SIM%d"}, 3);
    const auto& paths = sim.devicePaths();
    const ProcessResult run = Cli(
        {"fleet", "read", "--ports", paths[0] + "," + paths[1] + "," + paths[2], "--out-dir", "o"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<Json> audit = AuditLines();
    ASSERT_EQ(audit.size(), 3u);
    for (const Json& line : audit) {
        ASSERT_TRUE(line["backup"].is_string());
        EXPECT_TRUE(fs::exists(line["backup"].get<std::string>())) << line.dump();
    }
}

TEST_F(CliHostile, AFleetReadNeverSavesARadiosImageOverItsBaseOrItsReport) {
    RadioSimProcess sim({"--baud", "115200", "--count", "2", "--serial", "SIM%d"}, 2);
    fs::create_directory(dir / "o");
    testing::WriteBytes(dir / "o" / "SIM1.kda", image);
    const ProcessResult run =
        Cli({"fleet", "read", "--ports", sim.devicePaths()[0] + "," + sim.devicePaths()[1],
             "--out-dir", "o", "--base", "o/SIM1.kda", "--report", "o/SIM2.kda"});
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    EXPECT_NE(run.err.find("o/SIM1.kda is the same file as --base"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("o/SIM2.kda is the same file as --report"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(dir / "o" / "SIM1.kda"), image);
    EXPECT_TRUE(Json::accept(testing::ReadText(dir / "o" / "SIM2.kda")));
}

}  // namespace
}  // namespace halyx::hostile_test
