#include "history/history_places.h"

#include <charconv>
#include <optional>

#include "settings/setting_file.h"

namespace halyx {
namespace {

constexpr std::string_view kBackupSection = "backup";
constexpr std::string_view kKeepFilesKey = "keepFiles";
constexpr std::string_view kKeepDaysKey = "keepDays";

constexpr int kMaxSetting = 1'000'000;

// A whole number 0..kMaxSetting, nothing else: a typo such as "keepDays=one year" must not read
// as 0 and prune the whole store.
std::optional<int> SettingNumber(const ProfileFile& settings, std::string_view key) {
    const std::string text = settings.readText(kBackupSection, key);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kMaxSetting) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

HistoryPlaces ResolveHistoryPlaces(const FileLayout& layout) {
    HistoryPlaces places;
    if (!layout.userDataDirectory.empty()) {
        places.backupFolder = layout.userDataDirectory / "backups";
        places.auditPath = layout.userDataDirectory / "audit.jsonl";
    }
    const ProfileFile settings = SettingFileOf(layout);
    if (const auto keepFiles = SettingNumber(settings, kKeepFilesKey)) {
        places.retention.keepFiles = static_cast<std::size_t>(*keepFiles);
    }
    if (const auto keepDays = SettingNumber(settings, kKeepDaysKey)) {
        places.retention.keepDays = *keepDays;
    }
    return places;
}

}  // namespace halyx
