#pragma once

#include <functional>

#include <QEventLoop>
#include <QTimer>

#include "fleet/fleet_engine.h"

namespace halyx {

// Drives a FleetEngine from the Qt event loop of the thread its ports deliver bytes on: starts
// it, ticks it every 10 ms and stops ticking when every radio has ended.
class FleetTicker {
public:
    // `onTick` runs after every tick (progress for a face); `onFinished` once, at the end.
    FleetTicker(FleetEngine& engine, std::function<void()> onTick = {},
                std::function<void()> onFinished = {});

    void Start();
    // Start, then wait in a local event loop until every radio has ended.
    void RunToEnd();
    bool IsRunning() const { return timer_.isActive(); }

private:
    void AfterTick();

    FleetEngine& engine_;
    std::function<void()> onTick_;
    std::function<void()> onFinished_;
    QTimer timer_;
    QEventLoop* loop_ = nullptr;
};

}  // namespace halyx
