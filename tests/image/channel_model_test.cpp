// The channel and settings values every face edits through: each rule applied once, what it did
// reported, and every byte it does not interpret carried.
#include <gtest/gtest.h>

#include "image/channel.h"
#include "image/common_settings.h"

namespace halyx {
namespace {

// An image whose every byte differs from its neighbours, so a stray write shows.
RadioImage Patterned(std::uint8_t band) {
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        image.bytes[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 13));
    }
    image.bytes[header::kBand] = band;
    return image;
}

void PutBcd(RadioImage& image, std::size_t offset, std::array<std::uint8_t, 4> bytes) {
    std::copy(bytes.begin(), bytes.end(), image.bytes.begin() + static_cast<long>(offset));
}

TEST(ChannelFrequency, EveryCorrectionSaysWhatWasTypedStoredAndWhy) {
    struct Case {
        std::uint8_t band;
        std::string typed;
        std::uint32_t hertz;
        std::string stored;
        FrequencyFix fix;
    };
    const std::vector<Case> cases = {
        {kHighBand, "446.00625", 446006250, "446.00625", FrequencyFix::Unchanged},
        {kHighBand, "446.0123", 446010000, "446.01000", FrequencyFix::MovedToStep},
        {kHighBand, "446.006255", 446006250, "446.00625", FrequencyFix::MovedToStep},
        {kHighBand, "400", 406100000, "406.10000", FrequencyFix::ClampedBelow},
        {kHighBand, "480", 470000000, "470.00000", FrequencyFix::ClampedAbove},
        {kHighBand, "-446", 470000000, "470.00000", FrequencyFix::ClampedAbove},
        {kHighBand, "abc", 406100000, "406.10000", FrequencyFix::ClampedBelow},
        {kHighBand, "1e300", 470000000, "470.00000", FrequencyFix::ClampedAbove},
        {kHighBand, "", 0, "", FrequencyFix::Emptied},
        {kLowBand, "150", 150000000, "150.00000", FrequencyFix::Unchanged},
        {kLowBand, "446", 174000000, "174.00000", FrequencyFix::ClampedAbove},
    };
    for (const Case& c : cases) {
        const FrequencyCorrection got = CorrectFrequency(c.typed, c.band);
        EXPECT_EQ(got, (FrequencyCorrection{c.typed, c.hertz, c.stored, c.fix}))
            << "typed '" << c.typed << "' on band " << int(c.band);
        // The old parser and the channel setter agree with the one rule.
        const ParsedFrequency parsed = ParseFrequency(c.typed, c.band);
        EXPECT_EQ(parsed.hertz, c.hertz);
        EXPECT_EQ(parsed.text, c.typed.empty() ? "" : c.stored);
        RadioImage image = Patterned(c.band);
        Channel channel(image, 4);
        EXPECT_EQ(channel.SetTxFrequency(c.typed), got);
        EXPECT_EQ(channel.TxHertz(), c.hertz);
    }
    // Hertz from a file follow the same rule and are shown as exact megahertz.
    EXPECT_EQ(
        CorrectHertz(446012345, kHighBand),
        (FrequencyCorrection{"446.012345", 446010000, "446.01000", FrequencyFix::MovedToStep}));
    EXPECT_EQ(CorrectHertz(0, kHighBand).fix, FrequencyFix::Emptied);
    EXPECT_EQ(CorrectHertz(500000000, kHighBand).fix, FrequencyFix::ClampedAbove);
}

TEST(ChannelSetters, ReceiveSetsTransmitAndAnEmptiedReceiveEmptiesTheChannel) {
    const RadioImage start = Patterned(kHighBand);
    RadioImage image = start;
    Channel channel(image, 20);
    channel.SetRxFrequency("446.00625");
    channel.StoreInto(image);

    RadioImage expected = start;
    PutBcd(expected, RecordOffset(20) + record::kRxFrequency, {0x44, 0x60, 0x06, 0x25});
    PutBcd(expected, RecordOffset(20) + record::kTxFrequency, {0x44, 0x60, 0x06, 0x25});
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_EQ(Channel(image, 20).RxText(), "446.00625");

    // The transmit frequency alone, then the receive tone (which sets both tones), then the
    // transmit tone alone and the bandwidth.
    channel.SetTxFrequency("450");
    ASSERT_TRUE(channel.SetRxTone(154));
    ASSERT_TRUE(channel.SetTxTone(9));
    ASSERT_TRUE(channel.SetBandwidth(Channel::kWide));
    channel.StoreInto(image);
    PutBcd(expected, RecordOffset(20) + record::kTxFrequency, {0x45, 0x00, 0x00, 0x00});
    expected.bytes[RecordOffset(20) + record::kRxTone] = 154;
    expected.bytes[RecordOffset(20) + record::kTxTone] = 9;
    expected.bytes[RecordOffset(20) + record::kBandwidth] = 1;
    EXPECT_EQ(image.bytes, expected.bytes);

    // Values outside their lists are refused and change nothing.
    const Channel kept = channel;
    const SetResult tone = channel.SetRxTone(155);
    EXPECT_FALSE(tone);
    EXPECT_EQ(tone.allowed, kToneAllowed);
    EXPECT_FALSE(channel.SetTxTone(255));
    EXPECT_FALSE(channel.SetBandwidth(2));
    EXPECT_EQ(channel, kept);

    // Emptying the receive frequency empties the channel: both frequencies become zero.
    EXPECT_EQ(channel.SetRxFrequency("").fix, FrequencyFix::Emptied);
    channel.StoreInto(image);
    PutBcd(expected, RecordOffset(20) + record::kRxFrequency, {0, 0, 0, 0});
    PutBcd(expected, RecordOffset(20) + record::kTxFrequency, {0, 0, 0, 0});
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_TRUE(Channel(image, 20).IsEmpty());
    EXPECT_EQ(Channel(image, 20).RxText(), "");

    // An invalid channel number reads nothing and writes nothing.
    Channel none(image, 21);
    none.SetRxFrequency("446");
    none.StoreInto(image);
    EXPECT_EQ(image.bytes, expected.bytes);
}

TEST(ChannelSetters, ErasedAndZeroReceiveFrequenciesAreEmpty) {
    RadioImage image = Patterned(kHighBand);
    PutBcd(image, RecordOffset(1) + record::kRxFrequency, {0xFF, 0xFF, 0x12, 0x34});
    PutBcd(image, RecordOffset(2) + record::kRxFrequency, {0, 0, 0, 0});
    PutBcd(image, RecordOffset(3) + record::kRxFrequency, {0xFF, 0x00, 0, 0});
    EXPECT_TRUE(Channel(image, 1).IsEmpty());
    EXPECT_TRUE(Channel(image, 2).IsEmpty());
    EXPECT_FALSE(Channel(image, 3).IsEmpty());
}

TEST(CommonSettingsSetters, StoreWhatThePanelWouldAndRefuseWhatNoListHolds) {
    const RadioImage start = Patterned(kHighBand);
    CommonSettings settings(start);
    ASSERT_TRUE(settings.SetTimeOut(120));
    ASSERT_TRUE(settings.SetVoxLevel(0));
    ASSERT_TRUE(settings.SetSquelchLevel(9));
    ASSERT_TRUE(settings.SetSettingsChannel(20));
    ASSERT_TRUE(settings.SetLanguage(1));
    ASSERT_TRUE(settings.SetTxPower(2));
    settings.SetScramble(true);
    settings.SetCompand(false);
    ASSERT_TRUE(settings.SetSerialNumber("AB12"));
    ASSERT_TRUE(settings.SetUserId("abc"));
    RadioImage image = start;
    settings.StoreInto(image);

    RadioImage expected = start;
    expected.bytes[header::kTimeOut] = 120;
    expected.bytes[header::kVoxLevel] = 0;
    expected.bytes[header::kSquelchLevel] = 9;
    expected.bytes[header::kSettingsChannel] = 20;
    expected.bytes[header::kLanguage] = 1;
    expected.bytes[header::kTxPower] = 2;
    expected.bytes[header::kScramble] = 1;
    expected.bytes[header::kCompand] = 0;
    const std::array<std::uint8_t, 10> serial{'A', 'B', '1', '2', 0, 0, 0, 0, 0, 0};
    std::copy(serial.begin(), serial.end(), expected.bytes.begin() + header::kSerialNumber);
    const std::array<std::uint8_t, 6> user{'a', 'b', 'c', 0, 0, 0};
    std::copy(user.begin(), user.end(), expected.bytes.begin() + header::kUserId);
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_EQ(CommonSettings(image).serialNumber(), "AB12");
    EXPECT_EQ(CommonSettings(image).userId(), "abc");
    EXPECT_TRUE(CommonSettings(image).scramble());

    const CommonSettings kept = settings;
    const std::vector<std::pair<SetResult, std::string_view>> refused = {
        {settings.SetTimeOut(35), kTimeOutAllowed},
        {settings.SetTimeOut(190), kTimeOutAllowed},
        {settings.SetTimeOut(20), kTimeOutAllowed},
        {settings.SetVoxLevel(10), kVoxAllowed},
        {settings.SetVoxLevel(-1), kVoxAllowed},
        {settings.SetSquelchLevel(0), kSquelchAllowed},
        {settings.SetSettingsChannel(0), kSettingsChannelAllowed},
        {settings.SetSettingsChannel(21), kSettingsChannelAllowed},
        {settings.SetLanguage(2), kLanguageAllowed},
        {settings.SetTxPower(3), kPowerAllowed},
        {settings.SetSerialNumber("12345678901"), "at most 10 characters"},
        {settings.SetUserId("1234567"), "at most 6 characters"},
    };
    for (const auto& [result, allowed] : refused) {
        EXPECT_FALSE(result.accepted);
        EXPECT_EQ(result.allowed, allowed);
    }
    EXPECT_EQ(settings, kept);
}

}  // namespace
}  // namespace halyx
