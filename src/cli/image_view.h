#pragma once

#include <string>
#include <vector>

#include "image/radio_image.h"
#include "interchange/interchange_texts.h"

namespace halyx::cli {

// What the main form shows for an image, as plain data the text and JSON printers share. Tone
// texts are the language-free ones ("off", "88.5", "D023N"): scripts read them.
struct ChannelView {
    int channel = 0;
    bool empty = true;
    std::string rxFrequency, txFrequency, rxTone, txTone, bandwidth;
};

struct SettingsView {
    int timeOut, voxLevel, squelchLevel, settingsChannel, language, scramble, compand, txPower;
    std::string serialNumber, userId;
};

struct ImageView {
    bool lowBand = false;
    int imageLength = 0;
    SettingsView settings{};
    std::vector<ChannelView> channels;
};

ImageView ViewOf(const RadioImage& image);

std::string FormatJson(const ImageView& view);
// Labels and values in the one language of `texts`.
std::string FormatText(const RadioImage& image, const TextOrLookup& texts);

}  // namespace halyx::cli
