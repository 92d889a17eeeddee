// Channel lists in and out of the common CSV format, checked on whole images.
#include <gtest/gtest.h>

#include "image/channel.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"
#include "interchange/interchange_fixture.h"

namespace halyx {
namespace {

using testing::DefaultImage;
using testing::Record;
using testing::RxHz;
using testing::SetChannel;
using testing::TxHz;

// Tone-table positions used below.
constexpr std::uint8_t k67_0 = 1, k88_5 = 9, k100_0 = 13, k233_6 = 46, k254_1 = 50;
constexpr std::uint8_t kD023 = 51, kD025 = 52, kD754 = 154;

// Every tone mode and duplex direction the export can write, on a band edge or two.
RadioImage ImageWithEveryToneMode() {
    RadioImage image = DefaultImage();
    SetChannel(image, 9, 446100000, 446100000, k88_5, k88_5, 0);    // TSQL
    SetChannel(image, 10, 446106250, 451106250, 0, k233_6, 1);      // Tone, +5 MHz
    SetChannel(image, 11, 470000000, 406100000, kD754, kD754, 0);   // DTCS, -63.9 MHz
    SetChannel(image, 12, 446000000, 446000000, k67_0, k254_1, 1);  // Tone->Tone
    SetChannel(image, 13, 446000000, 446000000, kD025, k100_0, 1);  // Tone->DTCS
    SetChannel(image, 14, 446000000, 446000000, k100_0, kD023, 1);  // DTCS->Tone
    SetChannel(image, 15, 446000000, 446000000, kD023, kD025, 1);   // DTCS->DTCS
    SetChannel(image, 16, 446000000, 446000000, k100_0, 0, 1);      // ->Tone
    SetChannel(image, 17, 446000000, 446000000, kD754, 0, 1);       // ->DTCS
    SetChannel(image, 18, 406100000, 406100000, 0, kD754, 0);       // DTCS->
    return image;
}

TEST(CsvRoundTrip, ExportThenImportRestoresEveryChannelByteForByte) {
    const RadioImage original = ImageWithEveryToneMode();
    const std::string csv = ExportChannelsCsv(original);

    // Import into an image whose channels all hold something else: the file alone must bring
    // back every frequency, tone and bandwidth, and nothing else may move.
    RadioImage scrambled = original;
    for (int channel = 1; channel <= 18; ++channel) {
        SetChannel(scrambled, channel, 450000000, 460000000, 3, 77, channel % 2 ? 0 : 1);
    }
    const CsvImport imported = ImportChannelsCsv(scrambled, csv);
    ASSERT_FALSE(imported.error);
    EXPECT_EQ(imported.image.bytes, original.bytes);
    EXPECT_EQ(imported.channels.size(), 18u);
    for (const ImportNote& note : imported.notes) {
        // Only the columns this radio cannot store may be mentioned, once each.
        EXPECT_NE(note.message.find("not stored"), std::string::npos) << DescribeNote(note);
    }
}

// Values the file restates exactly as the channel holds them are not rewritten, however the
// channel came to hold them: a frequency given to an erased record (its tone and bandwidth bytes
// still FF), an off-step frequency, a badly coded BCD digit, a tone byte past the table.
TEST(CsvRoundTrip, ExportThenImportKeepsEveryByteOfOddlyStoredChannels) {
    RadioImage original = DefaultImage();
    const auto put = [&original](int channel, std::size_t field, std::vector<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(),
                  original.bytes.begin() + static_cast<long>(RecordOffset(channel) + field));
    };
    Channel erased(original, 10);
    ASSERT_EQ(erased.rxTone(), 0xFF);
    erased.SetRxFrequency("446.1");
    erased.StoreInto(original);
    put(11, record::kRxFrequency, {0x44, 0x60, 0x01, 0x23});  // 446.00123: off the step
    put(11, record::kTxFrequency, {0x44, 0x60, 0x01, 0x23});
    put(11, record::kRxTone, {200, 3, 7});                    // tone past the table; wide as 7
    put(12, record::kRxFrequency, {0x44, 0x6A, 0x00, 0x00});  // shows as 447.00000
    put(12, record::kTxFrequency, {0x44, 0x70, 0x00, 0x00});
    put(13, record::kRxFrequency, {0x45, 0x00, 0x00, 0x00});
    put(13, record::kTxFrequency, {0x44, 0x60, 0x01, 0x23});  // off-step transmit, - duplex

    const CsvImport imported = ImportChannelsCsv(original, ExportChannelsCsv(original));
    ASSERT_FALSE(imported.error);
    EXPECT_EQ(imported.image.bytes, original.bytes);
    EXPECT_EQ(imported.channels.size(), 12u);
    for (const ImportNote& note : imported.notes) {
        EXPECT_NE(note.message.find("not stored"), std::string::npos) << DescribeNote(note);
    }
}

TEST(CsvExport, WritesTheCommonColumnsWithPlaceholdersInUnusedToneColumns) {
    const std::string csv = ExportChannelsCsv(ImageWithEveryToneMode());
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
              "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
              "RPT2CALL,DVCODE");
    EXPECT_NE(
        csv.find("\r\n1,,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,,,,,,"
                 "\r\n"),
        std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\n9,,446.100000,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00"),
              std::string::npos);
    EXPECT_NE(csv.find("\r\n10,,446.106250,+,5.000000,Tone,233.6,88.5,023,NN,023,Tone->Tone,FM,"),
              std::string::npos);
    EXPECT_NE(csv.find("\r\n11,,470.000000,-,63.900000,DTCS,88.5,88.5,754,NN,023,"),
              std::string::npos);
    EXPECT_NE(csv.find("\r\n13,,446.000000,,0.000000,Cross,100.0,88.5,023,NN,025,Tone->DTCS,"),
              std::string::npos);
    EXPECT_NE(csv.find("\r\n18,,406.100000,,0.000000,Cross,88.5,88.5,754,NN,023,DTCS->,"),
              std::string::npos);
    EXPECT_EQ(csv.find("\r\n19,"), std::string::npos);  // empty channels are not listed
}

TEST(CsvImport, EachToneModeReadsOnlyTheColumnsItNames) {
    // The unused columns carry valid but different tones: reading any of them would show.
    const std::string csv =
        "Location,Frequency,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode\n"
        "1,446.00625,,100.0,100.0,025,NN,025,DTCS->DTCS\n"
        "2,446.00625,Tone,088.50,100.0,025,NN,025,DTCS->DTCS\n"
        "3,446.00625,TSQL,100.0,88.50,025,NN,025,DTCS->DTCS\n"
        "4,446.00625,DTCS,100.0,100.0,23,NN,025,Tone->Tone\n"
        "5,446.00625,Cross,67,254.10,025,NN,754,Tone->Tone\n"
        "6,446.00625,Cross,100.0,67.0,754,NN,025,Tone->DTCS\n"
        "7,446.00625,Cross,67.0,100.0,023,NN,754,DTCS->Tone\n"
        "8,446.00625,Cross,67.0,67.0,023,NN,754,DTCS->DTCS\n"
        "9,446.00625,Cross,67.0,100.0,023,NN,754,->Tone\n"
        "10,446.00625,Cross,67.0,100.0,023,NN,754,->DTCS\n"
        "11,446.00625,Cross,67.0,100.0,754,NN,023,DTCS->\n"
        "12,446.00625,DTCS,88.5,88.5,023,RN,023,Tone->Tone\n"
        "13,446.00625,Tone,88.4,88.5,023,NN,023,Tone->Tone\n"
        "14,446.00625,DTCS,88.5,88.5,024,NN,023,Tone->Tone\n";
    const CsvImport imported = ImportChannelsCsv(DefaultImage(), csv);
    ASSERT_FALSE(imported.error);
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> expected = {
        {0, 0},          {0, k88_5},      {k88_5, k88_5}, {kD023, kD023}, {k254_1, k67_0},
        {kD025, k100_0}, {k100_0, kD023}, {kD754, kD023}, {k100_0, 0},    {kD754, 0},
        {0, kD754},      {0, 0},          {0, 0},         {0, 0}};
    for (int channel = 1; channel <= 14; ++channel) {
        const RecordCopy record = Record(imported.image, channel);
        EXPECT_EQ(record.at(record::kRxTone), expected[channel - 1].first) << "channel " << channel;
        EXPECT_EQ(record.at(record::kTxTone), expected[channel - 1].second)
            << "channel " << channel;
    }
    // The reversed polarity, the missing tone and the missing code are each reported by line.
    ASSERT_EQ(imported.notes.size(), 3u);
    EXPECT_EQ(imported.notes[0].line, 13);
    EXPECT_EQ(imported.notes[0].column, "DtcsPolarity");
    EXPECT_EQ(imported.notes[1].line, 14);
    EXPECT_EQ(imported.notes[1].column, "rToneFreq");
    EXPECT_EQ(imported.notes[2].line, 15);
    EXPECT_EQ(imported.notes[2].column, "DtcsCode");
}

TEST(CsvImport, TakesOlderReorderedHeadersQuotedFieldsAndAnyLineEnd) {
    // An older export (no RxDtcsCode, CrossMode or Power), columns in another order, header names
    // in other case with spaces and quotes, a byte-order mark, CRLF and LF mixed, a quoted comma
    // and a quoted line break in a name.
    const std::string csv =
        "\xEF\xBB\xBF Mode ,\"FREQUENCY\",location, \"Duplex\",Offset,Tone,rToneFreq,Name,Extra\r\n"
        "FM,446.10000,3,+,1.5,Tone,88.5,\"Gate, north\",x\r\n"
        "NFM,\"446.2\",4,split,446.250000,,,\"two\nlines\",y\n"
        "\n"
        "FM,446.3,5\r\n";
    const CsvImport imported = ImportChannelsCsv(DefaultImage(), csv);
    ASSERT_FALSE(imported.error) << imported.error->what;
    EXPECT_EQ((std::vector<int>{3, 4, 5}), imported.channels);
    EXPECT_EQ(RxHz(imported.image, 3), 446100000u);
    EXPECT_EQ(TxHz(imported.image, 3), 447600000u);
    EXPECT_EQ(Record(imported.image, 3).at(record::kTxTone), k88_5);
    EXPECT_EQ(Record(imported.image, 3).at(record::kBandwidth), 1);
    EXPECT_EQ(RxHz(imported.image, 4), 446200000u);
    EXPECT_EQ(TxHz(imported.image, 4), 446250000u);
    EXPECT_EQ(Record(imported.image, 4).at(record::kBandwidth), 0);
    EXPECT_EQ(RxHz(imported.image, 5), 446300000u);
    EXPECT_EQ(TxHz(imported.image, 5), 446300000u);
    ASSERT_EQ(imported.notes.size(), 1u);  // the names, once
    EXPECT_EQ(imported.notes[0].column, "Name");
    EXPECT_EQ(imported.notes[0].line, 2);
}

TEST(CsvImport, ReportsAndSkipsRowsItCannotTakeAndStoresOffStepFrequenciesSnapped) {
    const RadioImage before = DefaultImage();
    const std::string csv =
        "Location,Frequency,Duplex,Offset,Mode,Power\n"
        "1,150.000000,,0,NFM,High\n"   // outside 406.1-470: skipped
        "2,446.012300,,0,NFM,High\n"   // off-step: stored as 446.01000
        "0,446.000000,,0,NFM,\n"       // no such channel
        "21,446.000000,,0,NFM,\n"      // no such channel
        "3,446.000000,+,30,NFM,\n"     // transmit outside the band: skipped
        "4,446.000000,off,0,AM,Low\n"  // transmit cannot be off; AM not available
        "5,abc,,0,NFM,\n";             // no frequency
    const CsvImport imported = ImportChannelsCsv(before, csv);
    ASSERT_FALSE(imported.error);
    EXPECT_EQ((std::vector<int>{2, 4}), imported.channels);
    for (const int untouched : {1, 3, 5}) {
        EXPECT_EQ(Record(imported.image, untouched).bytes, Record(before, untouched).bytes);
    }
    EXPECT_EQ(RxHz(imported.image, 2), 446010000u);
    EXPECT_EQ(TxHz(imported.image, 2), 446010000u);
    EXPECT_EQ(TxHz(imported.image, 4), 446000000u);
    EXPECT_EQ(Record(imported.image, 4).at(record::kBandwidth),
              Record(before, 4).at(record::kBandwidth));

    std::vector<std::string> seen;
    for (const ImportNote& note : imported.notes) {
        seen.push_back(std::to_string(note.line) + " " + note.column);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"2 Power", "2 Frequency", "3 Frequency", "4 Location",
                                              "5 Location", "6 Offset", "7 Duplex", "7 Mode",
                                              "8 Frequency"}));
    EXPECT_NE(imported.notes[2].message.find("stored as 446.01000"), std::string::npos);
    EXPECT_NE(imported.notes[1].message.find("row skipped"), std::string::npos);
}

TEST(CsvImport, FiveChannelsLeaveTheOtherFifteenUntouchedUnlessAskedToClear) {
    RadioImage before = ImageWithEveryToneMode();
    before.bytes[RecordOffset(20) + 20] = 0x5A;  // an uninterpreted byte must survive
    std::string csv = "Location,Frequency\n";
    for (const int channel : {2, 4, 9, 19, 20}) {
        csv += std::to_string(channel) + ",440.000000\n";
    }
    const CsvImport kept = ImportChannelsCsv(before, csv);
    ASSERT_FALSE(kept.error);
    for (int channel = 1; channel <= 20; ++channel) {
        const bool named = channel == 2 || channel == 4 || channel == 9 || channel >= 19;
        if (named) {
            EXPECT_EQ(RxHz(kept.image, channel), 440000000u);
            EXPECT_EQ(TxHz(kept.image, channel), 440000000u);
        } else {
            EXPECT_EQ(Record(kept.image, channel).bytes, Record(before, channel).bytes)
                << "channel " << channel;
        }
    }
    EXPECT_EQ(kept.image.bytes[RecordOffset(20) + 20], 0x5A);
    EXPECT_TRUE(std::equal(kept.image.bytes.begin(), kept.image.bytes.begin() + kHeaderSize,
                           before.bytes.begin()));

    const CsvImport cleared = ImportChannelsCsv(before, csv, {.clearFirst = true});
    EXPECT_TRUE(IsChannelEmpty(cleared.image, 1));
    EXPECT_TRUE(IsChannelEmpty(cleared.image, 18));
    EXPECT_EQ(RxHz(cleared.image, 19), 440000000u);
    EXPECT_EQ(cleared.image.bytes[RecordOffset(20) + 20], 0x5A);
}

TEST(CsvImport, AFileThatCannotBeReadNamesTheLineAndChangesNothing) {
    const RadioImage before = DefaultImage();
    const CsvImport open =
        ImportChannelsCsv(before, "Location,Frequency\n1,446.1\n2,\"446.2\n3,4\n");
    ASSERT_TRUE(open.error);
    EXPECT_EQ(open.error->line, 3);
    EXPECT_EQ(open.image.bytes, before.bytes);
    const CsvImport trailing = ImportChannelsCsv(before, "Location,Frequency\n1,\"446.1\"x\n");
    ASSERT_TRUE(trailing.error);
    EXPECT_EQ(trailing.error->line, 2);
    const CsvImport noFrequency = ImportChannelsCsv(before, "Location,Name\n1,x\n");
    ASSERT_TRUE(noFrequency.error);
    EXPECT_EQ(noFrequency.error->line, 1);
    EXPECT_NE(noFrequency.error->what.find("Frequency"), std::string::npos);
    EXPECT_TRUE(ImportChannelsCsv(before, "").error);
}

TEST(CsvImport, NotesShowTheFilesControlBytesEscaped) {
    // A cell with a terminal escape and one with a byte that is not UTF-8.
    const CsvImport hostile = ImportChannelsCsv(
        DefaultImage(), "Location,Frequency,Mode\n1,446.1,\x1b[2J\n2,446\xff,NFM\n");
    ASSERT_FALSE(hostile.error);
    ASSERT_EQ(hostile.notes.size(), 2u);
    EXPECT_EQ(hostile.notes[0].message,
              "mode '\\x1b[2J' is not available (NFM or FM); bandwidth unchanged");
    EXPECT_EQ(hostile.notes[1].message, "'446\\xff' is not a frequency in MHz; row skipped");
    // The values a window words the note with in its own language are escaped the same way.
    EXPECT_EQ(hostile.notes[0].kind, ImportNoteKind::ModeUnavailable);
    EXPECT_EQ(hostile.notes[0].values, std::vector<std::string>{"\\x1b[2J"});
    EXPECT_EQ(hostile.notes[1].kind, ImportNoteKind::NotAFrequency);
    EXPECT_EQ(hostile.notes[1].values, std::vector<std::string>{"446\\xff"});
}

TEST(CsvImport, AHostileFileIsBoundedInLinesAndNotes) {
    // 150 rows with a note each: the first hundred, then one line for the rest.
    std::string csv = "Location,Frequency\n";
    for (int i = 0; i < 150; ++i) {
        csv += "0,446.1\n";
    }
    const CsvImport noisy = ImportChannelsCsv(DefaultImage(), csv);
    ASSERT_FALSE(noisy.error);
    ASSERT_EQ(noisy.notes.size(), kCsvImportNoteLimit + 1);
    EXPECT_EQ(noisy.notes.back().line, 102);
    EXPECT_EQ(noisy.notes.back().message, "50 more notes from this line on are not shown");

    // A file longer than any channel list is refused before it is read, the image unchanged.
    std::string endless = "Location,Frequency\n";
    for (std::size_t i = 1; i < kCsvImportLineLimit; ++i) {
        endless += "\n";
    }
    EXPECT_FALSE(ImportChannelsCsv(DefaultImage(), endless).error);
    endless += "1,446.1";
    const CsvImport refused = ImportChannelsCsv(DefaultImage(), endless);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->line, static_cast<int>(kCsvImportLineLimit + 1));
    EXPECT_EQ(refused.image.bytes, DefaultImage().bytes);
}

}  // namespace
}  // namespace halyx
