#pragma once

#include <QString>

#include "interchange/csv_import.h"
#include "interchange/interchange_texts.h"

namespace halyx {

// The window's words for the import report's notes and for the write dialog's named answers,
// with the English shown when a language file predates them.
namespace report_text {
inline constexpr TextKey kWriteBackupBack{"S0375", "Write the backup back"};
inline constexpr TextKey kNotNow{"S0376", "Not now"};
inline constexpr TextKey kKeepRadios{"S0377", "Keep the radio's"};
inline constexpr TextKey kWriteImages{"S0378", "Write the image's"};
inline constexpr TextKey kNotAChannel{"S0379",
                                      "location '%1' is not a channel (1-20); row skipped"};
inline constexpr TextKey kNotAFrequency{"S0380", "'%1' is not a frequency in MHz; row skipped"};
inline constexpr TextKey kOutsideBand{"S0381", "%1 MHz is outside the band %2-%3 MHz; row skipped"};
inline constexpr TextKey kOffChannelStep{"S0382", "%1 MHz is off the channel step; stored as %2"};
inline constexpr TextKey kNotInToneTable{"S0383", "'%1' is not in the tone table; left off"};
inline constexpr TextKey kTonesUnavailable{"S0384",
                                           "'%1' is not available on this radio; tones left off"};
inline constexpr TextKey kTransmitIsReceive{
    "S0385", "duplex '%1' is not available on this radio; transmit = receive"};
inline constexpr TextKey kModeUnavailable{
    "S0386", "mode '%1' is not available (NFM or FM); bandwidth unchanged"};
inline constexpr TextKey kNotStored{"S0387",
                                    "not stored: this radio has no place for it (reported once)"};
inline constexpr TextKey kChannelRepeated{"S0388",
                                          "channel %1 appears again; this later row is kept"};
inline constexpr TextKey kMoreNotes{"S0389", "%1 more notes from this line on are not shown"};
}  // namespace report_text

// A note of the import report in the language of `texts`: the note's kind chooses the words, its
// values fill them in.
QString ImportNoteText(const ImportNote& note, const TextOrLookup& texts);

}  // namespace halyx
