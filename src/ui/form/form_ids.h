#pragma once

namespace halyx::form {

// Control ids of the main form. Automation tools find the controls by these numbers (each
// control's object name is its id in decimal), so they keep the values the form always had.
inline constexpr int kGrid = 1029;
inline constexpr int kFrequencyEditor = 1002;
inline constexpr int kChoiceEditor = 1003;

inline constexpr int kSettingsGroup = 1030;
inline constexpr int kBandLabel = 1022;
inline constexpr int kBandList = 1004;
inline constexpr int kTimeOutLabel = 65535;
inline constexpr int kTimeOutList = 1008;
inline constexpr int kVoxLabel = 1023;
inline constexpr int kVoxList = 1010;
inline constexpr int kSquelchLabel = 1027;
inline constexpr int kSquelchList = 1011;
inline constexpr int kChannelLabel = 1031;
inline constexpr int kChannelList = 1012;
inline constexpr int kSerialNumberLabel = 1025;
inline constexpr int kSerialNumberBox = 1007;
inline constexpr int kUserIdLabel = 1026;
inline constexpr int kUserIdBox = 1009;
inline constexpr int kLanguageLabel = 1032;
inline constexpr int kLanguageList = 1013;
inline constexpr int kTxPowerLabel = 1036;
inline constexpr int kTxPowerList = 1015;
inline constexpr int kScrambleCheck = 1034;
inline constexpr int kCompandCheck = 1035;

// The message number other windows used to ask the form to reload itself from the image.
inline constexpr int kRefreshImageMessage = 1025;

}  // namespace halyx::form
