#pragma once

#include <string>
#include <string_view>

namespace halyx {

// The few shell texts built into the program rather than taken from a language file: the
// toolbar's tool tips and the status bar's idle text. They come in Chinese only when the
// language value (TextSource::languageValue, read anew each time so the texts follow the file
// without a restart) is exactly "chinese"; anything else, or no value, gives English.
bool UsesChineseBuiltinTexts(std::string_view languageValue);

// Tool tip of a toolbar button by command id (UTF-8); empty for an id without a button.
std::string ToolbarTipText(int commandId, bool chinese);

std::string IdleStatusText(bool chinese);

}  // namespace halyx
