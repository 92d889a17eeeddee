// Any text offered as a configuration: it is read or refused without a crash, and whatever is
// taken writes out as a text that reads back as the same image and writes again word for word.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "interchange/config_text.h"

namespace {

bool SameImage(const halyx::RadioImage& a, const halyx::RadioImage& b) {
    const std::size_t end = std::max<std::size_t>(halyx::kRecordsEnd, a.length);
    return a.length == b.length &&
           std::equal(a.bytes.begin(), a.bytes.begin() + static_cast<std::ptrdiff_t>(end),
                      b.bytes.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // With and without a base: a base changes which keys may be left out.
    static const halyx::RadioImage base = [] {
        halyx::RadioImage image;
        image.bytes.fill(0x5A);
        image.length = 700;
        return image;
    }();
    for (const halyx::RadioImage* from : {static_cast<const halyx::RadioImage*>(nullptr), &base}) {
        const halyx::ConfigRead read = halyx::ReadConfigText(text, from);
        if (!read.ok()) {
            for (const halyx::ConfigProblem& problem : read.problems) {
                FUZZ_CHECK(problem.line >= 1);
                FUZZ_CHECK(!problem.what.empty());
            }
            continue;
        }
        FUZZ_CHECK(read.image.length <= halyx::kImageSize);
        const std::string written = halyx::WriteConfigText(read.image);
        const halyx::ConfigRead again = halyx::ReadConfigText(written);
        FUZZ_CHECK(again.ok());
        FUZZ_CHECK(SameImage(read.image, again.image));
        FUZZ_CHECK(halyx::WriteConfigText(again.image) == written);
    }
    return 0;
}
