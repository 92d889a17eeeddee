#include "fleet/fleet_session.h"

#include <utility>

#include "link/serial_port.h"

namespace halyx {

FleetSession::FleetSession(Setup setup) {
    if (setup.places.known()) {
        if (setup.keepBackups) {
            backups_ = std::make_unique<BackupStore>(setup.places.backupFolder);
        }
        audit_ = std::make_unique<AuditLog>(setup.places.auditPath);
    }
    FleetHistory::Setup history;
    history.backups = backups_.get();
    history.retention = setup.places.retention;
    history.audit = audit_.get();
    history.program = std::move(setup.program);
    history.operation = std::move(setup.operation);
    history_ = std::make_unique<FleetHistory>(std::move(history));

    if (!setup.openPort) {
        setup.openPort = [](const std::string&, std::size_t) {
            return std::make_unique<SerialPort>();
        };
    }
    std::vector<FleetEngine::Radio> radios;
    for (std::size_t i = 0; i < setup.radios.size(); ++i) {
        ports_.push_back(setup.openPort(setup.radios[i].devicePath, i));
        radios.push_back({std::move(setup.radios[i]), ports_.back().get()});
    }
    FleetRunSettings settings;
    settings.mode = setup.mode;
    settings.verifyPauseTicks = setup.verifyPauseTicks;
    engine_ = std::make_unique<FleetEngine>(setup.image, std::move(radios), std::move(settings),
                                            history_.get());
    if (setup.serialRows) {
        engine_->SetOverridesBySerial(std::move(*setup.serialRows));
    }
}

FleetSession::~FleetSession() {
    // The ticker goes before the engine it ticks, the engine before the ports its radios close.
    ticker_.reset();
    engine_.reset();
}

void FleetSession::Start(std::function<void()> onTick, std::function<void()> onFinished) {
    ticker_ = std::make_unique<FleetTicker>(*engine_, std::move(onTick), std::move(onFinished));
    ticker_->Start();
}

void FleetSession::RunToEnd(std::function<void()> onTick) {
    ticker_ = std::make_unique<FleetTicker>(*engine_, std::move(onTick));
    ticker_->RunToEnd();
}

}  // namespace halyx
