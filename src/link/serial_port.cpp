#include "link/serial_port.h"

#include <utility>

#include <QByteArray>
#include <QMetaObject>

#include "link/port_names.h"
#include "link/serial_worker.h"
#include "link/traffic_log.h"

namespace halyx {

SerialPort::SerialPort(TrafficLog* log, PortResolver resolver)
    : log_(log), handover_(std::make_unique<SerialByteHandover>()) {
    SetPortResolver(std::move(resolver));
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

bool SerialPort::Open(SerialByteReceiver* owner, int portNumber, std::uint32_t baudRate,
                      std::uint8_t parity, std::uint8_t byteSize, std::uint8_t stopBits,
                      std::uint32_t eventMask, std::uint32_t writeCapacity) {
    Close();
    const SerialLineSettings line{baudRate, parity, byteSize, stopBits, eventMask, writeCapacity};
    return OpenDevice(owner, resolver_(portNumber), portNumber, line);
}

bool SerialPort::OpenDevice(SerialByteReceiver* owner, const std::string& devicePath,
                            int portNumber, const SerialLineSettings& line) {
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
    lost_.store(false);
    handover_->BeginSession(owner, portNumber);
    auto thread = std::make_unique<SerialWorkerThread>(QString::fromStdString(devicePath), line,
                                                       *handover_, lost_);
    SerialWorker* worker = thread->StartAndOpen();
    if (worker == nullptr) {
        handover_->Abort();
        lastFailure_ =
            ClassifyPortOpenFailure(devicePath, thread->OpenAttempt(), ProbePortDevice(devicePath));
        return false;
    }
    thread_ = std::move(thread);
    worker_ = worker;
    return true;
}

bool SerialPort::StartWorker() {
    if (!IsOpen()) {
        return false;
    }
    if (!running_) {
        running_ = true;
        SerialWorker* worker = worker_;
        // Waits for the purge, so every byte that arrives after this returns reaches the owner.
        // The worker cannot be waiting on this thread: it hands nothing over before this.
        QMetaObject::invokeMethod(
            worker, [worker] { worker->StartReading(); }, Qt::BlockingQueuedConnection);
    }
    return true;
}

void SerialPort::Close() {
    running_ = false;
    if (!thread_) {
        return;
    }
    // Release a worker waiting on a hand-over first: it may be waiting on this very thread.
    handover_->Abort();
    thread_->quit();
    thread_->wait();
    thread_.reset();
    worker_ = nullptr;
}

void SerialPort::Write(const std::uint8_t* bytes, std::uint16_t length) {
    if (!IsOpen() || length > line_.writeCapacity || (bytes == nullptr && length != 0)) {
        return;
    }
    QByteArray frame(reinterpret_cast<const char*>(bytes), length);
    SerialWorker* worker = worker_;
    QMetaObject::invokeMethod(
        worker, [worker, frame] { worker->WriteFrame(frame); }, Qt::QueuedConnection);
    if (log_ != nullptr) {
        log_->AppendSent(bytes, length);
    }
}

bool SerialPort::IsOpen() const {
    return thread_ != nullptr && !lost_.load();
}

}  // namespace halyx
