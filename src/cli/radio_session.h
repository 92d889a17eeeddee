#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <optional>
#include <string>

#include "link/exchange.h"
#include "link/frame_link.h"
#include "link/port_names.h"
#include "link/serial_byte_receiver.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"

namespace halyx::cli {

// One conversation with a radio on the command line: the same serial engine, frame link and
// exchanges as the window, driven by a 10 ms timer in a local event loop. Needs a QCoreApplication.
class RadioSession final : public SerialByteReceiver, public ExchangeObserver {
public:
    // `what` names the operation in progress output ("read", "write", ...).
    RadioSession(std::string what, int progressEnd);
    ~RadioSession() override;

    // Opens the traffic log (optional) and the port; false with a message on standard error.
    bool OpenLog(const std::string& path);
    bool OpenPort(const PortText& port, std::uint32_t baudRate);

    FrameLink& link() { return link_; }
    // Whether the device went away during the run.
    bool portLost() const { return portLost_; }

    // Runs `exchange` to its end and returns its result.
    ExchangeResult Run(Exchange& exchange);

    // SerialByteReceiver
    void OnSerialByte(std::uint8_t byte, int portNumber) override;
    void OnSerialPortLost(int portNumber) override;

    // ExchangeObserver
    void OnProgress(int position) override;
    void OnFinished(ExchangeResult result) override;

private:
    void DrawProgress(int position);

    std::string what_;
    int progressEnd_;
    bool terminal_;
    TrafficLog log_;
    SerialPort port_;
    FrameLink link_;
    Exchange* running_ = nullptr;
    QTimer ticker_;
    QEventLoop loop_;
    std::optional<ExchangeResult> result_;
    bool portLost_ = false;
};

}  // namespace halyx::cli
