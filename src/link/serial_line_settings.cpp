#include "link/serial_line_settings.h"

namespace halyx {

bool ToQtParity(std::uint8_t code, QSerialPort::Parity* parity) {
    switch (code) {
        case SerialLineSettings::kParityNone:
            *parity = QSerialPort::NoParity;
            return true;
        case SerialLineSettings::kParityOdd:
            *parity = QSerialPort::OddParity;
            return true;
        case SerialLineSettings::kParityEven:
            *parity = QSerialPort::EvenParity;
            return true;
        case SerialLineSettings::kParityMark:
            *parity = QSerialPort::MarkParity;
            return true;
        case SerialLineSettings::kParitySpace:
            *parity = QSerialPort::SpaceParity;
            return true;
        default:
            return false;
    }
}

bool ToQtDataBits(std::uint8_t byteSize, QSerialPort::DataBits* bits) {
    switch (byteSize) {
        case 5:
            *bits = QSerialPort::Data5;
            return true;
        case 6:
            *bits = QSerialPort::Data6;
            return true;
        case 7:
            *bits = QSerialPort::Data7;
            return true;
        case 8:
            *bits = QSerialPort::Data8;
            return true;
        default:
            return false;
    }
}

bool ToQtStopBits(std::uint8_t code, QSerialPort::StopBits* bits) {
    switch (code) {
        case SerialLineSettings::kStopBitsOne:
            *bits = QSerialPort::OneStop;
            return true;
        case SerialLineSettings::kStopBitsOneAndHalf:
            *bits = QSerialPort::OneAndHalfStop;
            return true;
        case SerialLineSettings::kStopBitsTwo:
            *bits = QSerialPort::TwoStop;
            return true;
        default:
            return false;
    }
}

}  // namespace halyx
