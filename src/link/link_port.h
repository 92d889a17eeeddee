#pragma once

#include <cstdint>

#include <QObject>

#include "link/frame_sink.h"
#include "link/port_names.h"
#include "link/port_open_failure.h"
#include "link/serial_line_settings.h"

namespace halyx {

class TrafficLog;

// The one line to a radio, as every face and exchange runner sees it: open it, send frames into
// it (FrameSink), hear each received byte and the loss of the device as signals. Everything
// happens on the thread that owns the port, driven by its event loop; there is no worker.
//
// The serial port (SerialPort) is the implementation the programs use; tests put an in-process
// radio behind the same interface, and network ports can join without the runner noticing.
class LinkPort : public QObject, public FrameSink {
    Q_OBJECT

public:
    explicit LinkPort(TrafficLog* log = nullptr, QObject* parent = nullptr)
        : QObject(parent), log_(log) {}
    ~LinkPort() override;

    // This line's traffic log: the port writes a line per frame it sends while open, the runner
    // on it one per frame received and the exchanges' marker lines. May be null.
    void SetTrafficLog(TrafficLog* log) { log_ = log; }
    TrafficLog* trafficLog() const { return log_; }

    // Opens `port` (a COM number or a device path) with the link's line at `baudRate`, closing
    // whatever was open first. False (closed) when it names nothing or cannot be opened;
    // LastOpenFailure() then says why.
    virtual bool Open(const PortText& port,
                      std::uint32_t baudRate = SerialLineSettings::kLinkBaudRate) = 0;
    // Harmless when closed. No byte is signalled after it returns.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Why the last open failed; cause None after one that succeeded.
    virtual PortOpenFailure LastOpenFailure() const { return {}; }

signals:
    // One received byte, in arrival order. Receivers may write, close or re-open the port.
    void byteReceived(std::uint8_t byte);
    // The device went away (cable pulled, adapter unplugged, peer closed); the port has closed.
    void lost();

private:
    TrafficLog* log_ = nullptr;
};

}  // namespace halyx
