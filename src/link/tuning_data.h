#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "image/radio_image.h"

namespace halyx {

// The radio's nine tuning values: three test frequencies of its band, each at three power levels.
// Rows 1..9 run frequency by frequency, low / middle / high within each.
inline constexpr int kTestPointRows = 9;
inline constexpr int kTestFrequencies = 3;
inline constexpr int kPowerLevels = 3;

// Three 4-byte records (tag, low, middle, high), one per test frequency. Also the whole content of
// a tuning-value file.
struct TestValues {
    static constexpr std::size_t kRecordSize = 4;
    static constexpr std::size_t kSize = kRecordSize * kTestFrequencies;  // 12
    std::array<std::uint8_t, kSize> bytes{};

    // The value a row's slider shows (row 1..9).
    std::uint8_t value(int row) const;
};

// One live change: point number, the constant 1, and the low / middle / high values. Only the
// changed level's byte is replaced; the other two keep what earlier changes put there.
struct TestPoint {
    static constexpr std::size_t kSize = 5;
    static constexpr std::size_t kNumberAt = 0;
    static constexpr std::size_t kMarkerAt = 1;
    static constexpr std::uint8_t kMarker = 1;
    static constexpr std::size_t kFirstValueAt = 2;
    std::array<std::uint8_t, kSize> bytes{};
};

// Image byte 22: zero is the 136-174 MHz band, anything else 406.1-470 MHz.
bool IsUpperBand(const RadioImage& image);

// Point number of a row: 1..9 on the upper band, 10..18 on the lower one. 0 for a bad row.
std::uint8_t TestPointNumber(int row, bool upperBand);
// Tag of record 0..2: 1..3 on the upper band, 10..12 on the lower one.
std::uint8_t TestRecordTag(int record, bool upperBand);

// Nine slider positions (row order) into the 12-byte table, tags by band.
TestValues BuildTestValues(const std::array<std::uint8_t, kTestPointRows>& positions,
                           bool upperBand);
// Puts a row's new position into the test point (number, marker, its level's byte). Returns false
// (and changes nothing) for a row outside 1..9.
bool ApplyTestPointChange(TestPoint& point, int row, std::uint8_t position, bool upperBand);

}  // namespace halyx
