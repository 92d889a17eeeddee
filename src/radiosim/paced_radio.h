#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "radiosim/radio_peer.h"
#include "radiosim/sim_options.h"

namespace halyx {

// Plays a RadioPeer at the pace of a 9600-baud line, whatever carries the bytes (a terminal or a
// TCP connection): each received byte counts as arriving a byte time after the one before, an
// answer leaves no sooner than the byte that completed its request (plus the configured delay),
// and goes out one byte time per byte. Without pacing answers go out at once, whole.
class PacedRadio {
public:
    using Clock = std::chrono::steady_clock;
    using Bytes = std::function<void(const std::uint8_t*, std::size_t)>;

    // `send` puts bytes on the line; `onAnswer`, when given, sees each whole answer first.
    PacedRadio(RadioPeer& peer, const SimOptions& options, Bytes send, Bytes onAnswer = {});

    // Feeds received bytes one at a time, so each answer is timed from the byte that completed
    // its request. Stops early once the radio has gone or the frame limit is reached.
    void Serve(const std::uint8_t* bytes, std::size_t count);
    bool FrameLimitReached() const;

private:
    void SendAnswer(const std::vector<std::uint8_t>& answer, Clock::time_point notBefore);

    RadioPeer& peer_;
    const SimOptions& options_;
    Bytes send_;
    Bytes onAnswer_;
    Clock::duration byteTime_;
    // When the last request byte would have arrived, and when our line is free again.
    Clock::time_point inboundDone_{};
    Clock::time_point outboundFree_{};
};

}  // namespace halyx
