#include "radiosim/peer_sink.h"

namespace halyx {

void RadioPeerSink::Write(const std::uint8_t* bytes, std::uint16_t length) {
    if (!open_) {
        return;
    }
    if (log_ != nullptr) {
        log_->AppendSent(bytes, length);
    }
    sent_.push_back(SentFrame{tick_, std::vector<std::uint8_t>(bytes, bytes + length)});
    const RadioPeer::Bytes answer = peer_.Receive(bytes, length);
    pending_.insert(pending_.end(), answer.begin(), answer.end());
}

std::vector<std::uint8_t> RadioPeerSink::TakePending() {
    std::vector<std::uint8_t> now;
    now.swap(pending_);
    return now;
}

std::size_t RadioPeerSink::Deliver(FrameLink& link, Exchange* exchange) {
    // Answers to frames sent while delivering (an ACK after a record) queue up behind; take only
    // what is waiting now so the owner's loop decides when the next answer "arrives".
    const std::vector<std::uint8_t> now = TakePending();
    for (std::uint8_t byte : now) {
        link.OnByteReceived(byte);
        if (exchange != nullptr) {
            exchange->Poll();
        }
    }
    return now.size();
}

}  // namespace halyx
