#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "fleet/fleet_overrides.h"
#include "fleet/fleet_radio.h"
#include "fleet/fleet_recorder.h"

namespace halyx {

// One image to many radios at once. Each radio has its own port, frame link and exchanges, so a
// radio that fails, stalls or vanishes costs the others nothing. Everything runs on one thread,
// the one whose event loop reads the ports; the face calls Tick() every 10 ms there.
//
// Per radio: open its port, read it, back it up, then (Write mode) build its image from the fleet
// image with its own identity or its overrides, write and verify it against what was sent, and
// record the result with the timings of each phase and the backup path.
class FleetEngine {
public:
    struct Radio {
        FleetRadioSetup setup;
        LinkPort* port = nullptr;  // not owned; outlives the engine
    };

    // `image`: what every radio gets (Write), or what the read is laid over (Read: the bytes that
    // never travel on the link). `recorder` may be null: no backups, no record.
    FleetEngine(const RadioImage& image, std::vector<Radio> radios, FleetRunSettings settings,
                FleetRecorder* recorder);
    ~FleetEngine();
    FleetEngine(const FleetEngine&) = delete;
    FleetEngine& operator=(const FleetEngine&) = delete;

    // Before Start, for overrides keyed by the serial number each radio holds (rows keyed by
    // port are matched by the face before anything is sent). Every write then waits until every
    // radio has been read, and the rows are matched to the serial numbers read. A row that
    // matches no radio, or more than one, means nothing is written: each radio read ends as
    // cancelled with a message naming the rows. Any other overrides given in the setups yield.
    void SetOverridesBySerial(std::vector<OverridesRow> rows);

    // Opens every port and starts every radio.
    void Start();
    void Tick();
    // Ends every radio that has not ended as cancelled.
    void Stop();

    bool IsRunning() const;
    std::size_t size() const { return radios_.size(); }
    const FleetRadio& radio(std::size_t index) const { return *radios_[index]; }
    // One entry per radio, in the order given.
    std::vector<FleetRadioReport> Reports() const;
    bool AllSucceeded() const;

    // The rows keyed by serial number that matched no radio read; set once the writes were
    // held back for them.
    const std::vector<OverridesProblem>& unmatchedOverrides() const { return unmatched_; }

private:
    void ReleaseHeldRadios();

    RadioImage image_;
    FleetRunSettings settings_;
    std::vector<std::unique_ptr<FleetRadio>> radios_;
    std::optional<std::vector<OverridesRow>> serialRows_;
    std::vector<OverridesProblem> unmatched_;
};

}  // namespace halyx
