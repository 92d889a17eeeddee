#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halyx {

// A tone byte of the image is a position in this table: 0 no tone, 1..50 CTCSS, 51..154 DCS.
class ToneTable {
public:
    static constexpr std::size_t kSize = 155;
    static constexpr std::size_t kFirstCtcss = 1;
    static constexpr std::size_t kFirstDcs = 51;

    std::size_t size() const { return entries_.size(); }
    const std::string& text(std::size_t position) const { return entries_.at(position); }
    const std::vector<std::string>& entries() const { return entries_; }

    // Position of the entry whose text equals `text`, ignoring ASCII case.
    std::optional<std::size_t> find(std::string_view text) const;

private:
    friend void BuildToneTable(ToneTable& table, const std::string& noToneText);
    std::vector<std::string> entries_;
};

// Empties the table and fills it; entry 0 is the language's "no tone" text (key S0103).
void BuildToneTable(ToneTable& table, const std::string& noToneText);

// The table's text for a tone byte; bytes past the table show as the no-tone entry.
const std::string& ToneText(const ToneTable& table, std::uint8_t toneByte);

}  // namespace halyx
