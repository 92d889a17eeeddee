#include "xvfb_server.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <string>

namespace halyx::test {
namespace {

constexpr int kStartTimeoutMilliseconds = 10000;

}  // namespace

bool XvfbServer::Start() {
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    pid_ = fork();
    if (pid_ < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid_ == 0) {
        // The server picks a free display and writes its number to the pipe once it listens.
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, kStartTimeoutMilliseconds) > 0 && read(fds[0], &c, 1) == 1 &&
           std::isdigit(static_cast<unsigned char>(c))) {
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        return false;  // not installed, or it gave up: the destructor reaps it
    }
    display_ = ":" + number;
    return true;
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

}  // namespace halyx::test
