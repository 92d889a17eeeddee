#pragma once

#include <cstdint>

namespace halyx {

// The owner of an open SerialPort: the main window in the application, the command-line tool's
// session object or a test. Both calls arrive on the thread that created the SerialPort (the
// user-interface thread), from its event loop, never from the worker.
class SerialByteReceiver {
public:
    virtual ~SerialByteReceiver() = default;

    // One received byte, in arrival order. The worker reads nothing further until this returns,
    // so everything it touches (the reply buffer, the exchange counters) needs no lock. It may
    // call Write, Close or Open on the port.
    virtual void OnSerialByte(std::uint8_t byte, int portNumber) = 0;

    // The device went away (cable pulled, adapter unplugged, peer closed). The port is closed
    // already; a running exchange simply times out. Optional.
    virtual void OnSerialPortLost(int portNumber) { static_cast<void>(portNumber); }
};

}  // namespace halyx
