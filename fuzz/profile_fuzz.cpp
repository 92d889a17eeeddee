// Any setting or language file content with any names and value: reading never fails, a value
// that can be stored reads back as written, and every other key keeps its value.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "settings/language.h"
#include "settings/profile_file.h"
#include "settings/profile_text.h"

namespace {

// content \0 section \0 key \0 value; missing parts are empty.
std::vector<std::string_view> Split(std::string_view input) {
    std::vector<std::string_view> parts;
    while (parts.size() < 3) {
        const std::size_t at = input.find('\0');
        if (at == std::string_view::npos) {
            break;
        }
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + 1);
    }
    parts.push_back(input);
    parts.resize(4);
    return parts;
}

// A value the profile rules give back unchanged: no surrounding spaces or quotes to be removed.
bool ReadsBackAsItIs(std::string_view value) {
    if (value.empty()) {
        return true;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (blank(value.front()) || blank(value.back())) {
        return false;
    }
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

const std::filesystem::path& LanguageFile() {
    static const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                              ("halyx-fuzz-" + std::to_string(getpid()) + ".lang");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> parts = Split(input);
    const std::string_view content = parts[0];
    const std::string_view section = parts[1];
    const std::string_view key = parts[2];
    const std::string_view value = parts[3];

    const auto other = halyx::profile::FindValue(content, "Strings", "S0000");
    const auto updated = halyx::profile::SetValue(content, section, key, value);
    if (updated) {
        const auto found = halyx::profile::FindValue(*updated, section, key);
        FUZZ_CHECK(found.has_value());
        if (ReadsBackAsItIs(value)) {
            FUZZ_CHECK(*found == value);
        }
        // A key of another section or name is untouched by the write.
        const bool sameKey =
            halyx::profile::FindValue("[Strings]\nS0000=x\n", section, key).has_value();
        if (!sameKey) {
            FUZZ_CHECK(halyx::profile::FindValue(*updated, "Strings", "S0000") == other);
        }
    }

    // The language lookup on the same content as a file: any bytes, any encoding, any length.
    {
        std::ofstream out(LanguageFile(), std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    const halyx::Language language(LanguageFile());
    const std::string text = language.LangString(key.empty() ? std::string_view("S0000") : key);
    FUZZ_CHECK(text.size() <= 4 * halyx::ProfileFile::kMaxValueBytes);
    return 0;
}
