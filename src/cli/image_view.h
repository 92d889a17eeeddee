#pragma once

#include <string>
#include <vector>

#include "image/option_lists.h"
#include "image/radio_image.h"
#include "image/tone_table.h"

namespace halyx::cli {

// What the main form shows for an image, as plain data the text and JSON printers share.
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

ImageView ViewOf(const RadioImage& image, const ToneTable& tones);

std::string FormatJson(const ImageView& view);
std::string FormatText(const ImageView& view, const TextLookup& lang);

}  // namespace halyx::cli
