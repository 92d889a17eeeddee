#include "ui/common/language_texts.h"

#include <optional>
#include <system_error>

#include "files/raw_file.h"
#include "settings/language.h"
#include "settings/setting_file.h"

namespace halyx {

LanguageTexts::LanguageTexts(const ProfileFile& settingFile, const FileLayout& layout)
    : settingFile_(settingFile), layout_(layout) {}

std::string LanguageTexts::text(std::string_view key) const {
    const std::string& bytes = content();
    return bytes.empty() ? std::string() : LangStringIn(bytes, key);
}

std::string LanguageTexts::languageValue() const {
    return LanguageValue(settingFile_, layout_);
}

void LanguageTexts::followLanguageValue() {
    setFile(LanguageFileFor(layout_, languageValue()));
}

void LanguageTexts::setFile(std::filesystem::path file) {
    file_ = std::move(file);
    loaded_ = false;
}

LanguageTexts::FileStamp LanguageTexts::StampOf(const std::filesystem::path& file) {
    std::error_code error;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error) {
        return {};
    }
    stamp.written = std::filesystem::last_write_time(file, error);
    if (error) {
        return {};
    }
    stamp.exists = true;
    return stamp;
}

const std::string& LanguageTexts::content() const {
    const FileStamp now = StampOf(file_);
    if (loaded_ && now == stamp_) {
        return content_;
    }
    loaded_ = true;
    stamp_ = now;
    content_.clear();
    if (now.exists) {
        ++fileReads_;
        std::optional<std::string> bytes = ReadFileBytes(file_);
        if (bytes) {
            content_ = std::move(*bytes);
        }
    }
    return content_;
}

}  // namespace halyx
