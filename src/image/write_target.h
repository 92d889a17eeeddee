#pragma once

#include <string>
#include <string_view>

#include "image/radio_image.h"

namespace halyx {

// The two hardware bands a radio is built for. The band byte of what a radio sends is its
// hardware and cannot be changed by writing, so an image of the other band would leave every
// channel outside what the radio can tune.
enum class RadioBand { Low, High };

RadioBand BandOf(const RadioImage& image);
// "136-174 MHz" or "406.1-470 MHz": what a technician reads on the radio's label.
std::string_view BandName(RadioBand band);

// How an image about to be written stands against what the radio on the cable holds.
struct WriteTarget {
    RadioBand radioBand = RadioBand::Low;
    RadioBand imageBand = RadioBand::Low;
    std::string radioSerial;
    std::string imageSerial;
    std::string radioUserId;
    std::string imageUserId;
    bool identityDiffers = false;  // serial number or user ID bytes differ

    bool bandMatches() const { return radioBand == imageBand; }
};

// Compares the image with a fresh read of the radio (`radio`).
WriteTarget CheckWriteTarget(const RadioImage& radio, const RadioImage& image);

// Whose serial number and user ID go out when they differ.
enum class IdentityChoice { KeepRadios, WriteImages };

// The image to send: `image`, with the radio's serial number and user ID when the radio's are
// kept. Nothing else of the read goes into it.
RadioImage WithIdentity(const RadioImage& image, const RadioImage& radio, IdentityChoice choice);

}  // namespace halyx
