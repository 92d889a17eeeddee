#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace halyx::testing {

struct ProcessResult {
    int exitStatus = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// A built program: $HALYX_BINARY_DIR/bin/<name>.
inline std::filesystem::path BuiltProgram(const std::string& name) {
    const char* dir = std::getenv("HALYX_BINARY_DIR");
    return std::filesystem::path(dir != nullptr ? dir : ".") / "bin" / name;
}

// The repository checkout: $HALYX_SOURCE_DIR.
inline std::filesystem::path SourceDir() {
    const char* dir = std::getenv("HALYX_SOURCE_DIR");
    return std::filesystem::path(dir != nullptr ? dir : ".");
}

// Runs a program to completion in `cwd` with extra environment variables, capturing its output.
// With `timeLimitSeconds`, a program still running then is killed (exit status -1), so a hang
// fails the test instead of stalling the suite.
inline ProcessResult RunProcess(const std::filesystem::path& program,
                                const std::vector<std::string>& args,
                                const std::filesystem::path& cwd,
                                const std::vector<std::pair<std::string, std::string>>& env = {},
                                unsigned timeLimitSeconds = 0) {
    const std::filesystem::path out = cwd / ".halyx-test-stdout";
    const std::filesystem::path err = cwd / ".halyx-test-stderr";
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0) {
            _exit(127);
        }
        for (const auto& [name, value] : env) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int inFd = open("/dev/null", O_RDONLY);
        dup2(inFd, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        std::vector<std::string> all{program.string()};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (timeLimitSeconds != 0) {
            alarm(timeLimitSeconds);  // kept across exec; the default action ends the program
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ProcessResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(out);
    result.err = ReadText(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

}  // namespace halyx::testing
