#pragma once

#include <atomic>
#include <future>

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QThread>

#include "link/port_open_failure.h"
#include "link/serial_byte_handover.h"
#include "link/serial_line_settings.h"

namespace halyx {

// The port's side of SerialPort. It is created inside the worker thread and owns the
// QSerialPort there; SerialPort reaches it only through queued calls.
class SerialWorker : public QObject {
public:
    // Qt waits this long for a frame to leave, as the port's write time-out did.
    static constexpr int kWriteTimeoutMs = 1000;

    SerialWorker(QString devicePath, const SerialLineSettings& line, SerialByteHandover& handover,
                 std::atomic<bool>& lost);

    // Opens and configures the line and purges both directions. False leaves the port closed,
    // and OpenAttempt() says what the library reported.
    bool Open();
    const PortOpenAttempt& OpenAttempt() const { return attempt_; }
    // Purges what arrived since the open and from then on hands every byte to the owner.
    void StartReading();
    // Purges both directions (unread input is discarded, so only answers to this frame are
    // gathered) and sends the frame.
    void WriteFrame(const QByteArray& frame);

private:
    bool Configure();
    void DeliverAvailable();
    void OnError(QSerialPort::SerialPortError error);
    bool DeviceHasGone(QSerialPort::SerialPortError error);
    void CloseLostPort();

    QSerialPort port_;
    PortOpenAttempt attempt_;
    SerialLineSettings line_;
    SerialByteHandover& handover_;
    std::atomic<bool>& lost_;
    bool reading_ = false;
    bool writing_ = false;
    bool delivering_ = false;
    bool closing_ = false;
};

// The worker thread: opens the port, then runs an event loop until SerialPort quits it. The
// worker and its QSerialPort are destroyed inside the thread when the loop ends.
class SerialWorkerThread : public QThread {
public:
    SerialWorkerThread(QString devicePath, const SerialLineSettings& line,
                       SerialByteHandover& handover, std::atomic<bool>& lost);

    // Starts the thread and waits until it has tried to open the port. Returns the worker, or
    // null when the open failed, in which case the thread ends by itself and OpenAttempt() says
    // what the library reported.
    SerialWorker* StartAndOpen();
    const PortOpenAttempt& OpenAttempt() const { return attempt_; }

protected:
    void run() override;

private:
    QString devicePath_;
    SerialLineSettings line_;
    SerialByteHandover& handover_;
    std::atomic<bool>& lost_;
    PortOpenAttempt attempt_;  // written before opened_ is set, read after
    std::promise<SerialWorker*> opened_;
};

}  // namespace halyx
