#pragma once

#include <array>
#include <string_view>

namespace halyx::csv {

// The channel-list columns open radio programming tools exchange, in the order they write them.
inline constexpr std::array<std::string_view, 21> kColumns = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// What exporters put in the tone columns a row's tone mode does not use.
inline constexpr std::string_view kPlaceholderTone = "88.5";
inline constexpr std::string_view kPlaceholderCode = "023";
inline constexpr std::string_view kPlaceholderPolarity = "NN";
inline constexpr std::string_view kPlaceholderCrossMode = "Tone->Tone";

// Frequencies travel in megahertz with six decimals, i.e. whole hertz.
inline constexpr int kFrequencyDecimals = 6;

}  // namespace halyx::csv
