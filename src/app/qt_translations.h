#pragma once

#include <QString>
#include <string_view>

namespace halyx {

// Qt's own texts (the standard buttons of message boxes, the file and print dialogs) follow the
// language the user chose: Chinese unless the language value names English, as for the language
// files. Installs Qt's translations for that language from Qt's translations folder, replacing
// those of the language before; with English nothing is installed. True when the language's
// translations were found (always for English).
bool ApplyQtTranslations(std::string_view languageValue);

// The locale name whose translations a language value takes ("zh_CN", or "" for English).
QString QtTranslationLocale(std::string_view languageValue);

}  // namespace halyx
