// halyx-radiosim as a program: a client opens the printed terminal with plain POSIX calls and
// talks to it as to a radio.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "link/frame_format.h"
#include "support/frame_bytes.h"
#include "support/radio_sim_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::LongFrameBytes;
using testing::RadioSimProcess;
using testing::TempDir;

constexpr int kAnswerWaitMs = 3000;

class Terminal {
public:
    explicit Terminal(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios tio{};
        if (fd_ >= 0 && tcgetattr(fd_, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~Terminal() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool ok() const { return fd_ >= 0; }
    void Send(const Bytes& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads until `count` bytes have come or the wait runs out (polling, never sleeping).
    Bytes Receive(std::size_t count) {
        Bytes got;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, 50) <= 0 || (pfd.revents & POLLIN) == 0) {
                if ((pfd.revents & (POLLHUP | POLLERR)) != 0) {
                    break;
                }
                continue;
            }
            std::uint8_t buffer[256];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }
    // True once the far side has closed (the simulator exited).
    bool HungUp() {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, 50) > 0) {
                std::uint8_t b;
                if ((pfd.revents & POLLHUP) != 0 || ::read(fd_, &b, 1) <= 0) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    int fd_;
};

Bytes Memory(std::uint8_t seed) {
    Bytes m(2048);
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>(i * 3 + seed);
    }
    return m;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST(RadioSimProgram, AnswersTheSettingsRequestAtLineSpeedAndSurvivesReopening) {
    TempDir dir;
    const Bytes memory = Memory(1);
    WriteFile(dir / "radio.kda", memory);
    RadioSimProcess sim({"--image", (dir / "radio.kda").string(), "--band", "low"});
    ASSERT_FALSE(sim.devicePath().empty());
    Bytes expected(memory.begin(), memory.begin() + 41);
    expected[22] = 0;
    for (int session = 0; session < 2; ++session) {
        Terminal port(sim.devicePath());
        ASSERT_TRUE(port.ok());
        const auto start = std::chrono::steady_clock::now();
        port.Send({0x35, 0x01, 0x02, 0x01, 0x00, 0x49, 0x00, 0x10});
        const Bytes answer = port.Receive(49);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        ASSERT_EQ(answer.size(), 49u) << "session " << session;
        EXPECT_EQ(Bytes(answer.begin() + 7, answer.end() - 1), expected);
        // 8 + 49 bytes of 10 bits at 9600 baud cannot take less than about 59 ms.
        EXPECT_GE(elapsed, std::chrono::milliseconds(55));
    }
}

TEST(RadioSimProgram, SavesWhatWasWrittenWhenItStopsAfterTheChosenFrames) {
    TempDir dir;
    RadioSimProcess sim(
        {"--no-pacing", "--exit-after-frames", "2", "--save", (dir / "saved.kda").string()});
    Terminal port(sim.devicePath());
    ASSERT_TRUE(port.ok());
    port.Send(LongFrameBytes(2, 2, 1, Bytes(41, 0x5C)));
    EXPECT_EQ(port.Receive(3), (Bytes{0x36, 0x06, 0x10}));
    port.Send(LongFrameBytes(2, 3, 21, Bytes(27, 0x6D)));
    EXPECT_EQ(port.Receive(3), (Bytes{0x36, 0x06, 0x10}));
    EXPECT_TRUE(port.HungUp());
    sim.Stop();
    const std::string saved = testing::ReadText(dir / "saved.kda");
    ASSERT_EQ(saved.size(), 2048u);
    EXPECT_EQ(static_cast<std::uint8_t>(saved[40]), 0x5C);
    EXPECT_EQ(static_cast<std::uint8_t>(saved[606]), 0x6D);
    EXPECT_EQ(saved[41], 0);
}

TEST(RadioSimProgram, FaultFlagsReachTheRadio) {
    RadioSimProcess sim({"--no-pacing", "--bad-checksum", "1:1", "--garbage", "2"});
    Terminal port(sim.devicePath());
    const Bytes request = {0x35, 0x01, 0x02, 0x01, 0x00, 0x49, 0x00, 0x10};
    port.Send(request);
    const Bytes bad = port.Receive(51);
    port.Send({0x36, 0x05, 0x10});
    const Bytes good = port.Receive(51);
    ASSERT_EQ(bad.size(), 51u);
    ASSERT_EQ(good.size(), 51u);
    EXPECT_NE(bad[2 + 5], good[2 + 5]);
    EXPECT_NE(bad[0], 0x35);
}

TEST(RadioSimProgram, HelpAndBadOptions) {
    TempDir dir;
    const auto program = testing::BuiltProgram("halyx-radiosim");
    const auto help = testing::RunProcess(program, {"--help"}, dir.path());
    EXPECT_EQ(help.exitStatus, 0);
    for (const char* flag :
         {"--image", "--save", "--band", "--baud", "--response-delay-ms", "--no-pacing", "--silent",
          "--bad-checksum", "--nak-block", "--garbage", "--corrupt-length", "--drop-frame",
          "--disappear-after", "--silent-after-write", "--readback-differs", "--exit-after-frames",
          "--verbose"}) {
        EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
    }
    EXPECT_EQ(testing::RunProcess(program, {"--band", "middle"}, dir.path()).exitStatus, 1);
    EXPECT_EQ(testing::RunProcess(program, {"--bad-checksum", "x:2"}, dir.path()).exitStatus, 1);
    EXPECT_EQ(testing::RunProcess(program, {"--image", "missing.kda"}, dir.path()).exitStatus, 2);
}

}  // namespace
}  // namespace halyx
