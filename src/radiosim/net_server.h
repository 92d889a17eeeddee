#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "radiosim/com_port_server.h"
#include "radiosim/paced_radio.h"
#include "radiosim/radio_peer.h"
#include "radiosim/sim_options.h"

namespace halyx {

// Serves a RadioPeer on a TCP port of this machine (127.0.0.1), as a serial server would share
// a real radio's cable: raw bytes, or Telnet with the COM-PORT option. One client at a time; the
// next may connect when it has gone. Bytes are paced at the line speed as on a terminal.
class NetServer {
public:
    NetServer(RadioPeer& peer, const SimOptions& options);
    ~NetServer();
    NetServer(const NetServer&) = delete;
    NetServer& operator=(const NetServer&) = delete;

    // Starts listening (port 0: any free port). Returns false with a reason in `error`.
    bool Open(std::string& error);
    // The address a client names: "rfc2217://127.0.0.1:4001".
    std::string address() const;

    // Serves until `stop` is set, the frame limit is reached or the radio disappears.
    void Run(const std::atomic<bool>& stop);

private:
    using Clock = std::chrono::steady_clock;

    bool Accept();
    void Drop();
    void Take(const std::uint8_t* bytes, std::size_t count);
    void SendLine(const std::uint8_t* bytes, std::size_t count);
    void WriteAll(const std::uint8_t* bytes, std::size_t count);
    bool FrameLimitReached() const;
    bool telnet() const { return options_.listen == SimListen::ComPort; }

    RadioPeer& peer_;
    const SimOptions& options_;
    int listener_ = -1;
    int client_ = -1;
    int port_ = 0;
    std::optional<ComPortServer> session_;
    PacedRadio radio_;
};

}  // namespace halyx
