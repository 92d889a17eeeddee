#include "radiosim/paced_radio.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace halyx {
namespace {

constexpr long long kLineBitsPerByte = 10;  // start bit, 8 data bits, stop bit

}  // namespace

PacedRadio::PacedRadio(RadioPeer& peer, const SimOptions& options, Bytes send, Bytes onAnswer)
    : peer_(peer),
      options_(options),
      send_(std::move(send)),
      onAnswer_(std::move(onAnswer)),
      byteTime_(std::chrono::duration_cast<Clock::duration>(
          std::chrono::nanoseconds(1'000'000'000LL * kLineBitsPerByte / options.baud))) {}

bool PacedRadio::FrameLimitReached() const {
    return options_.exitAfterFrames > 0 && peer_.framesReceived() >= options_.exitAfterFrames;
}

void PacedRadio::Serve(const std::uint8_t* bytes, std::size_t count) {
    const Clock::time_point now = Clock::now();
    for (std::size_t i = 0; i < count; ++i) {
        if (options_.pacing) {
            inboundDone_ = std::max(now, inboundDone_ + byteTime_);
        }
        const std::vector<std::uint8_t> answer = peer_.Receive(bytes + i, 1);
        if (!answer.empty()) {
            const auto delay = std::chrono::milliseconds(options_.responseDelayMs);
            SendAnswer(answer, (options_.pacing ? inboundDone_ : Clock::now()) + delay);
        }
        if (peer_.hasDisappeared() || FrameLimitReached()) {
            return;
        }
    }
}

void PacedRadio::SendAnswer(const std::vector<std::uint8_t>& answer, Clock::time_point notBefore) {
    if (onAnswer_) {
        onAnswer_(answer.data(), answer.size());
    }
    std::this_thread::sleep_until(notBefore);
    if (!options_.pacing) {
        send_(answer.data(), answer.size());
        return;
    }
    Clock::time_point at = std::max(notBefore, outboundFree_);
    for (const std::uint8_t byte : answer) {
        std::this_thread::sleep_until(at);
        send_(&byte, 1);
        at += byteTime_;
    }
    outboundFree_ = at;
}

}  // namespace halyx
