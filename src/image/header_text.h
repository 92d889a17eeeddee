#pragma once

#include <cstddef>
#include <string>

#include "image/radio_image.h"

namespace halyx {

// A text field of the image header up to its first zero byte.
std::string HeaderText(const RadioImage& image, std::size_t offset, std::size_t size);

inline std::string SerialNumberOf(const RadioImage& image) {
    return HeaderText(image, header::kSerialNumber, header::kSerialNumberSize);
}
inline std::string UserIdOf(const RadioImage& image) {
    return HeaderText(image, header::kUserId, header::kUserIdSize);
}

}  // namespace halyx
