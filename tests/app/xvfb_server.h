#pragma once

#include <sys/types.h>
#include <string>

namespace halyx::test {

// A virtual X server of the test's own, so that pressing lock keys never touches the keyboard
// of a desktop the tests happen to run on. Stopped when the object goes.
class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer();

    // Starts Xvfb on a free display; false when it is not installed or does not come up.
    bool Start();
    // ":N" once started.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace halyx::test
