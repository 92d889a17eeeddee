// The network port against servers played by the test on a thread of its own: line data both
// ways with 0xFF escaped over Telnet and untouched raw, a server that refuses the line set-up,
// and one that drops the connection once the line is open.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "link/network_port.h"
#include "link/pty_byte_recorder.h"
#include "link/pty_peer.h"
#include "radiosim/com_port_server.h"

namespace halyx {
namespace {

using Octets = std::vector<std::uint8_t>;
using testing::RunEventsUntil;

// One connection on 127.0.0.1, served by `script` on its own thread.
class ScriptedServer {
public:
    explicit ScriptedServer(std::function<void(int fd)> script) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        listen(listener_, 1);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, script = std::move(script)] {
            const int fd = accept(listener_, nullptr, nullptr);
            if (fd >= 0) {
                script(fd);
                close(fd);
            }
        });
    }
    ~ScriptedServer() {
        shutdown(listener_, SHUT_RDWR);
        thread_.join();
        close(listener_);
    }
    std::string Address(const char* scheme) const {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_);
    }

private:
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

Octets ServerRead(int fd) {
    Octets bytes(4096);
    const ssize_t got = read(fd, bytes.data(), bytes.size());
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

void ServerSend(int fd, const Octets& bytes) {
    static_cast<void>(write(fd, bytes.data(), bytes.size()));
}

// Plays a COM-PORT server until `frameBytes` bytes of line data have come; answers with `reply`.
void ServeOneFrame(int fd, std::size_t frameBytes, const Octets& reply, Octets& received) {
    ComPortServer server;
    while (received.size() < frameBytes) {
        const Octets in = ServerRead(fd);
        if (in.empty()) {
            return;
        }
        const ComPortServer::Output out = server.Feed(in.data(), in.size());
        ServerSend(fd, out.reply);
        received.insert(received.end(), out.data.begin(), out.data.end());
    }
    ServerSend(fd, ComPortServer::Encode(reply.data(), reply.size()));
}

TEST(NetworkPort, CarriesFramesFullOfFFBothWaysOverTelnetAndRaw) {
    const Octets frame{0x35, 0xFF, 0xFF, 0x10, 0x00, 0xFF};
    const Octets answer{0xFF, 0x10, 0xFF, 0xFF, 0x01};
    for (const char* scheme : {"rfc2217", "tcp"}) {
        SCOPED_TRACE(scheme);
        const bool telnet = std::string(scheme) == "rfc2217";
        Octets received;
        {
            ScriptedServer server([&](int fd) {
                if (telnet) {
                    ServeOneFrame(fd, frame.size(), answer, received);
                } else {
                    while (received.size() < frame.size()) {
                        const Octets in = ServerRead(fd);
                        if (in.empty()) {
                            return;
                        }
                        received.insert(received.end(), in.begin(), in.end());
                    }
                    ServerSend(fd, answer);
                }
                ServerRead(fd);  // until the client closes
            });
            NetworkPort port;
            std::vector<std::uint8_t> bytes;
            QObject::connect(&port, &LinkPort::byteReceived,
                             [&](std::uint8_t b) { bytes.push_back(b); });
            ASSERT_TRUE(port.OpenAddress(server.Address(scheme)))
                << port.LastOpenFailure().systemText;
            port.Write(frame.data(), static_cast<std::uint16_t>(frame.size()));
            EXPECT_TRUE(RunEventsUntil([&] { return bytes.size() >= answer.size(); }));
            EXPECT_EQ(bytes, answer);
            port.Close();
        }  // the server's thread has ended: what it received may be read
        EXPECT_EQ(received, frame);
    }
}

TEST(NetworkPort, ARefusingServerFailsTheOpenWithItsReason) {
    ScriptedServer server([](int fd) {
        ServerRead(fd);                                            // the client's opening
        ServerSend(fd, {255, 253, 0, 255, 251, 0, 255, 254, 44});  // binary yes, port option no
        ServerRead(fd);
    });
    NetworkPort port;
    EXPECT_FALSE(port.OpenAddress(server.Address("rfc2217")));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastOpenFailure().cause, PortOpenCause::ServerRefused);
    EXPECT_EQ(PortOpenFailureTextEnglish(port.LastOpenFailure()),
              server.Address("rfc2217") +
                  ": the server will not set up the serial line: the server declines the serial "
                  "port option.");
}

TEST(NetworkPort, AConnectionDroppedAfterTheOpenIsReportedLostOnce) {
    ScriptedServer server([](int fd) {
        Octets ignored;
        ServeOneFrame(fd, 1, {0x42}, ignored);  // answers the first byte, then hangs up
    });
    NetworkPort port;
    int lost = 0;
    std::vector<std::uint8_t> bytes;
    QObject::connect(&port, &LinkPort::lost, [&] { ++lost; });
    QObject::connect(&port, &LinkPort::byteReceived, [&](std::uint8_t b) { bytes.push_back(b); });
    ASSERT_TRUE(port.OpenAddress(server.Address("rfc2217")));
    const std::uint8_t one = 0x01;
    port.Write(&one, 1);
    EXPECT_TRUE(RunEventsUntil([&] { return lost > 0; }));
    RunEventsUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(bytes, Octets{0x42});  // the last answer before the drop still arrives
    EXPECT_FALSE(port.IsOpen());
    port.Write(&one, 1);  // dropped without a trace
}

}  // namespace
}  // namespace halyx
