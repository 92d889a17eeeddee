#include "link/block_stream_reader.h"

#include <algorithm>

#include "link/block_map.h"
#include "link/commands.h"
#include "link/exchange_discipline.h"

namespace halyx {

void BlockStreamReader::Begin() {
    LinkExchange& ex = link_.exchange();
    ex.block = kSettingsBlock;
    RequestSettings(link_);
    ex.state = kAwaitingSettings;
    ex.ticks = 0;
    ex.retries = 0;
}

BlockStreamReader::Step BlockStreamReader::Tick() {
    switch (CountTick(link_.exchange())) {
        case StepOutcome::Waiting:
            return Check();
        case StepOutcome::Retry:
            link_.SendAck(kNak);
            return Step::Waiting;
        case StepOutcome::Failed:
            break;
    }
    return Step::Failed;
}

BlockStreamReader::Step BlockStreamReader::Check() {
    return link_.exchange().state == kAwaitingSettings ? CheckSettings() : CheckRecord();
}

BlockStreamReader::Step BlockStreamReader::CheckSettings() {
    LinkExchange& ex = link_.exchange();
    switch (link_.CheckFrameReply()) {
        case FrameReply::None:
            return Step::Waiting;
        case FrameReply::BadChecksum: {
            // The NAK goes out even on the third rejection.
            const StepOutcome outcome = CountRejection(ex);
            link_.SendAck(kNak);
            return outcome == StepOutcome::Failed ? Step::Failed : Step::Waiting;
        }
        case FrameReply::Good:
            break;
    }
    AcceptAnswer(ex);
    if (keepSettings_) {
        std::copy_n(link_.Payload(), kSettingsPayloadSize, target_.begin() + kHeaderOffset);
    }
    link_.SendAck(kAck);
    ex.state = kAwaitingRecord;
    ex.block = kFirstRecordBlock;
    return Step::Waiting;
}

BlockStreamReader::Step BlockStreamReader::CheckRecord() {
    LinkExchange& ex = link_.exchange();
    // A record with a bad checksum is not answered: the time-out's NAK asks for it again.
    if (link_.CheckFrameReply() != FrameReply::Good || !IsRecordBlock(ex.block)) {
        return Step::Waiting;
    }
    AcceptAnswer(ex);
    const auto at = static_cast<std::ptrdiff_t>(RecordBlockOffset(ex.block));
    std::copy_n(link_.Payload(), kRecordPayloadSize, target_.begin() + at);
    if (progress_ != nullptr) {
        progress_->OnProgress(ex.block);
    }
    if (ex.block == kLastRecordBlock) {
        // The last record is not acknowledged.
        return Step::Complete;
    }
    ++ex.block;
    link_.SendAck(kAck);
    return Step::Waiting;
}

}  // namespace halyx
