#include "ui/form/keystroke_filter.h"

#include <QKeyEvent>

namespace halyx {
namespace {

constexpr char32_t kDeleteCharacter = 0x7F;  // what Ctrl+Backspace types

bool IsDigit(char32_t character) {
    return character >= U'0' && character <= U'9';
}

bool IsAsciiLetter(char32_t character) {
    return (character >= U'A' && character <= U'Z') || (character >= U'a' && character <= U'z');
}

}  // namespace

std::optional<char32_t> TypedCharacter(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    // AltGr arrives as Ctrl+Alt on some systems; it types ordinary characters.
    const bool control =
        modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
    if (key == Qt::Key_Backspace) {
        return control ? kDeleteCharacter : kBackspace;
    }
    if (key == Qt::Key_Delete) {
        return std::nullopt;  // a key, not a character: the boxes never filter it
    }
    if (control) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) {
            return static_cast<char32_t>(key - Qt::Key_A + 1);
        }
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<char32_t>(text.toUcs4().value(0));
}

bool IsFrequencyCharacter(char32_t character, bool textHasPoint) {
    switch (character) {
        case kBackspace:
        case kCopyCharacter:
        case kPasteCharacter:
        case kCutCharacter:
        case kUndoCharacter:
            return true;
        case U'.':
            return !textHasPoint;
        default:
            return IsDigit(character);
    }
}

bool IsSerialNumberCharacter(char32_t character) {
    return IsDigit(character) || IsAsciiLetter(character) || character == U' ' ||
           character == kBackspace;
}

}  // namespace halyx
