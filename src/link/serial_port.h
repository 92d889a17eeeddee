#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/frame_sink.h"
#include "link/port_open_failure.h"
#include "link/serial_byte_handover.h"
#include "link/serial_byte_receiver.h"
#include "link/serial_line_settings.h"

namespace halyx {

class SerialWorker;
class SerialWorkerThread;
class TrafficLog;

// The one serial line to the radio. A worker thread owns the QSerialPort; every received byte
// is handed to the owner (SerialByteReceiver) on the thread that created this object, one call
// per byte, in order, and the worker waits until each call has returned before it reads on.
// Frames handed to Write are sent by the worker in the order given, each after both directions
// of the port have been purged.
//
// Threading: create, open, start, write, close and destroy on one thread (the user-interface
// thread), which must run a Qt event loop for bytes to arrive; a QCoreApplication must exist.
// Close and Open may be called from inside the owner's callbacks.
//
// States: Closed (no device; Write drops frames) -> Open (Open/OpenDevice succeeded; frames are
// sent, received bytes wait) -> Running (StartWorker: bytes reach the owner) -> Closed again by
// Close, by a new Open, or by the device vanishing (the owner is told through OnSerialPortLost).
class SerialPort final : public FrameSink {
public:
    // Device path for a port number; empty when the number names no device.
    using PortResolver = std::function<std::string(int portNumber)>;

    // `log` receives a sent-traffic line per frame written while open; may be null. `resolver`
    // turns port numbers into devices; when empty, the system listing alone is used (see
    // port_names.h); callers that keep a "devices" mapping pass a resolver that applies it.
    explicit SerialPort(TrafficLog* log = nullptr, PortResolver resolver = {});
    ~SerialPort() override;  // closes the port and waits for the worker to end
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    void SetTrafficLog(TrafficLog* log) { log_ = log; }
    void SetPortResolver(PortResolver resolver);

    // Closes any open port (waiting for its worker), then opens port COM<portNumber> with the
    // given line: parity 0 none, 1 odd, 2 even, 3 mark, 4 space; byte size 5 to 8; stop bits
    // 0 one, 1 one and a half, 2 two; no flow control; DTR and RTS raised where the device
    // allows it. `eventMask` is kept for the callers but has no effect. Frames longer than
    // `writeCapacity` are dropped by Write. False (port closed) when the number names no device,
    // the device cannot be opened or a setting is refused. The link's usual call is
    //   Open(owner, port, 9600, 0, 8, 0, 5, 5120).
    bool Open(SerialByteReceiver* owner, int portNumber, std::uint32_t baudRate,
              std::uint8_t parity, std::uint8_t byteSize, std::uint8_t stopBits,
              std::uint32_t eventMask, std::uint32_t writeCapacity);
    // The same for a device path given directly ("/dev/ttyUSB0", a pseudo-terminal's slave).
    // `portNumber` is only passed back to the owner with each byte.
    bool OpenDevice(SerialByteReceiver* owner, const std::string& devicePath, int portNumber,
                    const SerialLineSettings& line = {});

    // Purges the line and starts handing received bytes to the owner; every byte that arrives
    // after it returns is delivered. False when not open.
    bool StartWorker();

    // Ends the worker (abandoning a hand-over it may be waiting on; such a byte is never
    // delivered) and closes the device. Blocks until the worker thread has ended, which takes at
    // most the write time-out. Harmless when closed.
    void Close();

    // Sends one frame and appends its sent-traffic line to the log. Dropped without a trace when
    // the port is closed or lost, or the frame is longer than the write capacity. Never blocks.
    void Write(const std::uint8_t* bytes, std::uint16_t length) override;

    // Why the last Open or OpenDevice failed; cause None after one that succeeded.
    const PortOpenFailure& LastOpenFailure() const { return lastFailure_; }

    // Open or Running, and the device has not vanished.
    bool IsOpen() const;
    bool IsRunning() const { return IsOpen() && running_; }
    int PortNumber() const { return portNumber_; }
    const std::string& DevicePath() const { return devicePath_; }

private:
    TrafficLog* log_ = nullptr;
    PortResolver resolver_;
    std::unique_ptr<SerialByteHandover> handover_;
    std::unique_ptr<SerialWorkerThread> thread_;
    SerialWorker* worker_ = nullptr;  // lives in thread_, valid while thread_ runs
    std::atomic<bool> lost_{false};   // set by the worker when the device vanished
    SerialLineSettings line_;
    std::string devicePath_;
    PortOpenFailure lastFailure_;
    int portNumber_ = 0;
    bool running_ = false;
};

}  // namespace halyx
