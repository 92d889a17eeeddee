#include "fleet/fleet_engine.h"

#include <algorithm>
#include <chrono>

namespace halyx {

FleetEngine::FleetEngine(const RadioImage& image, std::vector<Radio> radios,
                         FleetRunSettings settings, FleetRecorder* recorder)
    : image_(image), settings_(std::move(settings)) {
    if (!settings_.clock) {
        settings_.clock = [] {
            using namespace std::chrono;
            return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        };
    }
    radios_.reserve(radios.size());
    for (Radio& r : radios) {
        radios_.push_back(
            std::make_unique<FleetRadio>(std::move(r.setup), *r.port, image_, settings_, recorder));
    }
}

FleetEngine::~FleetEngine() = default;

void FleetEngine::Start() {
    for (auto& radio : radios_) {
        radio->Start();
    }
}

void FleetEngine::Tick() {
    for (auto& radio : radios_) {
        radio->Tick();
    }
}

void FleetEngine::Stop() {
    for (auto& radio : radios_) {
        radio->Stop();
    }
}

bool FleetEngine::IsRunning() const {
    return std::any_of(radios_.begin(), radios_.end(),
                       [](const auto& radio) { return !radio->done(); });
}

std::vector<FleetRadioReport> FleetEngine::Reports() const {
    std::vector<FleetRadioReport> reports;
    reports.reserve(radios_.size());
    for (const auto& radio : radios_) {
        reports.push_back(radio->report());
    }
    return reports;
}

bool FleetEngine::AllSucceeded() const {
    return std::all_of(radios_.begin(), radios_.end(), [](const auto& radio) {
        return radio->done() && radio->report().result == FleetResult::Success;
    });
}

}  // namespace halyx
