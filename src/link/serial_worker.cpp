#include "link/serial_worker.h"

#include <utility>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace halyx {

SerialWorker::SerialWorker(QString devicePath, const SerialLineSettings& line,
                           SerialByteHandover& handover, std::atomic<bool>& lost)
    : line_(line), handover_(handover), lost_(lost) {
    port_.setPortName(std::move(devicePath));
}

bool SerialWorker::Open() {
    if (!port_.open(QIODevice::ReadWrite)) {
        attempt_.permissionError = port_.error() == QSerialPort::PermissionError;
        attempt_.notFound = port_.error() == QSerialPort::DeviceNotFoundError;
        attempt_.systemText = port_.errorString().toStdString();
        return false;
    }
    if (!Configure()) {
        attempt_.settingRefused = true;
        attempt_.systemText = port_.errorString().toStdString();
        port_.close();
        return false;
    }
    // Modem lines are a courtesy to adapters that power themselves from them; a pseudo-terminal
    // or a three-wire adapter cannot set them, and the line works without.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    port_.clearError();
    port_.clear(QSerialPort::AllDirections);
    connect(&port_, &QSerialPort::readyRead, this, &SerialWorker::DeliverAvailable);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialWorker::OnError);
    return true;
}

bool SerialWorker::Configure() {
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

void SerialWorker::StartReading() {
    if (reading_ || !port_.isOpen()) {
        return;
    }
    reading_ = true;
    port_.clear(QSerialPort::AllDirections);
}

void SerialWorker::WriteFrame(const QByteArray& frame) {
    if (!port_.isOpen() || closing_) {
        return;
    }
    writing_ = true;
    port_.clear(QSerialPort::AllDirections);
    port_.write(frame);
    port_.waitForBytesWritten(kWriteTimeoutMs);
    writing_ = false;
    // An answer may have come in while Qt waited for the frame to leave.
    DeliverAvailable();
}

void SerialWorker::DeliverAvailable() {
    // Not re-entered from inside a write or a hand-over: bytes stay buffered until then.
    if (!reading_ || writing_ || delivering_ || closing_) {
        return;
    }
    delivering_ = true;
    char byte = 0;
    while (port_.isOpen() && port_.read(&byte, 1) == 1) {
        if (!handover_.Deliver(static_cast<std::uint8_t>(byte))) {
            reading_ = false;  // the port is being closed
            break;
        }
    }
    delivering_ = false;
}

void SerialWorker::OnError(QSerialPort::SerialPortError error) {
    if (closing_ || !DeviceHasGone(error)) {
        return;
    }
    // The device has gone and Qt would report it again on every turn of the loop. Close on the
    // next turn rather than here: Qt still touches its buffer after emitting the error.
    closing_ = true;
    QMetaObject::invokeMethod(this, &SerialWorker::CloseLostPort, Qt::QueuedConnection);
}

bool SerialWorker::DeviceHasGone(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ResourceError) {
        return true;
    }
    if (error != QSerialPort::ReadError) {
        return false;
    }
#ifdef Q_OS_UNIX
    // Qt also reports a read error when the line was readable but a purge emptied it before Qt
    // read; that line is alive. A vanished device shows as a hang-up.
    pollfd line{port_.handle(), POLLIN, 0};
    if (poll(&line, 1, 0) >= 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0) {
        port_.clearError();
        return false;
    }
#endif
    return true;
}

void SerialWorker::CloseLostPort() {
    port_.close();
    lost_.store(true);
    handover_.ReportPortLost();
}

SerialWorkerThread::SerialWorkerThread(QString devicePath, const SerialLineSettings& line,
                                       SerialByteHandover& handover, std::atomic<bool>& lost)
    : devicePath_(std::move(devicePath)), line_(line), handover_(handover), lost_(lost) {
    setObjectName(QStringLiteral("serial worker"));
}

SerialWorker* SerialWorkerThread::StartAndOpen() {
    std::future<SerialWorker*> opened = opened_.get_future();
    start();
    SerialWorker* worker = opened.get();
    if (worker == nullptr) {
        wait();
    }
    return worker;
}

void SerialWorkerThread::run() {
    SerialWorker worker(devicePath_, line_, handover_, lost_);
    if (!worker.Open()) {
        attempt_ = worker.OpenAttempt();
        opened_.set_value(nullptr);
        return;
    }
    opened_.set_value(&worker);
    exec();
}

}  // namespace halyx
