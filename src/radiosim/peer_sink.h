#pragma once

#include <cstdint>
#include <vector>

#include "link/exchange.h"
#include "link/frame_link.h"
#include "link/frame_sink.h"
#include "link/traffic_log.h"
#include "radiosim/radio_peer.h"

namespace halyx {

// Joins a FrameLink to an in-process RadioPeer in place of a serial port. Frames written go to the
// peer at once; the peer's answer waits until the owner calls Deliver(), as bytes on a real line
// arrive later (delivered inside Write they would be wiped by the reset that follows every send).
class RadioPeerSink : public FrameSink {
public:
    struct SentFrame {
        int tick;  // the owner's tick count when the frame went out
        std::vector<std::uint8_t> bytes;
    };

    explicit RadioPeerSink(RadioPeer& peer, TrafficLog* log = nullptr) : peer_(peer), log_(log) {}

    // Logs a sent-traffic line (when a log is attached and the sink is open), like the port does.
    void Write(const std::uint8_t* bytes, std::uint16_t length) override;

    // A closed sink drops frames, like a closed port.
    void SetOpen(bool open) { open_ = open; }
    void SetTick(int tick) { tick_ = tick; }

    // Feeds every waiting answer byte to the link, calling exchange->Poll() after each byte when
    // an exchange is given. Returns the number of bytes delivered.
    std::size_t Deliver(FrameLink& link, Exchange* exchange);
    bool HasPendingAnswer() const { return !pending_.empty(); }
    // The answer bytes waiting now, handed to the caller to deliver itself.
    std::vector<std::uint8_t> TakePending();
    RadioPeer& peer() { return peer_; }
    bool isOpen() const { return open_; }

    const std::vector<SentFrame>& sentFrames() const { return sent_; }
    void ClearSentFrames() { sent_.clear(); }

private:
    RadioPeer& peer_;
    TrafficLog* log_;
    bool open_ = true;
    int tick_ = 0;
    std::vector<SentFrame> sent_;
    std::vector<std::uint8_t> pending_;
};

}  // namespace halyx
