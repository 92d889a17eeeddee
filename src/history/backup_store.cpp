#include "history/backup_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <optional>
#include <system_error>
#include <tuple>

#include "files/image_file.h"
#include "image/header_text.h"

namespace halyx {
namespace {

constexpr std::string_view kExtension = ".kda";
constexpr int kMaxSameSecond = 1000;  // backups of one serial in one second before giving up

std::tm LocalTime(BackupStore::Clock::time_point when) {
    const std::time_t t = BackupStore::Clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::string Format(const char* pattern, const std::tm& tm) {
    char text[32] = {};
    std::strftime(text, sizeof text, pattern, &tm);
    return text;
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

bool IsDayFolderName(std::string_view name) {
    return name.size() == 10 && name[4] == '-' && name[7] == '-' && AllDigits(name.substr(0, 4)) &&
           AllDigits(name.substr(5, 2)) && AllDigits(name.substr(8, 2));
}

bool IsBackupName(std::string_view name) {
    return name.size() > 7 + kExtension.size() && AllDigits(name.substr(0, 6)) && name[6] == '-' &&
           name.ends_with(kExtension);
}

// When a backup was taken, from its folder and file names (local time).
std::optional<BackupStore::Clock::time_point> TakenAt(const std::filesystem::path& file) {
    const std::string day = file.parent_path().filename().string();
    const std::string name = file.filename().string();
    std::tm tm{};
    if (std::sscanf(day.c_str(), "%4d-%2d-%2d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday) != 3 ||
        std::sscanf(name.c_str(), "%2d%2d%2d", &tm.tm_hour, &tm.tm_min, &tm.tm_sec) != 3) {
        return std::nullopt;
    }
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return BackupStore::Clock::from_time_t(t);
}

// Claims a name no other backup has, even one being written by another program at this moment.
bool Reserve(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace

std::string BackupStore::FileNameSerial(std::string_view serial) {
    if (serial.empty()) {
        return "unknown";
    }
    std::string safe;
    for (char c : serial) {
        const auto u = static_cast<unsigned char>(c);
        const bool keep = u < 0x80 && (std::isalnum(u) != 0 || c == '-' || c == '_' || c == '.');
        safe.push_back(keep ? c : '_');
    }
    return safe;
}

BackupResult BackupStore::Save(const RadioImage& image, Clock::time_point when) const {
    const std::tm tm = LocalTime(when);
    const std::filesystem::path day = folder_ / Format("%Y-%m-%d", tm);
    BackupResult out;
    std::error_code error;
    std::filesystem::create_directories(day, error);
    if (error) {
        out.file.cause = CauseFromErrno(error.value());
        out.file.path = day.string();
        return out;
    }
    const std::string stem = Format("%H%M%S", tm) + "-" + FileNameSerial(SerialNumberOf(image));
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        const std::string suffix = n == 1 ? "" : "-" + std::to_string(n);
        const std::filesystem::path path = day / (stem + suffix + std::string(kExtension));
        if (!Reserve(path)) {
            if (errno == EEXIST) {
                continue;
            }
            out.file.cause = CauseFromErrno(errno);
            out.file.path = path.string();
            return out;
        }
        out.file = SaveImageFile(path, image);
        if (!out.file.ok()) {
            std::filesystem::remove(path, error);
            return out;
        }
        out.path = path;
        saved_.insert(path);
        return out;
    }
    out.file.cause = FileErrorCause::DirectoryFull;
    out.file.path = (day / stem).string();
    return out;
}

BackupResult BackupStore::SaveAndPrune(const RadioImage& image, const BackupRetention& retention,
                                       Clock::time_point when) const {
    BackupResult saved = Save(image, when);
    if (saved.ok()) {
        Prune(retention, when);
    }
    return saved;
}

std::vector<std::filesystem::path> BackupStore::List() const {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& dayEntry : std::filesystem::directory_iterator(folder_, error)) {
        if (!dayEntry.is_directory(error) ||
            !IsDayFolderName(dayEntry.path().filename().string())) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dayEntry.path(), error)) {
            if (entry.is_regular_file(error) && IsBackupName(entry.path().filename().string())) {
                files.push_back(entry.path());
            }
        }
    }
    struct Ordered {
        std::string second;  // "YYYY-MM-DD/HHMMSS"
        std::filesystem::file_time_type written;
        int number = 1;  // the "-N" after the serial number
    };
    const auto orderOf = [](const std::filesystem::path& p) {
        Ordered o;
        const std::string name = p.filename().string();
        o.second = p.parent_path().filename().string() + "/" + name.substr(0, 6);
        std::error_code ignored;
        o.written = std::filesystem::last_write_time(p, ignored);
        const std::string stem = p.stem().string();
        const std::size_t dash = stem.rfind('-');
        if (dash > 6 && dash + 1 < stem.size() && AllDigits(stem.substr(dash + 1)) &&
            stem.size() - dash <= 5) {
            o.number = std::stoi(stem.substr(dash + 1));
        }
        return o;
    };
    std::vector<std::pair<Ordered, std::filesystem::path>> ordered;
    for (const auto& file : files) {
        ordered.emplace_back(orderOf(file), file);
    }
    // Names alone order backups of one second by serial number and put "-2" before the first;
    // the time written, then the number, give the order they were taken in.
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first.second, a.first.written, a.first.number) >
               std::tie(b.first.second, b.first.written, b.first.number);
    });
    files.clear();
    for (auto& [order, file] : ordered) {
        files.push_back(std::move(file));
    }
    return files;
}

std::size_t BackupStore::Prune(const BackupRetention& retention, Clock::time_point now) const {
    const std::vector<std::filesystem::path> files = List();
    const auto maxAge = std::chrono::hours(24) * retention.keepDays;
    std::size_t removed = 0;
    std::error_code error;
    for (std::size_t i = retention.keepFiles; i < files.size(); ++i) {
        const auto taken = TakenAt(files[i]);
        if (!taken || now - *taken < maxAge || saved_.count(files[i]) != 0) {
            continue;
        }
        if (std::filesystem::remove(files[i], error)) {
            ++removed;
            // Only succeeds once the day folder is empty.
            std::filesystem::remove(files[i].parent_path(), error);
        }
    }
    return removed;
}

}  // namespace halyx
