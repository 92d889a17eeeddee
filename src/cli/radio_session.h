#pragma once

#include <QEventLoop>
#include <QTimer>
#include <optional>
#include <string>

#include "cli/stop_signals.h"
#include "link/exchange.h"
#include "link/exchange_runner.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"

namespace halyx::cli {

// One conversation with a radio on the command line: the same serial port, exchange runner and
// exchanges as the window, waited for in a local event loop. Needs a QCoreApplication.
class RadioSession final {
public:
    // `what` names the operation in progress output ("read", "write", ...).
    RadioSession(std::string what, int progressEnd);
    ~RadioSession();
    RadioSession(const RadioSession&) = delete;
    RadioSession& operator=(const RadioSession&) = delete;

    // Opens the traffic log (optional) and the port; false with a message on standard error.
    bool OpenLog(const std::string& path);
    bool OpenPort(const PortText& port, std::uint32_t baudRate);

    FrameLink& link() { return runner_.link(); }
    // What the exchanges are built with as their observer.
    ExchangeRunner& runner() { return runner_; }
    // Whether the device went away during the run.
    bool portLost() const { return portLost_; }

    // Runs `exchange` (built on link() and runner()) to its end and returns its result. A stop
    // signal (Ctrl-C, SIGTERM, SIGHUP) cancels it: stopped() is then true and the result means
    // nothing.
    ExchangeResult Run(Exchange& exchange);
    bool stopped() const { return stopSignal_ != 0; }
    // Says on standard error that the operation was stopped; the status to exit with.
    int StoppedStatus() const;

private:
    void DrawProgress(int position);
    void OnFinished(ExchangeResult result);
    void OnPortLost();
    void CheckStop();
    // The port doctor's likely cause for a port that failed, when it finds one.
    void PrintDoctorHint() const;

    std::string what_;
    int progressEnd_;
    bool terminal_;
    TrafficLog log_;
    SerialPort port_;
    ExchangeRunner runner_;
    QEventLoop loop_;
    std::optional<ExchangeResult> result_;
    bool portLost_ = false;
    StopSignals signals_;
    QTimer stopCheck_;
    int stopSignal_ = 0;
};

}  // namespace halyx::cli
