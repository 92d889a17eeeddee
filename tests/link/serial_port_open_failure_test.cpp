// Why a port did not open: every cause the system can show here, on real device nodes where the
// test may make them, and the explanation a user is given for each.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/pty_byte_recorder.h"
#include "link/pty_peer.h"
#include "link/serial_port.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::ByteRecorder;
using testing::PtyPeer;

PortOpenCause CauseOfOpening(SerialPort& port, const std::string& path) {
    ByteRecorder owner;
    EXPECT_FALSE(port.OpenDevice(path, 1)) << path;
    return port.LastOpenFailure().cause;
}

TEST(SerialPortOpenFailure, NamesTheCauseOfEachRefusal) {
    testing::TempDir dir;
    testing::WriteBytes(dir / "file", {1, 2, 3});
    ByteRecorder owner;
    SerialPort port(nullptr, [](int) { return std::string(); });
    owner.Attach(port);

    EXPECT_FALSE(port.Open(PortText{4, {}}, 9600));
    EXPECT_EQ(port.LastOpenFailure().cause, PortOpenCause::NoDevice);
    EXPECT_EQ(port.LastOpenFailure().portName, "COM4");
    EXPECT_EQ(CauseOfOpening(port, (dir / "ttyGone").string()), PortOpenCause::NoSuchDevice);
    EXPECT_EQ(CauseOfOpening(port, (dir / "file").string()), PortOpenCause::NotSerial);
    EXPECT_EQ(CauseOfOpening(port, dir.path().string()), PortOpenCause::NotSerial);
    EXPECT_EQ(CauseOfOpening(port, "/dev/null"), PortOpenCause::NotSerial);

    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    SerialLineSettings nineBits;
    nineBits.byteSize = 9;
    EXPECT_FALSE(port.OpenDevice(radio.SlavePath(), 1, nineBits));
    EXPECT_EQ(port.LastOpenFailure().cause, PortOpenCause::SettingRefused);

    // Held by another user of the line (here another engine in this process, through the
    // library's lock file); the holder keeps working and a later open after it closes succeeds.
    SerialPort holder;
    ASSERT_TRUE(holder.OpenDevice(radio.SlavePath(), 1));
    EXPECT_EQ(CauseOfOpening(port, radio.SlavePath()), PortOpenCause::InUse);
    EXPECT_TRUE(holder.IsOpen());
    holder.Close();
    EXPECT_TRUE(port.OpenDevice(radio.SlavePath(), 1));
    EXPECT_EQ(port.LastOpenFailure().cause, PortOpenCause::None);
}

TEST(SerialPortOpenFailure, DeviceTheUserMayNotUseIsPermissionDenied) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may open any device";
    }
    PtyPeer radio;
    ASSERT_TRUE(radio.ok());
    ASSERT_EQ(chmod(radio.SlavePath().c_str(), 0), 0);
    SerialPort port;
    EXPECT_EQ(CauseOfOpening(port, radio.SlavePath()), PortOpenCause::PermissionDenied);
    EXPECT_FALSE(port.LastOpenFailure().group.empty());
    chmod(radio.SlavePath().c_str(), 0620);
}

TEST(SerialPortOpenFailure, ExplanationsNameThePortAndComeFromTheLanguageWhenItHasThem) {
    PortDeviceFacts denied;
    denied.accessDenied = true;
    denied.group = "dialout";
    const PortOpenFailure failure = ClassifyPortOpenFailure("/dev/ttyUSB0", {}, denied);
    ASSERT_EQ(failure.cause, PortOpenCause::PermissionDenied);
    const std::string english = PortOpenFailureTextEnglish(failure);
    EXPECT_EQ(english.rfind("/dev/ttyUSB0: permission denied.", 0), 0u) << english;
#ifdef __linux__
    EXPECT_NE(english.find("\"dialout\""), std::string::npos) << english;
#endif

    // The device's own facts outrank the library's folded-together error.
    PortOpenAttempt lockHeld;
    lockHeld.permissionError = true;
    EXPECT_EQ(ClassifyPortOpenFailure("p", lockHeld, {}).cause, PortOpenCause::InUse);
    PortDeviceFacts busy;
    busy.busy = true;
    EXPECT_EQ(ClassifyPortOpenFailure("p", lockHeld, busy).cause, PortOpenCause::InUse);
    EXPECT_EQ(ClassifyPortOpenFailure("p", lockHeld, denied).cause,
              PortOpenCause::PermissionDenied);
    PortOpenAttempt odd;
    odd.systemText = "Input/output error";
    const PortOpenFailure other = ClassifyPortOpenFailure("/dev/ttyS9", odd, {});
    EXPECT_EQ(PortOpenFailureTextEnglish(other), "/dev/ttyS9 cannot be opened: Input/output error");

    // A language file's text wins over the built-in one; a name holding "%2" stays as it is.
    const PortTextLookup chinese = [](std::string_view key, std::string_view builtin) {
        return key == "S0206" ? std::string("%1 正被其他程序使用。") : std::string(builtin);
    };
    PortOpenFailure inUse;
    inUse.cause = PortOpenCause::InUse;
    inUse.portName = "/tmp/odd%2name";
    EXPECT_EQ(PortOpenFailureText(inUse, chinese), "/tmp/odd%2name 正被其他程序使用。");
    EXPECT_EQ(PortOpenFailureText(PortOpenFailure{}, chinese), "");
}

}  // namespace
}  // namespace halyx
