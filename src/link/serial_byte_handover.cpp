#include "link/serial_byte_handover.h"

#include <QCoreApplication>

namespace halyx {

struct SerialByteHandover::ByteEvent : QEvent {
    ByteEvent(std::uint64_t sessionId, std::uint64_t ticketId, std::uint8_t value)
        : QEvent(kByteEvent), session(sessionId), ticket(ticketId), byte(value) {}
    std::uint64_t session;
    std::uint64_t ticket;
    std::uint8_t byte;
};

struct SerialByteHandover::LostEvent : QEvent {
    explicit LostEvent(std::uint64_t sessionId) : QEvent(kPortLostEvent), session(sessionId) {}
    std::uint64_t session;
};

// Lives on the user-interface thread; turns the posted events back into calls.
class SerialByteHandover::Receiver : public QObject {
public:
    explicit Receiver(SerialByteHandover& handover) : handover_(handover) {}

    bool event(QEvent* event) override {
        if (event->type() == kByteEvent) {
            handover_.HandleByte(*static_cast<ByteEvent*>(event));
            return true;
        }
        if (event->type() == kPortLostEvent) {
            handover_.HandlePortLost(*static_cast<LostEvent*>(event));
            return true;
        }
        return QObject::event(event);
    }

private:
    SerialByteHandover& handover_;
};

SerialByteHandover::SerialByteHandover() : receiver_(std::make_unique<Receiver>(*this)) {}

SerialByteHandover::~SerialByteHandover() {
    Abort();
}

void SerialByteHandover::BeginSession(SerialByteReceiver* owner, int portNumber) {
    std::lock_guard lock(mutex_);
    ++session_;
    active_ = true;
    owner_ = owner;
    portNumber_ = portNumber;
}

void SerialByteHandover::Abort() {
    {
        std::lock_guard lock(mutex_);
        active_ = false;
        owner_ = nullptr;
    }
    handled_.notify_all();
}

bool SerialByteHandover::Deliver(std::uint8_t byte) {
    std::unique_lock lock(mutex_);
    if (!active_) {
        return false;
    }
    const std::uint64_t session = session_;
    const std::uint64_t ticket = ++lastTicket_;
    lock.unlock();
    QCoreApplication::postEvent(receiver_.get(), new ByteEvent(session, ticket, byte));
    lock.lock();
    handled_.wait(lock,
                  [&] { return !active_ || session_ != session || handledTicket_ >= ticket; });
    return active_ && session_ == session;
}

void SerialByteHandover::ReportPortLost() {
    std::uint64_t session = 0;
    {
        std::lock_guard lock(mutex_);
        if (!active_) {
            return;
        }
        session = session_;
    }
    QCoreApplication::postEvent(receiver_.get(), new LostEvent(session));
}

void SerialByteHandover::HandleByte(const ByteEvent& event) {
    SerialByteReceiver* owner = nullptr;
    int portNumber = 0;
    {
        std::lock_guard lock(mutex_);
        if (!active_ || event.session != session_) {
            return;  // left over from a port that has been closed since
        }
        owner = owner_;
        portNumber = portNumber_;
    }
    // Called without the lock: the owner may close or re-open the port from here.
    if (owner != nullptr) {
        owner->OnSerialByte(event.byte, portNumber);
    }
    {
        std::lock_guard lock(mutex_);
        if (event.session == session_ && event.ticket > handledTicket_) {
            handledTicket_ = event.ticket;
        }
    }
    handled_.notify_all();
}

void SerialByteHandover::HandlePortLost(const LostEvent& event) {
    SerialByteReceiver* owner = nullptr;
    int portNumber = 0;
    {
        std::lock_guard lock(mutex_);
        if (!active_ || event.session != session_) {
            return;
        }
        owner = owner_;
        portNumber = portNumber_;
    }
    if (owner != nullptr) {
        owner->OnSerialPortLost(portNumber);
    }
}

}  // namespace halyx
