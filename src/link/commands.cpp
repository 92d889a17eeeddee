#include "link/commands.h"

#include <algorithm>

namespace halyx {

namespace {
constexpr std::uint8_t kChannelOneInUse = 1;

std::uint8_t PayloadLength(std::size_t size) {
    return static_cast<std::uint8_t>(size);
}
}  // namespace

void RequestSettings(FrameLink& link) {
    link.SendFrame(kOpRead, kKindSettings, link.exchange().block, nullptr, 0);
}

void SendSettings(FrameLink& link, const RadioImage& image) {
    link.SendFrame(kOpWrite, kKindSettings, link.exchange().block,
                   image.bytes.data() + kHeaderOffset, PayloadLength(kSettingsPayloadSize));
}

std::array<std::uint8_t, kRecordPayloadSize> RecordPayload(const RadioImage& image,
                                                           std::uint16_t block) {
    std::array<std::uint8_t, kRecordPayloadSize> payload{};
    if (!IsRecordBlock(block)) {
        return payload;
    }
    const auto from = image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordBlockOffset(block));
    std::copy(from, from + kRecordPayloadSize, payload.begin());
    if (block == kFirstRecordBlock) {
        payload[record::kInUseMark] = kChannelOneInUse;
    }
    return payload;
}

bool SendRecord(FrameLink& link, const RadioImage& image) {
    const std::uint16_t block = link.exchange().block;
    if (!IsRecordBlock(block)) {
        return false;
    }
    const auto payload = RecordPayload(image, block);
    link.SendFrame(kOpWrite, kKindRecord, block, payload.data(), PayloadLength(kRecordPayloadSize));
    return true;
}

void RequestTestValues(FrameLink& link) {
    const std::array<std::uint8_t, TestValues::kSize> zeros{};
    link.SendFrame(kOpRead, kKindTest, kTestBlock, zeros.data(), PayloadLength(zeros.size()));
}

void SendTestValues(FrameLink& link, const TestValues& values) {
    link.SendFrame(kOpWrite, kKindTest, kTestBlock, values.bytes.data(),
                   PayloadLength(TestValues::kSize));
}

void SendTestPoint(FrameLink& link, const TestPoint& point) {
    link.SendFrame(kOpTestPoint, kKindTest, kTestBlock, point.bytes.data(),
                   PayloadLength(TestPoint::kSize));
}

bool SendTestPointChange(FrameLink& link, TestPoint& point, int row, std::uint8_t position,
                         bool upperBand) {
    if (!ApplyTestPointChange(point, row, position, upperBand)) {
        return false;
    }
    SendTestPoint(link, point);
    return true;
}

}  // namespace halyx
