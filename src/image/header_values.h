#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/common_settings.h"

namespace halyx {

// The header values a script may set, as `halyx-cli set` and a fleet's overrides file take them.
// Each parser gives the byte to store, or nothing when the text is refused; the matching
// "allowed" text says what would have been accepted.

std::optional<std::uint8_t> ParseSquelchValue(std::string_view text);
std::optional<std::uint8_t> ParseTimeOutValue(std::string_view text);  // 0 is off
std::optional<std::uint8_t> ParseVoxValue(std::string_view text);      // 0 is off
std::optional<std::uint8_t> ParsePowerValue(std::string_view text);

// Whole numbers only: no sign, no spaces, no fraction.
std::optional<int> ParseNumberIn(std::string_view text, int low, int high);
// ASCII lower case, for the words "off", "on", "12.5k".
std::string LowerAscii(std::string_view text);

}  // namespace halyx
