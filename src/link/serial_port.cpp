#include "link/serial_port.h"

#include <climits>
#include <utility>

#include <QByteArray>
#include <QMetaObject>

#include "link/port_names.h"
#include "link/traffic_log.h"

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace halyx {

SerialPort::SerialPort(TrafficLog* log, PortResolver resolver, QObject* parent)
    : LinkPort(log, parent) {
    SetPortResolver(std::move(resolver));
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::ReadAvailable);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialPort::OnError);
    connect(&network_, &LinkPort::byteReceived, this, &LinkPort::byteReceived);
    connect(&network_, &LinkPort::lost, this, &LinkPort::lost);
}

SerialPort::~SerialPort() {
    Close();
}

void SerialPort::SetPortResolver(PortResolver resolver) {
    if (resolver) {
        resolver_ = std::move(resolver);
    } else {
        // The link keeps no settings of its own: whoever has a COMn mapping passes a resolver.
        resolver_ = [](int portNumber) { return ResolvePortDevice(portNumber, DeviceMapping{}); };
    }
}

bool SerialPort::Open(const PortText& port, std::uint32_t baudRate) {
    SerialLineSettings line;
    line.baudRate = baudRate;
    if (!port.devicePath.empty()) {
        return OpenDevice(port.devicePath, port.portNumber, line);
    }
    Close();
    return OpenDevice(resolver_(port.portNumber), port.portNumber, line);
}

bool SerialPort::OpenDevice(const std::string& devicePath, int portNumber,
                            const SerialLineSettings& line) {
    Close();
    portNumber_ = portNumber;
    devicePath_ = devicePath;
    line_ = line;
    lastFailure_ = {};
    if (devicePath.empty()) {
        lastFailure_.cause = PortOpenCause::NoDevice;
        lastFailure_.portName = ComName(portNumber);
        return false;
    }
    if (HasNetworkScheme(devicePath)) {
        network_.SetTrafficLog(trafficLog());  // sent frames are logged where they go out
        const bool opened = network_.OpenAddress(devicePath, line);
        lastFailure_ = network_.LastOpenFailure();
        return opened;
    }
    port_.setPortName(QString::fromStdString(devicePath));
    PortOpenAttempt attempt;
    if (!port_.open(QIODevice::ReadWrite)) {
        attempt.permissionError = port_.error() == QSerialPort::PermissionError;
        attempt.notFound = port_.error() == QSerialPort::DeviceNotFoundError;
        attempt.systemText = port_.errorString().toStdString();
        lastFailure_ = ClassifyPortOpenFailure(devicePath, attempt, ProbePortDevice(devicePath));
        return false;
    }
    if (!Configure()) {
        attempt.settingRefused = true;
        attempt.systemText = port_.errorString().toStdString();
        port_.close();
        lastFailure_ = ClassifyPortOpenFailure(devicePath, attempt, ProbePortDevice(devicePath));
        return false;
    }
    // Modem lines are a courtesy to adapters that power themselves from them; a pseudo-terminal
    // or a three-wire adapter cannot set them, and the line works without.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    port_.clearError();
    port_.clear(QSerialPort::AllDirections);
    return true;
}

bool SerialPort::Configure() {
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    if (!ToQtParity(line_.parity, &parity) || !ToQtDataBits(line_.byteSize, &dataBits) ||
        !ToQtStopBits(line_.stopBits, &stopBits) || line_.baudRate == 0 ||
        line_.baudRate > static_cast<std::uint32_t>(INT32_MAX)) {
        return false;
    }
    return port_.setBaudRate(static_cast<qint32>(line_.baudRate)) && port_.setDataBits(dataBits) &&
           port_.setParity(parity) && port_.setStopBits(stopBits) &&
           port_.setFlowControl(QSerialPort::NoFlowControl);
}

void SerialPort::Close() {
    ++generation_;
    losing_ = false;
    if (port_.isOpen()) {
        port_.close();
    }
    network_.Close();
}

void SerialPort::Write(const std::uint8_t* bytes, std::uint16_t length) {
    if (network_.IsOpen()) {
        network_.Write(bytes, length);
        return;
    }
    if (!port_.isOpen() || losing_ || length > line_.writeCapacity ||
        (bytes == nullptr && length != 0)) {
        return;
    }
    // Whatever came in before this frame is no answer to it: the line's input is purged, and so
    // are bytes already read but not yet handed on.
    ++generation_;
    port_.clear(QSerialPort::Input);
    QIODevice& device = port_;
    device.write(reinterpret_cast<const char*>(bytes), length);
    port_.flush();
    if (trafficLog() != nullptr) {
        trafficLog()->AppendSent(bytes, length);
    }
}

void SerialPort::ReadAvailable() {
    // A receiver may run a nested event loop (a modal box shows a result); bytes arriving
    // meanwhile stay buffered and are handed on, in order, when the outer call goes on.
    if (reading_) {
        return;
    }
    reading_ = true;
    QIODevice& device = port_;
    while (device.isOpen() && !losing_) {
        const QByteArray chunk = device.readAll();
        if (chunk.isEmpty()) {
            break;
        }
        const std::uint64_t generation = generation_;
        for (const char byte : chunk) {
            emit byteReceived(static_cast<std::uint8_t>(byte));
            if (generation_ != generation) {
                break;  // written, closed or re-opened meanwhile: the rest is stale
            }
        }
    }
    reading_ = false;
}

void SerialPort::OnError(QSerialPort::SerialPortError error) {
    if (losing_ || !port_.isOpen() || !DeviceHasGone(error)) {
        return;
    }
    // The device has gone and Qt would report it again on every turn of the loop. Close on the
    // next turn rather than here: Qt still touches its buffer after emitting the error.
    losing_ = true;
    QMetaObject::invokeMethod(this, &SerialPort::CloseLostPort, Qt::QueuedConnection);
}

bool SerialPort::DeviceHasGone(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ResourceError) {
        return true;
    }
    if (error != QSerialPort::ReadError) {
        return false;
    }
#ifdef Q_OS_UNIX
    // Qt also reports a read error when the line was readable but a purge emptied it before Qt
    // read; that line is alive. A vanished device shows as a hang-up.
    pollfd line{static_cast<int>(port_.handle()), POLLIN, 0};
    if (poll(&line, 1, 0) >= 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0) {
        port_.clearError();
        return false;
    }
#endif
    return true;
}

void SerialPort::CloseLostPort() {
    if (!losing_) {
        return;  // closed or re-opened since
    }
    Close();
    emit lost();
}

}  // namespace halyx
