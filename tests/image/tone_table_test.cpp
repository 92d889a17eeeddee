#include "image/tone_table.h"

#include <gtest/gtest.h>

namespace halyx {
namespace {

TEST(ToneTable, HasTheStoredOrderOfTonesAndCodes) {
    ToneTable table;
    BuildToneTable(table, "OFF");
    ASSERT_EQ(table.size(), 155u);
    EXPECT_EQ(table.text(0), "OFF");
    EXPECT_EQ(table.text(1), "67.0");
    EXPECT_EQ(table.text(46), "233.6");
    EXPECT_EQ(table.text(47), "229.1");
    EXPECT_EQ(table.text(50), "254.1");
    EXPECT_EQ(table.text(51), "D023N");
    EXPECT_EQ(table.text(154), "D754N");
}

TEST(ToneTable, RebuildReplacesTheNoToneTextOnly) {
    ToneTable table;
    BuildToneTable(table, "OFF");
    BuildToneTable(table, "关");
    EXPECT_EQ(table.size(), 155u);
    EXPECT_EQ(table.text(0), "关");
    EXPECT_EQ(table.text(154), "D754N");
}

TEST(ToneTable, BytesPastTheTableShowAsNoTone) {
    ToneTable table;
    BuildToneTable(table, "OFF");
    EXPECT_EQ(ToneText(table, 13), "100.0");
    EXPECT_EQ(ToneText(table, 154), "D754N");
    EXPECT_EQ(ToneText(table, 155), "OFF");
    EXPECT_EQ(ToneText(table, 255), "OFF");
}

TEST(ToneTable, FindsTextsIgnoringCase) {
    ToneTable table;
    BuildToneTable(table, "OFF");
    EXPECT_EQ(table.find("d754n"), 154u);
    EXPECT_EQ(table.find("off"), 0u);
    EXPECT_EQ(table.find("100.0"), 13u);
    EXPECT_FALSE(table.find("100").has_value());
}

}  // namespace
}  // namespace halyx
