#pragma once

// An in-process radio on a fleet port: frames go to the radio at once, its answers wait until
// the test delivers them, as bytes on a line arrive later. A radio that disappears is reported
// as a lost port, as a pulled cable is.

#include <vector>

#include "fleet/fleet_port.h"
#include "radiosim/radio_peer.h"

namespace halyx::test {

class PeerFleetPort final : public FleetPort, public FrameSink {
public:
    explicit PeerFleetPort(const RadioPeer::Memory& memory, RadioPeerFaults faults = {})
        : peer(memory, faults) {}

    bool Open(SerialByteReceiver& receiver) override {
        if (!openable) {
            return false;
        }
        receiver_ = &receiver;
        return true;
    }
    FrameSink& sink() override { return *this; }
    void Close() override { receiver_ = nullptr; }
    void Write(const std::uint8_t* bytes, std::uint16_t length) override {
        if (receiver_ == nullptr) {
            return;
        }
        const RadioPeer::Bytes answer = peer.Receive(bytes, length);
        pending_.insert(pending_.end(), answer.begin(), answer.end());
    }

    // Hands over what is waiting now; true when anything was handed over.
    bool Deliver() {
        std::vector<std::uint8_t> now;
        now.swap(pending_);
        for (std::uint8_t byte : now) {
            if (receiver_ == nullptr) {
                break;
            }
            receiver_->OnSerialByte(byte, 0);
        }
        if (peer.hasDisappeared() && receiver_ != nullptr && !lostReported_) {
            lostReported_ = true;
            SerialByteReceiver* receiver = receiver_;
            receiver_ = nullptr;
            receiver->OnSerialPortLost(0);
        }
        return !now.empty();
    }
    bool isOpen() const { return receiver_ != nullptr; }

    RadioPeer peer;
    bool openable = true;

private:
    SerialByteReceiver* receiver_ = nullptr;
    std::vector<std::uint8_t> pending_;
    bool lostReported_ = false;
};

}  // namespace halyx::test
