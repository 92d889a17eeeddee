#pragma once

#include <string_view>

namespace halyx {

// Language keys of the channel row commands, each with the English text shown when an older
// language file lacks the key.
struct FormText {
    std::string_view key;
    std::string_view english;
};

namespace row_texts {
inline constexpr FormText kCopy{"S0240", "Copy"};
inline constexpr FormText kCut{"S0241", "Cut"};
inline constexpr FormText kPaste{"S0242", "Paste"};
inline constexpr FormText kClear{"S0243", "Clear"};
inline constexpr FormText kMoveUp{"S0244", "Move up"};
inline constexpr FormText kMoveDown{"S0245", "Move down"};
inline constexpr FormText kInsert{"S0246", "Insert empty channel"};
inline constexpr FormText kDelete{"S0247", "Delete channel"};
inline constexpr FormText kUndo{"S0248", "Undo"};
inline constexpr FormText kRedo{"S0249", "Redo"};
inline constexpr FormText kBulkSet{"S0250", "Set for the chosen channels..."};
inline constexpr FormText kLastChannelInUse{
    "S0251", "Channel 20 is in use. Empty it before inserting a channel."};
inline constexpr FormText kRowsChosen{"S0252", "%1 to %2 chosen"};
inline constexpr FormText kRowChosen{"S0253", "%1 chosen"};
inline constexpr FormText kMenuName{"S0254", "Channel rows"};
inline constexpr FormText kUnchanged{"S0255", "(unchanged)"};
inline constexpr FormText kNothingToPaste{"S0256", "The clipboard holds no channels to paste."};
inline constexpr FormText kBulkTitle{"S0257", "Set for the chosen channels"};
}  // namespace row_texts

}  // namespace halyx
