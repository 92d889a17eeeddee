#include "interchange/difference_text.h"

#include <cstdio>

#include "image/option_lists.h"
#include "interchange/image_texts.h"

namespace halyx {

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    for (const std::uint8_t byte : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, "%02x", byte);
        out += (out.empty() ? "" : " ") + std::string(text);
    }
    return out;
}

std::vector<std::string> DifferenceLines(const ImageDifferences& d, const TextOrLookup& texts) {
    if (d.identical()) {
        return {texts(text::kIdentical)};
    }
    std::vector<std::string> lines;
    if (d.lengthDiffers) {
        lines.push_back(texts(text::kImageLength) + ": " + std::to_string(d.lengthA) + " -> " +
                        std::to_string(d.lengthB));
    }
    for (const SettingDifference& s : d.settings) {
        lines.push_back(SettingLabel(s.name, texts) + ": " + s.a + " -> " + s.b);
    }
    const auto blank = [](const std::string& v) { return v.empty() ? std::string("-") : v; };
    for (const ChannelDifference& c : d.channels) {
        lines.push_back(ChannelLabel(c.channel) + " " + SettingLabel(c.field, texts) + ": " +
                        blank(c.a) + " -> " + blank(c.b));
    }
    for (const ByteRangeDifference& r : d.bytes) {
        char range[64];
        std::snprintf(range, sizeof range, "%zu-%zu (0x%03zX-0x%03zX)", r.first, r.last, r.first,
                      r.last);
        lines.push_back(texts(text::kOtherBytes) + " " + range + ": " + HexBytes(r.a) + " -> " +
                        HexBytes(r.b));
    }
    return lines;
}

}  // namespace halyx
