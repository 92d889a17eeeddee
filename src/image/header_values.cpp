#include "image/header_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "image/radio_image.h"

namespace halyx {
namespace {

constexpr int kTimeOutMin = 30;
constexpr int kTimeOutMax = 180;
constexpr int kTimeOutStep = 10;
constexpr int kLevelMin = 1;
constexpr int kLevelMax = 9;
constexpr int kPowerMax = 2;

std::string CharacterLimit(std::size_t size) {
    return "at most " + std::to_string(size) + " characters";
}

std::optional<std::uint8_t> Byte(std::optional<int> value) {
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
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
    return Byte(ParseNumberIn(text, kLevelMin, kLevelMax));
}

std::optional<std::uint8_t> ParseTimeOutValue(std::string_view text) {
    if (LowerAscii(text) == "off") {
        return std::uint8_t{0};
    }
    const auto value = ParseNumberIn(text, kTimeOutMin, kTimeOutMax);
    if (!value || *value % kTimeOutStep != 0) {
        return std::nullopt;
    }
    return Byte(value);
}

std::optional<std::uint8_t> ParseVoxValue(std::string_view text) {
    if (LowerAscii(text) == "off") {
        return std::uint8_t{0};
    }
    return Byte(ParseNumberIn(text, kLevelMin, kLevelMax));
}

std::optional<std::uint8_t> ParsePowerValue(std::string_view text) {
    return Byte(ParseNumberIn(text, 0, kPowerMax));
}

bool IsSerialNumberValue(std::string_view text) {
    return text.size() <= header::kSerialNumberSize &&
           std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0 || c == ' '; });
}

bool IsUserIdValue(std::string_view text) {
    return text.size() <= header::kUserIdSize;
}

std::string SerialNumberAllowed() {
    return CharacterLimit(header::kSerialNumberSize) + " (letters, digits, spaces)";
}

std::string UserIdAllowed() {
    return CharacterLimit(header::kUserIdSize);
}

}  // namespace halyx
