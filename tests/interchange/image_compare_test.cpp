// Comparing two images as a user thinks of them, and the channel sheet built from one.
#include <gtest/gtest.h>

#include "interchange/channel_sheet.h"
#include "interchange/image_compare.h"
#include "interchange/interchange_fixture.h"

namespace halyx {
namespace {

TEST(CompareImages, NamesTheSettingTheChannelFieldAndTheRangeOfOtherBytes) {
    const RadioImage a = testing::DefaultImage();
    EXPECT_TRUE(CompareImages(a, a).identical());

    RadioImage b = a;
    b.bytes[header::kSquelchLevel] = 7;
    b.bytes[RecordOffset(3) + record::kRxTone] = 9;  // channel 3 receive tone 88.5
    b.bytes[50] ^= 0xFF;                             // bytes the system does not interpret
    b.bytes[51] ^= 0xFF;
    b.bytes[RecordOffset(12) + record::kRxTone] = 9;  // an erased channel: nothing shows
    const ImageDifferences d = CompareImages(a, b);
    EXPECT_FALSE(d.identical());

    ASSERT_EQ(d.settings.size(), 1u);
    EXPECT_EQ(d.settings[0].name, "squelchLevel");
    EXPECT_EQ(d.settings[0].a, std::to_string(a.bytes[header::kSquelchLevel]));
    EXPECT_EQ(d.settings[0].b, "7");

    ASSERT_EQ(d.channels.size(), 1u);
    EXPECT_EQ(d.channels[0].channel, 3);
    EXPECT_EQ(d.channels[0].field, "rxTone");
    EXPECT_EQ(d.channels[0].a, "off");
    EXPECT_EQ(d.channels[0].b, "88.5");

    ASSERT_EQ(d.bytes.size(), 2u);
    EXPECT_EQ(d.bytes[0].first, 50u);
    EXPECT_EQ(d.bytes[0].last, 51u);
    EXPECT_EQ(d.bytes[0].b,
              (std::vector<std::uint8_t>{static_cast<std::uint8_t>(a.bytes[50] ^ 0xFF),
                                         static_cast<std::uint8_t>(a.bytes[51] ^ 0xFF)}));
    EXPECT_EQ(d.bytes[1].first, RecordOffset(12) + record::kRxTone);

    b = a;
    b.length = 607;
    EXPECT_TRUE(CompareImages(a, b).lengthDiffers);
}

TEST(ChannelSheet, HoldsTheSettingsAndAllTwentyChannelsInTheGivenLanguage) {
    RadioImage image = testing::DefaultImage();
    image.bytes[header::kSerialNumber] = '<';  // texts from the radio are escaped
    const TextOrLookup chinese = [](const TextKey& key) {
        return key.key == "S0235" ? std::string("信道表") : std::string(key.english);
    };
    const std::string html = ChannelSheetHtml(image, {"my & radio.kda", "2024-05-01"}, chinese);
    EXPECT_NE(html.find("<h1>信道表</h1>"), std::string::npos);
    EXPECT_NE(html.find("my &amp; radio.kda"), std::string::npos);
    EXPECT_NE(html.find("2024-05-01"), std::string::npos);
    EXPECT_NE(html.find("&lt;000000001"), std::string::npos) << html;
    EXPECT_NE(html.find("<td>CH01</td><td>446.00625</td><td>446.00625</td><td>OFF</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td>CH00(20)</td><td></td>"), std::string::npos);
    EXPECT_NE(html.find("<th>Squelch</th>"), std::string::npos);
}

}  // namespace
}  // namespace halyx
