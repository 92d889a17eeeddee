#include "editing/edit_history.h"

#include <algorithm>

namespace halyx {

EditHistory::EditHistory(std::size_t stepLimit) : stepLimit_(std::max<std::size_t>(stepLimit, 1)) {}

void EditHistory::Clear() {
    steps_.clear();
    position_ = 0;
}

bool EditHistory::Record(const RadioImage& before, const RadioImage& after) {
    Step step;
    step.lengthBefore = before.length;
    step.lengthAfter = after.length;
    std::size_t offset = 0;
    while (offset < kImageSize) {
        if (before.bytes[offset] == after.bytes[offset]) {
            ++offset;
            continue;
        }
        Run run;
        run.offset = offset;
        while (offset < kImageSize && before.bytes[offset] != after.bytes[offset]) {
            run.before.push_back(before.bytes[offset]);
            run.after.push_back(after.bytes[offset]);
            ++offset;
        }
        step.runs.push_back(std::move(run));
    }
    if (step.runs.empty() && step.lengthBefore == step.lengthAfter) {
        return false;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > stepLimit_) {
        steps_.pop_front();  // the oldest step goes first
    }
    position_ = steps_.size();
    return true;
}

bool EditHistory::Undo(RadioImage& image) {
    if (!CanUndo()) {
        return false;
    }
    const Step& step = steps_[--position_];
    for (const Run& run : step.runs) {
        std::copy(run.before.begin(), run.before.end(),
                  image.bytes.begin() + static_cast<std::ptrdiff_t>(run.offset));
    }
    image.length = step.lengthBefore;
    return true;
}

bool EditHistory::Redo(RadioImage& image) {
    if (!CanRedo()) {
        return false;
    }
    const Step& step = steps_[position_++];
    for (const Run& run : step.runs) {
        std::copy(run.after.begin(), run.after.end(),
                  image.bytes.begin() + static_cast<std::ptrdiff_t>(run.offset));
    }
    image.length = step.lengthAfter;
    return true;
}

std::size_t EditHistory::StoredBytes() const {
    std::size_t total = 0;
    for (const Step& step : steps_) {
        total += sizeof(Step);
        for (const Run& run : step.runs) {
            total += sizeof(Run) + run.before.size() + run.after.size();
        }
    }
    return total;
}

}  // namespace halyx
