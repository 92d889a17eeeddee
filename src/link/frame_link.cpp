#include "link/frame_link.h"

namespace halyx {

namespace {
// A long reply needs nine bytes at least: an empty-payload frame (eight) is never taken, since
// every answer the application waits for carries data.
constexpr std::uint16_t kMinLongReplyLastIndex = frame::kOverhead;
}  // namespace

void FrameLink::SendFrame(std::uint8_t operation, std::uint8_t kind, std::uint16_t block,
                          const std::uint8_t* payload, std::uint8_t length) {
    const LinkFrame f = LinkFrame::Build(operation, kind, block, payload, length);
    if (sink_ != nullptr) {
        sink_->Write(f.data(), f.size);
    }
    buffer_.Reset();
}

void FrameLink::SendAck(std::uint8_t code) {
    const AckFrame f = AckFrame::Build(code);
    if (sink_ != nullptr) {
        sink_->Write(f.data(), AckFrame::kSize);
    }
    buffer_.Reset();
}

void FrameLink::OnByteReceived(std::uint8_t byte) {
    if (buffer_.inFrame) {
        // A stream that fills the whole buffer without being recognised cannot hold a frame we
        // will ever accept (the longest is 263 bytes, decided by its first bytes). Start over and
        // wait for the next start byte: the radio's next frame can then still be heard, where
        // stopping would leave the buffer stuck until the step's time-out.
        if (buffer_.GatheredCount() >= ReplyBuffer::kCapacity) {
            buffer_.Reset();
        } else {
            ++buffer_.lastIndex;
            buffer_.bytes[buffer_.lastIndex] = byte;
            // A 0x10 may be payload, so it does not end gathering; it only logs what is there.
            if (byte == frame::kEnd && log_ != nullptr) {
                log_->AppendReceived(buffer_.bytes.data(), buffer_.GatheredCount());
            }
            return;
        }
    }
    if (byte == frame::kLongStart || byte == frame::kShortStart) {
        BeginGathering(byte);
    }
}

void FrameLink::BeginGathering(std::uint8_t startByte) {
    buffer_.Reset();
    buffer_.bytes[0] = startByte;
    buffer_.inFrame = true;
}

FrameReply FrameLink::CheckFrameReply() {
    const auto& b = buffer_.bytes;
    if (buffer_.lastIndex < kMinLongReplyLastIndex || b[frame::kStartAt] != frame::kLongStart) {
        return FrameReply::None;
    }
    const std::size_t endAt = frame::kPayloadAt + b[frame::kLengthAt];
    if (b[endAt] != frame::kEnd) {
        return FrameReply::None;
    }
    // The sum counts the checksum position as 0. It is taken without zeroing that byte in the
    // buffer, so asking again (every tick while a bad block is ignored) gives the same answer:
    // with the byte zeroed, a second look at a bad frame whose own sum is 0 would pass it as good.
    const unsigned sum = FrameChecksum(b.data(), static_cast<std::uint16_t>(endAt + 1));
    const auto computed = static_cast<std::uint8_t>((sum - b[frame::kChecksumAt]) & 0xFFu);
    buffer_.inFrame = false;
    return computed == b[frame::kChecksumAt] ? FrameReply::Good : FrameReply::BadChecksum;
}

AckReply FrameLink::CheckAckReply() {
    const auto& b = buffer_.bytes;
    if (buffer_.lastIndex < frame::kShortEndAt || b[frame::kStartAt] != frame::kShortStart ||
        b[frame::kShortEndAt] != frame::kEnd) {
        return AckReply::None;
    }
    if (b[frame::kCodeAt] == kAck) {
        buffer_.inFrame = false;
        return AckReply::Ack;
    }
    if (b[frame::kCodeAt] == kNak) {
        buffer_.inFrame = false;
        return AckReply::Nak;
    }
    return AckReply::None;
}

void FrameLink::AppendLogLine(std::string_view line) {
    if (log_ != nullptr) {
        log_->AppendLine(line);
    }
}

}  // namespace halyx
