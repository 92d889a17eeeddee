#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "link/pty_byte_recorder.h"
#include "link/pty_peer.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using namespace std::chrono_literals;
using testing::ByteRecorder;
using testing::CountingBytes;
using testing::PtyPeer;
using testing::RunEventsUntil;

constexpr std::size_t kStreamLength = 5000;
constexpr std::size_t kFrameLength = 250;
constexpr int kPortNumber = 4;

SerialLineSettings LineAt(std::uint32_t baudRate) {
    SerialLineSettings line;
    line.baudRate = baudRate;
    return line;
}

class SerialPortTransfer : public ::testing::TestWithParam<std::uint32_t> {
protected:
    void SetUp() override {
        ASSERT_TRUE(radio_.ok());
        owner_.Attach(port_);
        ASSERT_TRUE(port_.OpenDevice(radio_.SlavePath(), kPortNumber, LineAt(GetParam())));
    }

    PtyPeer radio_;
    ByteRecorder owner_;
    SerialPort port_;
};

TEST_P(SerialPortTransfer, EveryReceivedByteReachesTheOwnerInOrderOnItsThread) {
    const std::vector<std::uint8_t> stream = CountingBytes(kStreamLength, 7);
    std::size_t sent = 0;
    // The radio pushes whatever the line takes while the owner's loop runs, so the line fills up
    // on the way and bytes come in chunks of every size.
    const bool all = RunEventsUntil([&] {
        sent += radio_.SendSome(stream.data() + sent, stream.size() - sent);
        return owner_.bytes.size() >= stream.size();
    });
    ASSERT_TRUE(all) << owner_.bytes.size() << " of " << stream.size() << " bytes arrived";
    EXPECT_EQ(owner_.bytes, stream);
    EXPECT_FALSE(owner_.offOwnerThread);
    EXPECT_EQ(owner_.lastPortNumber, kPortNumber);
}

TEST_P(SerialPortTransfer, FramesWrittenArriveWholeAndInOrder) {
    const std::vector<std::uint8_t> stream = CountingBytes(kStreamLength, 3);
    std::vector<std::uint8_t> received;
    // One frame, one answer: the next write purges the line, as the exchanges rely on.
    for (std::size_t at = 0; at < stream.size(); at += kFrameLength) {
        port_.Write(stream.data() + at, static_cast<std::uint16_t>(kFrameLength));
        const std::vector<std::uint8_t> frame = radio_.Receive(kFrameLength, 5s);
        ASSERT_EQ(frame.size(), kFrameLength) << "frame at " << at;
        received.insert(received.end(), frame.begin(), frame.end());
    }
    EXPECT_EQ(received, stream);
}

INSTANTIATE_TEST_SUITE_P(LinkSpeeds, SerialPortTransfer, ::testing::Values(9600u, 57600u));

TEST(SerialPortWrite, LogsEachSentFrameOnlyWhileOpen) {
    testing::TempDir dir;
    TrafficLog log;
    ASSERT_TRUE(log.Open(dir / "comm.log"));
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ByteRecorder owner;
    SerialPort port(&log);
    owner.Attach(port);
    const std::vector<std::uint8_t> request = {0x35, 0x01, 0x02, 0x01, 0x00, 0x49, 0x00, 0x10};

    port.Write(request.data(), static_cast<std::uint16_t>(request.size()));  // not open yet
    ASSERT_TRUE(port.OpenDevice(radio.SlavePath(), 1));
    port.Write(request.data(), static_cast<std::uint16_t>(request.size()));
    EXPECT_EQ(radio.Receive(request.size(), 5s), request);
    port.Close();
    port.Write(request.data(), static_cast<std::uint16_t>(request.size()));

    EXPECT_TRUE(radio.Receive(1, 200ms).empty());
    const std::vector<std::uint8_t> logged = testing::ReadBytes(dir / "comm.log");
    EXPECT_EQ(std::string(logged.begin(), logged.end()),
              "PC->Radio:  35 01 02 01 00 49 00 10 \r\n");
}

TEST(SerialPortWrite, FrameLongerThanTheWriteCapacityIsDroppedNotCut) {
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ByteRecorder owner;
    SerialPort port;
    owner.Attach(port);
    SerialLineSettings line;
    line.writeCapacity = 8;
    ASSERT_TRUE(port.OpenDevice(radio.SlavePath(), 1, line));
    const std::vector<std::uint8_t> bytes = CountingBytes(9);

    port.Write(bytes.data(), 9);
    port.Write(bytes.data(), 8);

    EXPECT_EQ(radio.Receive(9, 500ms), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8));
}

}  // namespace
}  // namespace halyx
