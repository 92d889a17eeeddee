#include "files/image_file.h"

#include <algorithm>

#include "files/raw_file.h"

namespace halyx {

FileResult LoadImageFile(const std::filesystem::path& path, RadioImage& image) {
    ReadResult read = ReadSmallFile(path, kImageSize);
    if (!read.result.ok()) {
        return read.result;
    }
    std::copy(read.bytes.begin(), read.bytes.end(), image.bytes.begin());
    image.length = static_cast<std::uint16_t>(read.bytes.size());
    return read.result;
}

FileResult LoadDefaultImage(RadioImage& image) {
    return LoadImageFile(std::filesystem::path(kDefaultImageFileName), image);
}

std::size_t SavedImageSize(const RadioImage& image) {
    return std::max<std::size_t>(image.length, kMinimumSavedImageSize);
}

FileResult SaveImageFile(const std::filesystem::path& path, const RadioImage& image) {
    const auto begin = image.bytes.begin();
    const std::vector<std::uint8_t> bytes(
        begin, begin + static_cast<std::ptrdiff_t>(SavedImageSize(image)));
    return WriteFileAtomically(path, bytes);
}

}  // namespace halyx
