#include "link/write_verify_exchange.h"

#include <algorithm>

namespace halyx {

WriteVerifyExchange::WriteVerifyExchange(FrameLink& link, const RadioImage& image,
                                         ExchangeObserver& observer, Flavour flavour,
                                         std::uint16_t pauseTicks)
    : Exchange(observer),
      link_(link),
      flavour_(flavour),
      pauseTicks_(pauseTicks),
      writer_(link, image, observer, flavour.progressOffset),
      reader_(link, readBack_, /*keepSettings=*/false, /*progress=*/nullptr) {}

void WriteVerifyExchange::Start() {
    phase_ = Phase::Writing;
    failedPartWritten_ = false;
    writer_.Begin(LeadingValues());
    ArmTimer(flavour_.writeTimer);
}

void WriteVerifyExchange::Tick() {
    switch (phase_) {
        case Phase::Idle:
            return;
        case Phase::Writing:
            HandleWrite(writer_.Tick());
            return;
        case Phase::Pausing:
            if (++pauseElapsed_ >= pauseTicks_) {
                BeginVerify();
            }
            return;
        case Phase::Verifying:
            HandleVerify(reader_.Tick());
            return;
    }
}

void WriteVerifyExchange::Poll() {
    if (phase_ == Phase::Writing) {
        HandleWrite(writer_.Check());
    } else if (phase_ == Phase::Verifying) {
        HandleVerify(reader_.Check());
    }
}

void WriteVerifyExchange::Cancel() {
    phase_ = Phase::Idle;
    ArmTimer(kNoTimer);
}

void WriteVerifyExchange::HandleWrite(BlockStreamWriter::Step step) {
    if (step == BlockStreamWriter::Step::Failed) {
        Fail();
    } else if (step == BlockStreamWriter::Step::Complete) {
        // Give the radio time to store what it was sent before asking for it back.
        phase_ = Phase::Pausing;
        pauseElapsed_ = 0;
        if (pauseTicks_ == 0) {
            BeginVerify();
        }
    }
}

void WriteVerifyExchange::BeginVerify() {
    observer().OnPhaseChanged(ExchangePhase::ReadingBack);
    phase_ = Phase::Verifying;
    reader_.Begin();
    ArmTimer(kVerifyTimer);
}

void WriteVerifyExchange::HandleVerify(BlockStreamReader::Step step) {
    if (step == BlockStreamReader::Step::Failed) {
        Fail();
    } else if (step == BlockStreamReader::Step::Complete) {
        // Compared with what went out, so record block 2's forced in-use mark is not a difference.
        const auto& sent = writer_.sentRecords();
        const auto from = static_cast<std::ptrdiff_t>(kFirstRecordOffset);
        const auto to = static_cast<std::ptrdiff_t>(kRecordsEnd);
        const bool equal =
            std::equal(readBack_.begin() + from, readBack_.begin() + to, sent.begin() + from);
        phase_ = Phase::Idle;
        Finish(equal ? ExchangeResult::Success : ExchangeResult::ReadBackDiffers, [this] {
            if (flavour_.restorePhaseAtEnd) {
                observer().OnPhaseChanged(ExchangePhase::Writing);
            }
        });
    }
}

void WriteVerifyExchange::Fail() {
    // A failure in the read-back also counts: the radio took the whole write, but nothing shows
    // what it holds now.
    failedPartWritten_ =
        phase_ == Phase::Verifying || link_.exchange().state == BlockStreamWriter::kRecordSent;
    phase_ = Phase::Idle;
    Finish(ExchangeResult::LinkFailure, [this] {
        observer().OnProgress(0);
        if (flavour_.restorePhaseAtEnd) {
            observer().OnPhaseChanged(ExchangePhase::Writing);
        }
        if (flavour_.logTimeOutMarker) {
            link_.AppendLogLine(kTimeOutMarker);
            observer().OnLogMarker(kTimeOutMarker);
        }
    });
}

}  // namespace halyx
