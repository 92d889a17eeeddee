#pragma once

#include <string>

#include "fleet/fleet_port.h"
#include "link/serial_port.h"

namespace halyx {

class TrafficLog;

// A fleet radio's own serial port: its own SerialPort, so its own worker thread, as the
// single-radio link has. Bytes reach the receiver on the thread that created this object.
class SerialFleetPort final : public FleetPort {
public:
    // `devicePath` is opened as given; `log` (may be null) gets this radio's traffic.
    explicit SerialFleetPort(std::string devicePath, TrafficLog* log = nullptr);

    bool Open(SerialByteReceiver& receiver) override;
    FrameSink& sink() override { return port_; }
    void Close() override { port_.Close(); }
    TrafficLog* trafficLog() override { return log_; }

private:
    std::string devicePath_;
    TrafficLog* log_;
    SerialPort port_;
};

}  // namespace halyx
