#pragma once

#include <cstdint>
#include <string_view>

#include <QObject>
#include <QTimer>

#include "link/exchange.h"
#include "link/frame_link.h"

namespace halyx {

class LinkPort;

// Runs one exchange at a time on one port: the frame link between them, the gatherer fed byte by
// byte as the port signals them (each followed by a Poll, so an answer is acted on at once), and
// the 10 ms tick the exchange asks for. What the exchange tells its face comes out as signals;
// phases are values, so each face picks its own words.
//
// Build an exchange on link() with this runner as its observer, then Start it here. The runner
// holds the exchange until Release (or the next Start); the exchange must outlive that.
//
// Ticks come from the runner's own timer, or from the owner (SetSelfTicking(false): a fleet
// ticks all its radios from one timer; tests call Tick directly and never sleep).
class ExchangeRunner : public QObject, public ExchangeObserver {
    Q_OBJECT

public:
    explicit ExchangeRunner(LinkPort* port = nullptr, QObject* parent = nullptr);
    ~ExchangeRunner() override;

    // The port frames go to and bytes come from; not owned. Swapping it while an exchange runs
    // leaves that exchange to time out.
    void SetPort(LinkPort* port);
    LinkPort* port() const { return port_; }
    FrameLink& link() { return link_; }
    const FrameLink& link() const { return link_; }
    void SetSelfTicking(bool selfTicking);

    // Starts `exchange` (built on link() and this runner). A held exchange still running is
    // cancelled first.
    void Start(Exchange& exchange);
    // One 10 ms tick for the held exchange while it has a timer armed.
    void Tick();
    // Cancels the held exchange if it runs (no result is reported) and lets go of it. True when
    // it was running.
    bool Release();
    // Lets go of `exchange` without touching it (it is being destroyed); nothing when another
    // exchange is held.
    void Forget(const Exchange* exchange);

    // An exchange is held (started and not released): the link is in use.
    bool IsBusy() const { return exchange_ != nullptr; }
    const Exchange* held() const { return exchange_; }
    bool IsRunning() const { return exchange_ != nullptr && exchange_->IsRunning(); }
    // The timer the held exchange has armed (kNoTimer: none), and whether ticks are flowing.
    int armedTimer() const { return armedTimer_; }
    bool isTimerActive() const { return timer_.isActive(); }

    // ExchangeObserver: what the exchange tells is passed on as signals.
    void OnProgress(int position) override;
    void OnPhaseChanged(ExchangePhase phase) override;
    void OnLogMarker(std::string_view line) override;
    void OnTimerChanged(int timerId) override;
    void OnFinished(ExchangeResult result) override;

signals:
    // Another exchange has taken the runner: a face listening for an earlier one stops here.
    void started(const halyx::Exchange* exchange);
    void progressChanged(int position);
    void phaseChanged(halyx::ExchangePhase phase);
    // A marker line (GBK bytes with "\r\n"), already in the traffic log.
    void markerLogged(std::string_view line);
    void timerChanged(int timerId);
    // Once per started exchange that is not cancelled. The exchange's closing resets (progress
    // 0, the phase back, the time-out marker) are signalled after the receivers return.
    void finished(halyx::ExchangeResult result);
    // After each received byte has been gathered and looked at.
    void byteHandled();
    // The port's device went away; the port is closed, a running exchange will time out.
    void portLost();

private:
    void OnByte(std::uint8_t byte);

    LinkPort* port_ = nullptr;
    FrameLink link_;
    Exchange* exchange_ = nullptr;
    QTimer timer_;
    int armedTimer_ = kNoTimer;
    bool selfTicking_ = true;
};

}  // namespace halyx
