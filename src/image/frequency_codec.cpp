#include "image/frequency_codec.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#ifdef _WIN32
#include <locale.h>
#else
#include <locale.h>
#include <stdlib.h>
#endif

#include "image/radio_image.h"

namespace halyx {
namespace {

constexpr std::uint32_t kCoarseStepHz = 5000;
constexpr std::uint32_t kFineStepHz = 6250;
constexpr double kHzPerMHz = 1000000.0;

// strtod with the "C" locale: Qt sets the process locale from the environment, and a German
// desktop must not turn "446.00625" into 446.
double StrtodC(const char* text, char** end) {
#ifdef _WIN32
    static _locale_t cLocale = _create_locale(LC_NUMERIC, "C");
    return _strtod_l(text, end, cLocale);
#else
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return strtod_l(text, end, cLocale);
#endif
}

// Megahertz text -> signed hertz, truncated toward zero. Values the 32-bit count cannot hold are
// pushed to the far end of the range so the band clamp sees them as too high (or, negative, as
// huge unsigned numbers, which the clamp also takes as too high).
std::int32_t MegahertzTextToHertz(const std::string& text) {
    char* end = nullptr;
    const double mhz = StrtodC(text.c_str(), &end);
    if (std::isnan(mhz)) {
        return 0;
    }
    const double hz = mhz * kHzPerMHz;
    if (hz >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (hz <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(hz);  // truncates toward zero
}

int ReadDecimalPiece(const std::string& text, std::size_t from, std::size_t count) {
    if (from >= text.size()) {
        return 0;
    }
    const std::string piece = text.substr(from, count);
    int value = 0;
    std::from_chars(piece.data(), piece.data() + piece.size(), value);
    return value;
}

}  // namespace

BandLimits BandLimitsFor(std::uint8_t bandByte) {
    if (bandByte == kLowBand) {
        return {136000000, 174000000};
    }
    return {406100000, 470000000};
}

bool IsInBand(std::uint32_t hertz, std::uint8_t bandByte) {
    const BandLimits limits = BandLimitsFor(bandByte);
    return hertz >= limits.lowerHz && hertz <= limits.upperHz;
}

bool IsOnChannelStep(std::uint32_t hertz) {
    return hertz % kCoarseStepHz == 0 || hertz % kFineStepHz == 0;
}

std::uint32_t SnapToChannelStep(std::uint32_t hertz) {
    return IsOnChannelStep(hertz) ? hertz : hertz / kCoarseStepHz * kCoarseStepHz;
}

std::uint8_t BcdToByteValue(std::uint8_t bcd) {
    return static_cast<std::uint8_t>((bcd >> 4) * 10 + (bcd & 0x0F));
}

std::uint8_t ByteValueToBcd(int value) {
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

std::uint32_t DecodeFrequency(const std::uint8_t* bytes) {
    return BcdToByteValue(bytes[0]) * 1000000u + BcdToByteValue(bytes[1]) * 10000u +
           BcdToByteValue(bytes[2]) * 100u + BcdToByteValue(bytes[3]);
}

std::string FormatFrequency(std::uint32_t steps) {
    // Whole megahertz, a point, then the five-digit step remainder: exactly what "%.5f" prints
    // for steps * 0.00001, without floating point (which not every standard library formats).
    constexpr std::uint32_t kStepsPerMHz = 100000;
    constexpr std::size_t kDecimals = 5;
    std::string text = std::to_string(steps / kStepsPerMHz) + '.';
    const std::string fraction = std::to_string(steps % kStepsPerMHz);
    text.append(kDecimals - fraction.size(), '0');
    return text + fraction;
}

namespace {

// Clamps and snaps a value already truncated to 10 Hz; `given` is the hertz asked for, to tell
// whether the step moved it.
FrequencyCorrection Correct(std::string typed, std::uint32_t given, std::uint32_t hz,
                            std::uint8_t bandByte) {
    FrequencyCorrection result{std::move(typed), 0, {}, FrequencyFix::Unchanged};
    const BandLimits limits = BandLimitsFor(bandByte);
    if (hz > limits.upperHz) {
        hz = limits.upperHz;
        result.fix = FrequencyFix::ClampedAbove;
    } else if (hz < limits.lowerHz) {
        hz = limits.lowerHz;
        result.fix = FrequencyFix::ClampedBelow;
    }
    hz = SnapToChannelStep(hz);
    if (result.fix == FrequencyFix::Unchanged && hz != given) {
        result.fix = FrequencyFix::MovedToStep;
    }
    result.hertz = hz;
    result.stored = FormatFrequency(hz / kHzPerStep);
    return result;
}

std::string HertzAsMegahertz(std::uint32_t hertz) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%06u", static_cast<unsigned>(hertz / 1000000),
                  static_cast<unsigned>(hertz % 1000000));
    return text;
}

}  // namespace

FrequencyCorrection CorrectFrequency(std::string_view typed, std::uint8_t bandByte) {
    if (typed.empty()) {
        return {{}, 0, {}, FrequencyFix::Emptied};
    }
    const std::int32_t signedHz = MegahertzTextToHertz(std::string(typed));
    const std::int32_t tenHz =
        signedHz / static_cast<std::int32_t>(kHzPerStep) * static_cast<std::int32_t>(kHzPerStep);
    // Compared unsigned on purpose: a negative entry wraps to a huge number and ends at the top.
    return Correct(std::string(typed), static_cast<std::uint32_t>(signedHz),
                   static_cast<std::uint32_t>(tenHz), bandByte);
}

FrequencyCorrection CorrectHertz(std::uint32_t hertz, std::uint8_t bandByte) {
    if (hertz == 0) {
        return {{}, 0, {}, FrequencyFix::Emptied};
    }
    return Correct(HertzAsMegahertz(hertz), hertz, hertz / kHzPerStep * kHzPerStep, bandByte);
}

ParsedFrequency ParseFrequency(std::string_view text, std::uint8_t bandByte) {
    if (text.empty()) {
        return {0, std::string(text)};
    }
    const FrequencyCorrection corrected = CorrectFrequency(text, bandByte);
    return {corrected.hertz, corrected.stored};
}

void EncodeFrequency(std::uint32_t hertz, std::uint8_t* bytes) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, hertz / kHzPerStep);
    const std::string digits(buffer, result.ptr);
    const std::size_t lastTwo = digits.size() >= 2 ? digits.size() - 2 : 0;
    bytes[0] = ByteValueToBcd(ReadDecimalPiece(digits, 0, 2));
    bytes[1] = ByteValueToBcd(ReadDecimalPiece(digits, 2, 2));
    bytes[2] = ByteValueToBcd(ReadDecimalPiece(digits, 4, 2));
    bytes[3] = ByteValueToBcd(ReadDecimalPiece(digits, lastTwo, 2));
}

}  // namespace halyx
