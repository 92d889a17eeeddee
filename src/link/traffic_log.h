#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace halyx {

// comm.log: every frame sent and every received frame as hex text, plus the exchanges' marker
// lines. Emptied when the application starts; unbuffered, so a crash or a pulled cable still
// leaves the last line on disk. Written on the user-interface thread only.
class TrafficLog {
public:
    static constexpr std::string_view kFileName = "comm.log";
    static constexpr std::string_view kSentLabel = "PC->Radio:  ";
    static constexpr std::string_view kReceivedLabel = "Radio->PC:  ";

    TrafficLog() = default;
    ~TrafficLog();
    TrafficLog(const TrafficLog&) = delete;
    TrafficLog& operator=(const TrafficLog&) = delete;

    // Closes any open file, then creates or empties `path` (comm.log in the current directory
    // by default). Returns false when it cannot be opened; the application then runs unlogged.
    bool Open(const std::filesystem::path& path = std::filesystem::path(kFileName));
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Writes the line's bytes as they are (lines carry their own "\r\n"); nothing when closed.
    void AppendLine(std::string_view line);
    void AppendSent(const std::uint8_t* bytes, std::size_t count);
    void AppendReceived(const std::uint8_t* bytes, std::size_t count);

    // "label" + "%02x " per byte + "\r\n".
    static std::string FormatTrafficLine(std::string_view label, const std::uint8_t* bytes,
                                         std::size_t count);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace halyx
