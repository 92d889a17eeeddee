#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include "link/serial_port.h"

namespace halyx::testing {

// Listens to a SerialPort in tests: keeps every byte it signals and notes any signal that
// arrives off the thread that runs the application object.
class ByteRecorder {
public:
    void Attach(SerialPort& port) {
        QObject::connect(&port, &LinkPort::byteReceived, &port, [this, &port](std::uint8_t byte) {
            offOwnerThread = offOwnerThread || !OnOwnerThread();
            bytes.push_back(byte);
            lastPortNumber = port.PortNumber();
            if (onByte) {
                onByte(byte);
            }
        });
        QObject::connect(&port, &LinkPort::lost, &port, [this, &port] {
            offOwnerThread = offOwnerThread || !OnOwnerThread();
            ++portLostCount;
            lastPortNumber = port.PortNumber();
        });
    }

    std::vector<std::uint8_t> bytes;
    int lastPortNumber = -1;
    int portLostCount = 0;
    bool offOwnerThread = false;
    std::function<void(std::uint8_t)> onByte;  // runs inside the byte signal

private:
    static bool OnOwnerThread() {
        return QThread::currentThread() == QCoreApplication::instance()->thread();
    }
};

}  // namespace halyx::testing
