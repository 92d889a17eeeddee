#include "image/header_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace halyx {
namespace {

// Any whole number a byte can hold; the settings' own rules then decide.
std::optional<std::uint8_t> ByteIf(std::string_view text, bool (*rule)(int)) {
    const auto value = ParseNumberIn(text, 0, std::numeric_limits<std::uint8_t>::max());
    if (!value || !rule(*value)) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

bool IsOff(std::string_view text) {
    return LowerAscii(text) == "off";
}

}  // namespace

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<int> ParseNumberIn(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint8_t> ParseSquelchValue(std::string_view text) {
    return ByteIf(text, IsSquelchLevel);
}

// "off" is the word for 0; the number 0 itself is not offered, as the lists show no "0s".
std::optional<std::uint8_t> ParseTimeOutValue(std::string_view text) {
    if (IsOff(text)) {
        return std::uint8_t{0};
    }
    const auto value = ByteIf(text, IsTimeOutValue);
    return value == 0 ? std::nullopt : value;
}

std::optional<std::uint8_t> ParseVoxValue(std::string_view text) {
    if (IsOff(text)) {
        return std::uint8_t{0};
    }
    const auto value = ByteIf(text, IsVoxLevel);
    return value == 0 ? std::nullopt : value;
}

std::optional<std::uint8_t> ParsePowerValue(std::string_view text) {
    return ByteIf(text, IsTxPowerValue);
}

}  // namespace halyx
