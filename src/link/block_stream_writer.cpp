#include "link/block_stream_writer.h"

#include <algorithm>

#include "link/block_map.h"
#include "link/commands.h"
#include "link/exchange_discipline.h"

namespace halyx {

void BlockStreamWriter::Begin(const std::optional<TestValues>& leadingValues) {
    LinkExchange& ex = link_.exchange();
    ex.ticks = 0;
    ex.retries = 0;
    if (leadingValues.has_value()) {
        values_ = *leadingValues;
        ex.state = kValuesSent;
    } else {
        ex.block = kSettingsBlock;
        ex.state = kSettingsSent;
    }
    SendCurrent();
}

void BlockStreamWriter::SendCurrent() {
    const LinkExchange& ex = link_.exchange();
    switch (ex.state) {
        case kValuesSent:
            SendTestValues(link_, values_);
            break;
        case kSettingsSent:
            SendSettings(link_, image_);
            break;
        default: {
            const auto payload = RecordPayload(image_, ex.block);
            std::copy(payload.begin(), payload.end(),
                      sent_.begin() + static_cast<std::ptrdiff_t>(RecordBlockOffset(ex.block)));
            SendRecord(link_, image_);
            break;
        }
    }
}

BlockStreamWriter::Step BlockStreamWriter::Tick() {
    switch (CountTick(link_.exchange())) {
        case StepOutcome::Waiting:
            return Check();
        case StepOutcome::Retry:
            SendCurrent();
            return Step::Waiting;
        case StepOutcome::Failed:
            break;
    }
    return Step::Failed;
}

BlockStreamWriter::Step BlockStreamWriter::Check() {
    LinkExchange& ex = link_.exchange();
    switch (link_.CheckAckReply()) {
        case AckReply::None:
            return Step::Waiting;
        case AckReply::Nak:
            if (CountRejection(ex) == StepOutcome::Failed) {
                return Step::Failed;
            }
            SendCurrent();
            return Step::Waiting;
        case AckReply::Ack:
            break;
    }
    AcceptAnswer(ex);
    if (ex.state == kValuesSent) {
        ex.block = kSettingsBlock;
        ex.state = kSettingsSent;
    } else if (ex.state == kSettingsSent) {
        ex.block = kFirstRecordBlock;
        ex.state = kRecordSent;
    } else {
        observer_.OnProgress(ex.block - progressOffset_);
        if (ex.block >= kLastRecordBlock) {
            return Step::Complete;
        }
        ++ex.block;
    }
    SendCurrent();
    return Step::Waiting;
}

}  // namespace halyx
