#pragma once

#include <array>
#include <cstdint>

#include "image/radio_image.h"
#include "link/block_map.h"
#include "link/frame_link.h"
#include "link/tuning_data.h"

namespace halyx {

// The command set: each sender is one SendFrame. Block-numbered senders take the number from the
// link's exchange counters (LinkExchange::block), as the exchanges set it before sending.

// Read, settings kind, block = exchange block, no payload.
void RequestSettings(FrameLink& link);
// Write, settings kind, block = exchange block, image bytes 0..40.
void SendSettings(FrameLink& link, const RadioImage& image);
// Write, record kind, block n = exchange block (2..21), the record payload below. Returns false
// and sends nothing when the exchange block is not a record block.
bool SendRecord(FrameLink& link, const RadioImage& image);
// Read, test kind, block 0, twelve zero bytes.
void RequestTestValues(FrameLink& link);
// Write, test kind, block 0, the twelve test-value bytes.
void SendTestValues(FrameLink& link, const TestValues& values);
// Test-point operation, test kind, block 0, the five test-point bytes. Nothing answers it.
void SendTestPoint(FrameLink& link, const TestPoint& point);

// The 27 bytes record block n goes out with: image bytes 13 + 27n .. 39 + 27n, except that record
// block 2 always carries 1 in its first byte (the radio takes it as channel 1's in-use mark); the
// image keeps its own value. `block` must be a record block.
std::array<std::uint8_t, kRecordPayloadSize> RecordPayload(const RadioImage& image,
                                                           std::uint16_t block);

// One live tuning change: updates `point` for the row's new position and sends it. Nothing is
// awaited and the exchange counters are untouched. Returns false for a row outside 1..9.
bool SendTestPointChange(FrameLink& link, TestPoint& point, int row, std::uint8_t position,
                         bool upperBand);

}  // namespace halyx
