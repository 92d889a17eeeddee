#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fleet/fleet_engine.h"
#include "fleet/fleet_history.h"
#include "fleet/fleet_overrides.h"
#include "fleet/fleet_ticker.h"
#include "history/audit_log.h"
#include "history/backup_store.h"
#include "history/history_places.h"

namespace halyx {

// Makes the port of radio `index` (0-based) of a run, which the radio opens on `devicePath`; by
// default a serial port.
using FleetPortOpener =
    std::function<std::unique_ptr<LinkPort>(const std::string& devicePath, std::size_t index)>;

// One fleet run with everything it needs alive together: each radio's port, its history (backups
// and audit lines), the engine and the ticker. The command line and the window both run fleets
// through it, so both keep the same records the same way.
class FleetSession {
public:
    struct Setup {
        FleetMode mode = FleetMode::Write;
        RadioImage image;
        std::vector<FleetRadioSetup> radios;
        // Rows keyed by the serial number each radio holds, matched once all are read.
        std::optional<std::vector<OverridesRow>> serialRows;
        HistoryPlaces places;  // unknown: no backups, no audit lines
        bool keepBackups = true;
        std::string program;    // "halyx", "halyx-cli"
        std::string operation;  // "fleet write", "fleet read"
        std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks;
        FleetPortOpener openPort;
    };

    explicit FleetSession(Setup setup);
    ~FleetSession();
    FleetSession(const FleetSession&) = delete;
    FleetSession& operator=(const FleetSession&) = delete;

    // Starts every radio and ticks them from the event loop; `onTick` runs after every tick,
    // `onFinished` once at the end.
    void Start(std::function<void()> onTick = {}, std::function<void()> onFinished = {});
    // Start, then wait in a local event loop until every radio has ended.
    void RunToEnd(std::function<void()> onTick = {});
    void Stop() { engine_->Stop(); }
    bool IsRunning() const { return engine_->IsRunning(); }

    FleetEngine& engine() { return *engine_; }
    const FleetEngine& engine() const { return *engine_; }
    const FleetHistory& history() const { return *history_; }

private:
    std::unique_ptr<BackupStore> backups_;
    std::unique_ptr<AuditLog> audit_;
    std::unique_ptr<FleetHistory> history_;
    std::vector<std::unique_ptr<LinkPort>> ports_;
    std::unique_ptr<FleetEngine> engine_;
    std::unique_ptr<FleetTicker> ticker_;
};

}  // namespace halyx
