#pragma once

#include "interchange/interchange_texts.h"

namespace halyx {

// Texts of the fleet write dialog, Open backup and the radio history, with the English shown
// when a language file predates them.
namespace fleet_text {
inline constexpr TextKey kMenuFleetWrite{"S0260", "&Fleet write..."};
inline constexpr TextKey kMenuOpenBackup{"S0261", "Open &backup..."};
inline constexpr TextKey kTitle{"S0262", "Fleet write"};
inline constexpr TextKey kImage{"S0263", "Image"};
inline constexpr TextKey kCurrentImage{"S0264", "Current image"};
inline constexpr TextKey kImageFile{"S0265", "Image file"};
inline constexpr TextKey kBusy{"S0266",
                               "A radio exchange is running. Try again when it has ended."};
inline constexpr TextKey kOverrides{"S0267", "Overrides (CSV)"};
inline constexpr TextKey kReport{"S0268", "Report"};
inline constexpr TextKey kPort{"S0269", "Port"};
inline constexpr TextKey kDevice{"S0270", "Device"};
inline constexpr TextKey kSerialNumber{"S0271", "Serial number"};
inline constexpr TextKey kProgress{"S0272", "Progress"};
inline constexpr TextKey kResult{"S0273", "Result"};
inline constexpr TextKey kStart{"S0274", "Start"};
inline constexpr TextKey kStop{"S0275", "Stop"};
inline constexpr TextKey kClose{"S0276", "Close"};
inline constexpr TextKey kNoPortChosen{"S0277", "Choose at least one port."};
inline constexpr TextKey kReading{"S0278", "Reading"};
inline constexpr TextKey kWriting{"S0279", "Writing"};
inline constexpr TextKey kVerifying{"S0280", "Verifying"};
inline constexpr TextKey kSucceeded{"S0281", "Succeeded"};
inline constexpr TextKey kLinkFailure{"S0282", "No answer"};
inline constexpr TextKey kReadBackDiffers{"S0283", "Read-back differs"};
inline constexpr TextKey kPortError{"S0284", "Port error"};
inline constexpr TextKey kBackupFailed{"S0285", "Backup failed"};
inline constexpr TextKey kStopped{"S0286", "Stopped"};
inline constexpr TextKey kSummary{"S0287", "%1 of %2 radios succeeded."};
inline constexpr TextKey kReportSaved{"S0288", "Report saved as %1"};
inline constexpr TextKey kOverridesRefused{"S0289",
                                           "The overrides were refused; nothing was written."};
// Each way a radio can fail, in words of its own.
inline constexpr TextKey kRefusedBlock{"S0363", "The radio refused a block"};
inline constexpr TextKey kPortNotOpened{"S0364", "The port could not be opened"};
inline constexpr TextKey kAnotherBand{"S0365", "The radio is for another band"};
inline constexpr TextKey kRetryFailed{"S0366", "&Retry failed radios"};
inline constexpr TextKey kOpenReportFolder{"S0367", "Open report &folder"};
inline constexpr TextKey kReportPlaceRefused{
    "S0372", "The report cannot be saved there; nothing was sent to any radio."};
}  // namespace fleet_text

}  // namespace halyx
