#include "interchange/decimal_text.h"

#include <string>

namespace halyx {
namespace {

// Twelve integer digits are far beyond any frequency; the limit keeps the arithmetic in range.
constexpr std::size_t kMaxIntegerDigits = 12;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<ScaledDecimal> ParseScaledDecimal(std::string_view text, int decimals) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    ScaledDecimal result;
    std::size_t integerDigits = 0;
    std::size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (++integerDigits > kMaxIntegerDigits && result.value != 0) {
            return std::nullopt;
        }
        result.value = result.value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++fractionDigits) {
            if (static_cast<int>(fractionDigits) < decimals) {
                result.value = result.value * 10 + static_cast<std::uint64_t>(text[i] - '0');
            } else if (text[i] != '0') {
                result.exact = false;
            }
        }
    }
    if (i != text.size() || integerDigits + fractionDigits == 0) {
        return std::nullopt;
    }
    for (int scale = static_cast<int>(fractionDigits); scale < decimals; ++scale) {
        result.value *= 10;
    }
    return result;
}

std::string FormatScaledDecimal(std::uint64_t value, int decimals) {
    std::string digits = std::to_string(value);
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (digits.size() < width) {
        digits = std::string(width - digits.size(), '0') + digits;
    }
    if (decimals <= 0) {
        return digits;
    }
    const std::size_t point = digits.size() - static_cast<std::size_t>(decimals);
    return digits.substr(0, point) + "." + digits.substr(point);
}

}  // namespace halyx
