#include "link/frame_format.h"

#include <cstring>

namespace halyx {

std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::uint16_t count) {
    unsigned sum = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        sum += bytes[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFFu);
}

LinkFrame LinkFrame::Build(std::uint8_t operation, std::uint8_t kind, std::uint16_t block,
                           const std::uint8_t* payload, std::uint8_t length) {
    LinkFrame f;
    f.bytes[frame::kStartAt] = frame::kLongStart;
    f.bytes[frame::kOperationAt] = operation;
    f.bytes[frame::kKindAt] = kind;
    f.bytes[frame::kBlockLowAt] = static_cast<std::uint8_t>(block & 0xFFu);
    f.bytes[frame::kBlockHighAt] = static_cast<std::uint8_t>(block >> 8);
    f.bytes[frame::kChecksumAt] = 0;
    f.bytes[frame::kLengthAt] = length;
    if (length > 0 && payload != nullptr) {
        std::memcpy(f.bytes.data() + frame::kPayloadAt, payload, length);
    }
    f.bytes[frame::kPayloadAt + length] = frame::kEnd;
    f.size = static_cast<std::uint16_t>(length + frame::kOverhead);
    f.bytes[frame::kChecksumAt] = FrameChecksum(f.bytes.data(), f.size);
    return f;
}

AckFrame AckFrame::Build(std::uint8_t code) {
    AckFrame f;
    f.bytes = {frame::kShortStart, code, frame::kEnd};
    return f;
}

}  // namespace halyx
