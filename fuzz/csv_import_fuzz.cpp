// Any text offered as a channel list: it is imported or refused without a crash, only channel
// records change, every note is safe to print, and the result exports and imports back to itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "image/visible_text.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"

namespace {

bool SameBytes(const halyx::RadioImage& a, const halyx::RadioImage& b, std::size_t from,
               std::size_t to) {
    return std::equal(a.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                      a.bytes.begin() + static_cast<std::ptrdiff_t>(to),
                      b.bytes.begin() + static_cast<std::ptrdiff_t>(from));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // An image whose records are neither empty nor erased, so every kind of change shows.
    static const halyx::RadioImage input = [] {
        halyx::RadioImage image;
        for (std::size_t i = 0; i < image.bytes.size(); ++i) {
            image.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        image.length = 700;
        return image;
    }();
    for (const bool clearFirst : {false, true}) {
        const halyx::CsvImport imported = halyx::ImportChannelsCsv(input, text, {clearFirst});
        FUZZ_CHECK(imported.image.length == input.length);
        FUZZ_CHECK(SameBytes(imported.image, input, 0, halyx::kFirstRecordOffset));
        FUZZ_CHECK(SameBytes(imported.image, input, halyx::kRecordsEnd, input.bytes.size()));
        if (imported.error) {
            FUZZ_CHECK(SameBytes(imported.image, input, 0, input.bytes.size()));
            continue;
        }
        // Notes are bounded and are printed and written as JSON: no control byte, valid UTF-8.
        FUZZ_CHECK(imported.notes.size() <= halyx::kCsvImportNoteLimit + 1);
        for (const halyx::ImportNote& note : imported.notes) {
            const std::string described = halyx::DescribeNote(note);
            FUZZ_CHECK(halyx::VisibleText(described) == described);
            FUZZ_CHECK(halyx::JsonSafeText(note.column) == note.column);
        }
        // What was stored exports as a list that imports back as the very same bytes.
        const halyx::CsvImport again =
            halyx::ImportChannelsCsv(imported.image, halyx::ExportChannelsCsv(imported.image), {});
        FUZZ_CHECK(!again.error);
        FUZZ_CHECK(SameBytes(again.image, imported.image, 0, input.bytes.size()));
    }
    return 0;
}
