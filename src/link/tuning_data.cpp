#include "link/tuning_data.h"

namespace halyx {

namespace {
constexpr std::uint8_t kUpperBandFirstPoint = 1;
constexpr std::uint8_t kLowerBandFirstPoint = 10;
constexpr std::uint8_t kUpperBandFirstTag = 1;
constexpr std::uint8_t kLowerBandFirstTag = 10;

bool IsValidRow(int row) {
    return row >= 1 && row <= kTestPointRows;
}
int FrequencyIndex(int row) {
    return (row - 1) / kPowerLevels;
}
int PowerLevel(int row) {
    return (row - 1) % kPowerLevels;
}
}  // namespace

std::uint8_t TestValues::value(int row) const {
    if (!IsValidRow(row)) {
        return 0;
    }
    return bytes[FrequencyIndex(row) * kRecordSize + 1 + PowerLevel(row)];
}

bool IsUpperBand(const RadioImage& image) {
    return image.bytes[header::kBand] != kLowBand;
}

std::uint8_t TestPointNumber(int row, bool upperBand) {
    if (!IsValidRow(row)) {
        return 0;
    }
    const int first = upperBand ? kUpperBandFirstPoint : kLowerBandFirstPoint;
    return static_cast<std::uint8_t>(first + row - 1);
}

std::uint8_t TestRecordTag(int record, bool upperBand) {
    const int first = upperBand ? kUpperBandFirstTag : kLowerBandFirstTag;
    return static_cast<std::uint8_t>(first + record);
}

TestValues BuildTestValues(const std::array<std::uint8_t, kTestPointRows>& positions,
                           bool upperBand) {
    TestValues values;
    for (int record = 0; record < kTestFrequencies; ++record) {
        values.bytes[record * TestValues::kRecordSize] = TestRecordTag(record, upperBand);
    }
    for (int row = 1; row <= kTestPointRows; ++row) {
        values.bytes[FrequencyIndex(row) * TestValues::kRecordSize + 1 + PowerLevel(row)] =
            positions[row - 1];
    }
    return values;
}

bool ApplyTestPointChange(TestPoint& point, int row, std::uint8_t position, bool upperBand) {
    if (!IsValidRow(row)) {
        return false;
    }
    point.bytes[TestPoint::kNumberAt] = TestPointNumber(row, upperBand);
    point.bytes[TestPoint::kMarkerAt] = TestPoint::kMarker;
    point.bytes[TestPoint::kFirstValueAt + PowerLevel(row)] = position;
    return true;
}

}  // namespace halyx
