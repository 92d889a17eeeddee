#pragma once

#include <cstdint>

namespace halyx {

// Where the frame layer hands each outgoing frame: the serial port engine in the application,
// an in-process radio in tests. Implementations drop frames while closed.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void Write(const std::uint8_t* bytes, std::uint16_t length) = 0;
};

}  // namespace halyx
