#pragma once

#include <algorithm>

#include "editing/channel_rows.h"
#include "image/working_copies.h"

namespace halyx::test {

// An image whose every byte differs from its neighbours, so a byte that lands in the wrong place
// shows. Channels in `used` get a receive frequency; the others are erased (FF FF ...).
inline RadioImage PatternedImage(std::initializer_list<int> used) {
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        image.bytes[i] = static_cast<std::uint8_t>(0x5A ^ (i * 7));
    }
    image.length = kImageSize;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const bool inUse = std::find(used.begin(), used.end(), channel) != used.end();
        const std::size_t rx = RecordOffset(channel) + record::kRxFrequency;
        image.bytes[rx] = inUse ? 0x44 : 0xFF;
        image.bytes[rx + 1] = inUse ? static_cast<std::uint8_t>(0x10 + channel) : 0xFF;
    }
    return image;
}

// The image with its records put in the order `sources` gives: channel n gets the record that
// channel sources[n - 1] had.
inline RadioImage WithRecordsFrom(const RadioImage& image, const std::vector<int>& sources) {
    RadioImage result = image;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        WriteRecord(result, channel, ReadRecord(image, sources[channel - 1]));
    }
    return result;
}

inline std::vector<int> IdentityOrder() {
    std::vector<int> order(kChannelCount);
    for (int i = 0; i < kChannelCount; ++i) {
        order[i] = i + 1;
    }
    return order;
}

}  // namespace halyx::test
