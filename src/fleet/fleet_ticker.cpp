#include "fleet/fleet_ticker.h"

#include <utility>

#include "link/exchange.h"

namespace halyx {

FleetTicker::FleetTicker(FleetEngine& engine, std::function<void()> onTick,
                         std::function<void()> onFinished)
    : engine_(engine), onTick_(std::move(onTick)), onFinished_(std::move(onFinished)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMilliseconds);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (engine_.IsRunning()) {
            engine_.Tick();
        }
        AfterTick();
    });
}

void FleetTicker::Start() {
    engine_.Start();
    timer_.start();
    // Every port may have failed to open: the run is over before the first tick.
    AfterTick();
}

void FleetTicker::RunToEnd() {
    QEventLoop loop;
    loop_ = &loop;
    Start();
    if (timer_.isActive()) {
        loop.exec();
    }
    loop_ = nullptr;
}

void FleetTicker::AfterTick() {
    if (onTick_) {
        onTick_();
    }
    if (!engine_.IsRunning() && timer_.isActive()) {
        timer_.stop();
        if (onFinished_) {
            onFinished_();
        }
        if (loop_ != nullptr) {
            loop_->quit();
        }
    }
}

}  // namespace halyx
