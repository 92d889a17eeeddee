#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "image/radio_image.h"

namespace halyx {

// A radio's whole configuration as a YAML text: the settings and channels by the names and
// values of `halyx-cli show --json`, every byte no field covers as hex, and the image length.
// Image -> text -> image gives the same bytes for every image; text Halyx wrote reads back and
// writes again as the same text.

inline constexpr std::string_view kConfigFormatName = "halyx-config/1";

// One thing wrong with a configuration text, where it is and what would have been taken.
struct ConfigProblem {
    int line = 0;          // 1-based line of the text
    std::string path;      // key path: "settings.timeOut", "channels[3].rxTone", "otherBytes.607"
    std::string what;      // what is wrong
    std::string accepted;  // what would have been accepted
};

struct ConfigRead {
    RadioImage image;
    std::vector<ConfigProblem> problems;  // every problem found; the image is meaningless then

    bool ok() const { return problems.empty(); }
};

// The text Halyx writes: a stable order (format, band, settings, channels 1-20, otherBytes,
// imageLength), so two exports diff line by line.
std::string WriteConfigText(const RadioImage& image);

// Reads a text written by Halyx or by a person. Nothing is guessed, clamped or coerced: any value
// outside its list, unknown key, duplicate or malformed run is a problem. Bytes the text does not
// give come from `base` when there is one, else they are 0xFF (erased memory); without a base
// the band and every setting must be given.
ConfigRead ReadConfigText(std::string_view text, const RadioImage* base = nullptr);

// "FILE:LINE: PATH: WHAT, accepted: ACCEPTED", one problem to a line.
std::string DescribeConfigProblem(std::string_view file, const ConfigProblem& problem);

}  // namespace halyx
