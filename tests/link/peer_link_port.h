#pragma once

// An in-process radio behind the link port, for tests of everything above the port: frames
// written go to the radio at once; its answers wait until the test delivers them, byte by byte as
// the serial port signals them, as bytes on a line arrive later. A radio that disappears is
// reported as a lost device, as a pulled cable is.

#include <cstdint>
#include <memory>
#include <vector>

#include "link/link_port.h"
#include "link/traffic_log.h"
#include "radiosim/peer_sink.h"
#include "radiosim/radio_peer.h"

namespace halyx::test {

class PeerLinkPort final : public LinkPort {
public:
    // On a radio the test keeps (its sink records what was sent). Closed until opened, as a
    // port is.
    explicit PeerLinkPort(RadioPeerSink& sink) : sink_(&sink) { sink_->SetOpen(false); }
    // On a radio of its own.
    explicit PeerLinkPort(const RadioPeer::Memory& memory, RadioPeerFaults faults = {})
        : ownPeer_(std::make_unique<RadioPeer>(memory, faults)),
          ownSink_(std::make_unique<RadioPeerSink>(*ownPeer_)),
          sink_(ownSink_.get()) {
        sink_->SetOpen(false);
    }

    bool Open(const PortText& port, std::uint32_t baudRate) override {
        opened.push_back({port.portNumber, baudRate});
        openedDevices.push_back(port.devicePath);
        sink_->SetOpen(succeed);
        lostReported_ = false;
        return succeed;
    }
    void Close() override {
        ++closes;
        sink_->SetOpen(false);
    }
    bool IsOpen() const override { return sink_->isOpen(); }
    PortOpenFailure LastOpenFailure() const override {
        return succeed ? PortOpenFailure{} : failure;
    }
    void Write(const std::uint8_t* bytes, std::uint16_t length) override {
        if (IsOpen() && trafficLog() != nullptr) {
            trafficLog()->AppendSent(bytes, length);
        }
        sink_->Write(bytes, length);
    }

    // Hands over what waits now; the number of bytes handed over.
    std::size_t Deliver() {
        const std::vector<std::uint8_t> now = sink_->TakePending();
        std::size_t delivered = 0;
        for (std::uint8_t byte : now) {
            if (!IsOpen()) {
                break;
            }
            ++delivered;
            emit byteReceived(byte);
        }
        if (sink_->peer().hasDisappeared() && IsOpen() && !lostReported_) {
            Vanish();
        }
        return delivered;
    }
    // The device goes away: the port closes itself and says so.
    void Vanish() {
        lostReported_ = true;
        sink_->SetOpen(false);
        emit lost();
    }

    RadioPeer& peer() { return sink_->peer(); }
    const RadioPeer& peer() const { return sink_->peer(); }
    RadioPeerSink& sink() { return *sink_; }

    struct Opening {
        int portNumber;
        std::uint32_t baudRate;
        bool operator==(const Opening&) const = default;
    };
    std::vector<int> openedNumbers() const {
        std::vector<int> numbers;
        for (const Opening& o : opened) {
            numbers.push_back(o.portNumber);
        }
        return numbers;
    }

    bool succeed = true;
    // What a failed open reports: one cause, so the boxes' detail text can be checked.
    PortOpenFailure failure{PortOpenCause::InUse, "COM1", {}, {}};
    std::vector<Opening> opened;
    std::vector<std::string> openedDevices;
    int closes = 0;

private:
    std::unique_ptr<RadioPeer> ownPeer_;
    std::unique_ptr<RadioPeerSink> ownSink_;
    RadioPeerSink* sink_;
    bool lostReported_ = false;
};

}  // namespace halyx::test
