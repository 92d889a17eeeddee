#pragma once

#include <string>
#include <string_view>

#include "image/radio_image.h"
#include "interchange/interchange_texts.h"

namespace halyx {

struct SheetSource {
    std::string fileName;  // the image file's name as the user knows it
    std::string date;      // already formatted for the reader
};

// The channel sheet: the common settings and the twenty channels on one page, in the current
// language, as a self-contained HTML document (UTF-8). The same text is saved as HTML, printed
// and turned into PDF, so all three show the same sheet.
std::string ChannelSheetHtml(const RadioImage& image, const SheetSource& source,
                             const TextOrLookup& texts);

std::string EscapeHtml(std::string_view text);

}  // namespace halyx
