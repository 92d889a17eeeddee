#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "link/commands.h"
#include "link/frame_link.h"
#include "link/traffic_log.h"
#include "support/frame_bytes.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::LongFrameBytes;

struct CaptureSink : FrameSink {
    std::vector<Bytes> frames;
    void Write(const std::uint8_t* bytes, std::uint16_t length) override {
        frames.emplace_back(bytes, bytes + length);
    }
};

void Feed(FrameLink& link, const Bytes& bytes) {
    for (std::uint8_t b : bytes) {
        link.OnByteReceived(b);
    }
}

class TempLog {
public:
    TempLog()
        : path_(std::filesystem::temp_directory_path() /
                ("halyx_frame_" + std::to_string(::getpid()) + ".log")) {
        log.Open(path_);
    }
    ~TempLog() {
        log.Close();
        std::filesystem::remove(path_);
    }
    std::string Text() {
        std::ifstream in(path_, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    TrafficLog log;

private:
    std::filesystem::path path_;
};

// The log is emptied when it is a file, never waits for a reader on a named pipe (a hang here is
// ended by the alarm), and still writes to a device such as /dev/null.
TEST(TrafficLogFile, EmptiesAFileAndRefusesAPipeNobodyReadsWithoutWaiting) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("halyx_log_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    { std::ofstream(folder / "old.log") << "yesterday's traffic"; }
    TrafficLog log;
    ASSERT_TRUE(log.Open(folder / "old.log"));
    log.AppendLine("PC->Radio:  36 06 10 \r\n");
    log.Close();
    std::ifstream in(folder / "old.log", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "PC->Radio:  36 06 10 \r\n");

    ASSERT_EQ(::mkfifo((folder / "pipe.log").c_str(), 0600), 0);
    ::alarm(10);
    EXPECT_FALSE(log.Open(folder / "pipe.log"));
    ::alarm(0);
    EXPECT_TRUE(log.Open("/dev/null"));
    log.Close();
    std::filesystem::remove_all(folder);
}

TEST(FrameBytes, RequestAckAndNakGoOutByteExact) {
    CaptureSink sink;
    FrameLink link(&sink);
    link.exchange().block = 1;
    RequestSettings(link);
    link.SendAck(kAck);
    link.SendAck(kNak);
    ASSERT_EQ(sink.frames.size(), 3u);
    EXPECT_EQ(sink.frames[0], (Bytes{0x35, 0x01, 0x02, 0x01, 0x00, 0x49, 0x00, 0x10}));
    EXPECT_EQ(sink.frames[1], (Bytes{0x36, 0x06, 0x10}));
    EXPECT_EQ(sink.frames[2], (Bytes{0x36, 0x05, 0x10}));
}

TEST(FrameBytes, ChecksumKeepsOnlyLowEightBitsOfTheSum) {
    const Bytes bytes = {0xFF, 0xFF, 0x03};  // 0x201
    EXPECT_EQ(FrameChecksum(bytes.data(), 3), 0x01);
    const Bytes big(300, 0xFF);  // 300 * 255 = 76500 = 0x12AD4
    EXPECT_EQ(FrameChecksum(big.data(), 300), 0xD4);
    const Bytes f = LongFrameBytes(kOpWrite, kKindSettings, 0x0201, Bytes(41, 0x80));
    EXPECT_EQ(f[3], 0x01);  // block number little-endian
    EXPECT_EQ(f[4], 0x02);
    Bytes zeroed = f;
    zeroed[5] = 0;
    EXPECT_EQ(f[5], FrameChecksum(zeroed.data(), static_cast<std::uint16_t>(zeroed.size())));
}

TEST(FrameBytes, RecordBlockTwoAlwaysCarriesOneInItsFirstByte) {
    CaptureSink sink;
    FrameLink link(&sink);
    RadioImage image;
    image.bytes[67] = 0x00;
    image.bytes[68] = 0x42;
    image.bytes[94] = 0x07;  // record block 3's first byte goes out as it is
    link.exchange().block = 2;
    ASSERT_TRUE(SendRecord(link, image));
    link.exchange().block = 3;
    ASSERT_TRUE(SendRecord(link, image));
    ASSERT_EQ(sink.frames.size(), 2u);
    EXPECT_EQ(sink.frames[0].size(), 35u);
    EXPECT_EQ(sink.frames[0][7], 1);
    EXPECT_EQ(sink.frames[0][8], 0x42);
    EXPECT_EQ(sink.frames[1][7], 0x07);
    EXPECT_EQ(image.bytes[67], 0x00);  // the image keeps its own value
}

TEST(FrameBytes, RecordSenderRefusesBlocksOutsideTheRecordRange) {
    CaptureSink sink;
    FrameLink link(&sink);
    RadioImage image;
    for (std::uint16_t block :
         {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{22}, std::uint16_t{0xFFFF}}) {
        link.exchange().block = block;
        EXPECT_FALSE(SendRecord(link, image)) << block;
    }
    EXPECT_TRUE(sink.frames.empty());
}

TEST(FrameBytes, TestBlockSendersCarryTheirPayloads) {
    CaptureSink sink;
    FrameLink link(&sink);
    RequestTestValues(link);
    TestValues values;
    values.bytes = {1, 10, 20, 30, 2, 40, 50, 60, 3, 70, 80, 90};
    SendTestValues(link, values);
    ASSERT_EQ(sink.frames.size(), 2u);
    EXPECT_EQ(sink.frames[0], LongFrameBytes(1, 4, 0, Bytes(12, 0)));
    EXPECT_EQ(sink.frames[1],
              LongFrameBytes(2, 4, 0, Bytes(values.bytes.begin(), values.bytes.end())));
}

TEST(FrameGatherer, SendingEmptiesAPartlyGatheredBuffer) {
    CaptureSink sink;
    FrameLink link(&sink);
    Feed(link, {0x35, 0x01, 0x02, 0x01});
    EXPECT_TRUE(link.replyBuffer().inFrame);
    link.SendAck(kNak);
    EXPECT_FALSE(link.replyBuffer().inFrame);
    EXPECT_EQ(link.replyBuffer().lastIndex, 0);
    EXPECT_EQ(link.replyBuffer().bytes[0], 0);
    // The resent frame is gathered from index 0 again.
    Feed(link, LongFrameBytes(1, 2, 1, Bytes(41, 0x33)));
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::Good);
}

TEST(FrameGatherer, BytesBeforeAStartByteAreDropped) {
    FrameLink link;
    Feed(link, {0x00, 0x10, 0xFF, 0x06});
    EXPECT_FALSE(link.replyBuffer().inFrame);
    Feed(link, LongFrameBytes(1, 2, 1, Bytes(41, 0x22)));
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::Good);
    EXPECT_EQ(link.Payload()[0], 0x22);
}

TEST(FrameGatherer, PayloadByteEqualToEndMarkerLogsALineButDoesNotEndTheFrame) {
    TempLog temp;
    FrameLink link(nullptr, &temp.log);
    Bytes payload(27, 0x44);
    payload[3] = 0x10;
    const Bytes f = LongFrameBytes(1, 3, 2, payload);
    for (std::size_t i = 0; i < f.size(); ++i) {
        link.OnByteReceived(f[i]);
        if (i + 1 < f.size()) {
            EXPECT_EQ(link.CheckFrameReply(), FrameReply::None) << i;
        }
    }
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::Good);
    const std::string partial = TrafficLog::FormatTrafficLine("Radio->PC:  ", f.data(), 11);
    const std::string whole = TrafficLog::FormatTrafficLine("Radio->PC:  ", f.data(), f.size());
    EXPECT_EQ(temp.Text(), partial + whole);
}

TEST(FrameGatherer, EmptyPayloadFrameIsNeverRecognised) {
    FrameLink link;
    Feed(link, LongFrameBytes(1, 2, 1, {}));
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::None);
}

TEST(FrameGatherer, CorruptedLengthByteIsNeverRecognised) {
    FrameLink link;
    Bytes f = LongFrameBytes(1, 2, 1, Bytes(41, 0x01));
    f[6] = 42;
    Feed(link, f);
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::None);
    f[6] = 30;  // shorter: position 37 holds payload, not the end byte
    link.SendAck(kNak);
    Feed(link, f);
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::None);
}

TEST(FrameGatherer, BadChecksumIsReportedTheSameOnEveryLook) {
    FrameLink link;
    Bytes f = LongFrameBytes(1, 3, 2, Bytes(27, 0x11));
    f[5] = static_cast<std::uint8_t>(f[5] + 1);
    Feed(link, f);
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::BadChecksum);
    EXPECT_FALSE(link.replyBuffer().inFrame);
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::BadChecksum);
}

TEST(FrameGatherer, BadFrameWhoseOwnSumIsZeroIsNotPassedOnASecondLook) {
    // Payload chosen so the frame's sum with the checksum position at 0 is 0x00; a received
    // checksum of 0x01 is wrong, and must stay wrong however often the buffer is checked.
    Bytes payload(27, 0x00);
    Bytes f = LongFrameBytes(1, 3, 2, payload);
    const std::uint8_t sum = f[5];
    payload[0] = static_cast<std::uint8_t>(0x100 - sum);
    f = LongFrameBytes(1, 3, 2, payload);
    ASSERT_EQ(f[5], 0x00);
    f[5] = 0x01;
    FrameLink link;
    Feed(link, f);
    for (int look = 0; look < 3; ++look) {
        EXPECT_EQ(link.CheckFrameReply(), FrameReply::BadChecksum) << look;
    }
}

TEST(FrameGatherer, ShortFramesAreRecognisedByCode) {
    FrameLink link;
    Feed(link, {0x36, 0x06, 0x10});
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::None);
    EXPECT_EQ(link.CheckAckReply(), AckReply::Ack);
    EXPECT_FALSE(link.replyBuffer().inFrame);
    Feed(link, {0x36, 0x05, 0x10});
    EXPECT_EQ(link.CheckAckReply(), AckReply::Nak);
    Feed(link, {0x36, 0x07, 0x10});
    EXPECT_EQ(link.CheckAckReply(), AckReply::None);
    Feed(link, {0x36, 0x06});
    EXPECT_EQ(link.CheckAckReply(), AckReply::None);
    Feed(link, LongFrameBytes(1, 2, 1, Bytes(41, 0)));
    EXPECT_EQ(link.CheckAckReply(), AckReply::None);
}

TEST(FrameGatherer, LongStreamNeverRunsPastTheBufferAndResynchronises) {
    FrameLink link;
    link.OnByteReceived(0x35);
    for (int i = 0; i < 5000; ++i) {
        link.OnByteReceived(static_cast<std::uint8_t>(0x40 + i % 16));
        ASSERT_LT(link.replyBuffer().lastIndex, ReplyBuffer::kCapacity);
    }
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::None);
    // After the overrun the gatherer waits for a start byte, so the next frame is heard.
    Feed(link, LongFrameBytes(1, 2, 1, Bytes(41, 0x77)));
    EXPECT_EQ(link.CheckFrameReply(), FrameReply::Good);
    EXPECT_EQ(link.Payload()[40], 0x77);
}

TEST(TestPointChange, OnlyTheRowsPowerLevelByteChanges) {
    CaptureSink sink;
    FrameLink link(&sink);
    link.exchange() = LinkExchange{7, 9, 11, 2};
    TestPoint point;
    ASSERT_TRUE(SendTestPointChange(link, point, 4, 50, true));   // 435 MHz low
    ASSERT_TRUE(SendTestPointChange(link, point, 2, 60, true));   // 409 MHz middle
    ASSERT_TRUE(SendTestPointChange(link, point, 6, 200, true));  // 435 MHz high
    EXPECT_FALSE(SendTestPointChange(link, point, 10, 1, true));
    ASSERT_EQ(sink.frames.size(), 3u);
    EXPECT_EQ(sink.frames[2], LongFrameBytes(3, 4, 0, {6, 1, 50, 60, 200}));
    ASSERT_TRUE(SendTestPointChange(link, point, 7, 9, false));
    EXPECT_EQ(sink.frames[3], LongFrameBytes(3, 4, 0, {16, 1, 9, 60, 200}));
    // Nothing is awaited: the exchange counters are left alone.
    EXPECT_EQ(link.exchange().state, 7);
    EXPECT_EQ(link.exchange().ticks, 11);
}

TEST(TestValuesTable, TagsFollowTheBandAndValuesTheRows) {
    std::array<std::uint8_t, kTestPointRows> rows = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const TestValues upper = BuildTestValues(rows, true);
    EXPECT_EQ(upper.bytes, (std::array<std::uint8_t, 12>{1, 1, 2, 3, 2, 4, 5, 6, 3, 7, 8, 9}));
    const TestValues lower = BuildTestValues(rows, false);
    EXPECT_EQ(lower.bytes[0], 10);
    EXPECT_EQ(lower.bytes[4], 11);
    EXPECT_EQ(lower.bytes[8], 12);
    for (int row = 1; row <= kTestPointRows; ++row) {
        EXPECT_EQ(lower.value(row), row);
    }
}

}  // namespace
}  // namespace halyx
