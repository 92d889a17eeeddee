#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QThread>

#include "link/serial_byte_receiver.h"

namespace halyx::testing {

// The owner of a SerialPort in tests: keeps every byte it is handed and notes any call that
// arrives off the thread that runs the application object.
class ByteRecorder : public SerialByteReceiver {
public:
    void OnSerialByte(std::uint8_t byte, int portNumber) override {
        offOwnerThread = offOwnerThread || !OnOwnerThread();
        bytes.push_back(byte);
        lastPortNumber = portNumber;
        if (onByte) {
            onByte(byte);
        }
    }

    void OnSerialPortLost(int portNumber) override {
        offOwnerThread = offOwnerThread || !OnOwnerThread();
        ++portLostCount;
        lastPortNumber = portNumber;
    }

    std::vector<std::uint8_t> bytes;
    int lastPortNumber = -1;
    int portLostCount = 0;
    bool offOwnerThread = false;
    std::function<void(std::uint8_t)> onByte;  // runs inside OnSerialByte

private:
    static bool OnOwnerThread() {
        return QThread::currentThread() == QCoreApplication::instance()->thread();
    }
};

}  // namespace halyx::testing
