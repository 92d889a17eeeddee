#include "link/tuning_read_exchange.h"

#include <algorithm>

#include "link/commands.h"
#include "link/exchange_discipline.h"

namespace halyx {

void TuningReadExchange::Start() {
    RequestTestValues(link_);
    link_.exchange().ticks = 0;
    link_.exchange().retries = 0;
    ArmTimer(kReadTimer);
}

void TuningReadExchange::Tick() {
    if (!IsRunning()) {
        return;
    }
    switch (CountTick(link_.exchange())) {
        case StepOutcome::Waiting:
            Poll();
            return;
        case StepOutcome::Retry:
            RequestTestValues(link_);
            return;
        case StepOutcome::Failed:
            Finish(ExchangeResult::LinkFailure);
            return;
    }
}

void TuningReadExchange::Poll() {
    if (!IsRunning() || link_.CheckFrameReply() != FrameReply::Good) {
        return;
    }
    AcceptAnswer(link_.exchange());
    std::copy_n(link_.Payload(), TestValues::kSize, values_.bytes.begin());
    Finish(ExchangeResult::Success);
}

void TuningReadExchange::Cancel() {
    ArmTimer(kNoTimer);
}

}  // namespace halyx
