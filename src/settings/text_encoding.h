#pragma once

#include <string>
#include <string_view>

namespace halyx {

// Texts of the original platform are GBK (code page 936); Halyx works in UTF-8.
bool IsValidUtf8(std::string_view bytes);
// GBK bytes -> UTF-8; invalid sequences become U+FFFD rather than being dropped silently.
std::string GbkToUtf8(std::string_view gbk);
// UTF-8 -> GBK bytes (for the traffic log's marker lines); unmappable characters become '?'.
std::string Utf8ToGbk(std::string_view utf8);
// UTF-8 with every invalid byte replaced by U+FFFD, for texts that claim to be UTF-8 but are not.
std::string RepairUtf8(std::string_view bytes);

// A text cut at a byte limit may end in half a character; these drop that broken tail so the
// conversion that follows does not turn it into a replacement mark.
std::string_view DropIncompleteUtf8Tail(std::string_view utf8);
std::string_view DropIncompleteGbkTail(std::string_view gbk);

}  // namespace halyx
