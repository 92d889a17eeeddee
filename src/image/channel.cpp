#include "image/channel.h"

#include <algorithm>

#include "image/tone_table.h"

namespace halyx {
namespace {

constexpr std::uint8_t kErased = 0xFF;

}  // namespace

bool IsEmptyRecord(const RecordBytes& record) {
    const auto rx = record.begin() + record::kRxFrequency;
    const bool erased = rx[0] == kErased && rx[1] == kErased;
    const bool zero =
        std::all_of(rx, rx + record::kFrequencySize, [](std::uint8_t b) { return b == 0; });
    return erased || zero;
}

Channel::Channel(const RadioImage& image, int number)
    : number_(number), band_(image.bytes[header::kBand]) {
    if (IsValidChannel(number)) {
        std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(number)),
                    kRecordSize, record_.begin());
    }
}

Channel::Channel(int number, const RecordBytes& record, std::uint8_t bandByte)
    : number_(number), record_(record), band_(bandByte) {}

void Channel::StoreInto(RadioImage& image) const {
    if (IsValidChannel(number_)) {
        std::copy(record_.begin(), record_.end(),
                  image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(number_)));
    }
}

bool Channel::IsEmpty() const {
    return IsEmptyRecord(record_);
}

std::uint32_t Channel::RxHertz() const {
    return DecodeFrequency(record_.data() + record::kRxFrequency) * 10;
}

std::uint32_t Channel::TxHertz() const {
    return DecodeFrequency(record_.data() + record::kTxFrequency) * 10;
}

std::string Channel::RxText() const {
    return IsEmpty() ? std::string() : FormatFrequency(RxHertz() / 10);
}

std::string Channel::TxText() const {
    return IsEmpty() ? std::string() : FormatFrequency(TxHertz() / 10);
}

void Channel::PutFrequency(std::size_t offset, std::uint32_t hertz) {
    EncodeFrequency(hertz, record_.data() + offset);
}

// Setting the receive frequency always sets the transmit frequency to it.
FrequencyCorrection Channel::Store(FrequencyCorrection corrected, bool receive) {
    PutFrequency(record::kTxFrequency, corrected.hertz);
    if (receive) {
        PutFrequency(record::kRxFrequency, corrected.hertz);
    }
    return corrected;
}

FrequencyCorrection Channel::SetRxFrequency(std::string_view typed) {
    return Store(CorrectFrequency(typed, band_), true);
}

FrequencyCorrection Channel::SetTxFrequency(std::string_view typed) {
    return Store(CorrectFrequency(typed, band_), false);
}

FrequencyCorrection Channel::SetRxHertz(std::uint32_t hertz) {
    return Store(CorrectHertz(hertz, band_), true);
}

FrequencyCorrection Channel::SetTxHertz(std::uint32_t hertz) {
    return Store(CorrectHertz(hertz, band_), false);
}

SetResult Channel::SetRxTone(std::uint8_t position) {
    if (position >= ToneTable::kSize) {
        return SetResult::Refused(std::string(kToneAllowed));
    }
    record_[record::kRxTone] = position;
    record_[record::kTxTone] = position;
    return SetResult::Accepted();
}

SetResult Channel::SetTxTone(std::uint8_t position) {
    if (position >= ToneTable::kSize) {
        return SetResult::Refused(std::string(kToneAllowed));
    }
    record_[record::kTxTone] = position;
    return SetResult::Accepted();
}

SetResult Channel::SetBandwidth(std::uint8_t value) {
    if (value != kNarrow && value != kWide) {
        return SetResult::Refused(std::string(kBandwidthAllowed));
    }
    record_[record::kBandwidth] = value;
    return SetResult::Accepted();
}

void Channel::Clear() {
    PutFrequency(record::kRxFrequency, 0);
    PutFrequency(record::kTxFrequency, 0);
}

}  // namespace halyx
