#pragma once

#include <string>
#include <vector>

#include "interchange/image_compare.h"
#include "interchange/interchange_texts.h"

namespace halyx {

// One readable line per difference, labels in the language of `texts`: "Squelch: 3 -> 9",
// "CH04 BW: 12.5K -> 25K", "Other bytes 50-51 (0x032-0x033): 00 00 -> ff ff". An identical pair
// gives the one line saying so.
std::vector<std::string> DifferenceLines(const ImageDifferences& differences,
                                         const TextOrLookup& texts);

// The same lines for the two images themselves, with each value as the settings panel and the
// grid show it in the language of `texts` ("Time-out timer: 60 s -> Off", "CH04 RX Tone: OFF ->
// 88.5"), for a reader rather than a script.
std::vector<std::string> ShownDifferenceLines(const RadioImage& a, const RadioImage& b,
                                              const TextOrLookup& texts);

// "00 ff 1a"
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

}  // namespace halyx
