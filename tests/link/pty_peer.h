#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace halyx::testing {

// A pseudo-terminal whose slave stands in for a serial port (open it by SlavePath()) and whose
// master plays the radio. The slave is raw, so bytes pass unchanged; the test keeps a slave
// descriptor open, so the line survives the port being closed and re-opened.
class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Writes all bytes as the radio; false when the line will not take them within `timeout`.
    bool Send(const std::vector<std::uint8_t>& bytes,
              std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Writes what the line takes now without waiting; returns how many bytes went.
    std::size_t SendSome(const std::uint8_t* bytes, std::size_t count);
    // Reads until `count` bytes have come or `timeout` has passed; returns what came.
    std::vector<std::uint8_t> Receive(std::size_t count, std::chrono::milliseconds timeout);
    // Whatever has arrived by now, without waiting.
    std::vector<std::uint8_t> ReceiveAvailable();

    // The radio goes away: the master closes and the slave sees a hang-up.
    void CloseMaster();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Runs the calling thread's Qt event loop until `done` holds or `timeout` passes; true when it
// held. The predicate is looked at after every event and at least once a millisecond.
bool RunEventsUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace halyx::testing
