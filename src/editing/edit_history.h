#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "image/radio_image.h"

namespace halyx {

// The undo and redo history of the image. A step keeps only the bytes it changed (a cell edit
// costs a few bytes, a row move a few records), so a long history stays small.
class EditHistory {
public:
    static constexpr std::size_t kDefaultStepLimit = 200;

    explicit EditHistory(std::size_t stepLimit = kDefaultStepLimit);

    // The image was replaced as a whole (New, Open, a radio read): nothing before it can be
    // undone any more.
    void Clear();

    // Records the change from `before` to `after` as one step and drops whatever could have
    // been redone. Returns false (and records nothing) when the two are the same.
    bool Record(const RadioImage& before, const RadioImage& after);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    std::size_t UndoCount() const { return position_; }
    std::size_t RedoCount() const { return steps_.size() - position_; }

    // Put the bytes of the last step back as they were before it (or after it); false when
    // there is nothing to undo (redo).
    bool Undo(RadioImage& image);
    bool Redo(RadioImage& image);

    // Bytes the history holds, for keeping an eye on its cost.
    std::size_t StoredBytes() const;

private:
    // A run of consecutive changed bytes: where it starts, what it held and what it holds.
    struct Run {
        std::size_t offset = 0;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    struct Step {
        std::vector<Run> runs;
        std::uint16_t lengthBefore = 0;
        std::uint16_t lengthAfter = 0;
    };

    std::size_t stepLimit_;
    std::deque<Step> steps_;
    std::size_t position_ = 0;  // steps_[0, position_) are done, the rest undone
};

// Runs `change` on the image and records what it did as one step: one user action, however
// many fields and records it touches. Returns whether anything changed.
template <typename Change>
bool EditAsOneStep(EditHistory& history, RadioImage& image, Change&& change) {
    const RadioImage before = image;
    change(image);
    return history.Record(before, image);
}

}  // namespace halyx
