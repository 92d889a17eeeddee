#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halyx::config {

// Bytes as text: hex pairs separated by spaces ("01 00 4A"), where a pair followed by "*N"
// stands for N copies of that byte ("FF*1441"), and pairs may also be run together ("4460 0625",
// as hex dumps print them). Case does not matter.
std::optional<std::vector<std::uint8_t>> ParseHexRun(std::string_view text);
inline constexpr std::string_view kHexRunAccepted =
    "hex bytes separated by spaces, such as \"01 00 4A\", with HH*N for N copies of a byte";

// The writer's form: upper-case pairs and, when `compact`, runs of at least four equal bytes as
// "HH*N".
std::string FormatHexRun(std::span<const std::uint8_t> bytes, bool compact = true);

// One otherBytes entry: the offset of its first byte and its text.
struct HexEntry {
    std::size_t offset;
    std::string text;
};

// A stretch of bytes cut into entries that keep a diff of two exports local: a run of 16 or more
// equal bytes is one entry, a shorter stretch between such runs another, and a longer one goes in
// entries that end on 16-byte boundaries, so one changed byte changes one line.
std::vector<HexEntry> HexEntries(std::size_t offset, std::span<const std::uint8_t> bytes);

}  // namespace halyx::config
