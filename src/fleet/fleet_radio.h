#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "fleet/fleet_recorder.h"
#include "fleet/fleet_report.h"
#include "link/block_map.h"
#include "link/exchange.h"
#include "link/exchange_discipline.h"
#include "link/exchange_runner.h"
#include "link/link_port.h"

namespace halyx {

// What a fleet run does to each radio.
enum class FleetMode {
    Write,  // read, back up, write the radio's image and verify it
    Read,   // read and back up only
};

// Where a radio of a running fleet is.
enum class FleetPhase { Waiting, Reading, Writing, Verifying, Done };

// Steps of a whole run of one radio, for a progress bar: every block read, written and read back.
inline constexpr int kFleetReadSteps = kBlockCount;
inline constexpr int kFleetWriteSteps = 3 * kBlockCount;

struct FleetRadioSetup {
    std::string portName;
    std::string devicePath;
    RadioOverrides overrides;
};

struct FleetRunSettings {
    FleetMode mode = FleetMode::Write;
    std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks;
    // Milliseconds of a monotonic clock; phase timings are differences of it.
    std::function<std::int64_t()> clock;
};

// One radio of a fleet run: its own exchange runner and exchanges over its own port, ticked by
// the engine (Tick() every 10 ms). Moves to the next phase only after the exchange that ended has
// returned, so no exchange is replaced while its own call is still running.
class FleetRadio final {
public:
    FleetRadio(FleetRadioSetup setup, LinkPort& port, const RadioImage& fleetImage,
               const FleetRunSettings& settings, FleetRecorder* recorder);
    ~FleetRadio();
    FleetRadio(const FleetRadio&) = delete;
    FleetRadio& operator=(const FleetRadio&) = delete;

    // Before Start: once read and backed up, the radio waits for Release or Abandon instead of
    // going on to its write.
    void HoldBeforeWrite() { holdBeforeWrite_ = true; }
    void Start();
    void Tick();
    // Ends the radio as cancelled when it has not ended yet; nothing more is sent.
    void Stop();

    // Read, backed up and waiting to be written (only after HoldBeforeWrite).
    bool held() const { return held_; }
    // A held radio goes on to its write with these overrides in place of its setup's.
    void Release(const RadioOverrides& overrides);
    // A held radio ends as cancelled with `message`; nothing is written to it.
    void Abandon(std::string message);

    FleetPhase phase() const { return phase_; }
    bool done() const { return phase_ == FleetPhase::Done; }
    // Steps done, 0 to kFleetWriteSteps (kFleetReadSteps for a read-only run).
    int progress() const;
    const FleetRadioReport& report() const { return report_; }

private:
    void OnPhaseChanged(ExchangePhase phase);
    void OnPortLost();
    void Advance();
    void AfterRead(ExchangeResult result);
    void AfterWrite(ExchangeResult result);
    void StartWrite();
    void Finish(FleetResult result, std::string message);
    std::int64_t Lap();

    FleetRadioSetup setup_;
    LinkPort& port_;
    const RadioImage& fleetImage_;
    const FleetRunSettings& settings_;
    FleetRecorder* recorder_;
    RadioImage read_;
    RadioImage built_;
    std::unique_ptr<Exchange> exchange_;
    // After the exchange: the runner lets go of it when destroyed.
    ExchangeRunner runner_;
    std::optional<ExchangeResult> ended_;
    bool portLost_ = false;
    bool holdBeforeWrite_ = false;
    bool held_ = false;
    FleetPhase phase_ = FleetPhase::Waiting;
    std::int64_t startedAt_ = 0;
    std::int64_t lapAt_ = 0;
    FleetRadioReport report_;
};

}  // namespace halyx
