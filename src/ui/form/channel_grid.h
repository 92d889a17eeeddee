#pragma once

#include <array>
#include <string_view>

namespace halyx {

class CGridCtrl;

// The channel table: one row per channel under a header row, the channel label in column 0.
namespace channel_grid {

inline constexpr int kColumnCount = 6;
inline constexpr int kRowCount = 21;  // header + 20 channels
inline constexpr int kRowHeight = 21;
inline constexpr std::array<int, kColumnCount> kColumnWidths{63, 112, 112, 102, 102, 60};
inline constexpr std::array<std::string_view, kColumnCount> kHeaderKeys{"S0071", "S0022", "S0023",
                                                                        "S0026", "S0027", "S0033"};

// Data columns.
inline constexpr int kRxFrequency = 1;
inline constexpr int kTxFrequency = 2;
inline constexpr int kRxTone = 3;
inline constexpr int kTxTone = 4;
inline constexpr int kBandwidth = 5;

inline bool IsFrequencyColumn(int column) {
    return column == kRxFrequency || column == kTxFrequency;
}
inline bool IsChoiceColumn(int column) {
    return column == kRxTone || column == kTxTone || column == kBandwidth;
}

}  // namespace channel_grid

// Fixed header row and label column, sizes; the grid's own editing and selection off (the form
// opens its editors itself). The model gives the shape and the texts.
void SetUpChannelGrid(CGridCtrl& grid);

}  // namespace halyx
