#include <gtest/gtest.h>

#include <time.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "link/pty_byte_recorder.h"
#include "link/pty_peer.h"
#include "link/serial_port.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using namespace std::chrono_literals;
using testing::ByteRecorder;
using testing::PtyPeer;
using testing::RunEventsUntil;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The radio streams bytes for as long as the owner's loop runs, whatever the port is doing.
class StreamingRadio {
public:
    explicit StreamingRadio(PtyPeer& pty) : pty_(pty) {}
    void Pump() {
        const std::uint8_t chunk[64] = {};
        pty_.SendSome(chunk, sizeof chunk);
        pty_.ReceiveAvailable();  // keep the other direction from filling up
    }

private:
    PtyPeer& pty_;
};

TEST(SerialPortOpen, FailsAndStaysClosedWhenTheDeviceCannotBeUsed) {
    testing::TempDir dir;
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ByteRecorder owner;
    SerialPort port(nullptr, [&](int portNumber) {
        return portNumber == 2 ? radio.SlavePath() : std::string();
    });
    owner.Attach(port);
    SerialLineSettings nineBits;
    nineBits.byteSize = 9;
    SerialLineSettings unknownParity;
    unknownParity.parity = 5;

    EXPECT_FALSE(port.Open(PortText{0, {}}, 9600));  // no port chosen
    EXPECT_FALSE(port.Open(PortText{7, {}}, 9600));  // names no device
    EXPECT_FALSE(port.OpenDevice((dir / "ttyNone").string(), 1));
    EXPECT_FALSE(port.OpenDevice(radio.SlavePath(), 1, nineBits));
    EXPECT_FALSE(port.OpenDevice(radio.SlavePath(), 1, unknownParity));
    EXPECT_FALSE(port.IsOpen());

    // A refused setting must not leave the device locked.
    EXPECT_TRUE(port.Open(PortText{2, {}}, 9600));
    EXPECT_TRUE(port.IsOpen());
}

// A pseudo-terminal refuses DTR and RTS; the line must open and carry frames regardless.
TEST(SerialPortOpen, SucceedsWhereModemLinesCannotBeSet) {
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ByteRecorder owner;
    SerialPort port(nullptr, [&](int) { return radio.SlavePath(); });
    owner.Attach(port);

    ASSERT_TRUE(port.Open(PortText{3, {}}, 9600));
    const std::vector<std::uint8_t> ack = {0x36, 0x06, 0x10};
    port.Write(ack.data(), 3);
    EXPECT_EQ(radio.Receive(3, 5s), ack);
    ASSERT_TRUE(radio.Send(Bytes("ok")));
    EXPECT_TRUE(RunEventsUntil([&] { return owner.bytes.size() == 2; }));
    EXPECT_EQ(owner.lastPortNumber, 3);
}

TEST(SerialPortWrite, PurgesInputThatArrivedBeforeTheFrameWentOut) {
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ByteRecorder owner;
    SerialPort port;
    owner.Attach(port);
    ASSERT_TRUE(port.OpenDevice(radio.SlavePath(), 1));
    const std::vector<std::uint8_t> frame = {0x36, 0x05, 0x10};
    // While the owner handles 'X' nothing is read, so "more" (read along with 'X' or still in
    // the line) and "stale" wait when the frame is written: none of it answers the frame.
    owner.onByte = [&](std::uint8_t byte) {
        if (byte == 'X') {
            ASSERT_TRUE(radio.Send(Bytes("stale")));
            port.Write(frame.data(), static_cast<std::uint16_t>(frame.size()));
        }
    };

    ASSERT_TRUE(radio.Send(Bytes("Xmore")));
    std::vector<std::uint8_t> written;
    ASSERT_TRUE(RunEventsUntil([&] {
        const std::vector<std::uint8_t> more = radio.ReceiveAvailable();
        written.insert(written.end(), more.begin(), more.end());
        return written.size() >= frame.size();
    }));
    ASSERT_TRUE(radio.Send(Bytes("R")));
    ASSERT_TRUE(RunEventsUntil([&] { return !owner.bytes.empty() && owner.bytes.back() == 'R'; }));

    EXPECT_EQ(written, frame);
    EXPECT_EQ(owner.bytes, Bytes("XR"));
    // Qt may report the emptied line as a read error; the line is alive and must stay open.
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(owner.portLostCount, 0);
}

// Bytes are nearly always flowing when Close comes: no byte of a closed session may reach the
// owner afterwards, and a re-open must not wait on anything.
TEST(SerialPortLifecycle, CloseAndReopenWhileBytesFlowNeverDeadlocks) {
    constexpr int kRounds = 200;
    PtyPeer pty;
    ASSERT_TRUE(pty.ok());
    StreamingRadio radio(pty);
    ByteRecorder owner;
    bool closed = true;
    int bytesWhileClosed = 0;
    owner.onByte = [&](std::uint8_t) { bytesWhileClosed += closed ? 1 : 0; };
    SerialPort port;
    owner.Attach(port);

    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), 1)) << "round " << round;
        closed = false;
        const std::size_t before = owner.bytes.size();
        ASSERT_TRUE(RunEventsUntil([&] {
            radio.Pump();
            return owner.bytes.size() >= before + 3;
        })) << "round "
            << round;
        if (round % 2 == 0) {
            port.Close();
        }  // odd rounds re-open without closing first
        closed = true;
        radio.Pump();
    }
    port.Close();
    QCoreApplication::processEvents();  // stale hand-overs still queued are dropped here

    EXPECT_EQ(bytesWhileClosed, 0);
    EXPECT_FALSE(owner.offOwnerThread);
}

TEST(SerialPortLifecycle, OwnerMayCloseOrReopenFromInsideTheByteCallback) {
    PtyPeer pty;
    ASSERT_TRUE(pty.ok());
    StreamingRadio radio(pty);
    ByteRecorder owner;
    SerialPort port;
    owner.Attach(port);
    int reopened = 0;
    owner.onByte = [&](std::uint8_t) {
        if (owner.bytes.size() % 50 == 0) {
            if (reopened++ % 2 == 0) {
                port.Close();
            }
            ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), 1));
        }
    };
    ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), 1));

    EXPECT_TRUE(RunEventsUntil([&] {
        radio.Pump();
        return reopened >= 20;
    }));
    EXPECT_TRUE(port.IsOpen());
}

TEST(SerialPortLifecycle, DestroyingARunningPortWithAHandOverPendingReturns) {
    PtyPeer pty;
    ASSERT_TRUE(pty.ok());
    StreamingRadio radio(pty);
    ByteRecorder owner;
    {
        SerialPort port;
        owner.Attach(port);
        ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), 1));
        ASSERT_TRUE(RunEventsUntil([&] {
            radio.Pump();
            return owner.bytes.size() >= 10;
        }));
        radio.Pump();
    }
    const std::size_t handled = owner.bytes.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.bytes.size(), handled);
}

TEST(SerialPortLifecycle, VanishedPeerClosesThePortWithoutSpinning) {
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ByteRecorder owner;
    SerialPort port;
    owner.Attach(port);
    ASSERT_TRUE(port.OpenDevice(radio.SlavePath(), 9));

    radio.CloseMaster();
    ASSERT_TRUE(RunEventsUntil([&] { return owner.portLostCount > 0; }, 5s));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(owner.lastPortNumber, 9);

    // A port left open on a vanished device keeps a core busy; a closed one costs nothing.
    const double cpuBefore = ProcessCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    RunEventsUntil([&] { return std::chrono::steady_clock::now() - wallBefore > 300ms; });
    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.15);

    const std::uint8_t frame[] = {0x36, 0x06, 0x10};
    port.Write(frame, sizeof frame);  // dropped: the port is gone
    port.Close();
    EXPECT_EQ(owner.portLostCount, 1);
}

}  // namespace
}  // namespace halyx
