#include "link/traffic_log.h"

namespace halyx {

TrafficLog::~TrafficLog() {
    Close();
}

bool TrafficLog::Open(const std::filesystem::path& path) {
    Close();
    file_ = std::fopen(path.string().c_str(), "wb");
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
