#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace halyx {

// SHA-256 of `size` bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const std::uint8_t* bytes, std::size_t size);

}  // namespace halyx
