#include "link/network_port.h"

#include <QDeadlineTimer>
#include <QMetaObject>

#include "link/traffic_log.h"

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace halyx {
namespace {

bool ToComPortLine(const SerialLineSettings& line, ComPortClient::Line* out) {
    static constexpr std::uint8_t kParities[] = {
        ComPortClient::kParityNone, ComPortClient::kParityOdd, ComPortClient::kParityEven,
        ComPortClient::kParityMark, ComPortClient::kParitySpace};
    static constexpr std::uint8_t kStops[] = {
        ComPortClient::kStopOne, ComPortClient::kStopOneAndHalf, ComPortClient::kStopTwo};
    if (line.parity >= std::size(kParities) || line.stopBits >= std::size(kStops) ||
        line.byteSize < 5 || line.byteSize > 8 || line.baudRate == 0) {
        return false;
    }
    out->baudRate = line.baudRate;
    out->dataSize = line.byteSize;
    out->parity = kParities[line.parity];
    out->stopSize = kStops[line.stopBits];
    return true;
}

}  // namespace

NetworkPort::NetworkPort(TrafficLog* log, QObject* parent) : LinkPort(log, parent) {
    connect(&socket_, &QTcpSocket::readyRead, this, &NetworkPort::ReadAvailable);
    connect(&socket_, &QTcpSocket::disconnected, this, &NetworkPort::OnDropped);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &NetworkPort::OnDropped);
}

NetworkPort::~NetworkPort() {
    Close();
}

bool NetworkPort::Open(const PortText& port, std::uint32_t baudRate) {
    SerialLineSettings line;
    line.baudRate = baudRate;
    return OpenAddress(port.devicePath, line);
}

bool NetworkPort::OpenAddress(const std::string& text, const SerialLineSettings& line) {
    Close();
    lastFailure_ = {};
    lastFailure_.portName = text;
    addressText_ = text;
    writeCapacity_ = line.writeCapacity;
    const std::optional<NetworkAddress> address = ParseNetworkAddress(text);
    if (!address) {
        Fail(PortOpenCause::NoDevice);
        return false;
    }
    if (!Connect(*address)) {
        return false;
    }
    if (address->kind == NetworkAddress::Kind::ComPort && !Negotiate(line)) {
        return false;
    }
    lastFailure_ = {};
    open_ = true;
    // Anything the server sent with its confirmations is no answer to a frame of ours.
    TakeInput();
    if (socket_.bytesAvailable() > 0) {
        QMetaObject::invokeMethod(this, &NetworkPort::ReadAvailable, Qt::QueuedConnection);
    }
    return true;
}

bool NetworkPort::Connect(const NetworkAddress& address) {
    socket_.connectToHost(QString::fromStdString(address.host), address.port);
    if (!socket_.waitForConnected(kConnectTimeoutMs)) {
        switch (socket_.error()) {
            case QAbstractSocket::ConnectionRefusedError:
                Fail(PortOpenCause::ConnectionRefused);
                break;
            case QAbstractSocket::HostNotFoundError:
                Fail(PortOpenCause::HostNotFound);
                break;
            case QAbstractSocket::SocketTimeoutError:
                Fail(PortOpenCause::NoAnswer);
                break;
            default:
                Fail(PortOpenCause::Other, socket_.errorString().toStdString());
                break;
        }
        return false;
    }
    // Frames are short and every one waits for its answer: Nagle's delay would only add to it.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
}

bool NetworkPort::Negotiate(const SerialLineSettings& line) {
    ComPortClient::Line wanted;
    if (!ToComPortLine(line, &wanted)) {
        Fail(PortOpenCause::SettingRefused);
        return false;
    }
    telnet_.emplace(wanted);
    SendRaw(telnet_->Start());
    const QDeadlineTimer deadline(kNegotiationTimeoutMs);
    while (telnet_->state() == ComPortClient::State::Negotiating) {
        if (socket_.bytesAvailable() == 0 && !socket_.waitForReadyRead(static_cast<int>(
                                                 std::max<qint64>(1, deadline.remainingTime())))) {
            if (socket_.state() != QAbstractSocket::ConnectedState) {
                Fail(PortOpenCause::ServerRefused, "the server closed the connection");
            } else {
                Fail(PortOpenCause::NoAnswer);
            }
            return false;
        }
        TakeInput();
        if (deadline.hasExpired() && telnet_->state() == ComPortClient::State::Negotiating) {
            Fail(PortOpenCause::NoAnswer);
            return false;
        }
    }
    if (telnet_->state() == ComPortClient::State::Refused) {
        Fail(PortOpenCause::ServerRefused, telnet_->refusal());
        return false;
    }
    return true;
}

void NetworkPort::Fail(PortOpenCause cause, std::string detail) {
    lastFailure_.cause = cause;
    lastFailure_.portName = addressText_;
    lastFailure_.systemText = std::move(detail);
    socket_.abort();
    telnet_.reset();
}

void NetworkPort::Close() {
    ++generation_;
    losing_ = false;
    open_ = false;
    telnet_.reset();
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        socket_.abort();
    }
}

void NetworkPort::SendRaw(const std::vector<std::uint8_t>& bytes) {
    if (!bytes.empty()) {
        socket_.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size()));
        socket_.flush();
    }
}

void NetworkPort::Write(const std::uint8_t* bytes, std::uint16_t length) {
    if (!open_ || losing_ || length > writeCapacity_ || (bytes == nullptr && length != 0)) {
        return;
    }
    // As on a serial line, what came in before this frame is no answer to it.
    ++generation_;
    TakeInput();
    if (telnet_) {
        SendRaw(telnet::EscapeData(bytes, length));
    } else {
        SendRaw(std::vector<std::uint8_t>(bytes, bytes + length));
    }
    if (trafficLog() != nullptr) {
        trafficLog()->AppendSent(bytes, length);
    }
}

std::vector<std::uint8_t> NetworkPort::TakeInput() {
    const QByteArray chunk = socket_.readAll();
    AcknowledgeAtOnce();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(chunk.constData());
    if (!telnet_) {
        return {bytes, bytes + chunk.size()};
    }
    ComPortClient::Output out = telnet_->Feed(bytes, static_cast<std::size_t>(chunk.size()));
    SendRaw(out.reply);
    if (open_ && telnet_->state() == ComPortClient::State::Refused && !losing_) {
        // The server took back binary mode or the port option: the line can no longer be trusted.
        losing_ = true;
        QMetaObject::invokeMethod(this, &NetworkPort::CloseLostPort, Qt::QueuedConnection);
    }
    return std::move(out.data);
}

void NetworkPort::AcknowledgeAtOnce() {
#ifdef Q_OS_LINUX
    // ser2net often sends a frame in two segments and holds the second until the first is
    // acknowledged; a delayed acknowledgement would cost up to 40 ms on every answer. The kernel
    // drops back to delaying after a while, so this is renewed on every read.
    const int fd = static_cast<int>(socket_.socketDescriptor());
    if (fd >= 0) {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
    }
#endif
}

void NetworkPort::ReadAvailable() {
    // As SerialPort: a receiver running a nested event loop gets the later bytes when it returns.
    if (reading_ || !open_) {
        return;
    }
    reading_ = true;
    while (open_ && !losing_ && socket_.bytesAvailable() > 0) {
        const std::vector<std::uint8_t> data = TakeInput();
        const std::uint64_t generation = generation_;
        for (const std::uint8_t byte : data) {
            if (losing_) {
                break;
            }
            emit byteReceived(byte);
            if (generation_ != generation) {
                break;  // written, closed or re-opened meanwhile: the rest is stale
            }
        }
    }
    reading_ = false;
}

void NetworkPort::OnDropped() {
    if (!open_ || losing_ || socket_.state() == QAbstractSocket::ConnectedState) {
        return;
    }
    // The server's last bytes (an answer sent just before it went) still count.
    ReadAvailable();
    if (!open_ || losing_) {
        return;
    }
    // Close on the next turn of the loop: the socket is still inside its own signal.
    losing_ = true;
    QMetaObject::invokeMethod(this, &NetworkPort::CloseLostPort, Qt::QueuedConnection);
}

void NetworkPort::CloseLostPort() {
    if (!losing_) {
        return;  // closed or re-opened since
    }
    Close();
    emit lost();
}

}  // namespace halyx
