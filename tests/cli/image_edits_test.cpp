#include "cli/image_edits.h"

#include <gtest/gtest.h>

#include "image/working_copies.h"

namespace halyx::cli {
namespace {

class ImageEdits : public ::testing::Test {
protected:
    ImageEdits() {
        BuildToneTable(tones, "OFF");
        image.bytes.fill(0xFF);
        image.bytes[header::kBand] = 1;
    }

    std::optional<EditError> Apply(std::vector<EditOption> edits) {
        return ApplyEdits(edits, tones, image);
    }

    std::vector<std::uint8_t> Bytes(std::size_t offset, std::size_t count) const {
        return {image.bytes.begin() + static_cast<long>(offset),
                image.bytes.begin() + static_cast<long>(offset + count)};
    }

    ToneTable tones;
    RadioImage image;
};

TEST_F(ImageEdits, ReceiveFrequencySetsBothAndTouchesNothingElse) {
    const RadioImage before = image;
    ASSERT_FALSE(Apply({{"--channel", "3"}, {"--rx", "446.00625"}}));
    const std::size_t rec = RecordOffset(3);
    EXPECT_EQ(Bytes(rec + record::kRxFrequency, 4),
              (std::vector<std::uint8_t>{0x44, 0x60, 0x06, 0x25}));
    EXPECT_EQ(Bytes(rec + record::kTxFrequency, 4),
              (std::vector<std::uint8_t>{0x44, 0x60, 0x06, 0x25}));
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool inFrequencies =
            i >= rec + record::kTxFrequency && i < rec + record::kRxFrequency + 4;
        if (!inFrequencies) {
            ASSERT_EQ(image.bytes[i], before.bytes[i]) << "byte " << i;
        }
    }
}

TEST_F(ImageEdits, FrequenciesAreClampedSnappedOrCleared) {
    ASSERT_FALSE(Apply({{"--channel", "1"}, {"--rx", "446.0123"}, {"--tx", "480"}}));
    EXPECT_EQ(Bytes(RecordOffset(1) + record::kRxFrequency, 4),
              (std::vector<std::uint8_t>{0x44, 0x60, 0x10, 0x00}));
    EXPECT_EQ(Bytes(RecordOffset(1) + record::kTxFrequency, 4),
              (std::vector<std::uint8_t>{0x47, 0x00, 0x00, 0x00}));
    ASSERT_FALSE(Apply({{"--channel", "1"}, {"--rx", ""}}));
    EXPECT_TRUE(IsChannelEmpty(image, 1));
    EXPECT_EQ(Bytes(RecordOffset(1) + record::kTxFrequency, 4),
              (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(ImageEdits, ReceiveToneSetsTransmitToneButNotTheOtherWayRound) {
    ASSERT_FALSE(Apply({{"--channel", "2"}, {"--rx-tone", "d754n"}}));
    EXPECT_EQ(image.bytes[RecordOffset(2) + record::kRxTone], 154);
    EXPECT_EQ(image.bytes[RecordOffset(2) + record::kTxTone], 154);
    ASSERT_FALSE(Apply({{"--channel", "2"}, {"--tx-tone", "off"}, {"--bandwidth", "25K"}}));
    EXPECT_EQ(image.bytes[RecordOffset(2) + record::kRxTone], 154);
    EXPECT_EQ(image.bytes[RecordOffset(2) + record::kTxTone], 0);
    EXPECT_EQ(image.bytes[RecordOffset(2) + record::kBandwidth], 1);
}

TEST_F(ImageEdits, HeaderSettingsStoreWhatThePanelWould) {
    ASSERT_FALSE(Apply({{"--tot", "120"},
                        {"--vox", "off"},
                        {"--squelch", "9"},
                        {"--settings-channel", "20"},
                        {"--power", "1"},
                        {"--scramble", "on"},
                        {"--compand", "off"},
                        {"--serial", "AB12"},
                        {"--user-id", "abc"}}));
    EXPECT_EQ(image.bytes[header::kTimeOut], 120);
    EXPECT_EQ(image.bytes[header::kVoxLevel], 0);
    EXPECT_EQ(image.bytes[header::kSquelchLevel], 9);
    EXPECT_EQ(image.bytes[header::kSettingsChannel], 20);
    EXPECT_EQ(image.bytes[header::kTxPower], 1);
    EXPECT_EQ(image.bytes[header::kScramble], 1);
    EXPECT_EQ(image.bytes[header::kCompand], 0);
    EXPECT_EQ(Bytes(header::kSerialNumber, 10),
              (std::vector<std::uint8_t>{0x41, 0x42, 0x31, 0x32, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(header::kUserId, 6), (std::vector<std::uint8_t>{'a', 'b', 'c', 0, 0, 0}));
}

TEST_F(ImageEdits, RefusesValuesOutsideWhatTheRadioTakes) {
    const std::vector<std::vector<EditOption>> refused = {
        {{"--rx", "446"}},  // no channel chosen yet
        {{"--channel", "21"}},
        {{"--channel", "0"}},
        {{"--channel", "1"}, {"--rx-tone", "100"}},
        {{"--channel", "1"}, {"--bandwidth", "20K"}},
        {{"--tot", "35"}},
        {{"--tot", "190"}},
        {{"--vox", "10"}},
        {{"--squelch", "0"}},
        {{"--squelch", "9x"}},
        {{"--language", "2"}},
        {{"--power", "3"}},
        {{"--scramble", "yes"}},
        {{"--serial", "AB-12"}},
        {{"--serial", "12345678901"}},
        {{"--user-id", "1234567"}},
        {{"--frobnicate", "1"}},
    };
    for (const auto& edits : refused) {
        const auto error = Apply(edits);
        ASSERT_TRUE(error.has_value()) << edits.back().name << " " << edits.back().value;
        EXPECT_EQ(error->option, edits.back().name);
        EXPECT_FALSE(DescribeEditError(*error).empty());
    }
}

}  // namespace
}  // namespace halyx::cli
