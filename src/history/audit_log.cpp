#include "history/audit_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "files/file_kind.h"

namespace halyx {
namespace {

// Length of the UTF-8 sequence starting at `i`, or 0 when the bytes there are not one.
std::size_t Utf8SequenceAt(const std::string& s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = b(i);
    std::size_t n = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((lead == 0xE0 && b(i + 1) < 0xA0) || (lead == 0xED && b(i + 1) > 0x9F) ||
        (lead == 0xF0 && b(i + 1) < 0x90) || (lead == 0xF4 && b(i + 1) > 0x8F)) {
        return 0;
    }
    return n;
}

void AppendJsonString(std::string& out, const std::string& text) {
    if (text.empty()) {
        out += "null";
        return;
    }
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        char escaped[8] = {};
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = Utf8SequenceAt(text, i); n > 0) {
            out.append(text, i, n);
            i += n;
            continue;
        } else {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
        ++i;
    }
    out += '"';
}

std::string IsoUtc(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(when.time_since_epoch()).count();
    std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    int millis = static_cast<int>(ms % 1000);
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char text[40] = {};
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    std::snprintf(text + n, sizeof text - n, ".%03dZ", millis);
    return text;
}

}  // namespace

std::string AuditLine(const AuditEntry& e) {
    std::string line = "{\"time\":\"" + IsoUtc(e.time) + "\"";
    const auto field = [&line](const char* name, const std::string& value) {
        line += ",\"";
        line += name;
        line += "\":";
        AppendJsonString(line, value);
    };
    field("program", e.program);
    field("operation", e.operation);
    field("port", e.portName);
    field("device", e.devicePath);
    field("serialNumber", e.serialNumber);
    field("userId", e.userId);
    field("sha256Read", e.sha256Read);
    field("sha256Written", e.sha256Written);
    field("result", e.result);
    line += ",\"durationMs\":" + std::to_string(e.durationMs);
    field("backup", e.backupPath);
    line += "}\n";
    return line;
}

FileResult AuditLog::Append(const AuditEntry& entry) const {
    FileResult result;
    result.path = path_.string();
    std::error_code error;
    if (path_.has_parent_path()) {
        std::filesystem::create_directories(path_.parent_path(), error);
    }
    // A pipe or a device takes the line and keeps nothing of it (or blocks): only a regular file
    // is a log. Looked at before opening, so a device is never opened, and again after.
    struct stat named {};
    if (::stat(path_.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
        return RefusedAs(result.path, KindOfMode(named.st_mode));
    }
    const int fd =
        ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        result.cause = CauseFromErrno(errno);
        return result;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return RefusedAs(result.path, KindOfMode(opened.st_mode));
    }
    std::string line = AuditLine(entry);
    // A line left without its end by a crash is closed first, in the same write as ours.
    const struct stat& st = opened;
    char last = '\n';
    if (st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n') {
        line.insert(line.begin(), '\n');
    }
    const ssize_t written = ::write(fd, line.data(), line.size());
    if (written != static_cast<ssize_t>(line.size())) {
        result.cause = written < 0 ? CauseFromErrno(errno) : FileErrorCause::DiskFull;
    }
    if (::close(fd) != 0 && result.ok()) {
        result.cause = CauseFromErrno(errno);
    }
    return result;
}

}  // namespace halyx
