#pragma once

#include <array>
#include <string>
#include <vector>

#include "image/option_lists.h"
#include "image/radio_image.h"
#include "interchange/interchange_texts.h"

namespace halyx {

struct LabeledValue {
    std::string name;   // the setting's name in `halyx-cli show --json`
    std::string label;  // in the current language
    std::string value;  // as the settings panel shows it, in the current language
};

// The common settings in the panel's order, labelled and shown in one language.
std::vector<LabeledValue> SettingLines(const RadioImage& image, const TextOrLookup& texts);

// The label of a setting by its JSON name ("squelchLevel"); the name itself when unknown.
std::string SettingLabel(std::string_view name, const TextOrLookup& texts);

// The grid's six column headings and its twenty rows as the main form shows them.
using ChannelCells = std::array<std::string, 6>;
ChannelCells ChannelHeadings(const TextOrLookup& texts);
std::vector<ChannelCells> ChannelRows(const RadioImage& image, const TextOrLookup& texts);

// The option lists' key lookup with the English texts as fallback.
TextLookup ListLookup(const TextOrLookup& texts);

}  // namespace halyx
