#include "link/radio_read_exchange.h"

#include <algorithm>

namespace halyx {

RadioReadExchange::RadioReadExchange(FrameLink& link, RadioImage& image, ExchangeObserver& observer)
    : Exchange(observer),
      link_(link),
      image_(image),
      reader_(link, stage_, /*keepSettings=*/true, &observer) {}

void RadioReadExchange::Start() {
    link_.AppendLogLine(kReadStartMarker);
    observer().OnLogMarker(kReadStartMarker);
    reader_.Begin();
    ArmTimer(kReadTimer);
}

void RadioReadExchange::Tick() {
    if (IsRunning()) {
        Handle(reader_.Tick());
    }
}

void RadioReadExchange::Poll() {
    if (IsRunning()) {
        Handle(reader_.Check());
    }
}

void RadioReadExchange::Cancel() {
    ArmTimer(kNoTimer);
}

void RadioReadExchange::Handle(BlockStreamReader::Step step) {
    switch (step) {
        case BlockStreamReader::Step::Waiting:
            return;
        case BlockStreamReader::Step::Complete:
            Commit();
            link_.AppendLogLine(kReadEndMarker);
            observer().OnLogMarker(kReadEndMarker);
            Finish(ExchangeResult::Success);
            return;
        case BlockStreamReader::Step::Failed:
            Finish(ExchangeResult::LinkFailure, [this] { observer().OnProgress(0); });
            return;
    }
}

void RadioReadExchange::Commit() {
    std::copy_n(stage_.begin() + kHeaderOffset, kHeaderSize, image_.bytes.begin() + kHeaderOffset);
    const auto records = static_cast<std::ptrdiff_t>(kFirstRecordOffset);
    std::copy_n(stage_.begin() + records, kRecordsSize, image_.bytes.begin() + records);
}

}  // namespace halyx
