#pragma once

#include "interchange/interchange_texts.h"

namespace halyx {

// Texts of the unsaved-edit guard, the first start without a port and the read before a write,
// with the English shown when a language file predates them.
namespace slip_text {
inline constexpr TextKey kSaveChanges{"S0320",
                                      "The image %1 has changes that are not saved. "
                                      "Save them before going on?"};
inline constexpr TextKey kReadFrom{"S0321", "read from %1"};
inline constexpr TextKey kNoPortChosen{
    "S0322", "No serial port is chosen yet: choose the radio's port in Settings > Port settings."};
inline constexpr TextKey kReadFirst{"S0323", "Read and back up the radio before writing"};
inline constexpr TextKey kWrongBand{
    "S0324",
    "Nothing was written: the radio on the cable is a %1 radio and the image is for "
    "%2. A radio's band is its hardware; write it an image of its own band."};
inline constexpr TextKey kIdentityDiffers{
    "S0325",
    "The radio's serial number and user ID (%1 / %2) differ from the image's (%3 / "
    "%4). Keep the radio's own, or write the image's?"};
inline constexpr TextKey kPartlyWritten{
    "S0326",
    "The write failed part-way: the radio is partly written. The backup taken before "
    "the write is %1. Write the backup back now?"};
inline constexpr TextKey kPartlyWrittenNoBackup{
    "S0327",
    "The write failed part-way: the radio is partly written. No backup was taken before "
    "this write."};
inline constexpr TextKey kReadingFirst{"S0328", "Reading the radio before writing"};
inline constexpr TextKey kNoBackupNoWrite{
    "S0329", "The radio was read but no backup of it could be kept; nothing was written."};
inline constexpr TextKey kReadFirstFailed{
    "S0330", "The radio could not be read before the write; nothing was written."};
}  // namespace slip_text

}  // namespace halyx
