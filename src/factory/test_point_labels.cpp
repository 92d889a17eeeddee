#include "factory/test_point_labels.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "link/tuning_data.h"

namespace halyx {
namespace {

// The three test frequencies of each band, in kHz, lowest first.
constexpr std::array<int, kTestFrequencies> kUpperBandKilohertz{409025, 435025, 469025};
constexpr std::array<int, kTestFrequencies> kLowerBandKilohertz{142025, 155025, 172025};

constexpr std::array<std::string_view, kPowerLevels> kEnglishLevels{"LOW", "MID", "HIGH"};
constexpr std::array<std::string_view, kPowerLevels> kChineseLevels{"低", "中", "高"};

}  // namespace

std::string TestPointLabel(int row, bool upperBand, bool english) {
    if (row < 1 || row > kTestPointRows) {
        return {};
    }
    const auto frequency = static_cast<std::size_t>((row - 1) / kPowerLevels);
    const auto level = static_cast<std::size_t>((row - 1) % kPowerLevels);
    const int kilohertz =
        upperBand ? kUpperBandKilohertz[frequency] : kLowerBandKilohertz[frequency];
    char megahertz[16];
    std::snprintf(megahertz, sizeof megahertz, "%d.%03d", kilohertz / 1000, kilohertz % 1000);
    const std::string_view word = english ? kEnglishLevels[level] : kChineseLevels[level];
    return std::string(megahertz) + "MHz [" + std::string(word) + "]";
}

}  // namespace halyx
