#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "link/port_open_failure.h"
#include "settings/text_key.h"

namespace halyx {

// Where a window gets its user-interface texts: the active language file's texts by key and the
// language value the built-in texts go by. Windows receive it by reference; tests may hand in
// their own.
class TextSource {
public:
    virtual ~TextSource() = default;

    // Text of a language key as UTF-8; "" when the file or the key is missing.
    virtual std::string text(std::string_view key) const = 0;
    // The setting file's language value, read anew each time so that the built-in texts follow
    // the file without a restart.
    virtual std::string languageValue() const = 0;

    // Text of a key added after the original range, with its built-in English text as fallback.
    std::string textOr(std::string_view key, std::string_view builtinEnglish) const;
    std::string textOr(const TextKey& key) const { return textOr(key.key, key.english); }

    // The same, ready for a widget.
    QString qtext(std::string_view key) const;
    QString qtext(const TextKey& key) const;
};

// The texts as the link's lookup of a key with its English, for the port's failure and doctor
// texts. The lookup refers to `texts`, which must outlive it.
PortTextLookup PortLookupOf(const TextSource& texts);

}  // namespace halyx
