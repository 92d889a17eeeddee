#pragma once

#include <cstdint>

#include "link/frame_format.h"
#include "link/frame_sink.h"
#include "link/reply_buffer.h"
#include "link/traffic_log.h"

namespace halyx {

enum class FrameReply { None = 0, Good = 1, BadChecksum = 2 };
enum class AckReply { None = 0, Ack = 1, Nak = 2 };

// The protocol's one set of shared state: the reply buffer, the exchange counters, where frames go
// and where received traffic is logged. The application creates one and hands it to every
// exchange; everything here runs on the user-interface thread.
//
// Sent traffic is NOT logged here: the sink logs what it actually puts on the line (the serial
// port only while open), so a frame dropped by a closed port leaves no "PC->Radio" line.
class FrameLink {
public:
    explicit FrameLink(FrameSink* sink = nullptr, TrafficLog* log = nullptr)
        : sink_(sink), log_(log) {}
    FrameLink(const FrameLink&) = delete;
    FrameLink& operator=(const FrameLink&) = delete;

    void SetSink(FrameSink* sink) { sink_ = sink; }
    void SetTrafficLog(TrafficLog* log) { log_ = log; }
    TrafficLog* trafficLog() const { return log_; }

    LinkExchange& exchange() { return exchange_; }
    const LinkExchange& exchange() const { return exchange_; }
    const ReplyBuffer& replyBuffer() const { return buffer_; }

    // Builds the long frame, hands it to the sink, then empties the reply buffer so that only
    // answers to this frame are gathered.
    void SendFrame(std::uint8_t operation, std::uint8_t kind, std::uint16_t block,
                   const std::uint8_t* payload, std::uint8_t length);
    // 36 code 10, then empties the reply buffer as SendFrame does.
    void SendAck(std::uint8_t code);

    // The gatherer: call once per received byte, in arrival order.
    void OnByteReceived(std::uint8_t byte);

    // Recognising answers. A recognised frame (Good, BadChecksum, Ack, Nak) ends gathering and
    // stays in the buffer, so its payload can be copied; asking again gives the same answer.
    FrameReply CheckFrameReply();
    AckReply CheckAckReply();

    // Payload of the long frame in the buffer (valid after CheckFrameReply answered Good).
    const std::uint8_t* Payload() const { return buffer_.bytes.data() + frame::kPayloadAt; }
    // Appends a marker line (already encoded, with its "\r\n") when a log is attached.
    void AppendLogLine(std::string_view line);

private:
    void BeginGathering(std::uint8_t startByte);

    FrameSink* sink_ = nullptr;
    TrafficLog* log_ = nullptr;
    ReplyBuffer buffer_;
    LinkExchange exchange_;
};

}  // namespace halyx
