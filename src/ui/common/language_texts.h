#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/file_layout.h"
#include "settings/profile_file.h"
#include "ui/common/text_source.h"

namespace halyx {

// The texts of the active language file. The file is read once and kept; each lookup checks the
// file's size and modification time (no open, no read) and reads it again only when it changed,
// so a switch or an edit of the file counts at once, as lookups straight from the file would.
class LanguageTexts : public TextSource {
public:
    // `settingFile` and `layout` must outlive this object.
    LanguageTexts(const ProfileFile& settingFile, const FileLayout& layout);

    std::string text(std::string_view key) const override;
    std::string languageValue() const override;

    // Points the texts at the language file the setting file's language value selects.
    void followLanguageValue();
    void setFile(std::filesystem::path file);
    const std::filesystem::path& file() const { return file_; }

    // How many times the file has been read; start-up measurements and tests watch it.
    int fileReads() const { return fileReads_; }

private:
    struct FileStamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written{};
        bool operator==(const FileStamp&) const = default;
    };

    static FileStamp StampOf(const std::filesystem::path& file);
    // The file's bytes, read again only when its stamp moved.
    const std::string& content() const;

    const ProfileFile& settingFile_;
    const FileLayout& layout_;
    std::filesystem::path file_;

    mutable bool loaded_ = false;
    mutable FileStamp stamp_;
    mutable std::string content_;
    mutable int fileReads_ = 0;
};

}  // namespace halyx
