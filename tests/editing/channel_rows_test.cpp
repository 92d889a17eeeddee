// Row operations on whole records, bulk edits and the raw clipboard form, checked on whole images.
#include <gtest/gtest.h>

#include "editing/channel_clipboard.h"
#include "editing_fixture.h"

namespace halyx::test {
namespace {

RadioImage Cleared(RadioImage image, int channel) {
    RecordBytes record = ReadRecord(image, channel);
    std::fill_n(record.begin() + record::kTxFrequency, 8, 0);
    WriteRecord(image, channel, record);
    return image;
}

TEST(ChannelRows, MovesCarryAllTwentySevenBytesAndStopAtTheEdges) {
    const RadioImage start = PatternedImage({1, 2, 3, 4, 5});
    RadioImage image = start;
    ASSERT_TRUE(MoveChannelsUp(image, {3, 4}));
    std::vector<int> order = IdentityOrder();
    order[1] = 3;  // channels 3 and 4 now at 2 and 3, channel 2 below them at 4
    order[2] = 4;
    order[3] = 2;
    EXPECT_EQ(image.bytes, WithRecordsFrom(start, order).bytes);

    ASSERT_TRUE(MoveChannelsDown(image, {2, 3}));
    EXPECT_EQ(image.bytes, start.bytes);

    EXPECT_FALSE(MoveChannelsUp(image, {1, 2}));
    EXPECT_FALSE(MoveChannelsDown(image, {19, 20}));
    EXPECT_FALSE(MoveChannelsUp(image, {5, 4}));
    EXPECT_EQ(image.bytes, start.bytes);
}

TEST(ChannelRows, InsertShiftsTheRowsBelowAndIsRefusedWhileChannelTwentyIsInUse) {
    RadioImage busy = PatternedImage({1, 2, 20});
    const RadioImage busyBefore = busy;
    EXPECT_EQ(InsertEmptyChannel(busy, 2), InsertResult::LastChannelInUse);
    EXPECT_EQ(busy.bytes, busyBefore.bytes);
    EXPECT_EQ(InsertEmptyChannel(busy, 0), InsertResult::InvalidChannel);

    const RadioImage start = PatternedImage({1, 2, 3, 19});
    RadioImage image = start;
    ASSERT_EQ(InsertEmptyChannel(image, 2), InsertResult::Inserted);
    std::vector<int> order = IdentityOrder();
    order[1] = 20;  // the empty channel 20 record lands on channel 2
    for (int channel = 3; channel <= 20; ++channel) {
        order[channel - 1] = channel - 1;
    }
    EXPECT_EQ(image.bytes, WithRecordsFrom(start, order).bytes);
    EXPECT_TRUE(IsChannelEmpty(image, 2));
    EXPECT_FALSE(IsChannelEmpty(image, 20));  // old channel 19
}

TEST(ChannelRows, DeleteClosesTheGapAndEmptiesTheLastChannels) {
    const RadioImage start = PatternedImage({1, 2, 3, 4, 20});
    RadioImage image = start;
    ASSERT_TRUE(DeleteChannels(image, {2, 3}));
    std::vector<int> order = IdentityOrder();
    for (int channel = 2; channel <= 18; ++channel) {
        order[channel - 1] = channel + 2;
    }
    order[18] = 2;  // the deleted records, emptied, at the end
    order[19] = 3;
    RadioImage expected = WithRecordsFrom(start, order);
    expected = Cleared(Cleared(expected, 19), 20);
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_TRUE(IsChannelEmpty(image, 19));
    EXPECT_TRUE(IsChannelEmpty(image, 20));
    EXPECT_FALSE(IsChannelEmpty(image, 18));  // old channel 20
}

TEST(ChannelRows, ClearEmptiesBothFrequenciesAndKeepsEveryOtherByte) {
    const RadioImage start = PatternedImage({1, 2, 3});
    RadioImage image = start;
    ClearChannels(image, {2, 3});
    EXPECT_EQ(image.bytes, Cleared(Cleared(start, 2), 3).bytes);
    EXPECT_TRUE(IsChannelEmpty(image, 2));
}

TEST(ChannelRows, PasteKeepsTheRowsDistancesDropsWhatFallsPastTwentyAndCanKeepTargetBytes) {
    const RadioImage source = PatternedImage({4, 6});
    const std::vector<ChannelRow> rows{{4, ReadRecord(source, 4)}, {6, ReadRecord(source, 6)}};

    RadioImage image = PatternedImage({});
    EXPECT_EQ(PasteChannels(image, 10, rows, PasteForm::WholeRecords), (ChannelRange{10, 12}));
    EXPECT_EQ(ReadRecord(image, 10), rows[0].record);
    EXPECT_EQ(ReadRecord(image, 11), ReadRecord(PatternedImage({}), 11));
    EXPECT_EQ(ReadRecord(image, 12), rows[1].record);

    RadioImage edge = PatternedImage({});
    const RadioImage edgeBefore = edge;
    EXPECT_EQ(PasteChannels(edge, 19, rows, PasteForm::WholeRecords), (ChannelRange{19, 19}));
    EXPECT_EQ(ReadRecord(edge, 20), ReadRecord(edgeBefore, 20));

    RadioImage shown = PatternedImage({});
    const RecordBytes target = ReadRecord(shown, 1);
    PasteChannels(shown, 1, {rows[0]}, PasteForm::ShownFieldsOnly);
    RecordBytes expected = target;
    for (std::size_t offset : {2, 3, 4, 5, 6, 7, 8, 9, 13, 14, 15}) {
        expected[offset] = rows[0].record[offset];
    }
    EXPECT_EQ(ReadRecord(shown, 1), expected);
}

TEST(ChannelRows, BulkSetChangesOneFieldOnTheUsedChannelsOnly) {
    const RadioImage start = PatternedImage({2, 4, 5});
    RadioImage image = start;
    EXPECT_EQ(SetFieldForChannels(image, {2, 5}, BulkField::TxTone, 60), 3);
    RadioImage expected = start;
    for (int channel : {2, 4, 5}) {
        expected.bytes[RecordOffset(channel) + record::kTxTone] = 60;
    }
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_EQ(SetFieldForChannels(image, {2, 5}, BulkField::Bandwidth, 1), 3);
    EXPECT_EQ(image.bytes[RecordOffset(3) + record::kBandwidth],
              start.bytes[RecordOffset(3) + record::kBandwidth]);

    // A receive tone sets the transmit tone as well, by the channel's rule; a transmit tone
    // set after it is the one that stays.
    RadioImage tones = start;
    EXPECT_EQ(SetFieldForChannels(tones, {2, 5}, BulkField::RxTone, 7), 3);
    SetFieldForChannels(tones, {4, 4}, BulkField::TxTone, 9);
    for (int channel : {2, 4, 5}) {
        EXPECT_EQ(tones.bytes[RecordOffset(channel) + record::kRxTone], 7) << channel;
        EXPECT_EQ(tones.bytes[RecordOffset(channel) + record::kTxTone], channel == 4 ? 9 : 7)
            << channel;
    }
    EXPECT_EQ(ReadRecord(tones, 3), ReadRecord(start, 3));
}

TEST(ChannelClipboard, RawFormRoundTripsAndRefusesAnythingMalformed) {
    const RadioImage image = PatternedImage({1, 2});
    const std::vector<ChannelRow> rows = CopyChannels(image, {1, 20});
    const std::string raw = channel_clipboard::EncodeRaw(rows);
    EXPECT_EQ(channel_clipboard::DecodeRaw(raw), rows);

    EXPECT_FALSE(channel_clipboard::DecodeRaw(raw.substr(0, raw.size() - 1)));
    EXPECT_FALSE(channel_clipboard::DecodeRaw(raw + "x"));
    EXPECT_FALSE(channel_clipboard::DecodeRaw("CSV,text"));
    std::string badChannel = raw;
    badChannel[5] = 21;
    EXPECT_FALSE(channel_clipboard::DecodeRaw(badChannel));
    EXPECT_FALSE(channel_clipboard::DecodeRaw(channel_clipboard::EncodeRaw({})));
}

}  // namespace
}  // namespace halyx::test
