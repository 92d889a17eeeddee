#include "image/header_text.h"

#include <algorithm>

namespace halyx {

std::string HeaderText(const RadioImage& image, std::size_t offset, std::size_t size) {
    const auto begin = image.bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(size), std::uint8_t{0});
    return std::string(begin, end);
}

}  // namespace halyx
