#include "app/fleet_run.h"

#include <utility>

#include "fleet/serial_fleet_port.h"

namespace halyx {
namespace {

constexpr std::string_view kProgram = "halyx";
constexpr std::string_view kOperation = "fleet write";

}  // namespace

FleetRun::FleetRun(Setup setup, std::function<void()> onTick, std::function<void()> onFinished) {
    if (setup.places.known()) {
        backups_ = std::make_unique<BackupStore>(setup.places.backupFolder);
        audit_ = std::make_unique<AuditLog>(setup.places.auditPath);
    }
    FleetHistory::Setup history;
    history.backups = backups_.get();
    history.retention = setup.places.retention;
    history.audit = audit_.get();
    history.program = kProgram;
    history.operation = kOperation;
    history_ = std::make_unique<FleetHistory>(std::move(history));

    if (!setup.openPort) {
        setup.openPort = [](const std::string& devicePath) {
            return std::make_unique<SerialFleetPort>(devicePath);
        };
    }
    std::vector<FleetEngine::Radio> radios;
    for (FleetRadioSetup& radio : setup.radios) {
        ports_.push_back(setup.openPort(radio.devicePath));
        radios.push_back({std::move(radio), ports_.back().get()});
    }
    FleetRunSettings settings;
    settings.mode = FleetMode::Write;
    settings.verifyPauseTicks = setup.verifyPauseTicks;
    engine_ = std::make_unique<FleetEngine>(setup.image, std::move(radios), std::move(settings),
                                            history_.get());
    if (setup.serialRows) {
        engine_->SetOverridesBySerial(std::move(*setup.serialRows));
    }
    ticker_ = std::make_unique<FleetTicker>(*engine_, std::move(onTick), std::move(onFinished));
}

FleetRun::~FleetRun() {
    // The ticker goes before the engine it ticks, the engine before the ports its radios close.
    ticker_.reset();
    engine_.reset();
}

}  // namespace halyx
