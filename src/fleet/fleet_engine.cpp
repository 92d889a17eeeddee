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

void FleetEngine::SetOverridesBySerial(std::vector<OverridesRow> rows) {
    serialRows_ = std::move(rows);
    if (settings_.mode != FleetMode::Write) {
        return;
    }
    for (auto& radio : radios_) {
        radio->HoldBeforeWrite();
    }
}

void FleetEngine::Start() {
    for (auto& radio : radios_) {
        radio->Start();
    }
    ReleaseHeldRadios();
}

void FleetEngine::Tick() {
    for (auto& radio : radios_) {
        radio->Tick();
    }
    ReleaseHeldRadios();
}

void FleetEngine::ReleaseHeldRadios() {
    const auto waiting = [](const auto& radio) { return radio->held() || radio->done(); };
    const auto held = [](const auto& radio) { return radio->held(); };
    if (!serialRows_ || !std::all_of(radios_.begin(), radios_.end(), waiting) ||
        std::none_of(radios_.begin(), radios_.end(), held)) {
        return;
    }
    // Radios that failed their read have no serial number to match; a row meant for one of them
    // is unmatched like any other.
    std::vector<std::string> serials;
    for (const auto& radio : radios_) {
        serials.push_back(radio->held() ? radio->report().serialBefore : std::string());
    }
    const OverridesMatch match =
        MatchOverrides(FleetOverrides{OverridesKey::Radio, *serialRows_}, serials);
    if (!match.ok()) {
        unmatched_ = match.problems;
        std::string message = "nothing was written: the overrides do not match the radios read (";
        for (std::size_t i = 0; i < match.problems.size(); ++i) {
            message += (i > 0 ? "; " : "") + DescribeOverridesProblem(match.problems[i]);
        }
        message += ")";
        for (auto& radio : radios_) {
            radio->Abandon(message);
        }
        return;
    }
    for (std::size_t i = 0; i < radios_.size(); ++i) {
        radios_[i]->Release(match.perRadio[i]);
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
