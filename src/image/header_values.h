#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halyx {

// The header values a script may set, as `halyx-cli set` and a fleet's overrides file take them.
// Each parser gives the byte to store, or nothing when the text is refused; the matching
// "allowed" text says what would have been accepted.

inline constexpr std::string_view kSquelchAllowed = "1..9";
inline constexpr std::string_view kTimeOutAllowed = "off or 30..180 in steps of 10";
inline constexpr std::string_view kVoxAllowed = "off or 1..9";
inline constexpr std::string_view kPowerAllowed = "0, 1 or 2";

std::optional<std::uint8_t> ParseSquelchValue(std::string_view text);
std::optional<std::uint8_t> ParseTimeOutValue(std::string_view text);  // 0 is off
std::optional<std::uint8_t> ParseVoxValue(std::string_view text);      // 0 is off
std::optional<std::uint8_t> ParsePowerValue(std::string_view text);

// Whole numbers only: no sign, no spaces, no fraction.
std::optional<int> ParseNumberIn(std::string_view text, int low, int high);
// ASCII lower case, for the words "off", "on", "12.5k".
std::string LowerAscii(std::string_view text);

// The Serial Number box takes letters, digits and spaces, at most 10 of them.
bool IsSerialNumberValue(std::string_view text);
// The User ID box takes any text of at most 6 bytes.
bool IsUserIdValue(std::string_view text);
std::string SerialNumberAllowed();  // "at most 10 characters (letters, digits, spaces)"
std::string UserIdAllowed();        // "at most 6 characters"

}  // namespace halyx
