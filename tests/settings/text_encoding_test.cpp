#include "settings/text_encoding.h"

#include <gtest/gtest.h>

namespace halyx {
namespace {

// "中文" in both encodings.
constexpr std::string_view kChineseGbk = "\xD6\xD0\xCE\xC4";
constexpr std::string_view kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

TEST(TextEncoding, GbkAndUtf8ConvertBothWays) {
    EXPECT_EQ(GbkToUtf8(kChineseGbk), kChineseUtf8);
    EXPECT_EQ(Utf8ToGbk(kChineseUtf8), kChineseGbk);
    EXPECT_EQ(GbkToUtf8("COM1 ok"), "COM1 ok");
    // Code page 936 maps 0x80 to the euro sign, as the original platform does.
    EXPECT_EQ(GbkToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(TextEncoding, InvalidGbkBecomesReplacementMarksAndTheRestSurvives) {
    EXPECT_EQ(GbkToUtf8(std::string("\xFF") + "A"), std::string(kReplacement) + "A");
    EXPECT_EQ(GbkToUtf8(std::string(kChineseGbk) + "\xD6"),
              std::string(kChineseUtf8) + std::string(kReplacement));
}

TEST(TextEncoding, Utf8TheGbkCodePageCannotHoldBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToGbk("A\xF0\x9F\x98\x80"
                        "B"),
              "A?B");  // an emoji
    EXPECT_EQ(Utf8ToGbk("A\xC3"
                        "B"),
              "A?B");  // a broken sequence
}

TEST(TextEncoding, Utf8ValidityIsStrict) {
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8(kChineseUtf8));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8(kChineseGbk));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong zero
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate half
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8(kChineseUtf8.substr(0, 5)));
    EXPECT_EQ(RepairUtf8("a\xFF"
                         "b"),
              std::string("a") + std::string(kReplacement) + "b");
}

TEST(TextEncoding, CutTextsLoseOnlyTheirBrokenLastCharacter) {
    EXPECT_EQ(DropIncompleteUtf8Tail(kChineseUtf8.substr(0, 4)), kChineseUtf8.substr(0, 3));
    EXPECT_EQ(DropIncompleteUtf8Tail(kChineseUtf8.substr(0, 5)), kChineseUtf8.substr(0, 3));
    EXPECT_EQ(DropIncompleteUtf8Tail(kChineseUtf8), kChineseUtf8);
    EXPECT_EQ(DropIncompleteUtf8Tail("abc"), "abc");

    EXPECT_EQ(DropIncompleteGbkTail(kChineseGbk.substr(0, 3)), kChineseGbk.substr(0, 2));
    EXPECT_EQ(DropIncompleteGbkTail(kChineseGbk), kChineseGbk);
    // "啊" is B0 A1: its trail byte is also a lead byte, so only a scan from the start can
    // tell that the pair is complete.
    EXPECT_EQ(DropIncompleteGbkTail("\xB0\xA1"), "\xB0\xA1");
    EXPECT_EQ(DropIncompleteGbkTail("\xB0\xA1\xB0"), "\xB0\xA1");
}

}  // namespace
}  // namespace halyx
