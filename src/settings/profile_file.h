#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halyx {

// An INI-style file read and written the way the radio tools' setting and language files have
// always been: sections and keys match regardless of case, spaces around names and values are
// ignored, one pair of surrounding quotes is removed, values are cut at 511 bytes, integers are
// the value's leading decimal digits, and a write keeps every other line of the file as it was.
// Every call goes to the file: nothing is cached, so another writer's change is seen at once.
class ProfileFile {
public:
    static constexpr std::size_t kMaxValueBytes = 511;

    // What a write does when the file's folder does not exist: fail (a program directory that
    // has gone away), or create it (a per-user folder that appears with its first setting).
    enum class MissingFolder { Fail, Create };

    explicit ProfileFile(std::filesystem::path path,
                         MissingFolder missingFolder = MissingFolder::Fail);

    const std::filesystem::path& path() const { return path_; }

    // The value, or `fallback` when the file, section or key is missing. Raw bytes, no re-encoding.
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
    // Leading decimal digits of the value; `fallback` when the key is missing or its value empty
    // (as the original platform does), 0 when the value starts with something else.
    int readInt(std::string_view section, std::string_view key, int fallback = 0) const;
    // Creates the file, section and key as needed and replaces an existing value. The file is
    // replaced atomically. Returns false when it cannot be written, or when a name or the value
    // holds a line break (or a section ']', a key '='), which would otherwise create other keys.
    // Callers that follow the original tool ignore the result.
    bool writeText(std::string_view section, std::string_view key, std::string_view value) const;

private:
    // The value, cut at kMaxValueBytes; nullopt when the file, section or key is missing.
    std::optional<std::string> findRaw(std::string_view section, std::string_view key) const;

    std::filesystem::path path_;
    MissingFolder missingFolder_ = MissingFolder::Fail;
};

}  // namespace halyx
