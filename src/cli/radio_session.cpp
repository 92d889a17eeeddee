#include "cli/radio_session.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "cli/port_doctor_hint.h"
#include "link/port_names.h"
#include "settings/setting_file.h"

namespace halyx::cli {
namespace {

constexpr int kProgressBarWidth = 30;
// How often a stop signal is looked for while an exchange runs: well within a person's patience,
// far from the 10 ms ticks.
constexpr int kStopCheckMs = 50;

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
      runner_(&port_) {
    QObject::connect(&runner_, &ExchangeRunner::progressChanged, &loop_,
                     [this](int position) { DrawProgress(position); });
    QObject::connect(&runner_, &ExchangeRunner::finished, &loop_,
                     [this](ExchangeResult result) { OnFinished(result); });
    QObject::connect(&runner_, &ExchangeRunner::portLost, &loop_, [this] { OnPortLost(); });
    stopCheck_.setInterval(kStopCheckMs);
    QObject::connect(&stopCheck_, &QTimer::timeout, &loop_, [this] { CheckStop(); });
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
    if (!port_.Open(port, baudRate)) {
        const std::string name =
            port.devicePath.empty() ? ComName(port.portNumber) : port.devicePath;
        // The cause names the device itself, which may differ from the COMn the user gave.
        PrintError(name + ": the serial port cannot be opened: " +
                   PortOpenFailureTextEnglish(port_.LastOpenFailure()));
        PrintDoctorHint();
        return false;
    }
    return true;
}

ExchangeResult RadioSession::Run(Exchange& exchange) {
    result_.reset();
    runner_.Start(exchange);
    CheckStop();
    if (!result_ && !stopped()) {
        stopCheck_.start();
        loop_.exec();
        stopCheck_.stop();
    }
    runner_.Release();
    if (terminal_) {
        std::cerr << "\n";
    }
    if (result_.value_or(ExchangeResult::LinkFailure) == ExchangeResult::LinkFailure &&
        !portLost_) {
        PrintDoctorHint();
    }
    return result_.value_or(ExchangeResult::LinkFailure);
}

void RadioSession::CheckStop() {
    if (signals_.requested()) {
        stopSignal_ = signals_.signal();
        // Cancelled where it stands: no further frame goes out, and the caller records it.
        runner_.Release();
        loop_.quit();
    }
}

int RadioSession::StoppedStatus() const {
    PrintError(what_ + ": cancelled by a signal before the end");
    return cli::StoppedStatus(stopSignal_);
}

void RadioSession::PrintDoctorHint() const {
    if (const std::string hint = PortDoctorHint(port_.DevicePath()); !hint.empty()) {
        PrintError("likely cause: " + hint + " (see halyx-cli doctor)");
    }
}

void RadioSession::OnPortLost() {
    if (!portLost_) {
        PrintError(what_ + ": the serial port went away");
    }
    portLost_ = true;
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
