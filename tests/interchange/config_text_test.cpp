#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "image/frequency_codec.h"
#include "interchange/config_text.h"
#include "interchange_fixture.h"

namespace halyx {
namespace {

using testing::DefaultImage;
using testing::SetChannel;

// The bytes an image file of this image holds, plus the records: what must survive a round trip.
bool SameImage(const RadioImage& a, const RadioImage& b) {
    const std::size_t end = std::max<std::size_t>(kRecordsEnd, a.length);
    return a.length == b.length &&
           std::equal(a.bytes.begin(), a.bytes.begin() + static_cast<std::ptrdiff_t>(end),
                      b.bytes.begin());
}

std::string ProblemsOf(const ConfigRead& read) {
    std::string out;
    for (const ConfigProblem& problem : read.problems) {
        out += DescribeConfigProblem("f.halyx.yaml", problem) + "\n";
    }
    return out;
}

// Random bytes everywhere, with about half of the fields then given a value of their list, so
// both the named values and the raw ones are written and read back.
RadioImage RandomImage(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::bernoulli_distribution half(0.5);
    RadioImage image;
    for (auto& b : image.bytes) {
        b = static_cast<std::uint8_t>(byte(random));
    }
    image.length = static_cast<std::uint16_t>(length);
    if (half(random)) {
        image.bytes[header::kBand] = static_cast<std::uint8_t>(byte(random) % 2);
    }
    const std::uint8_t goodSettings[][2] = {
        {header::kTimeOut, 120},        {header::kVoxLevel, 0}, {header::kSquelchLevel, 9},
        {header::kSettingsChannel, 20}, {header::kLanguage, 1}, {header::kTxPower, 2}};
    for (const auto& [offset, value] : goodSettings) {
        if (half(random)) {
            image.bytes[offset] = value;
        }
    }
    if (half(random)) {
        std::copy_n("AB 12", 6, image.bytes.begin() + header::kSerialNumber);
    }
    const bool low = image.bytes[header::kBand] == kLowBand;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (half(random)) {
            const std::uint32_t hz =
                (low ? 136000000u : 406100000u) + static_cast<std::uint32_t>(byte(random)) * 6250u;
            SetChannel(image, channel, hz, half(random) ? hz : 0,
                       static_cast<std::uint8_t>(byte(random) % 160),
                       static_cast<std::uint8_t>(byte(random) % 3),
                       static_cast<std::uint8_t>(byte(random) % 3));
        }
    }
    return image;
}

TEST(ConfigText, EveryImageOfEveryLengthComesBackByteForByteAndItsTextWordForWord) {
    std::mt19937 random(20261209);
    for (std::size_t length = 0; length <= kImageSize; ++length) {
        const RadioImage image = RandomImage(random, length);
        const std::string text = WriteConfigText(image);
        const ConfigRead read = ReadConfigText(text);
        ASSERT_TRUE(read.ok()) << "length " << length << "\n" << ProblemsOf(read) << text;
        ASSERT_TRUE(SameImage(image, read.image)) << "length " << length << "\n" << text;
        ASSERT_EQ(WriteConfigText(read.image), text) << "length " << length;
    }
}

TEST(ConfigText, DefaultImageReadsAsTheShowJsonNamesAndValuesInAStableOrder) {
    RadioImage image = DefaultImage();
    SetChannel(image, 2, 446018750, 446018750, 9, 51, 1);  // 88.5 Hz in, D023N out, 25K
    SetChannel(image, 3, 446031250, 0, 155, 0, 7);         // bytes no list names stay raw
    image.bytes[header::kTimeOut] = 25;
    const std::string text = WriteConfigText(image);
    const std::string expectedStart =
        "format: halyx-config/1\n"
        "band: \"406.1-470\"\n"
        "settings:\n"
        "  timeOut: {raw: \"19\"}\n"
        "  voxLevel: 0\n"
        "  squelchLevel: 3\n"
        "  settingsChannel: 1\n"
        "  language: 0\n"
        "  scramble: 0\n"
        "  compand: 0\n"
        "  txPower: 2\n"
        "  serialNumber: \"1000000001\"\n"
        "  userId: \"HX0001\"\n"
        "channels:\n"
        "  - {channel: 1, rxFrequency: \"446.00625\", txFrequency: \"446.00625\", rxTone: \"off\", "
        "txTone: \"off\", bandwidth: \"12.5K\"}\n"
        "  - {channel: 2, rxFrequency: \"446.01875\", txFrequency: \"446.01875\", rxTone: "
        "\"88.5\", "
        "txTone: \"D023N\", bandwidth: \"25K\"}\n"
        "  - {channel: 3, rxFrequency: \"446.03125\", txFrequency: {raw: \"00 00 00 00\"}, "
        "rxTone: {raw: \"9B\"}, txTone: \"off\", bandwidth: {raw: \"07\"}}\n";
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(text.find("  - {channel: 9, empty: true}\n"), std::string::npos);
    // The bytes no field covers: the header's unnamed ones, then the gap before the records.
    EXPECT_NE(text.find("otherBytes:\n  0: \"00*12\"\n  37: \"00*4\"\n  41: \"FF*26\"\n"
                        "  67: \"01 00\"\n  77: \"00 00 00\"\n  83: \"00*11 01 00\"\n"),
              std::string::npos);
    // Erased channels and the erased end of the image come out compact.
    EXPECT_TRUE(
        text.ends_with("  536: \"FF*23\"\n  563: \"FF*23\"\n  590: \"FF*1458\"\n"
                       "imageLength: 2048\n"))
        << text;
}

TEST(ConfigText, HandWrittenTextWithCommentsAnyOrderAndPlainScalarsIsTaken) {
    const std::string text = R"(# Site 7 repeater pair
imageLength: 607        # only the header and the records
channels:
  - channel: 4          # out of order on purpose
    rxFrequency: 446.1
    txFrequency: 446.10625
    rxTone: d754n       # case does not matter
    txTone: 254.1
    bandwidth: 25k
  - {channel: 1, rxFrequency: "446.00625", txFrequency: 446.00625, rxTone: OFF, txTone: off, bandwidth: 12.5K}
  - {channel: 20, empty: true}
settings: {userId: "", serialNumber: "SN 42", txPower: 0, compand: 1, scramble: 1,
           language: 1, settingsChannel: 4, squelchLevel: 1, voxLevel: off, timeOut: 180}
band: 406.1-470
format: halyx-config/1
otherBytes:
  67: "01 00"   # channel 1's in-use mark
  41: "0102 0304"
  600: "ab*7"
)";
    const ConfigRead read = ReadConfigText(text);
    ASSERT_TRUE(read.ok()) << ProblemsOf(read);
    // Everything the text does not give is erased memory.
    RadioImage expected;
    expected.bytes.fill(0xFF);
    expected.length = 607;
    std::fill_n(expected.bytes.begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
    std::copy_n("SN 42", 5, expected.bytes.begin() + header::kSerialNumber);
    std::fill_n(expected.bytes.begin() + header::kUserId, header::kUserIdSize, 0);
    const std::pair<std::size_t, std::uint8_t> settings[] = {
        {header::kBand, 1},         {header::kTimeOut, 180},       {header::kVoxLevel, 0},
        {header::kSquelchLevel, 1}, {header::kSettingsChannel, 4}, {header::kLanguage, 1},
        {header::kScramble, 1},     {header::kCompand, 1},         {header::kTxPower, 0}};
    for (const auto& [offset, value] : settings) {
        expected.bytes[offset] = value;
    }
    std::copy_n("\x01\x02\x03\x04", 4, expected.bytes.begin() + 41);
    std::fill_n(expected.bytes.begin() + 600, 7, 0xAB);
    expected.bytes[RecordOffset(1)] = 1;
    expected.bytes[RecordOffset(1) + 1] = 0;
    SetChannel(expected, 1, 446006250, 446006250, 0, 0, 0);
    SetChannel(expected, 4, 446100000, 446106250, 154, 50, 1);
    EXPECT_TRUE(SameImage(read.image, expected));
    // And what Halyx writes for it reads back as the same image.
    EXPECT_TRUE(SameImage(ReadConfigText(WriteConfigText(read.image)).image, expected));
}

TEST(ConfigText, EveryProblemIsListedWithItsLineKeyPathAndWhatWouldBeAccepted) {
    const std::string text = R"(format: halyx-config/1
band: 406.1-470
settings:
  timeOut: 25
  voxLevel: 3
  squelchLevel: 0
  settingsChannel: 1
  language: 0
  scramble: 0
  compand: 0
  serialNumber: "TOO-LONG-SERIAL"
  userId: HX
  colour: blue
channels:
  - {channel: 1, rxFrequency: 480, txFrequency: 446.0123, rxTone: 88.4, txTone: off, bandwidth: 20K}
  - {channel: 2, rxFrequency: 446.00625, txFrequency: 446.00625, rxTone: off, txTone: off}
  - {channel: 1, empty: true}
  - {channel: 21, empty: true}
  - {channel: 3, empty: true, rxTone: off}
  - {channel: 4, rxFrequency: {raw: "44 60 06"}, txFrequency: {raw: "FF FF FF FF"}, rxTone: off, txTone: off, bandwidth: 25K}
otherBytes:
  0: "00 0G"
  12: "31"
  600: "00*10"
  602: "00"
  3000: "00"
imageLength: 605
imageLength: 2048
)";
    const ConfigRead read = ReadConfigText(text);
    EXPECT_EQ(
        ProblemsOf(read),
        "f.halyx.yaml:4: settings.timeOut: \"25\" is not on the list, accepted: 0 (off) or 30..180 "
        "in steps of 10\n"
        "f.halyx.yaml:4: settings.txPower: missing, accepted: 0, 1 or 2\n"
        "f.halyx.yaml:6: settings.squelchLevel: \"0\" is not on the list, accepted: 1..9\n"
        "f.halyx.yaml:11: settings.serialNumber: \"TOO-LONG-SERIAL\" is not a serial number, "
        "accepted: at most 10 characters (letters, digits, spaces)\n"
        "f.halyx.yaml:13: settings.colour: unknown key, accepted: timeOut, voxLevel, squelchLevel, "
        "settingsChannel, language, scramble, compand, txPower, serialNumber, userId\n"
        "f.halyx.yaml:15: channels[1].rxFrequency: \"480\" is outside the 406.1-470 MHz band, the "
        "window would store 470.00000, accepted: 406.10000 to 470.00000 MHz on a 5 kHz or 6.25 "
        "kHz step\n"
        "f.halyx.yaml:15: channels[1].txFrequency: \"446.0123\" is not on a 5 kHz or 6.25 kHz "
        "channel step, the window would store 446.01000, accepted: 406.10000 to 470.00000 MHz on "
        "a 5 kHz or 6.25 kHz step\n"
        "f.halyx.yaml:15: channels[1].rxTone: \"88.4\" is not a tone, accepted: off, a CTCSS tone "
        "of the table (67.0..254.1) or a DCS code (D023N..D754N)\n"
        "f.halyx.yaml:15: channels[1].bandwidth: \"20K\" is not a bandwidth, accepted: 12.5K or "
        "25K\n"
        "f.halyx.yaml:16: channels[2].bandwidth: missing, accepted: 12.5K or 25K\n"
        "f.halyx.yaml:17: channels[1].channel: channel 1 is given twice (first on line 15), "
        "accepted: each channel once\n"
        "f.halyx.yaml:18: channels[entry 4].channel: not a channel number, accepted: 1..20\n"
        "f.halyx.yaml:19: channels[3].rxTone: given for an empty channel, accepted: {channel: 3, "
        "empty: true} alone, or a channel without empty: true\n"
        "f.halyx.yaml:20: channels[4].rxFrequency.raw: holds 3 bytes, accepted: {raw: \"HH ...\"} "
        "with 4 bytes\n"
        "f.halyx.yaml:22: otherBytes.0: not a run of hex bytes, accepted: hex bytes separated by "
        "spaces, such as \"01 00 4A\", with HH*N for N copies of a byte\n"
        "f.halyx.yaml:23: otherBytes.12: byte 12 is settings.serialNumber, accepted: bytes no "
        "field covers; give settings.serialNumber by its name\n"
        "f.halyx.yaml:24: otherBytes.600: byte 607 lies beyond imageLength 605, so no image file "
        "would hold it, accepted: bytes below the image length\n"
        "f.halyx.yaml:25: otherBytes.602: byte 602 is also given on line 24, accepted: each byte "
        "once\n"
        "f.halyx.yaml:26: otherBytes.3000: not an offset, accepted: 0..2047\n"
        "f.halyx.yaml:28: imageLength: given twice (first on line 27), accepted: each key once\n");
}

TEST(ConfigText, TextsThatAreNoConfigurationAreRefusedWithTheReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"format: halyx-config/1\nband: [unclosed\n",
         "f.halyx.yaml:3: not readable as YAML (end of sequence flow not found), accepted: a YAML "
         "1.2 text in UTF-8\n"},
        {"# nothing but a comment\n",
         "f.halyx.yaml:1: no configuration could be read from the text, accepted: a mapping that "
         "starts with format: halyx-config/1\n"},
        // yaml-cpp's own LoadAll() never returns on this one.
        {",\n", "f.halyx.yaml:1: no configuration could be read from the text"},
        {"- format: halyx-config/1\n",
         "f.halyx.yaml:1: the text is not a mapping of keys, accepted: format, band, settings, "
         "channels, otherBytes, imageLength\n"},
        {"band: 136-174\n",
         "f.halyx.yaml:1: format: missing: this is not known to be a Halyx configuration, "
         "accepted: format: halyx-config/1\n"},
        {"format: halyx-config/2\n",
         "f.halyx.yaml:1: format: \"halyx-config/2\" is not a format this Halyx reads, accepted: "
         "format: halyx-config/1\n"},
        {"format: halyx-config/1\notherBytes: {0: \"FF*2048\", 1: \"00\"}\n",
         "f.halyx.yaml:2: otherBytes.1: the runs so far give more bytes than the image holds, "
         "accepted: each byte once\n"},
        {"format: halyx-config/1\n---\nformat: halyx-config/1\n",
         "f.halyx.yaml:3: a second YAML document, accepted: one document per file\n"},
    };
    RadioImage base = DefaultImage();
    for (const auto& [text, problem] : cases) {
        const ConfigRead read = ReadConfigText(text, &base);
        EXPECT_NE(ProblemsOf(read).find(problem), std::string::npos) << text << "\n"
                                                                     << ProblemsOf(read);
    }
}

// One mistake repeated through aliases stops being listed at 200 problems, and reading stops.
TEST(ConfigText, TextWithEndlessProblemsIsRefusedQuickly) {
    std::string text = "format: halyx-config/1\nbad: &bad {";
    for (int i = 0; i < 5000; ++i) {
        text += "k" + std::to_string(i) + ": 1, ";
    }
    text += "channel: 1}\nchannels: [*bad";
    for (int i = 0; i < 5000; ++i) {
        text += ", *bad";
    }
    text += "]\n";
    const ConfigRead read = ReadConfigText(text);
    ASSERT_EQ(read.problems.size(), 201u);
    EXPECT_EQ(read.problems.back().what,
              "more problems than these 200; the rest of the text was not read");
}

// The base gives every byte the text has no word for; the text's own words always win.
TEST(ConfigText, BaseImageFillsWhatTheTextLeavesOut) {
    RadioImage base = DefaultImage();
    base.bytes[100] = 0x5A;  // an unnamed byte of channel 2's record
    base.bytes[1500] = 0x77;
    base.length = 1600;
    const ConfigRead read = ReadConfigText(
        "format: halyx-config/1\n"
        "settings: {squelchLevel: 7}\n"
        "channels:\n"
        "  - {channel: 2, rxFrequency: 440.5, txFrequency: 440.5, rxTone: 67.0, txTone: 67.0, "
        "bandwidth: 25K}\n",
        &base);
    ASSERT_TRUE(read.ok()) << ProblemsOf(read);
    RadioImage expected = base;
    expected.bytes[header::kSquelchLevel] = 7;
    SetChannel(expected, 2, 440500000, 440500000, 1, 1, 1);
    // Channels the text leaves out are erased; their other bytes stay the base's.
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (channel != 2) {
            std::fill_n(expected.bytes.begin() + RecordOffset(channel) + record::kRxFrequency,
                        record::kFrequencySize, 0xFF);
        }
    }
    EXPECT_TRUE(SameImage(read.image, expected));
}

// The YAML examples of the format's document, in order.
std::vector<std::string> DocumentExamples() {
    std::ifstream in(testing::SourceDir() / "docs" / "config-format.md");
    std::vector<std::string> blocks;
    std::string line;
    std::string* block = nullptr;
    while (std::getline(in, line)) {
        if (line == "```yaml") {
            block = &blocks.emplace_back();
        } else if (line == "```") {
            block = nullptr;
        } else if (block != nullptr) {
            *block += line + "\n";
        }
    }
    return blocks;
}

TEST(ConfigText, FormatDocumentExamplesGiveTheImagesTheySay) {
    const std::vector<std::string> examples = DocumentExamples();
    ASSERT_EQ(examples.size(), 2u);

    // What Halyx writes for the default image after the document's `halyx-cli set`.
    RadioImage image = DefaultImage();
    SetChannel(image, 2, 446018750, 446018750, 9, 51, 1);
    RecordCopy nine = testing::Record(image, 9);  // an erased record keeps its other bytes
    EncodeFrequency(446100000, nine.frequency(record::kRxFrequency));
    EncodeFrequency(446100000, nine.frequency(record::kTxFrequency));
    nine.set(record::kRxTone, 1);
    nine.set(record::kTxTone, 1);
    StoreRecordCopy(nine, 9, image);
    image.bytes[header::kSquelchLevel] = 5;
    std::copy_n("SITE7", 6, image.bytes.begin() + header::kUserId);
    const ConfigRead written = ReadConfigText(examples[0]);
    ASSERT_TRUE(written.ok()) << ProblemsOf(written);
    EXPECT_TRUE(SameImage(written.image, image));
    EXPECT_EQ(WriteConfigText(image), examples[0]);

    // The hand-written one, over the default image as its base: channels 3-8 become empty.
    const RadioImage base = DefaultImage();
    const ConfigRead site = ReadConfigText(examples[1], &base);
    ASSERT_TRUE(site.ok()) << ProblemsOf(site);
    RadioImage expected = base;
    SetChannel(expected, 2, 446018750, 446018750, 9, 51, 1);
    expected.bytes[header::kSquelchLevel] = 5;
    std::copy_n("SITE7", 6, expected.bytes.begin() + header::kUserId);
    for (int channel = 3; channel <= kChannelCount; ++channel) {
        std::fill_n(expected.bytes.begin() + RecordOffset(channel) + record::kRxFrequency,
                    record::kFrequencySize, 0xFF);
    }
    EXPECT_TRUE(SameImage(site.image, expected));
}

}  // namespace
}  // namespace halyx
