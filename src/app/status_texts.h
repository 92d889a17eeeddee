#pragma once

#include "settings/text_key.h"

namespace halyx {

// Texts of the status bar's file and result panes, with the English shown when a language file
// predates them.
namespace status_text {
inline constexpr TextKey kReadFrom{"S0354", "Read from %1 at %2"};
inline constexpr TextKey kResult{"S0355", "%1 on %2: %3"};
inline constexpr TextKey kChannelsAndBackup{"S0356", "%1 channels, backup %2"};
}  // namespace status_text

}  // namespace halyx
