#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "image/option_lists.h"
#include "image/radio_image.h"

namespace halyx {

// How a header byte maps onto its drop-down list: list position = byte - bias.
struct ListField {
    std::size_t offset;
    int bias;
};

inline constexpr ListField kVoxField{header::kVoxLevel, 0};
inline constexpr ListField kSquelchField{header::kSquelchLevel, 1};
inline constexpr ListField kSettingsChannelField{header::kSettingsChannel, 1};
inline constexpr ListField kLanguageField{header::kLanguage, 0};
inline constexpr ListField kTxPowerField{header::kTxPower, 0};

// The list position a byte shows as, or nothing when the byte lies outside the list.
std::optional<int> ListPositionForByte(const ListField& field, std::uint8_t byte,
                                       std::size_t listSize);
// The byte stored when the user picks `position`.
std::uint8_t ByteForListPosition(const ListField& field, int position);

// Time-out: the first entry whose attached number equals the byte; none leaves the list as it was.
std::optional<int> TimeOutPositionForByte(const OptionList& timeOutList, std::uint8_t byte);

// Check boxes: checked exactly when the byte is 1.
inline bool IsCheckedByte(std::uint8_t byte) {
    return byte == 1;
}

// Bandwidth: 0 is "12.5K", any other value "25K"; the grid stores the list position.
std::string BandwidthText(std::uint8_t byte);

}  // namespace halyx
