#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include <QEvent>
#include <QObject>

#include "link/serial_byte_receiver.h"

namespace halyx {

// Carries received bytes from the port's worker thread to the owner on the user-interface
// thread, one at a time, and makes the worker wait until each has been handled. The wait can
// be abandoned from the user-interface thread (Abort), so closing the port never waits on a
// worker that is itself waiting on the user-interface thread.
//
// Each open of the port is one session. A hand-over still queued when its session was aborted
// or replaced is dropped on arrival, so no byte of an old port reaches the owner after Close.
class SerialByteHandover {
public:
    // Event types of the posted hand-overs; WM_SERIAL_BYTE was WM_USER + 100.
    static constexpr QEvent::Type kByteEvent = static_cast<QEvent::Type>(QEvent::User + 100);
    static constexpr QEvent::Type kPortLostEvent = static_cast<QEvent::Type>(QEvent::User + 101);

    // Hand-overs are delivered on the thread that constructs this object.
    SerialByteHandover();
    ~SerialByteHandover();
    SerialByteHandover(const SerialByteHandover&) = delete;
    SerialByteHandover& operator=(const SerialByteHandover&) = delete;

    // User-interface thread: starts a new session for `owner` (may be null: bytes are dropped).
    void BeginSession(SerialByteReceiver* owner, int portNumber);
    // User-interface thread: ends the session; a worker blocked in Deliver returns false at once.
    void Abort();

    // Worker thread: hands `byte` over and waits until the owner has handled it. False when the
    // session was aborted before that; the worker should then stop reading.
    bool Deliver(std::uint8_t byte);
    // Worker thread: tells the owner the device went away. Does not wait.
    void ReportPortLost();

private:
    class Receiver;
    struct ByteEvent;
    struct LostEvent;

    void HandleByte(const ByteEvent& event);
    void HandlePortLost(const LostEvent& event);

    std::unique_ptr<Receiver> receiver_;
    std::mutex mutex_;
    std::condition_variable handled_;
    std::uint64_t session_ = 0;  // guarded by mutex_, like everything below
    bool active_ = false;
    std::uint64_t lastTicket_ = 0;
    std::uint64_t handledTicket_ = 0;
    SerialByteReceiver* owner_ = nullptr;
    int portNumber_ = 0;
};

}  // namespace halyx
