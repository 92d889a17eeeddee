// Received bytes in any order and amount: the gatherer must stay inside its buffer, and the
// checks must answer the same when asked again, as the exchanges rely on.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "link/frame_format.h"
#include "link/frame_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte says how often the exchange looks at the buffer, as a tick would.
    const std::size_t checkEvery = (data[0] % 16) + 1;
    halyx::FrameLink link;
    for (std::size_t i = 1; i < size; ++i) {
        link.OnByteReceived(data[i]);
        FUZZ_CHECK(link.replyBuffer().GatheredCount() <= halyx::ReplyBuffer::kCapacity);
        if (i % checkEvery != 0) {
            continue;
        }
        const halyx::FrameReply frame = link.CheckFrameReply();
        FUZZ_CHECK(link.CheckFrameReply() == frame);
        const halyx::AckReply ack = link.CheckAckReply();
        FUZZ_CHECK(link.CheckAckReply() == ack);
        if (frame == halyx::FrameReply::Good) {
            const std::uint8_t length = link.replyBuffer().bytes[halyx::frame::kLengthAt];
            // The payload a caller copies must lie inside the buffer.
            FUZZ_CHECK(halyx::frame::kPayloadAt + length <= halyx::ReplyBuffer::kCapacity);
            volatile std::uint8_t sum = 0;
            for (std::uint8_t k = 0; k < length; ++k) {
                sum = static_cast<std::uint8_t>(sum + link.Payload()[k]);
            }
        }
    }
    return 0;
}
