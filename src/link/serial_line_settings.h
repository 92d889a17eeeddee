#pragma once

#include <cstdint>

#include <QSerialPort>

namespace halyx {

// How a serial line is opened. Parity, byte size and stop bits carry the codes of the Windows
// device-control record, so the values the callers have always passed keep their meaning.
struct SerialLineSettings {
    static constexpr std::uint32_t kLinkBaudRate = 9600;
    static constexpr std::uint8_t kParityNone = 0;
    static constexpr std::uint8_t kParityOdd = 1;
    static constexpr std::uint8_t kParityEven = 2;
    static constexpr std::uint8_t kParityMark = 3;
    static constexpr std::uint8_t kParitySpace = 4;
    static constexpr std::uint8_t kStopBitsOne = 0;
    static constexpr std::uint8_t kStopBitsOneAndHalf = 1;
    static constexpr std::uint8_t kStopBitsTwo = 2;
    // EV_RXCHAR | EV_TXEMPTY. Kept for the callers' sake: Qt reports received bytes by itself.
    static constexpr std::uint32_t kLinkEventMask = 0x0005;
    // Room for the longest frame of any exchange, with plenty to spare.
    static constexpr std::uint32_t kLinkWriteCapacity = 5120;

    std::uint32_t baudRate = kLinkBaudRate;
    std::uint8_t parity = kParityNone;
    std::uint8_t byteSize = 8;
    std::uint8_t stopBits = kStopBitsOne;
    std::uint32_t eventMask = kLinkEventMask;
    // Longest frame Write accepts; longer frames are dropped rather than cut.
    std::uint32_t writeCapacity = kLinkWriteCapacity;
};

// The Qt equivalents of the codes; false when a code has none (the open then fails, as
// SetCommState refuses such a record).
bool ToQtParity(std::uint8_t code, QSerialPort::Parity* parity);
bool ToQtDataBits(std::uint8_t byteSize, QSerialPort::DataBits* bits);
bool ToQtStopBits(std::uint8_t code, QSerialPort::StopBits* bits);

}  // namespace halyx
