#include "settings/language.h"

#include <optional>

#include "files/raw_file.h"
#include "settings/profile_file.h"
#include "settings/profile_text.h"
#include "settings/setting_file.h"
#include "settings/text_encoding.h"

namespace halyx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A file written as UTF-8 (marked, or simply valid throughout) is read as UTF-8; anything else
// is taken to be GBK, the code page the original language files were written in.
bool IsUtf8File(std::string_view content) {
    return content.starts_with(kUtf8Bom) || IsValidUtf8(content);
}

}  // namespace

std::filesystem::path LanguageFileFor(std::string_view languageValue) {
    return LanguageFileFor(CurrentFileLayout(), languageValue);
}

std::filesystem::path LanguageFileFor(const FileLayout& layout, std::string_view languageValue) {
    return layout.programFile(IsEnglishLanguageValue(languageValue) ? language::kEnglishFile
                                                                    : language::kChineseFile);
}

std::string LangStringIn(std::string_view content, std::string_view key) {
    const std::optional<std::string_view> value =
        profile::FindValue(content, language::kStringsSection, key);
    if (!value) {
        return {};
    }
    // The byte limit applies to the file's own bytes; a character it cuts in half is dropped.
    const std::string_view cut = value->substr(0, ProfileFile::kMaxValueBytes);
    if (IsUtf8File(content)) {
        return RepairUtf8(DropIncompleteUtf8Tail(cut));
    }
    return GbkToUtf8(DropIncompleteGbkTail(cut));
}

std::string Language::LangString(std::string_view key) const {
    const std::optional<std::string> content = ReadFileBytes(file_);
    if (!content) {
        return {};
    }
    return LangStringIn(*content, key);
}

std::string Language::TextOr(std::string_view key, std::string_view builtinEnglish) const {
    std::string text = LangString(key);
    return text.empty() ? std::string(builtinEnglish) : text;
}

}  // namespace halyx
