// Any file offered as an image: one of at most 2048 bytes loads byte for byte and saves back the
// same bytes; a larger one is refused and changes nothing.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/image_file.h"
#include "fuzz_check.h"

namespace {

std::filesystem::path TempFile(const char* suffix) {
    return std::filesystem::temp_directory_path() /
           ("halyx-fuzz-" + std::to_string(getpid()) + suffix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path input = TempFile(".kda");
    static const std::filesystem::path output = TempFile("-saved.kda");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    halyx::RadioImage image;
    image.bytes.fill(0xA5);
    image.length = 1234;
    const halyx::FileResult loaded = halyx::LoadImageFile(input, image);
    if (size > halyx::kImageSize) {
        FUZZ_CHECK(loaded.cause == halyx::FileErrorCause::TooLarge);
        FUZZ_CHECK(loaded.size == size);
        FUZZ_CHECK(image.length == 1234);
        FUZZ_CHECK(std::all_of(image.bytes.begin(), image.bytes.end(),
                               [](std::uint8_t b) { return b == 0xA5; }));
        return 0;
    }
    FUZZ_CHECK(loaded.ok());
    FUZZ_CHECK(image.length == size);
    FUZZ_CHECK(std::equal(data, data + size, image.bytes.begin()));
    FUZZ_CHECK(std::all_of(image.bytes.begin() + static_cast<std::ptrdiff_t>(size),
                           image.bytes.end(), [](std::uint8_t b) { return b == 0xA5; }));

    FUZZ_CHECK(halyx::SaveImageFile(output, image).ok());
    std::ifstream in(output, std::ios::binary);
    const std::vector<std::uint8_t> saved{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    FUZZ_CHECK(saved.size() == halyx::SavedImageSize(image));
    FUZZ_CHECK(std::equal(saved.begin(), saved.end(), image.bytes.begin()));
    return 0;
}
