#include "cli/radio_session.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "link/port_names.h"
#include "settings/setting_file.h"

namespace halyx::cli {
namespace {

constexpr int kProgressBarWidth = 30;

}  // namespace

RadioSession::RadioSession(std::string what, int progressEnd)
    : what_(std::move(what)),
      progressEnd_(progressEnd),
      terminal_(isatty(STDERR_FILENO) != 0),
      // COMn goes through the setting file's "devices" mapping, as in the window.
      port_(&log_,
            [settings = SettingFile()](int portNumber) {
                return ResolvePortDevice(portNumber, DevicesFromSettingFile(settings));
            }),
      link_(&port_, &log_) {
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(kTickMilliseconds);
    QObject::connect(&ticker_, &QTimer::timeout, &loop_, [this] {
        if (running_ != nullptr && running_->IsRunning()) {
            running_->Tick();
        }
    });
}

RadioSession::~RadioSession() {
    port_.Close();
}

bool RadioSession::OpenLog(const std::string& path) {
    if (path.empty() || log_.Open(path)) {
        return true;
    }
    PrintError(path + ": cannot create the traffic log");
    return false;
}

bool RadioSession::OpenPort(const PortText& port, std::uint32_t baudRate) {
    SerialLineSettings line;
    line.baudRate = baudRate;
    const bool opened =
        port.devicePath.empty()
            ? port_.Open(this, port.portNumber, baudRate, line.parity, line.byteSize, line.stopBits,
                         line.eventMask, line.writeCapacity)
            : port_.OpenDevice(this, port.devicePath, 0, line);
    if (!opened) {
        const std::string name =
            port.devicePath.empty() ? ComName(port.portNumber) : port.devicePath;
        // The cause names the device itself, which may differ from the COMn the user gave.
        PrintError(name + ": the serial port cannot be opened: " +
                   PortOpenFailureTextEnglish(port_.LastOpenFailure()));
        return false;
    }
    port_.StartWorker();
    return true;
}

ExchangeResult RadioSession::Run(Exchange& exchange) {
    running_ = &exchange;
    result_.reset();
    ticker_.start();
    exchange.Start();
    if (!result_) {
        loop_.exec();
    }
    ticker_.stop();
    running_ = nullptr;
    if (terminal_) {
        std::cerr << "\n";
    }
    return result_.value_or(ExchangeResult::LinkFailure);
}

void RadioSession::OnSerialByte(std::uint8_t byte, int) {
    link_.OnByteReceived(byte);
    if (running_ != nullptr && running_->IsRunning()) {
        running_->Poll();
    }
}

void RadioSession::OnSerialPortLost(int) {
    if (!portLost_) {
        PrintError(what_ + ": the serial port went away");
    }
    portLost_ = true;
}

void RadioSession::OnProgress(int position) {
    DrawProgress(position);
}

void RadioSession::OnFinished(ExchangeResult result) {
    result_ = result;
    loop_.quit();
}

void RadioSession::DrawProgress(int position) {
    if (!terminal_ || progressEnd_ <= 0) {
        return;
    }
    const int filled = position * kProgressBarWidth / progressEnd_;
    std::string bar(static_cast<std::size_t>(std::max(0, filled)), '#');
    bar.resize(kProgressBarWidth, '.');
    std::fprintf(stderr, "\r%s [%s] %d/%d", what_.c_str(), bar.c_str(), position, progressEnd_);
    std::fflush(stderr);
}

}  // namespace halyx::cli
