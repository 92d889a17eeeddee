#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "settings/file_layout.h"

namespace halyx {

namespace language {
inline constexpr std::string_view kChineseFile = "chinese.lang";
inline constexpr std::string_view kEnglishFile = "english.lang";
inline constexpr std::string_view kStringsSection = "Strings";
}  // namespace language

// The language file for a setting-file language value: exactly "english" picks english.lang,
// anything else (including nothing) chinese.lang; both in the program directory.
std::filesystem::path LanguageFileFor(std::string_view languageValue);
// The same in the program directory of `layout`.
std::filesystem::path LanguageFileFor(const FileLayout& layout, std::string_view languageValue);

// Text of `key` in section "Strings" of a language file's `content` (GBK or UTF-8), as UTF-8;
// "" when the key is missing. A value is cut to the profile-file limit.
std::string LangStringIn(std::string_view content, std::string_view key);

// The active language file. Texts are read anew on every call, so a switch takes effect at once.
// Files may be GBK (as written on the original platform) or UTF-8; texts come back as UTF-8.
class Language {
public:
    Language() = default;
    explicit Language(std::filesystem::path file) : file_(std::move(file)) {}

    void setFile(std::filesystem::path file) { file_ = std::move(file); }
    const std::filesystem::path& file() const { return file_; }

    // Text of key "S0000".."S0201" in section "Strings"; "" when the file or key is missing.
    std::string LangString(std::string_view key) const;
    // For texts added after the original key range: the key's text, or `builtinEnglish` when the
    // file has no such key (or an empty one), so an older language file never shows a blank item.
    std::string TextOr(std::string_view key, std::string_view builtinEnglish) const;

private:
    std::filesystem::path file_;
};

}  // namespace halyx
