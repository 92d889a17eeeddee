#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace halyx::profile {

// The profile-file rules on a file's content held in memory, shared by ProfileFile and the
// language files (which must look at the content's encoding before converting a value).
//
// A line "[name]" opens a section; "key=value" gives a value; lines starting with ';' and all
// other lines are kept but carry nothing. Names match without regard to ASCII case, spaces and
// tabs around names and values are ignored, and one pair of matching quotes around a value is
// removed. Lines end in LF or CRLF; a UTF-8 byte-order mark at the start is skipped. When a
// section or a key appears twice, the first one counts, as on the original platform.

// The value, or nullopt when the section or key is missing. Not cut to any length.
std::optional<std::string_view> FindValue(std::string_view content, std::string_view section,
                                          std::string_view key);

// `content` with the key set to `value`: an existing value is replaced on its own line, a
// missing key is added at the end of its section and a missing section at the end of the
// content. Every other byte stays as it was, and new lines use the content's line ending.
// nullopt when a name or the value cannot be stored safely (a line break in any of them, a
// section name holding ']', a key holding '=' or starting with '[' or ';', or an empty name),
// since writing it would change other keys.
std::optional<std::string> SetValue(std::string_view content, std::string_view section,
                                    std::string_view key, std::string_view value);

}  // namespace halyx::profile
