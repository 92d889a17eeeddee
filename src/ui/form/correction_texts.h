#pragma once

#include <QString>

#include "image/frequency_codec.h"
#include "settings/text_key.h"

namespace halyx {

class TextSource;

// Language keys of what the form says when it stored something other than what was typed.
namespace correction_text {
inline constexpr TextKey kPattern{"S0350", "%1 %2: %3 → %4, %5"};
inline constexpr TextKey kAboveBand{"S0351", "above the band"};
inline constexpr TextKey kBelowBand{"S0352", "below the band"};
inline constexpr TextKey kMovedToStep{"S0353", "moved onto the channel step"};
}  // namespace correction_text

// Whether the value stored differs from the one typed in a way the user should hear about (an
// emptied field is what was asked for).
bool IsWorthTelling(const FrequencyCorrection& correction);

// "CH03 RX: 500 → 470.00000, above the band": the channel's label, the column's name, what was
// typed and what was stored, and why. Empty when the value was stored as typed.
QString CorrectionText(const TextSource& texts, const QString& channelLabel,
                       const QString& columnName, const FrequencyCorrection& correction);

}  // namespace halyx
