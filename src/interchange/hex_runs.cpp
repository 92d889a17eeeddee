#include "interchange/hex_runs.h"

#include <charconv>

namespace halyx::config {
namespace {

constexpr std::size_t kLineBytes = 16;
constexpr std::size_t kShortRun = 4;  // shorter runs read better as pairs
constexpr std::size_t kLongRun = 16;  // longer runs get an entry of their own
// No run can be longer than the image; the limit also keeps a malicious count from allocating.
constexpr std::size_t kMaxRepeat = 2048;

std::optional<std::uint8_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    return std::nullopt;
}

bool AppendToken(std::string_view token, std::vector<std::uint8_t>& out) {
    const std::size_t star = token.find('*');
    const std::string_view hex = token.substr(0, star);
    if (hex.empty() || hex.size() % 2 != 0) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const auto high = HexDigit(hex[i]);
        const auto low = HexDigit(hex[i + 1]);
        if (!high || !low) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(*high << 4 | *low));
    }
    std::size_t count = 1;
    if (star != std::string_view::npos) {
        const std::string_view digits = token.substr(star + 1);
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), count);
        if (bytes.size() != 1 || digits.empty() || error != std::errc() ||
            end != digits.data() + digits.size() || count == 0 || count > kMaxRepeat) {
            return false;
        }
    }
    for (std::size_t i = 0; i < count && out.size() <= kMaxRepeat; ++i) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return true;
}

std::size_t RunLength(std::span<const std::uint8_t> bytes, std::size_t from) {
    std::size_t end = from;
    while (end < bytes.size() && bytes[end] == bytes[from]) {
        ++end;
    }
    return end - from;
}

std::string Pair(std::uint8_t byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ParseHexRun(std::string_view text) {
    std::vector<std::uint8_t> out;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (!AppendToken(text.substr(at, end - at), out)) {
            return std::nullopt;
        }
        // Longer than the whole image: no offset could hold it, so stop reading early.
        if (out.size() > kMaxRepeat) {
            return std::nullopt;
        }
        at = end;
    }
    if (out.empty()) {
        return std::nullopt;
    }
    return out;
}

std::string FormatHexRun(std::span<const std::uint8_t> bytes, bool compact) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t run = RunLength(bytes, at);
        text += (text.empty() ? "" : " ") + Pair(bytes[at]);
        if (compact && run >= kShortRun) {
            text += "*" + std::to_string(run);
            at += run;
        } else {
            ++at;
        }
    }
    return text;
}

std::vector<HexEntry> HexEntries(std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::vector<HexEntry> entries;
    std::size_t literalStart = 0;
    const auto flushLiteral = [&](std::size_t end) {
        if (end - literalStart <= kLineBytes) {
            if (end > literalStart) {
                entries.push_back({offset + literalStart,
                                   FormatHexRun(bytes.subspan(literalStart, end - literalStart))});
            }
            return;
        }
        for (std::size_t from = literalStart; from < end;) {
            const std::size_t lineEnd =
                std::min(end, (offset + from) / kLineBytes * kLineBytes + kLineBytes - offset);
            entries.push_back({offset + from, FormatHexRun(bytes.subspan(from, lineEnd - from))});
            from = lineEnd;
        }
    };
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t run = RunLength(bytes, at);
        if (run >= kLongRun) {
            flushLiteral(at);
            entries.push_back({offset + at, FormatHexRun(bytes.subspan(at, run))});
            literalStart = at + run;
        }
        at += run;
    }
    flushLiteral(bytes.size());
    return entries;
}

}  // namespace halyx::config
