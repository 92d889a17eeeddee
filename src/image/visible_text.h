#pragma once

#include <string>
#include <string_view>

namespace halyx {

// Text that came from a file or a radio, made safe to show to people and to put into JSON:
// control characters (C0, DEL and the C1 range) and bytes that are not UTF-8 appear as \xNN, so a
// serial number or a CSV cell cannot clear a terminal or break a JSON writer. Valid printable
// UTF-8 (Chinese included) passes unchanged; applying it twice changes nothing more.
std::string VisibleText(std::string_view text);

// VisibleText for a whole block printed to a terminal: line ends and tabs stay as they are, since
// they only move the cursor; every other control byte and broken UTF-8 is escaped as above.
std::string TerminalText(std::string_view text);

// Text from a file or a radio made valid UTF-8 for a JSON writer, losing nothing: well-formed
// UTF-8 passes, and each byte that is not part of it becomes the character U+0080..U+00FF of the
// same value (the audit log's rule), so the bytes can still be read back from the document.
std::string JsonSafeText(std::string_view text);

// Whether the text holds a C0 control character or DEL, which no identity field may hold.
bool HasControlCharacters(std::string_view text);

}  // namespace halyx
