#include "link/cable_self_test.h"

#include <QEventLoop>
#include <QTimer>

namespace halyx {

DoctorCheck RunCableSelfTest(LinkPort& port, int waitMs) {
    const std::vector<unsigned char> pattern = LoopbackPattern();
    std::vector<unsigned char> received;
    QEventLoop loop;
    const QMetaObject::Connection byte =
        QObject::connect(&port, &LinkPort::byteReceived, &loop, [&](std::uint8_t value) {
            received.push_back(value);
            if (received.size() >= pattern.size()) {
                loop.quit();
            }
        });
    QObject::connect(&port, &LinkPort::lost, &loop, &QEventLoop::quit);
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    port.Write(pattern.data(), static_cast<std::uint16_t>(pattern.size()));
    loop.exec();
    QObject::disconnect(byte);
    return LoopbackCheck(received);
}

}  // namespace halyx
