#include "radiosim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "link/traffic_log.h"

namespace halyx {

namespace {
constexpr int kPollMilliseconds = 100;
constexpr std::size_t kReadChunk = 512;
constexpr int kWriteWaitMilliseconds = 1000;
// How long a leaving radio waits for the client to take its last answer.
constexpr auto kDrainLimit = std::chrono::seconds(2);
constexpr auto kDrainStep = std::chrono::milliseconds(5);
// Bytes written to the master reach the slave's queue a little later, so an empty queue right
// after the write proves nothing; wait at least this long.
constexpr auto kDrainLinger = std::chrono::milliseconds(50);
}  // namespace

PtyServer::~PtyServer() {
    CloseTerminal();
}

bool PtyServer::Open(std::string& error) {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error = std::string("openpty failed: ") + std::strerror(errno);
        return false;
    }
    // Without raw mode the line discipline echoes and translates bytes (0x10, CR, ...).
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slave_, TCSANOW, &tio);
    }
    // Non-blocking writes: a client that stops reading must not freeze the radio (and its
    // signal handling) once the terminal's buffer is full; such bytes are dropped instead.
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    slavePath_ = name;
    return true;
}

PtyServer::PtyServer(RadioPeer& peer, const SimOptions& options)
    : peer_(peer),
      options_(options),
      radio_(
          peer, options,
          [this](const std::uint8_t* bytes, std::size_t count) { WriteAll(bytes, count); },
          [this](const std::uint8_t* bytes, std::size_t count) { Log("answer", bytes, count); }) {}

void PtyServer::CloseTerminal() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}

void PtyServer::Run(const std::atomic<bool>& stop) {
    std::vector<std::uint8_t> chunk(kReadChunk);
    while (!stop && master_ >= 0) {
        pollfd pfd{master_, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, kPollMilliseconds);
        if (ready <= 0 || (pfd.revents & POLLIN) == 0) {
            continue;  // time-out, a signal, or a hang-up we outlive thanks to our slave fd
        }
        const ssize_t got = ::read(master_, chunk.data(), chunk.size());
        if (got <= 0) {
            continue;
        }
        Serve(chunk.data(), static_cast<std::size_t>(got));
        if (peer_.hasDisappeared()) {
            if (options_.verbose) {
                std::fprintf(stderr, "radiosim: disappearing after %d frames\n",
                             peer_.framesReceived());
            }
            WaitUntilTaken();
            CloseTerminal();
            return;
        }
        if (FrameLimitReached()) {
            WaitUntilTaken();
            return;
        }
    }
}

void PtyServer::WaitUntilTaken() {
    // Closing the master hangs the terminal up and throws away what the client has not read yet,
    // so the last answer would be lost. Our own slave descriptor shows how much is still waiting.
    const Clock::time_point start = Clock::now();
    int waiting = 0;
    while (Clock::now() < start + kDrainLimit) {
        const bool empty = ::ioctl(slave_, FIONREAD, &waiting) != 0 || waiting == 0;
        if (empty && Clock::now() >= start + kDrainLinger) {
            return;
        }
        std::this_thread::sleep_for(kDrainStep);
    }
}

bool PtyServer::FrameLimitReached() const {
    return radio_.FrameLimitReached();
}

void PtyServer::Serve(const std::uint8_t* bytes, std::size_t count) {
    Log("received", bytes, count);
    radio_.Serve(bytes, count);
}

void PtyServer::WriteAll(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0 && master_ >= 0) {
        const ssize_t put = ::write(master_, bytes, count);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            pollfd pfd{master_, POLLOUT, 0};
            if (errno != EAGAIN || ::poll(&pfd, 1, kWriteWaitMilliseconds) <= 0) {
                if (options_.verbose) {
                    std::fprintf(stderr, "radiosim: nobody reads; %zu bytes dropped\n", count);
                }
                return;
            }
            continue;
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
    }
}

void PtyServer::Log(const std::string& what, const std::uint8_t* bytes, std::size_t count) const {
    if (options_.verbose) {
        const std::string line = TrafficLog::FormatTrafficLine(what + ": ", bytes, count);
        std::fwrite(line.data(), 1, line.size() - 2, stderr);  // without the "\r\n"
        std::fputc('\n', stderr);
    }
}

}  // namespace halyx
