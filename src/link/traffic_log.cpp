#include "link/traffic_log.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halyx {
namespace {

#if defined(_WIN32)
std::FILE* OpenForLogging(const std::filesystem::path& path) {
    return _wfopen(path.c_str(), L"wb");
}
#else
// A named pipe nobody reads would block a plain open for ever, so the log is opened without
// waiting: such a pipe then fails at once (the program runs unlogged), while a pipe with a reader,
// a terminal or /dev/null still work. Only a regular file is emptied.
std::FILE* OpenForLogging(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    const bool ok = ::fstat(fd, &info) == 0 &&
                    (!S_ISREG(info.st_mode) || ::ftruncate(fd, 0) == 0) &&
                    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    std::FILE* file = ok ? ::fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}
#endif

}  // namespace

TrafficLog::~TrafficLog() {
    Close();
}

bool TrafficLog::Open(const std::filesystem::path& path) {
    Close();
    file_ = OpenForLogging(path);
    if (file_ != nullptr) {
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    return file_ != nullptr;
}

void TrafficLog::Close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void TrafficLog::AppendLine(std::string_view line) {
    if (file_ != nullptr) {
        std::fwrite(line.data(), 1, line.size(), file_);
    }
}

void TrafficLog::AppendSent(const std::uint8_t* bytes, std::size_t count) {
    AppendLine(FormatTrafficLine(kSentLabel, bytes, count));
}

void TrafficLog::AppendReceived(const std::uint8_t* bytes, std::size_t count) {
    AppendLine(FormatTrafficLine(kReceivedLabel, bytes, count));
}

std::string TrafficLog::FormatTrafficLine(std::string_view label, const std::uint8_t* bytes,
                                          std::size_t count) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line(label);
    line.reserve(label.size() + 3 * count + 2);
    for (std::size_t i = 0; i < count; ++i) {
        line.push_back(kHex[bytes[i] >> 4]);
        line.push_back(kHex[bytes[i] & 0x0F]);
        line.push_back(' ');
    }
    line += "\r\n";
    return line;
}

}  // namespace halyx
