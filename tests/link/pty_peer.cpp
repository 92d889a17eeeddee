#include "link/pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace halyx::testing {
namespace {

constexpr std::size_t kReadChunk = 4096;

int RemainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(deadline.remainingTime());
}

}  // namespace

PtyPeer::PtyPeer() {
    std::array<char, 256> name{};
    if (openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    termios raw{};
    tcgetattr(slave_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = name.data();
}

PtyPeer::~PtyPeer() {
    CloseMaster();
    if (slave_ >= 0) {
        close(slave_);
    }
}

std::size_t PtyPeer::SendSome(const std::uint8_t* bytes, std::size_t count) {
    if (master_ < 0 || count == 0) {
        return 0;
    }
    const ssize_t written = write(master_, bytes, count);
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

bool PtyPeer::Send(const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout.count());
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        sent += SendSome(bytes.data() + sent, bytes.size() - sent);
        if (sent == bytes.size()) {
            break;
        }
        pollfd fd{master_, POLLOUT, 0};
        if (deadline.hasExpired() || poll(&fd, 1, RemainingMs(deadline)) <= 0) {
            return false;
        }
    }
    return true;
}

std::vector<std::uint8_t> PtyPeer::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout.count());
    std::vector<std::uint8_t> bytes;
    while (master_ >= 0 && bytes.size() < count) {
        std::array<std::uint8_t, kReadChunk> chunk{};
        const ssize_t got =
            read(master_, chunk.data(), std::min(chunk.size(), count - bytes.size()));
        if (got > 0) {
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
            continue;
        }
        pollfd fd{master_, POLLIN, 0};
        if (deadline.hasExpired() || poll(&fd, 1, RemainingMs(deadline)) <= 0) {
            break;
        }
    }
    return bytes;
}

std::vector<std::uint8_t> PtyPeer::ReceiveAvailable() {
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, kReadChunk> chunk{};
    ssize_t got = 0;
    while (master_ >= 0 && (got = read(master_, chunk.data(), chunk.size())) > 0) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    }
    return bytes;
}

void PtyPeer::CloseMaster() {
    if (master_ >= 0) {
        close(master_);
        master_ = -1;
    }
}

bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    if (done()) {
        return true;
    }
    const QDeadlineTimer deadline(timeout.count());
    // Every event wakes the wait (a byte hand-over is not slowed to one byte per poll); the
    // timer only makes sure the deadline is seen when nothing happens.
    QTimer wake;
    wake.start(1);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

}  // namespace halyx::testing
