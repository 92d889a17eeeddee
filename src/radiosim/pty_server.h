#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "radiosim/paced_radio.h"
#include "radiosim/radio_peer.h"
#include "radiosim/sim_options.h"

namespace halyx {

// Serves a RadioPeer on the master side of a pseudo-terminal, pacing bytes at the line speed in
// both directions. Keeps its own descriptor of the slave side open, so a client may close and
// re-open the device without the master seeing a hang-up.
class PtyServer {
public:
    PtyServer(RadioPeer& peer, const SimOptions& options);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the terminal in raw mode. Returns false with a reason in `error`.
    bool Open(std::string& error);
    const std::string& slavePath() const { return slavePath_; }

    // Serves until `stop` is set, the frame limit is reached or the radio disappears.
    void Run(const std::atomic<bool>& stop);

private:
    using Clock = std::chrono::steady_clock;

    void Serve(const std::uint8_t* bytes, std::size_t count);
    void WriteAll(const std::uint8_t* bytes, std::size_t count);
    void Log(const std::string& what, const std::uint8_t* bytes, std::size_t count) const;
    bool FrameLimitReached() const;
    void WaitUntilTaken();
    void CloseTerminal();

    RadioPeer& peer_;
    const SimOptions& options_;
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    PacedRadio radio_;
};

}  // namespace halyx
