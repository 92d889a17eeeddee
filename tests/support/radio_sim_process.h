#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/run_process.h"

namespace halyx::testing {

// halyx-radiosim running as its own process for the length of a test: the radio at the other end
// of a pseudo-terminal, exactly as a programming cable would present it.
class RadioSimProcess {
public:
    // `terminals`: how many paths the simulator prints (one per radio with --count).
    explicit RadioSimProcess(const std::vector<std::string>& args, int terminals = 1) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            std::vector<std::string> all{BuiltProgram("halyx-radiosim").string()};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& arg : all) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        // One line per terminal to open.
        for (int i = 0; i < terminals; ++i) {
            std::string path;
            char c = 0;
            while (read(out[0], &c, 1) == 1 && c != '\n') {
                path.push_back(c);
            }
            devicePaths_.push_back(path);
        }
        devicePath_ = devicePaths_.front();
        close(out[0]);
    }
    ~RadioSimProcess() { Stop(); }
    RadioSimProcess(const RadioSimProcess&) = delete;
    RadioSimProcess& operator=(const RadioSimProcess&) = delete;

    const std::string& devicePath() const { return devicePath_; }
    const std::vector<std::string>& devicePaths() const { return devicePaths_; }

    // Ends the simulator (it saves its memory when asked to) and waits for it.
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    std::string devicePath_;
    std::vector<std::string> devicePaths_;
};

}  // namespace halyx::testing
