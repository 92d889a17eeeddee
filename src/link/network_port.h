#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QTcpSocket>

#include "link/com_port_client.h"
#include "link/link_port.h"
#include "link/network_address.h"
#include "link/port_open_failure.h"
#include "link/serial_line_settings.h"

namespace halyx {

// The link port on a serial line shared over the network (network_address.h): a TCP connection
// read on the owner's thread exactly as SerialPort reads its device, so the exchanges, the
// traffic log and the fleet cannot tell the two apart. Over rfc2217:// the line is set up
// through the Telnet COM-PORT option before Open returns, and every 0xFF of the radio's data is
// escaped on the way out and unescaped on the way in.
//
// Open waits (bounded) for the connection and the server's confirmations, so a failure is known
// before anything is sent; a connection that drops afterwards is reported as lost, and a server
// that merely stops answering leaves the exchange to its own time-outs.
class NetworkPort final : public LinkPort {
public:
    // Bounds on Open: connecting (name look-up included), then the line set-up.
    static constexpr int kConnectTimeoutMs = 5000;
    static constexpr int kNegotiationTimeoutMs = 3000;

    explicit NetworkPort(TrafficLog* log = nullptr, QObject* parent = nullptr);
    ~NetworkPort() override;

    // LinkPort: the port's device path must be a network address.
    bool Open(const PortText& port,
              std::uint32_t baudRate = SerialLineSettings::kLinkBaudRate) override;
    // Connects to `address` (as network_address.h writes it) and sets the line up. A raw TCP
    // line cannot be set from here: its far end is taken to run at what was asked.
    bool OpenAddress(const std::string& address, const SerialLineSettings& line = {});
    void Close() override;
    bool IsOpen() const override { return open_; }
    PortOpenFailure LastOpenFailure() const override { return lastFailure_; }

    // Sends one frame (escaped for Telnet) and logs it. Dropped when closed or lost; never blocks.
    void Write(const std::uint8_t* bytes, std::uint16_t length) override;

private:
    bool Connect(const NetworkAddress& address);
    bool Negotiate(const SerialLineSettings& line);
    void Fail(PortOpenCause cause, std::string detail = {});
    void SendRaw(const std::vector<std::uint8_t>& bytes);
    // Takes what the socket holds: data (unescaped) and, over Telnet, answers the server's talk.
    std::vector<std::uint8_t> TakeInput();
    void ReadAvailable();
    void OnDropped();
    void CloseLostPort();
    void AcknowledgeAtOnce();

    QTcpSocket socket_;
    std::optional<ComPortClient> telnet_;
    std::string addressText_;
    PortOpenFailure lastFailure_;
    std::uint32_t writeCapacity_ = SerialLineSettings::kLinkWriteCapacity;
    std::uint64_t generation_ = 0;
    bool open_ = false;
    bool reading_ = false;
    bool losing_ = false;
};

}  // namespace halyx
