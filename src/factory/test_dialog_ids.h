#pragma once

#include <array>
#include <string_view>

#include "link/tuning_data.h"

namespace halyx {

// Control ids of the test and calibration dialog (resource 146). They are the controls' object
// names, so automation scripts written against the radio tools find them by the same numbers.
namespace test_dialog {
inline constexpr int kResourceId = 146;
inline constexpr int kPortCaption = 1033;
inline constexpr int kPortList = 1003;
inline constexpr int kBaudCaption = 1049;
inline constexpr int kBaudList = 1016;
inline constexpr int kOpenClose = 1028;
inline constexpr int kProgress = 1015;
inline constexpr int kLoadFile = 1013;
inline constexpr int kSaveFile = 1014;
inline constexpr int kReadValues = 1001;
inline constexpr int kWriteValues = 1012;

// One test point's controls, in slider order (row 1 first).
struct RowIds {
    int slider;
    int nameLabel;
    int valueLabel;
};
inline constexpr std::array<RowIds, kTestPointRows> kRows{{
    {1030, 1022, 1040},
    {1031, 1023, 1041},
    {1032, 1024, 1042},
    {1034, 1026, 1043},
    {1035, 1027, 1044},
    {1036, 1008, 1045},
    {1037, 1009, 1046},
    {1038, 1010, 1047},
    {1039, 1011, 1048},
}};
}  // namespace test_dialog

// Language keys of the dialog's texts.
namespace test_keys {
inline constexpr std::string_view kTitle = "S0069";
inline constexpr std::string_view kBaudCaption = "S0089";
inline constexpr std::string_view kOpenPort = "S0090";
inline constexpr std::string_view kClosePort = "S0091";
inline constexpr std::string_view kLoadFile = "S0086";
inline constexpr std::string_view kSaveFile = "S0087";
inline constexpr std::string_view kReadValues = "S0072";
inline constexpr std::string_view kWriteValues = "S0048";
}  // namespace test_keys

}  // namespace halyx
