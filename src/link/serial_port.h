#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QSerialPort>

#include "link/link_port.h"
#include "link/network_port.h"
#include "link/port_open_failure.h"
#include "link/serial_line_settings.h"

namespace halyx {

class TrafficLog;

// The link port on a serial line. The QSerialPort lives on the owner's thread and is read
// asynchronously (readyRead), as Qt's own serial examples do: each received byte is signalled
// in order; a frame written purges the input that arrived before it, so only answers to that
// frame are gathered; a device that vanishes is closed at once and reported as lost.
//
// A port named by a network address (rfc2217://HOST:PORT, tcp://HOST:PORT), given directly or
// through the "devices" mapping, is the serial line of another machine: the port then works
// through a NetworkPort with the same behaviour, so every face reaches such radios unchanged.
//
// Create, open, write, close and destroy on one thread, which must run a Qt event loop for bytes
// to arrive.
class SerialPort final : public LinkPort {
public:
    // Device path for a port number; empty when the number names no device.
    using PortResolver = std::function<std::string(int portNumber)>;

    // `log` receives a sent-traffic line per frame written while open; may be null. `resolver`
    // turns port numbers into devices; when empty, the system listing alone is used (see
    // port_names.h); callers that keep a "devices" mapping pass a resolver that applies it.
    explicit SerialPort(TrafficLog* log = nullptr, PortResolver resolver = {},
                        QObject* parent = nullptr);
    ~SerialPort() override;

    void SetPortResolver(PortResolver resolver);

    // LinkPort: COMn through the resolver, or the device path as given.
    bool Open(const PortText& port,
              std::uint32_t baudRate = SerialLineSettings::kLinkBaudRate) override;
    // Opens a device path (or a network address) with any line: parity 0 none, 1 odd, 2 even, 3
    // mark, 4 space; byte size 5 to 8; stop bits 0 one, 1 one and a half, 2 two; no flow control;
    // DTR and RTS raised where the device allows it. Frames longer than the line's write capacity
    // are dropped. `portNumber` is only kept for PortNumber().
    bool OpenDevice(const std::string& devicePath, int portNumber,
                    const SerialLineSettings& line = {});
    void Close() override;
    bool IsOpen() const override { return port_.isOpen() || network_.IsOpen(); }
    PortOpenFailure LastOpenFailure() const override { return lastFailure_; }

    // Sends one frame and appends its sent-traffic line to the log. Dropped without a trace when
    // the port is closed or lost, or the frame is longer than the write capacity. Never blocks.
    void Write(const std::uint8_t* bytes, std::uint16_t length) override;

    int PortNumber() const { return portNumber_; }
    const std::string& DevicePath() const { return devicePath_; }

private:
    bool Configure();
    void ReadAvailable();
    void OnError(QSerialPort::SerialPortError error);
    bool DeviceHasGone(QSerialPort::SerialPortError error);
    void CloseLostPort();

    PortResolver resolver_;
    // Behind the interface only as a QIODevice where bytes are read and written, so another
    // kind of device can take its place.
    QSerialPort port_;
    NetworkPort network_;
    SerialLineSettings line_;
    std::string devicePath_;
    PortOpenFailure lastFailure_;
    int portNumber_ = 0;
    // Bumped by every write, open and close: bytes read before it are not handed on after it.
    std::uint64_t generation_ = 0;
    bool reading_ = false;
    bool losing_ = false;
};

}  // namespace halyx
