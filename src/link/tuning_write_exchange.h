#pragma once

#include "link/write_verify_exchange.h"

namespace halyx {

// Writes the tuning values, then the image's settings block and twenty records, then checks the
// records read back.
//
// Write phase (timer kTuningWriteTimer): SendTestValues (state 1), SendSettings (state 2),
// SendRecord 2..21 (state 3), each answered by ACK, resent on NAK or time-out. Progress 1..20
// (block - 1) on each record's ACK. Then the pause, phase ReadingBack (kept afterwards), and the
// read-back (timer kVerifyTimer) as in a radio write. On a third failure: progress 0, the
// time-out marker in the traffic log, LinkFailure.
//
// The values are copied when Start() runs; the caller keeps the TestValues object.
class TuningWriteExchange : public WriteVerifyExchange {
public:
    TuningWriteExchange(FrameLink& link, const RadioImage& image, const TestValues& values,
                        ExchangeObserver& observer,
                        std::uint16_t pauseTicks = kDefaultVerifyPauseTicks)
        : WriteVerifyExchange(link, image, observer,
                              Flavour{.writeTimer = kTuningWriteTimer,
                                      .progressOffset = 1,
                                      .restorePhaseAtEnd = false,
                                      .logTimeOutMarker = true},
                              pauseTicks),
          values_(values) {}

protected:
    std::optional<TestValues> LeadingValues() const override { return values_; }

private:
    const TestValues& values_;
};

}  // namespace halyx
