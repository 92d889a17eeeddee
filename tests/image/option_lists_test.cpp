#include "image/option_lists.h"

#include <gtest/gtest.h>

#include "image/option_fields.h"

namespace halyx {
namespace {

std::string FakeLang(std::string_view key) {
    return "<" + std::string(key) + ">";
}

TEST(OptionLists, TimeOutCarriesSecondsAndOff) {
    const OptionList list = TimeOutList(FakeLang);
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(list[0].text, "<S0034>");
    EXPECT_EQ(list[0].number, 0);
    EXPECT_EQ(list[1].text, "30s");
    EXPECT_EQ(list[10].number, 120);
    EXPECT_EQ(list[16].text, "180s");
    EXPECT_EQ(list[16].number, 180);
}

TEST(OptionLists, EntriesComeInTheRadiosOrder) {
    EXPECT_EQ(VoxList(FakeLang).size(), 10u);
    EXPECT_EQ(VoxList(FakeLang)[9].text, "9");
    EXPECT_EQ(SquelchList().front().text, "1");
    EXPECT_EQ(SquelchList().size(), 9u);
    const OptionList channels = SettingsChannelList();
    ASSERT_EQ(channels.size(), 20u);
    EXPECT_EQ(channels[0].text, "CH01");
    EXPECT_EQ(channels[18].text, "CH19");
    EXPECT_EQ(channels[19].text, "CH00(20)");
    EXPECT_EQ(EntryTexts(TxPowerList(FakeLang)),
              (std::vector<std::string>{"<S0117>", "<S0118>", "<S0119>"}));
    EXPECT_EQ(EntryTexts(LanguageList(FakeLang)), (std::vector<std::string>{"<S0112>", "<S0113>"}));
    EXPECT_EQ(EntryTexts(BandList()), (std::vector<std::string>{"406.1-470 MHz"}));
    EXPECT_EQ(EntryTexts(BandwidthList()), (std::vector<std::string>{"12.5K", "25K"}));
}

TEST(OptionFields, ByteAndListPositionMapBothWays) {
    EXPECT_EQ(ListPositionForByte(kSquelchField, 9, 9), 8);
    EXPECT_EQ(ByteForListPosition(kSquelchField, 8), 9);
    EXPECT_EQ(ByteForListPosition(kSettingsChannelField, 19), 20);
    EXPECT_EQ(ListPositionForByte(kVoxField, 0, 10), 0);
    EXPECT_EQ(ByteForListPosition(kTxPowerField, 2), 2);
}

TEST(OptionFields, BytesOutsideTheListSelectNothing) {
    EXPECT_FALSE(ListPositionForByte(kSquelchField, 0, 9).has_value());
    EXPECT_FALSE(ListPositionForByte(kSquelchField, 10, 9).has_value());
    EXPECT_FALSE(ListPositionForByte(kTxPowerField, 3, 3).has_value());
    EXPECT_FALSE(ListPositionForByte(kSettingsChannelField, 21, 20).has_value());
}

TEST(OptionFields, TimeOutMatchesTheAttachedNumber) {
    const OptionList list = TimeOutList(FakeLang);
    EXPECT_EQ(TimeOutPositionForByte(list, 0), 0);
    EXPECT_EQ(TimeOutPositionForByte(list, 120), 10);
    EXPECT_FALSE(TimeOutPositionForByte(list, 35).has_value());
    EXPECT_FALSE(TimeOutPositionForByte(list, 1).has_value());
}

TEST(OptionFields, BandwidthAndCheckBoxes) {
    EXPECT_EQ(BandwidthText(0), "12.5K");
    EXPECT_EQ(BandwidthText(1), "25K");
    EXPECT_EQ(BandwidthText(7), "25K");
    EXPECT_TRUE(IsCheckedByte(1));
    EXPECT_FALSE(IsCheckedByte(2));
    EXPECT_FALSE(IsCheckedByte(0));
}

}  // namespace
}  // namespace halyx
