#include "fleet/fleet_radio.h"

#include <utility>

#include "image/write_target.h"
#include "link/block_map.h"
#include "link/radio_read_exchange.h"
#include "link/radio_write_exchange.h"

namespace halyx {
namespace {

constexpr std::string_view kPartlyWritten = "; the radio may hold a partly written configuration";

constexpr std::string_view kHeldNothingWritten = " before the write; nothing was written";

std::string LostMessage(FleetPhase phase, bool held) {
    if (held) {
        return std::string("the serial port went away").append(kHeldNothingWritten);
    }
    switch (phase) {
        case FleetPhase::Writing:
            return std::string("the serial port went away during the write").append(kPartlyWritten);
        case FleetPhase::Verifying:
            return "the serial port went away during the read-back";
        default:
            return "the serial port went away during the read";
    }
}

std::string StopMessage(FleetPhase phase, bool held) {
    if (held) {
        return std::string("stopped").append(kHeldNothingWritten);
    }
    switch (phase) {
        case FleetPhase::Writing:
            return std::string("stopped during the write").append(kPartlyWritten);
        case FleetPhase::Verifying:
            return "stopped during the read-back";
        case FleetPhase::Reading:
            return "stopped during the read; nothing was written";
        default:
            return "stopped before it began";
    }
}

}  // namespace

FleetRadio::FleetRadio(FleetRadioSetup setup, LinkPort& port, const RadioImage& fleetImage,
                       const FleetRunSettings& settings, FleetRecorder* recorder)
    : setup_(std::move(setup)),
      port_(port),
      fleetImage_(fleetImage),
      settings_(settings),
      recorder_(recorder),
      read_(fleetImage),
      runner_(&port) {
    report_.portName = setup_.portName;
    report_.devicePath = setup_.devicePath;
    // The engine ticks every radio from one timer.
    runner_.SetSelfTicking(false);
    QObject::connect(&runner_, &ExchangeRunner::phaseChanged, &runner_,
                     [this](ExchangePhase phase) { OnPhaseChanged(phase); });
    QObject::connect(&runner_, &ExchangeRunner::finished, &runner_,
                     [this](ExchangeResult result) { ended_ = result; });
    QObject::connect(&runner_, &ExchangeRunner::byteHandled, &runner_, [this] { Advance(); });
    QObject::connect(&runner_, &ExchangeRunner::portLost, &runner_, [this] { OnPortLost(); });
}

FleetRadio::~FleetRadio() {
    runner_.Release();
    port_.Close();
}

void FleetRadio::Start() {
    startedAt_ = lapAt_ = settings_.clock();
    phase_ = FleetPhase::Reading;
    const bool opened = port_.Open(PortText{0, setup_.devicePath});
    report_.times.open = Lap();
    if (!opened) {
        Finish(FleetResult::PortError, "the serial port cannot be opened");
        return;
    }
    exchange_ = std::make_unique<RadioReadExchange>(runner_.link(), read_, runner_);
    runner_.Start(*exchange_);
    Advance();
}

void FleetRadio::Tick() {
    runner_.Tick();
    Advance();
}

void FleetRadio::Stop() {
    if (done()) {
        return;
    }
    runner_.Release();
    Finish(FleetResult::Cancelled, StopMessage(phase_, held_));
}

int FleetRadio::progress() const {
    // The exchange counters name the block awaited, so the blocks before it are done.
    const int block = runner_.link().exchange().block;
    const int before = block > 0 ? block - kSettingsBlock : 0;
    switch (phase_) {
        case FleetPhase::Waiting:
            return 0;
        case FleetPhase::Reading:
            return held_ ? kFleetReadSteps : before;
        case FleetPhase::Writing:
            return kFleetReadSteps + before;
        case FleetPhase::Verifying:
            return 2 * kFleetReadSteps + before;
        case FleetPhase::Done:
            break;
    }
    if (report_.result != FleetResult::Success) {
        return 0;
    }
    return settings_.mode == FleetMode::Read ? kFleetReadSteps : kFleetWriteSteps;
}

void FleetRadio::OnPortLost() {
    portLost_ = true;
    Advance();
}

void FleetRadio::OnPhaseChanged(ExchangePhase phase) {
    if (phase == ExchangePhase::ReadingBack && phase_ == FleetPhase::Writing) {
        report_.times.write = Lap();
        phase_ = FleetPhase::Verifying;
    }
}

void FleetRadio::Advance() {
    if (done()) {
        return;
    }
    if (ended_) {
        const ExchangeResult result = *ended_;
        ended_.reset();
        if (phase_ == FleetPhase::Reading) {
            AfterRead(result);
        } else {
            AfterWrite(result);
        }
        return;
    }
    if (portLost_) {
        runner_.Release();
        Finish(FleetResult::PortError, LostMessage(phase_, held_));
    }
}

void FleetRadio::AfterRead(ExchangeResult result) {
    report_.times.read += Lap();
    if (result != ExchangeResult::Success) {
        Finish(FleetResult::LinkFailure, "the radio did not answer the read; nothing was written");
        return;
    }
    report_.imageRead = read_;
    report_.serialBefore = SerialNumberOf(read_);
    report_.userIdBefore = UserIdOf(read_);
    if (recorder_ != nullptr) {
        const BackupOutcome backup = recorder_->SaveBackup(read_);
        report_.times.backup = Lap();
        if (!backup.ok()) {
            Finish(FleetResult::BackupError,
                   "the backup could not be saved (" + backup.error + "); nothing was written");
            return;
        }
        report_.backupPath = backup.path;
    }
    if (settings_.mode == FleetMode::Read) {
        Finish(FleetResult::Success, {});
        return;
    }
    // The band is the radio's hardware: an image of the other band would leave every channel
    // outside what it can tune. The same check as a single write's.
    if (const WriteTarget target = CheckWriteTarget(read_, fleetImage_); !target.bandMatches()) {
        Finish(FleetResult::OtherBand,
               "refused: the radio is a " + std::string(BandName(target.radioBand)) +
                   " radio and the image is for " + std::string(BandName(target.imageBand)) +
                   "; nothing was written");
        return;
    }
    if (holdBeforeWrite_) {
        held_ = true;
        return;
    }
    StartWrite();
}

void FleetRadio::Release(const RadioOverrides& overrides) {
    if (!held_ || done()) {
        return;
    }
    held_ = false;
    setup_.overrides = overrides;
    StartWrite();
}

void FleetRadio::Abandon(std::string message) {
    if (!held_ || done()) {
        return;
    }
    Finish(FleetResult::Cancelled, std::move(message));
}

void FleetRadio::StartWrite() {
    built_ = BuildRadioImage(fleetImage_, read_, setup_.overrides);
    report_.imageWritten = built_;
    report_.serialAfter = SerialNumberOf(built_);
    report_.userIdAfter = UserIdOf(built_);
    phase_ = FleetPhase::Writing;
    // Time spent waiting for the other radios' reads belongs to no phase.
    lapAt_ = settings_.clock();
    // The old exchange has returned from the call that ended it, so it may go now.
    runner_.Release();
    exchange_ = std::make_unique<RadioWriteExchange>(runner_.link(), built_, runner_,
                                                     settings_.verifyPauseTicks);
    runner_.Start(*exchange_);
}

void FleetRadio::AfterWrite(ExchangeResult result) {
    switch (result) {
        case ExchangeResult::Success:
            Finish(FleetResult::Success, {});
            return;
        case ExchangeResult::ReadBackDiffers:
            Finish(FleetResult::ReadBackDiffers,
                   "the records read back differ from what was written");
            return;
        case ExchangeResult::LinkFailure:
            report_.writeRefused = phase_ == FleetPhase::Writing;
            Finish(FleetResult::LinkFailure,
                   phase_ == FleetPhase::Writing
                       ? std::string("the radio did not accept the write").append(kPartlyWritten)
                       : std::string("the radio did not answer the read-back"));
            return;
    }
}

void FleetRadio::Finish(FleetResult result, std::string message) {
    // Whatever time is left since the last lap belongs to the phase that was running; a radio
    // waiting for the others' reads is in none.
    if (held_) {
        Lap();
    } else if (phase_ == FleetPhase::Writing) {
        report_.times.write += Lap();
    } else if (phase_ == FleetPhase::Verifying) {
        report_.times.verify += Lap();
    } else {
        report_.times.read += Lap();
    }
    phase_ = FleetPhase::Done;
    held_ = false;
    report_.result = result;
    report_.message = std::move(message);
    report_.durationMs = settings_.clock() - startedAt_;
    port_.Close();
    if (recorder_ != nullptr) {
        recorder_->RadioFinished(report_);
    }
}

std::int64_t FleetRadio::Lap() {
    const std::int64_t now = settings_.clock();
    const std::int64_t spent = now - lapAt_;
    lapAt_ = now;
    return spent;
}

}  // namespace halyx
