#pragma once

#include <optional>

class QKeyEvent;

namespace halyx {

// The character a keystroke types, as the edit boxes' character filters judge it. Ctrl+letter
// is its control character (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24, Ctrl+Z 26), Backspace is 8. Keys
// that type nothing (arrows, Home, Delete, F-keys, Ctrl+arrow) give nothing and always pass.
std::optional<char32_t> TypedCharacter(const QKeyEvent& event);

inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kCopyCharacter = 3;
inline constexpr char32_t kPasteCharacter = 22;
inline constexpr char32_t kCutCharacter = 24;
inline constexpr char32_t kUndoCharacter = 26;

// Frequency box: digits, one decimal point, backspace and the clipboard control characters.
bool IsFrequencyCharacter(char32_t character, bool textHasPoint);
// Serial number box: digits, ASCII letters, space and backspace; nothing else.
bool IsSerialNumberCharacter(char32_t character);

}  // namespace halyx
