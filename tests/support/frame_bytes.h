#pragma once

#include <cstdint>
#include <vector>

#include "link/frame_format.h"

namespace halyx::testing {

// The bytes of a long frame as they go on the line, for tests that play the other end.
inline std::vector<std::uint8_t> LongFrameBytes(std::uint8_t op, std::uint8_t kind,
                                                std::uint16_t block,
                                                const std::vector<std::uint8_t>& payload) {
    const LinkFrame f = LinkFrame::Build(op, kind, block, payload.data(),
                                         static_cast<std::uint8_t>(payload.size()));
    return {f.bytes.begin(), f.bytes.begin() + f.size};
}

}  // namespace halyx::testing
