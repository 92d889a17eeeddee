#include "radiosim/net_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace halyx {
namespace {

constexpr int kServePollMs = 100;
constexpr std::size_t kReceiveChunk = 512;
constexpr int kSendWaitMs = 1000;

}  // namespace

NetServer::NetServer(RadioPeer& peer, const SimOptions& options)
    : peer_(peer),
      options_(options),
      radio_(peer, options,
             [this](const std::uint8_t* bytes, std::size_t count) { SendLine(bytes, count); }) {}

NetServer::~NetServer() {
    Drop();
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

bool NetServer::Open(std::string& error) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(options_.listenPort));
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error = "cannot listen on port " + std::to_string(options_.listenPort) + ": " +
                std::strerror(errno);
        return false;
    }
    port_ = ntohs(address.sin_port);
    return true;
}

std::string NetServer::address() const {
    return std::string(telnet() ? "rfc2217" : "tcp") + "://127.0.0.1:" + std::to_string(port_);
}

void NetServer::Run(const std::atomic<bool>& stop) {
    std::vector<std::uint8_t> chunk(kReceiveChunk);
    while (!stop) {
        if (client_ < 0) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, kServePollMs) > 0 && !Accept()) {
                continue;
            }
            continue;
        }
        pollfd line{client_, POLLIN, 0};
        if (::poll(&line, 1, kServePollMs) <= 0) {
            continue;
        }
        const ssize_t got = ::read(client_, chunk.data(), chunk.size());
        if (got <= 0) {
            Drop();  // the client went; the next may come
            continue;
        }
        Take(chunk.data(), static_cast<std::size_t>(got));
        if (peer_.hasDisappeared() || FrameLimitReached()) {
            if (options_.verbose) {
                std::fprintf(stderr, "radiosim: leaving after %d frames\n", peer_.framesReceived());
            }
            Drop();
            return;
        }
    }
}

bool NetServer::Accept() {
    client_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client_ < 0) {
        return false;
    }
    const int on = 1;
    ::setsockopt(client_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (telnet()) {
        session_.emplace();
    }
    return true;
}

void NetServer::Drop() {
    if (client_ >= 0) {
        ::close(client_);
        client_ = -1;
    }
    session_.reset();
}

void NetServer::Take(const std::uint8_t* bytes, std::size_t count) {
    if (!session_) {
        radio_.Serve(bytes, count);
        return;
    }
    const ComPortServer::Output out = session_->Feed(bytes, count);
    WriteAll(out.reply.data(), out.reply.size());
    radio_.Serve(out.data.data(), out.data.size());
}

bool NetServer::FrameLimitReached() const {
    return radio_.FrameLimitReached();
}

void NetServer::SendLine(const std::uint8_t* bytes, std::size_t count) {
    if (session_) {
        const std::vector<std::uint8_t> escaped = ComPortServer::Encode(bytes, count);
        WriteAll(escaped.data(), escaped.size());
    } else {
        WriteAll(bytes, count);
    }
}

void NetServer::WriteAll(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0 && client_ >= 0) {
        const ssize_t put = ::send(client_, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0) {
            pollfd line{client_, POLLOUT, 0};
            if (errno == EINTR || (errno == EAGAIN && ::poll(&line, 1, kSendWaitMs) > 0)) {
                continue;
            }
            return;  // the client is gone or does not read: the bytes are dropped
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
    }
}

}  // namespace halyx
