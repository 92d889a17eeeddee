#pragma once

#include <string>
#include <string_view>

#include "image/option_lists.h"
#include "image/tone_table.h"
#include "settings/language.h"

namespace halyx::cli {

// The texts the main form would show: the language chosen in setting.ini, the tone table built
// from it. The command line uses the same rule as the window so both show the same entries.
struct CliTexts {
    Language language;
    ToneTable tones;
    TextLookup lookup;

    CliTexts();
};

}  // namespace halyx::cli
