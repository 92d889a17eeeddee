#include "interchange/difference_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

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

namespace {

// How a setting's or a channel field's two values are put in a line.
using ShowSetting = std::function<std::pair<std::string, std::string>(const SettingDifference&)>;
using ShowChannel = std::function<std::pair<std::string, std::string>(const ChannelDifference&)>;

std::vector<std::string> JoinDifferences(const ImageDifferences& d, const TextOrLookup& texts,
                                         const ShowSetting& showSetting,
                                         const ShowChannel& showChannel) {
    if (d.identical()) {
        return {texts(text::kIdentical)};
    }
    std::vector<std::string> lines;
    if (d.lengthDiffers) {
        lines.push_back(texts(text::kImageLength) + ": " + std::to_string(d.lengthA) + " -> " +
                        std::to_string(d.lengthB));
    }
    for (const SettingDifference& s : d.settings) {
        const auto [a, b] = showSetting(s);
        lines.push_back(SettingLabel(s.name, texts) + ": " + a + " -> " + b);
    }
    const auto blank = [](const std::string& v) { return v.empty() ? std::string("-") : v; };
    for (const ChannelDifference& c : d.channels) {
        const auto [a, b] = showChannel(c);
        lines.push_back(ChannelLabel(c.channel) + " " + SettingLabel(c.field, texts) + ": " +
                        blank(a) + " -> " + blank(b));
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

// A setting's value as the panel shows it, looked up by its name; `fallback` (the stored number)
// when the panel has no text for it.
std::string ShownSettingValue(const std::vector<LabeledValue>& lines, std::string_view name,
                              const std::string& fallback) {
    for (const LabeledValue& line : lines) {
        if (line.name == name) {
            return line.value.empty() ? fallback : line.value;
        }
    }
    return fallback;
}

// The grid column of each channel field that CompareImages names.
std::size_t GridColumnOfField(std::string_view field) {
    static constexpr std::array<std::string_view, 5> kFields = {"rxFrequency", "txFrequency",
                                                                "rxTone", "txTone", "bandwidth"};
    const auto found = std::find(kFields.begin(), kFields.end(), field);
    return found == kFields.end() ? 0 : static_cast<std::size_t>(found - kFields.begin()) + 1;
}

}  // namespace

std::vector<std::string> DifferenceLines(const ImageDifferences& d, const TextOrLookup& texts) {
    return JoinDifferences(
        d, texts, [](const SettingDifference& s) { return std::pair(s.a, s.b); },
        [](const ChannelDifference& c) { return std::pair(c.a, c.b); });
}

std::vector<std::string> ShownDifferenceLines(const RadioImage& a, const RadioImage& b,
                                              const TextOrLookup& texts) {
    const std::vector<LabeledValue> settingsA = SettingLines(a, texts);
    const std::vector<LabeledValue> settingsB = SettingLines(b, texts);
    const std::vector<ChannelCells> rowsA = ChannelRows(a, texts);
    const std::vector<ChannelCells> rowsB = ChannelRows(b, texts);
    return JoinDifferences(
        CompareImages(a, b), texts,
        [&](const SettingDifference& s) {
            return std::pair(ShownSettingValue(settingsA, s.name, s.a),
                             ShownSettingValue(settingsB, s.name, s.b));
        },
        [&](const ChannelDifference& c) {
            const std::size_t column = GridColumnOfField(c.field);
            const std::size_t row = static_cast<std::size_t>(c.channel - 1);
            if (column == 0 || row >= rowsA.size()) {
                return std::pair(c.a, c.b);
            }
            return std::pair(rowsA[row][column], rowsB[row][column]);
        });
}

}  // namespace halyx
