#pragma once

#include <string_view>

namespace halyx {

// A language key added after the original range, with the English text shown when the language
// file lacks it (or holds it empty), so an older file never shows a blank item.
struct TextKey {
    std::string_view key;
    std::string_view english;
};

}  // namespace halyx
