#pragma once

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

// Opens the line to one radio of a run; the dialog's default is a serial port on its own worker.
using FleetPortOpener = std::function<std::unique_ptr<FleetPort>(const std::string& devicePath)>;

// One fleet write as the GUI runs it: the ports, the engine, its history (backups and audit
// lines, program "halyx") and the ticker, alive together for the length of the run.
class FleetRun {
public:
    struct Setup {
        RadioImage image;
        std::vector<FleetRadioSetup> radios;
        // Rows keyed by the serial number each radio holds, matched once all are read.
        std::optional<std::vector<OverridesRow>> serialRows;
        FleetPortOpener openPort;
        HistoryPlaces places;  // unknown: no backups, no audit lines
        std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks;
    };

    FleetRun(Setup setup, std::function<void()> onTick, std::function<void()> onFinished);
    ~FleetRun();
    FleetRun(const FleetRun&) = delete;
    FleetRun& operator=(const FleetRun&) = delete;

    void Start() { ticker_->Start(); }
    void Stop() { engine_->Stop(); }
    bool IsRunning() const { return engine_->IsRunning(); }

    const FleetEngine& engine() const { return *engine_; }
    const FleetHistory& history() const { return *history_; }

private:
    std::unique_ptr<BackupStore> backups_;
    std::unique_ptr<AuditLog> audit_;
    std::unique_ptr<FleetHistory> history_;
    std::vector<std::unique_ptr<FleetPort>> ports_;
    std::unique_ptr<FleetEngine> engine_;
    std::unique_ptr<FleetTicker> ticker_;
};

}  // namespace halyx
