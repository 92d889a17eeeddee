#pragma once

#include <QString>
#include <string_view>

#include "settings/text_key.h"

namespace halyx {

class TextSource;

// Language keys of what the form says when a text box's value was refused.
namespace text_refusal_text {
inline constexpr TextKey kControlCharacters{
    "S0370", "%1 was not changed: it cannot hold control characters."};
inline constexpr TextKey kTooLong{"S0371", "%1 was not changed: it holds at most %2 characters."};
}  // namespace text_refusal_text

// "User ID was not changed: it cannot hold control characters.": the box's name and why the
// value `refused` (the bytes the box would have stored) was not stored.
QString TextRefusalText(const TextSource& texts, const QString& boxName, std::string_view refused,
                        int limit);

}  // namespace halyx
