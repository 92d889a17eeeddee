#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halyx {

// A plain decimal number ("446.00625", "088.50", "+5") read exactly, scaled by 10^decimals, so
// megahertz become hertz and tones tenths of a hertz without any floating-point rounding.
struct ScaledDecimal {
    std::uint64_t value = 0;
    bool exact = true;  // false when digits beyond `decimals` were not all zero
};

// Surrounding spaces are ignored; anything else that is not a number gives nothing.
std::optional<ScaledDecimal> ParseScaledDecimal(std::string_view text, int decimals);

// `value` / 10^decimals with exactly `decimals` digits after the point.
std::string FormatScaledDecimal(std::uint64_t value, int decimals);

}  // namespace halyx
