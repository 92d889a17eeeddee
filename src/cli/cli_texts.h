#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/tone_table.h"
#include "interchange/interchange_texts.h"
#include "settings/language.h"

namespace halyx::cli {

enum class OutputLanguage { English, Chinese };

// --lang when given ("en" or "zh"), otherwise the locale: LC_ALL, LC_MESSAGES, LANG in that
// order, the first one set deciding; "zh..." is Chinese, anything else English.
OutputLanguage ChooseOutputLanguage(const std::optional<std::string>& option);

// The texts of one readable output, all in one language: the language file of that language in
// the program directory, with English built in for anything it lacks.
struct CliTexts {
    explicit CliTexts(OutputLanguage choice);

    Language language;
    TextOrLookup texts;
};

}  // namespace halyx::cli
