#include "link/exchange_runner.h"

#include "link/link_port.h"

namespace halyx {

ExchangeRunner::ExchangeRunner(LinkPort* port, QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &ExchangeRunner::Tick);
    SetPort(port);
}

ExchangeRunner::~ExchangeRunner() {
    Release();
}

void ExchangeRunner::SetPort(LinkPort* port) {
    if (port_ != nullptr) {
        disconnect(port_, nullptr, this, nullptr);
    }
    port_ = port;
    link_.SetSink(port);
    link_.SetTrafficLog(port != nullptr ? port->trafficLog() : nullptr);
    if (port != nullptr) {
        connect(port, &LinkPort::byteReceived, this, &ExchangeRunner::OnByte);
        connect(port, &LinkPort::lost, this, &ExchangeRunner::portLost);
    }
}

void ExchangeRunner::SetSelfTicking(bool selfTicking) {
    selfTicking_ = selfTicking;
    if (!selfTicking) {
        timer_.stop();
    } else if (armedTimer_ != kNoTimer) {
        timer_.start();
    }
}

void ExchangeRunner::Start(Exchange& exchange) {
    if (exchange_ != nullptr && exchange_ != &exchange && exchange_->IsRunning()) {
        exchange_->Cancel();
    }
    exchange_ = &exchange;
    // The log may have been attached to the port after it was handed over.
    link_.SetTrafficLog(port_ != nullptr ? port_->trafficLog() : nullptr);
    emit started(&exchange);
    exchange.Start();
}

void ExchangeRunner::Tick() {
    if (exchange_ != nullptr && armedTimer_ != kNoTimer) {
        exchange_->Tick();
    }
}

bool ExchangeRunner::Release() {
    const bool wasRunning = IsRunning();
    if (wasRunning) {
        exchange_->Cancel();
    }
    exchange_ = nullptr;
    timer_.stop();
    armedTimer_ = kNoTimer;
    return wasRunning;
}

void ExchangeRunner::Forget(const Exchange* exchange) {
    if (exchange_ == exchange) {
        exchange_ = nullptr;
        timer_.stop();
        armedTimer_ = kNoTimer;
    }
}

void ExchangeRunner::OnByte(std::uint8_t byte) {
    link_.OnByteReceived(byte);
    if (exchange_ != nullptr && exchange_->IsRunning()) {
        exchange_->Poll();
    }
    emit byteHandled();
}

void ExchangeRunner::OnProgress(int position) {
    emit progressChanged(position);
}

void ExchangeRunner::OnPhaseChanged(ExchangePhase phase) {
    emit phaseChanged(phase);
}

void ExchangeRunner::OnLogMarker(std::string_view line) {
    emit markerLogged(line);
}

void ExchangeRunner::OnTimerChanged(int timerId) {
    armedTimer_ = timerId;
    if (timerId == kNoTimer) {
        timer_.stop();
    } else if (selfTicking_) {
        timer_.start();
    }
    emit timerChanged(timerId);
}

void ExchangeRunner::OnFinished(ExchangeResult result) {
    emit finished(result);
}

}  // namespace halyx
