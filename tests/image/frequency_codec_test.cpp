#include "image/frequency_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <vector>

#include "image/radio_image.h"

namespace halyx {
namespace {

std::array<std::uint8_t, 4> Encoded(std::uint32_t hertz) {
    std::array<std::uint8_t, 4> bytes{0xAA, 0xAA, 0xAA, 0xAA};
    EncodeFrequency(hertz, bytes.data());
    return bytes;
}

TEST(BcdBytes, DecodeWithoutValidatingNibbles) {
    EXPECT_EQ(BcdToByteValue(0x00), 0);
    EXPECT_EQ(BcdToByteValue(0x99), 99);
    EXPECT_EQ(BcdToByteValue(0x4A), 50);
    EXPECT_EQ(BcdToByteValue(0xFF), 165);
}

TEST(BcdBytes, EncodeTensAndUnits) {
    EXPECT_EQ(ByteValueToBcd(0), 0x00);
    EXPECT_EQ(ByteValueToBcd(7), 0x07);
    EXPECT_EQ(ByteValueToBcd(46), 0x46);
    EXPECT_EQ(ByteValueToBcd(99), 0x99);
}

TEST(FrequencyText, DecodesAndFormatsWithFiveDecimals) {
    const std::uint8_t bytes[4] = {0x44, 0x60, 0x06, 0x25};
    EXPECT_EQ(DecodeFrequency(bytes), 44600625u);
    EXPECT_EQ(FormatFrequency(44600625u), "446.00625");
    EXPECT_EQ(FormatFrequency(13600000u), "136.00000");
    const std::uint8_t erased[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(DecodeFrequency(erased), 166666665u);
}

TEST(FrequencyText, PrintsWhatPrintfPrintsForTheMegahertzValue) {
    // The text is built from whole steps; it must equal "%.5f" of steps * 0.00001 everywhere,
    // from the smallest counts through both bands to what erased memory decodes to.
    std::vector<std::uint32_t> steps{0, 1, 5, 10, 99999, 100000, 100001, 166666665, 4294967295u};
    for (std::uint32_t s = 13600000; s <= 47000000; s += 4999) {
        steps.push_back(s);
    }
    for (const std::uint32_t s : steps) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.5f", static_cast<double>(s) * 0.00001);
        ASSERT_EQ(FormatFrequency(s), expected) << s;
    }
}

TEST(FrequencyText, IgnoresTheProcessLocale) {
    // A desktop with a comma decimal separator must still read and show a point.
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FormatFrequency(44600625u), "446.00625");
    EXPECT_EQ(ParseFrequency("446.00625", kHighBand).hertz, 446006250u);
    if (previous != nullptr) {
        std::setlocale(LC_NUMERIC, "C");
    }
}

TEST(ParseFrequency, KeepsValuesOnEitherChannelStep) {
    const ParsedFrequency fine = ParseFrequency("446.00625", kHighBand);
    EXPECT_EQ(fine.hertz, 446006250u);
    EXPECT_EQ(fine.text, "446.00625");
    EXPECT_EQ(Encoded(fine.hertz), (std::array<std::uint8_t, 4>{0x44, 0x60, 0x06, 0x25}));
    EXPECT_EQ(ParseFrequency("446.005", kHighBand).hertz, 446005000u);
}

TEST(ParseFrequency, SnapsOffStepValuesDownToFiveKilohertz) {
    const ParsedFrequency parsed = ParseFrequency("446.0123", kHighBand);
    EXPECT_EQ(parsed.hertz, 446010000u);
    EXPECT_EQ(parsed.text, "446.01000");
}

TEST(ParseFrequency, ClampsToTheBandOfTheImage) {
    EXPECT_EQ(ParseFrequency("400", kHighBand).text, "406.10000");
    EXPECT_EQ(ParseFrequency("480", kHighBand).text, "470.00000");
    EXPECT_EQ(ParseFrequency("150", kLowBand).text, "150.00000");
    EXPECT_EQ(ParseFrequency("446", kLowBand).text, "174.00000");
    EXPECT_EQ(ParseFrequency("100", kLowBand).text, "136.00000");
    EXPECT_EQ(ParseFrequency("470", 0x55).hertz, 470000000u)
        << "any non-zero band byte is the upper band";
}

TEST(ParseFrequency, UnreadableTextBecomesTheLowerLimit) {
    EXPECT_EQ(ParseFrequency("abc", kHighBand).text, "406.10000");
    EXPECT_EQ(ParseFrequency(".", kLowBand).text, "136.00000");
    EXPECT_EQ(ParseFrequency("nan", kHighBand).text, "406.10000");
}

TEST(ParseFrequency, ReadsTheLeadingNumberOnly) {
    EXPECT_EQ(ParseFrequency("446.1MHz", kHighBand).text, "446.10000");
    EXPECT_EQ(ParseFrequency("  446.2", kHighBand).text, "446.20000");
}

TEST(ParseFrequency, NeverOverflowsOnHugeOrNegativeInput) {
    EXPECT_EQ(ParseFrequency("99999999", kHighBand).text, "470.00000");
    EXPECT_EQ(ParseFrequency("1e300", kHighBand).text, "470.00000");
    EXPECT_EQ(ParseFrequency("inf", kLowBand).text, "174.00000");
    // Negative entries wrap when compared unsigned, so they land on the upper limit.
    EXPECT_EQ(ParseFrequency("-5", kHighBand).text, "470.00000");
    EXPECT_EQ(ParseFrequency("-1e300", kHighBand).text, "470.00000");
}

TEST(ParseFrequency, EmptyTextClearsTheFrequency) {
    const ParsedFrequency parsed = ParseFrequency("", kHighBand);
    EXPECT_EQ(parsed.hertz, 0u);
    EXPECT_EQ(parsed.text, "");
    EXPECT_EQ(Encoded(0), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST(EncodeFrequency, RoundTripsEveryStepOfBothBands) {
    for (std::uint8_t band : {kLowBand, kHighBand}) {
        const BandLimits limits = BandLimitsFor(band);
        for (std::uint32_t hz = limits.lowerHz; hz <= limits.upperHz; hz += 6250) {
            const auto bytes = Encoded(hz);
            ASSERT_EQ(DecodeFrequency(bytes.data()) * 10u, hz) << hz;
        }
    }
}

}  // namespace
}  // namespace halyx
