#include "settings/profile_text.h"

#include <cstddef>

namespace halyx::profile {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";
#ifdef _WIN32
constexpr std::string_view kNewFileLineEnd = "\r\n";
#else
constexpr std::string_view kNewFileLineEnd = "\n";
#endif

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

enum class LineKind { kOther, kSection, kKey };

// One line of the content; positions are offsets into the whole content.
struct Line {
    std::size_t end = 0;   // end of the text, before CR LF
    std::size_t next = 0;  // start of the following line (content size at the end)
    LineKind kind = LineKind::kOther;
    bool blank = true;
    std::string_view name;       // section or key name, trimmed
    std::size_t valueBegin = 0;  // key lines: first byte after '=' and the blanks after it
    std::string_view value;      // key lines: trimmed, quotes still on
};

Line ParseLine(std::string_view content, std::size_t begin, std::size_t end, std::size_t next) {
    Line line;
    line.end = end;
    line.next = next;
    const std::string_view raw = content.substr(begin, end - begin);
    const std::string_view text = Trim(raw);
    line.blank = text.empty();
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::kSection;
            line.name = Trim(text.substr(1, close - 1));
        }
        return line;
    }
    const std::size_t equals = raw.find('=');
    if (text.starts_with(';') || equals == std::string_view::npos) {
        return line;
    }
    line.name = Trim(raw.substr(0, equals));
    if (line.name.empty()) {
        return line;
    }
    line.kind = LineKind::kKey;
    const std::string_view afterEquals = raw.substr(equals + 1);
    const std::size_t valueStart = afterEquals.find_first_not_of(kBlanks);
    line.valueBegin = begin + equals + 1 +
                      (valueStart == std::string_view::npos ? afterEquals.size() : valueStart);
    line.value = Trim(afterEquals);
    return line;
}

class LineReader {
public:
    explicit LineReader(std::string_view content)
        : content_(content), pos_(content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0) {}

    bool next(Line& line) {
        if (pos_ >= content_.size()) {
            return false;
        }
        const std::size_t begin = pos_;
        const std::size_t newline = content_.find('\n', begin);
        std::size_t end = newline == std::string_view::npos ? content_.size() : newline;
        pos_ = newline == std::string_view::npos ? content_.size() : newline + 1;
        if (end > begin && content_[end - 1] == '\r') {
            --end;
        }
        line = ParseLine(content_, begin, end, pos_);
        return true;
    }

private:
    std::string_view content_;
    std::size_t pos_;
};

std::string_view LineEndOf(std::string_view content) {
    const std::size_t newline = content.find('\n');
    if (newline == std::string_view::npos) {
        return kNewFileLineEnd;
    }
    return (newline > 0 && content[newline - 1] == '\r') ? "\r\n" : "\n";
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
    return !section.empty() && !key.empty() && !HasLineBreakOrNul(section) &&
           !HasLineBreakOrNul(key) && !HasLineBreakOrNul(value) &&
           section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
           !key.starts_with('[') && !key.starts_with(';');
}

// Where a key goes in its section: the first matching key line, or after the section's last
// non-blank line, so blank lines that separate it from the next section stay there.
struct SectionSpot {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    Line lastFilled;
};

SectionSpot Locate(std::string_view content, std::string_view section, std::string_view key) {
    SectionSpot spot;
    LineReader reader(content);
    Line line;
    while (reader.next(line)) {
        if (line.kind == LineKind::kSection) {
            if (spot.sectionFound) {
                break;
            }
            if (SameName(line.name, section)) {
                spot.sectionFound = true;
                spot.lastFilled = line;
            }
        } else if (spot.sectionFound) {
            if (line.kind == LineKind::kKey && SameName(line.name, key)) {
                spot.keyFound = true;
                spot.keyLine = line;
                break;
            }
            if (!line.blank) {
                spot.lastFilled = line;
            }
        }
    }
    return spot;
}

}  // namespace

std::optional<std::string_view> FindValue(std::string_view content, std::string_view section,
                                          std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    LineReader reader(content);
    Line line;
    while (reader.next(line)) {
        if (line.kind == LineKind::kSection) {
            if (inSection) {
                return std::nullopt;
            }
            inSection = SameName(line.name, section);
        } else if (inSection && line.kind == LineKind::kKey && SameName(line.name, key)) {
            return Unquote(line.value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> SetValue(std::string_view content, std::string_view section,
                                    std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!CanStore(section, key, value)) {
        return std::nullopt;
    }
    const std::string_view lineEnd = LineEndOf(content);
    const SectionSpot spot = Locate(content, section, key);
    std::string result;
    result.reserve(content.size() + section.size() + key.size() + value.size() + 8);
    if (spot.keyFound) {
        result.append(content.substr(0, spot.keyLine.valueBegin));
        result.append(value);
        result.append(content.substr(spot.keyLine.end));
        return result;
    }
    const std::size_t insertAt = spot.sectionFound ? spot.lastFilled.next : content.size();
    result.append(content.substr(0, insertAt));
    if (!result.empty() && result.back() != '\n') {
        result.append(lineEnd);  // the last line had no line end of its own
    }
    if (!spot.sectionFound) {
        result.append("[").append(section).append("]").append(lineEnd);
    }
    result.append(key).append("=").append(value).append(lineEnd);
    result.append(content.substr(insertAt));
    return result;
}

}  // namespace halyx::profile
