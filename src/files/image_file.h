#pragma once

#include <filesystem>
#include <string_view>

#include "files/file_result.h"
#include "image/radio_image.h"

namespace halyx {

// The default image lives in the current working directory, not beside the program.
inline constexpr std::string_view kDefaultImageFileName = "default.kda";

// Save always writes at least the header and all twenty records, so no edit is ever dropped,
// even when the last loaded file was shorter.
inline constexpr std::size_t kMinimumSavedImageSize = kRecordsEnd;

// Loads an image file of at most 2048 bytes: bytes 0..size-1 are replaced and the image length
// becomes the file's size; the rest of the buffer keeps what it held. On any failure (including a
// file over 2048 bytes) the image and its length are left untouched.
FileResult LoadImageFile(const std::filesystem::path& path, RadioImage& image);

// LoadImageFile("default.kda") relative to the current directory.
FileResult LoadDefaultImage(RadioImage& image);

// Writes max(image length, 607) bytes atomically; an existing file is replaced only on success.
FileResult SaveImageFile(const std::filesystem::path& path, const RadioImage& image);

// Number of bytes SaveImageFile writes for this image.
std::size_t SavedImageSize(const RadioImage& image);

}  // namespace halyx
