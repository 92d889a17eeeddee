#pragma once

#include <cstddef>
#include <cstdint>

#include "image/radio_image.h"

namespace halyx {

// How the radio image travels in numbered blocks. Image bytes 41..66 and 607.. belong to no block
// and never cross the line.
inline constexpr std::uint16_t kSettingsBlock = 1;
inline constexpr std::uint16_t kFirstRecordBlock = 2;
inline constexpr std::uint16_t kLastRecordBlock = 21;
// Blocks one whole image takes on the line: the settings block and every record block.
inline constexpr int kBlockCount = kLastRecordBlock - kSettingsBlock + 1;
// Test blocks (values and points) are not numbered.
inline constexpr std::uint16_t kTestBlock = 0;

inline constexpr std::size_t kSettingsPayloadSize = kHeaderSize;  // image bytes 0..40
inline constexpr std::size_t kRecordPayloadSize = kRecordSize;    // one channel record

constexpr bool IsRecordBlock(std::uint16_t block) {
    return block >= kFirstRecordBlock && block <= kLastRecordBlock;
}

// Record block n carries channel n - 1: image bytes 13 + 27n .. 39 + 27n.
constexpr std::size_t RecordBlockOffset(std::uint16_t block) {
    return RecordOffset(static_cast<int>(block) - 1);
}

static_assert(RecordBlockOffset(kFirstRecordBlock) == kFirstRecordOffset);
static_assert(RecordBlockOffset(kLastRecordBlock) + kRecordPayloadSize == kRecordsEnd);

}  // namespace halyx
