#pragma once

#include <string>
#include <string_view>

namespace halyx {

// Text that came from a file or a radio, made safe to show to people and to put into JSON:
// control characters (C0, DEL and the C1 range) and bytes that are not UTF-8 appear as \xNN, so a
// serial number or a CSV cell cannot clear a terminal or break a JSON writer. Valid printable
// UTF-8 (Chinese included) passes unchanged; applying it twice changes nothing more.
std::string VisibleText(std::string_view text);

// Whether the text holds a C0 control character or DEL, which no identity field may hold.
bool HasControlCharacters(std::string_view text);

}  // namespace halyx
