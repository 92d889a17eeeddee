#pragma once

#include "settings/text_key.h"

namespace halyx {

// Language keys of the channel row commands, each with the English text shown when an older
// language file lacks the key.
namespace row_texts {
inline constexpr TextKey kCopy{"S0240", "Copy"};
inline constexpr TextKey kCut{"S0241", "Cut"};
inline constexpr TextKey kPaste{"S0242", "Paste"};
inline constexpr TextKey kClear{"S0243", "Clear"};
inline constexpr TextKey kMoveUp{"S0244", "Move up"};
inline constexpr TextKey kMoveDown{"S0245", "Move down"};
inline constexpr TextKey kInsert{"S0246", "Insert empty channel"};
inline constexpr TextKey kDelete{"S0247", "Delete channel"};
inline constexpr TextKey kUndo{"S0248", "Undo"};
inline constexpr TextKey kRedo{"S0249", "Redo"};
inline constexpr TextKey kBulkSet{"S0250", "Set for the chosen channels..."};
inline constexpr TextKey kLastChannelInUse{
    "S0251", "Channel 20 is in use. Empty it before inserting a channel."};
inline constexpr TextKey kRowsChosen{"S0252", "%1 to %2 chosen"};
inline constexpr TextKey kRowChosen{"S0253", "%1 chosen"};
inline constexpr TextKey kMenuName{"S0254", "Channel rows"};
inline constexpr TextKey kUnchanged{"S0255", "(unchanged)"};
inline constexpr TextKey kNothingToPaste{"S0256", "The clipboard holds no channels to paste."};
inline constexpr TextKey kBulkTitle{"S0257", "Set for the chosen channels"};
}  // namespace row_texts

}  // namespace halyx
