#pragma once

#include "link/exchange.h"
#include "link/frame_link.h"
#include "link/tuning_data.h"

namespace halyx {

// Reads the radio's twelve tuning-value bytes into `values`.
//
// Frames: RequestTestValues, sent again at each of the first two time-outs. A reply with a bad
// checksum is ignored (a correct resend within the same wait is taken). Timer kReadTimer.
// Result: Success (values filled) or LinkFailure after the third time-out (values untouched).
class TuningReadExchange : public Exchange {
public:
    TuningReadExchange(FrameLink& link, TestValues& values, ExchangeObserver& observer)
        : Exchange(observer), link_(link), values_(values) {}

    void Start() override;
    void Tick() override;
    void Poll() override;
    void Cancel() override;

private:
    FrameLink& link_;
    TestValues& values_;
};

}  // namespace halyx
