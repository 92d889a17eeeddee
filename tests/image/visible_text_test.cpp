// Text from files and radios, shown to people and written as JSON.
#include "image/visible_text.h"

#include <gtest/gtest.h>

#include "image/common_settings.h"

namespace halyx {
namespace {

TEST(VisibleText, ControlBytesAndBrokenUtf8AreEscapedAndEverythingElsePasses) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SN 0001", "SN 0001"},
        {"\x1b[2J\x1b]0;owned\x07", "\\x1b[2J\\x1b]0;owned\\x07"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"tab\there\r\n\x7f", "tab\\x09here\\x0d\\x0a\\x7f"},
        {"\xc2\x9b"
         "31m",
         "\\xc2\\x9b31m"},                                         // C1 CSI in UTF-8
        {"caf\xc3\xa9 \xe5\x8f\xb0", "caf\xc3\xa9 \xe5\x8f\xb0"},  // é and a Chinese character
        {"\xf0\x9f\x93\xbb", "\xf0\x9f\x93\xbb"},                  // four bytes
        {"bad\xff", "bad\\xff"},
        {"\xc0\xaf", "\\xc0\\xaf"},           // overlong "/"
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},  // a surrogate
        {"cut\xe5\x8f", "cut\\xe5\\x8f"},     // a sequence cut short
        {"\x9b", "\\x9b"},                    // a lone continuation byte
    };
    for (const auto& [raw, shown] : cases) {
        EXPECT_EQ(VisibleText(raw), shown);
        EXPECT_EQ(VisibleText(shown), shown) << "escaping twice adds nothing";
    }
}

TEST(VisibleText, TerminalBlocksKeepLineEndsAndJsonTextKeepsEveryByte) {
    EXPECT_EQ(TerminalText("a\tb\n\x1b[2Jc\r\n\n"), "a\tb\n\\x1b[2Jc\\x0d\n\n");
    EXPECT_EQ(TerminalText(""), "");
    // Good UTF-8 passes whole; each stray byte becomes the character of its value, so GBK from a
    // radio next to Chinese UTF-8 keeps both and the result is always valid UTF-8.
    const std::string mixed = "\xe5\x8f\xb0 \xb2\xe2 \x1b \xc0\xaf cut\xe5\x8f";
    EXPECT_EQ(JsonSafeText(mixed),
              "\xe5\x8f\xb0 \xc2\xb2\xc3\xa2 \x1b \xc3\x80\xc2\xaf cut\xc3\xa5\xc2\x8f");
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        const std::string safe = JsonSafeText(one);
        EXPECT_EQ(JsonSafeText(safe), safe) << c;
    }
}

TEST(VisibleText, IdentityFieldsRefuseControlCharacters) {
    CommonSettings settings(HeaderBytes{});
    const SetResult serial = settings.SetSerialNumber("AB\x1b[2J");
    EXPECT_FALSE(serial);
    EXPECT_EQ(serial.allowed, kNoControlCharacters);
    EXPECT_FALSE(settings.SetUserId(std::string("a\0b", 3)));
    EXPECT_FALSE(settings.SetUserId("\x7f"));
    EXPECT_EQ(settings.bytes(), HeaderBytes{});
    // Bytes past ASCII are the radio's own text (GBK): not control characters.
    EXPECT_TRUE(settings.SetUserId("\xb2\xe2\xca\xd4"));
    EXPECT_TRUE(settings.SetSerialNumber("NEW-42"));
}

}  // namespace
}  // namespace halyx
