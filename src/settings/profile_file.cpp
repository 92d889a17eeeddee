#include "settings/profile_file.h"

#include <climits>
#include <system_error>

#include "files/raw_file.h"
#include "settings/profile_text.h"

namespace halyx {
namespace {

// The platform's integer rule: the value's leading decimal digits. Values past INT_MAX are held
// there rather than wrapping into a different, plausible-looking number.
std::optional<int> LeadingDigits(std::string_view value) {
    long long number = 0;
    std::size_t count = 0;
    for (; count < value.size() && value[count] >= '0' && value[count] <= '9'; ++count) {
        if (number <= INT_MAX) {
            number = number * 10 + (value[count] - '0');
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    return number > INT_MAX ? INT_MAX : static_cast<int>(number);
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path, MissingFolder missingFolder)
    : path_(std::move(path)), missingFolder_(missingFolder) {}

std::optional<std::string> ProfileFile::findRaw(std::string_view section,
                                                std::string_view key) const {
    const std::optional<std::string> content = ReadFileBytes(path_);
    if (!content) {
        return std::nullopt;
    }
    const std::optional<std::string_view> value = profile::FindValue(*content, section, key);
    if (!value) {
        return std::nullopt;
    }
    return std::string(value->substr(0, kMaxValueBytes));
}

std::string ProfileFile::readText(std::string_view section, std::string_view key,
                                  std::string_view fallback) const {
    std::optional<std::string> value = findRaw(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> value = findRaw(section, key);
    if (!value || value->empty()) {
        return fallback;
    }
    return LeadingDigits(*value).value_or(0);
}

bool ProfileFile::writeText(std::string_view section, std::string_view key,
                            std::string_view value) const {
    const std::optional<std::string> content = ReadFileBytes(path_);
    std::error_code error;
    if (!content && std::filesystem::exists(path_, error)) {
        return false;  // starting from nothing would throw away every other setting
    }
    const std::optional<std::string> updated =
        profile::SetValue(content.value_or(std::string()), section, key, value);
    if (!updated) {
        return false;
    }
    if (missingFolder_ == MissingFolder::Create && path_.has_parent_path()) {
        std::filesystem::create_directories(path_.parent_path(), error);
    }
    return WriteFileAtomically(path_, *updated).ok();
}

}  // namespace halyx
