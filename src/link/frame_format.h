#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace halyx {

// Wire layout of the two frame shapes the application and the radio exchange.
//   long frame:  35 op kind block-lo block-hi checksum n payload[n] 10
//   short frame: 36 code 10
namespace frame {
inline constexpr std::uint8_t kLongStart = 0x35;
inline constexpr std::uint8_t kShortStart = 0x36;
inline constexpr std::uint8_t kEnd = 0x10;

// Offsets inside a long frame.
inline constexpr std::size_t kStartAt = 0;
inline constexpr std::size_t kOperationAt = 1;
inline constexpr std::size_t kKindAt = 2;
inline constexpr std::size_t kBlockLowAt = 3;
inline constexpr std::size_t kBlockHighAt = 4;
inline constexpr std::size_t kChecksumAt = 5;
inline constexpr std::size_t kLengthAt = 6;
inline constexpr std::size_t kPayloadAt = 7;
// Everything but the payload: seven header bytes and the end byte.
inline constexpr std::size_t kOverhead = 8;
inline constexpr std::size_t kMaxPayload = 255;
inline constexpr std::size_t kMaxLongSize = kMaxPayload + kOverhead;

// Offsets inside a short frame.
inline constexpr std::size_t kCodeAt = 1;
inline constexpr std::size_t kShortEndAt = 2;
inline constexpr std::size_t kShortSize = 3;
}  // namespace frame

// Operations.
inline constexpr std::uint8_t kOpRead = 1;
inline constexpr std::uint8_t kOpWrite = 2;
inline constexpr std::uint8_t kOpTestPoint = 3;

// Block kinds.
inline constexpr std::uint8_t kKindSettings = 2;
inline constexpr std::uint8_t kKindRecord = 3;
inline constexpr std::uint8_t kKindTest = 4;

// Short-frame codes.
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x05;

// Low 8 bits of the sum of `count` bytes. Callers zero the checksum position first: the sum is
// defined with that byte counted as 0, on both sides of the line.
std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::uint16_t count);

// A complete long frame, checksum filled in.
struct LinkFrame {
    std::array<std::uint8_t, frame::kMaxLongSize> bytes{};
    std::uint16_t size = 0;

    static LinkFrame Build(std::uint8_t operation, std::uint8_t kind, std::uint16_t block,
                           const std::uint8_t* payload, std::uint8_t length);
    const std::uint8_t* data() const { return bytes.data(); }
};

// A complete short frame: ACK or NAK.
struct AckFrame {
    std::array<std::uint8_t, frame::kShortSize> bytes{};

    static AckFrame Build(std::uint8_t code);
    const std::uint8_t* data() const { return bytes.data(); }
    static constexpr std::uint16_t kSize = frame::kShortSize;
};

}  // namespace halyx
