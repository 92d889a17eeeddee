#include "cli/image_edits.h"

#include <gtest/gtest.h>

#include "cli/json_output.h"
#include "fleet/fleet_overrides.h"
#include "image/working_copies.h"
#include "interchange/csv_import.h"

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
        {{"--user-id", "\x1b[2J"}},
        {{"--frobnicate", "1"}},
    };
    for (const auto& edits : refused) {
        const auto error = Apply(edits);
        ASSERT_TRUE(error.has_value()) << edits.back().name << " " << edits.back().value;
        EXPECT_EQ(error->option, edits.back().name);
        const std::string described = DescribeEditError(*error);
        EXPECT_FALSE(described.empty());
        EXPECT_EQ(described.find('\x1b'), std::string::npos) << "printed raw: " << described;
    }
}

// The same values given to every face that edits channels or settings end in the same bytes:
// the rules live once, in the channel and settings setters.
TEST_F(ImageEdits, EveryFaceStoresTheSameBytesForTheSameValues) {
    const RadioImage start = image;

    ASSERT_FALSE(Apply({{"--channel", "3"},
                        {"--rx", "446.0123"},
                        {"--rx-tone", "88.5"},
                        {"--bandwidth", "25K"},
                        {"--channel", "4"},
                        {"--rx", "446.1"},
                        {"--tx", "447.6"},
                        {"--rx-tone", "off"},
                        {"--tx-tone", "233.6"}}));
    const RadioImage bySet = image;

    RadioDocument document(start);
    document.EditChannel(3, [](Channel& c) {
        c.SetRxFrequency("446.0123");
        c.SetRxTone(9);
        c.SetBandwidth(Channel::kWide);
    });
    document.EditChannel(4, [](Channel& c) {
        c.SetRxFrequency("446.1");
        c.SetTxFrequency("447.6");
        c.SetRxTone(0);
        c.SetTxTone(46);
    });
    EXPECT_EQ(document.image().bytes, bySet.bytes);

    const CsvImport imported =
        ImportChannelsCsv(start,
                          "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode\n"
                          "3,446.012300,,0,TSQL,67.0,88.5,FM\n"
                          "4,446.100000,split,447.600000,Tone,233.6,67.0,\n");
    ASSERT_FALSE(imported.error);
    EXPECT_EQ(imported.image.bytes, bySet.bytes);

    // The settings: `set`, the document and a fleet's overrides row.
    image = start;
    ASSERT_FALSE(Apply({{"--serial", "NEW 1"},
                        {"--user-id", "Car 1"},
                        {"--squelch", "9"},
                        {"--tot", "off"},
                        {"--vox", "3"},
                        {"--power", "2"}}));
    document.EditSettings([](CommonSettings& s) {
        s.SetSerialNumber("NEW 1");
        s.SetUserId("Car 1");
        s.SetSquelchLevel(9);
        s.SetTimeOut(0);
        s.SetVoxLevel(3);
        s.SetTxPower(2);
    });
    const OverridesParse overrides = ParseFleetOverrides(
        "radio,serialNumber,userId,squelch,tot,vox,power\n"
        "SN1,NEW 1,Car 1,9,off,3,2\n");
    ASSERT_TRUE(overrides.ok());
    const RadioImage byFleet =
        BuildRadioImage(start, bySet, overrides.overrides.rows.at(0).overrides);
    const auto header = [](const RadioImage& im) {
        return std::vector<std::uint8_t>(im.bytes.begin(), im.bytes.begin() + kHeaderSize);
    };
    EXPECT_EQ(header(document.image()), header(image));
    EXPECT_EQ(header(byFleet), header(image));
}

}  // namespace
}  // namespace halyx::cli

namespace halyx::cli {
namespace {

// Every JSON the command line prints goes through ReadableJson: a text that is no UTF-8, put in
// by any command, must come out as valid JSON keeping each byte, never as an exception.
TEST(JsonOutput, TextThatIsNoUtf8AnywhereInADocumentIsWrittenNotThrown) {
    const std::string raw = "SN\xb2\xe2\xff\x1b";
    const Json document = {{"serial" + raw, raw},
                           {"list", Json::array({raw, {{"note", raw}}})},
                           {"good", "\xe5\x8f\xb0"}};
    std::string text;
    ASSERT_NO_THROW(text = ReadableJson(document));
    const nlohmann::json back = nlohmann::json::parse(text);
    const std::string kept = "SN\xc2\xb2\xc3\xa2\xc3\xbf\x1b";
    EXPECT_EQ(back["serial" + kept], kept);
    EXPECT_EQ(back["list"][1]["note"], kept);
    EXPECT_EQ(back["good"], "\xe5\x8f\xb0");
    EXPECT_EQ(JsonText(raw), kept);
}

}  // namespace
}  // namespace halyx::cli
