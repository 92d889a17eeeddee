#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/radio_image.h"

namespace halyx {

// A common setting that differs, named as `halyx-cli show --json` names it. Values are the
// stored numbers, or the texts for the serial number and user ID.
struct SettingDifference {
    std::string name;
    bool isText = false;
    std::string a, b;
};

// A channel field that differs, as the grid shows it ("" for an empty channel's cells).
struct ChannelDifference {
    int channel = 0;
    std::string field;  // rxFrequency, txFrequency, rxTone, txTone, bandwidth
    std::string a, b;
};

// A run of differing bytes that no setting or channel field above accounts for: bytes the
// system does not interpret, and interpreted bytes whose difference does not show.
struct ByteRangeDifference {
    std::size_t first = 0;
    std::size_t last = 0;
    std::vector<std::uint8_t> a, b;
};

struct ImageDifferences {
    std::vector<SettingDifference> settings;
    std::vector<ChannelDifference> channels;
    std::vector<ByteRangeDifference> bytes;
    bool lengthDiffers = false;
    int lengthA = 0, lengthB = 0;

    bool identical() const {
        return settings.empty() && channels.empty() && bytes.empty() && !lengthDiffers;
    }
};

ImageDifferences CompareImages(const RadioImage& a, const RadioImage& b);

// Tone byte -> "off", "88.5" or "D023N": the language-free text scripts and files use.
std::string NeutralToneText(std::uint8_t toneByte);

}  // namespace halyx
