#include "image/working_copies.h"

#include <gtest/gtest.h>

#include <numeric>

namespace halyx {
namespace {

RadioImage PatternImage() {
    RadioImage image;
    std::iota(image.bytes.begin(), image.bytes.end(), std::uint8_t{0});
    return image;
}

TEST(RecordLayout, ChannelsStartAt67AndEndAt606) {
    EXPECT_EQ(RecordOffset(1), 67u);
    EXPECT_EQ(RecordOffset(2), 94u);
    EXPECT_EQ(RecordOffset(20), 580u);
    EXPECT_EQ(RecordOffset(20) + kRecordSize - 1, 606u);
}

TEST(WorkingCopies, HeaderStoreRewritesOnlyTheHeader) {
    RadioImage image = PatternImage();
    const RadioImage before = image;
    HeaderCopy header;
    LoadHeaderCopy(image, header);
    header.set(header::kSquelchLevel, 9);
    StoreHeaderCopy(header, image);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (i == header::kSquelchLevel) {
            EXPECT_EQ(image.bytes[i], 9);
        } else {
            ASSERT_EQ(image.bytes[i], before.bytes[i]) << "byte " << i;
        }
    }
}

TEST(WorkingCopies, RecordStoreRewritesOnlyThatChannel) {
    RadioImage image = PatternImage();
    const RadioImage before = image;
    RecordCopy record;
    LoadRecordCopy(image, 20, record);
    EXPECT_EQ(record.at(0), before.bytes[580]);
    record.set(record::kBandwidth, 0xEE);
    StoreRecordCopy(record, 20, image);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const std::uint8_t expected = i == 580 + record::kBandwidth ? 0xEE : before.bytes[i];
        ASSERT_EQ(image.bytes[i], expected) << "byte " << i;
    }
}

TEST(WorkingCopies, ChannelNumbersOutsideOneToTwentyTouchNothing) {
    RadioImage image = PatternImage();
    const RadioImage before = image;
    RecordCopy record;
    record.bytes.fill(0x77);
    StoreRecordCopy(record, 0, image);
    StoreRecordCopy(record, 21, image);
    LoadRecordCopy(image, 21, record);
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_EQ(record.at(0), 0x77);
}

TEST(WorkingCopies, TextFieldsArePaddedWithZeros) {
    HeaderCopy header;
    header.bytes.fill(0x55);
    header.setText(header::kSerialNumber, header::kSerialNumberSize, "AB12");
    const std::uint8_t expected[10] = {0x41, 0x42, 0x31, 0x32, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(header.at(header::kSerialNumber + i), expected[i]);
    }
    EXPECT_EQ(header.at(header::kBand), 0x55) << "the field next door is untouched";
    EXPECT_EQ(header.text(header::kSerialNumber, header::kSerialNumberSize), "AB12");

    header.setText(header::kUserId, header::kUserIdSize, "TOOLONGID");
    EXPECT_EQ(header.text(header::kUserId, header::kUserIdSize), "TOOLON");
    EXPECT_EQ(header.at(header::kSettingsChannel), 0x55);
}

TEST(EmptyChannel, ErasedOrZeroReceiveFrequency) {
    RecordCopy record;
    record.bytes.fill(0);
    EXPECT_TRUE(IsChannelEmpty(record)) << "all-zero receive frequency";

    record.set(record::kRxFrequency, 0xFF);
    record.set(record::kRxFrequency + 1, 0xFF);
    record.set(record::kTxFrequency, 0x44);
    EXPECT_TRUE(IsChannelEmpty(record)) << "erased memory, even with a transmit frequency";

    record.set(record::kRxFrequency + 1, 0x60);
    EXPECT_FALSE(IsChannelEmpty(record));

    record.bytes.fill(0);
    record.set(record::kRxFrequency + 3, 0x01);
    EXPECT_FALSE(IsChannelEmpty(record));
}

}  // namespace
}  // namespace halyx
