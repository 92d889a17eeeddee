#include "editing/radio_document.h"

#include <algorithm>

namespace halyx {
namespace {

bool SameImage(const RadioImage& a, const RadioImage& b) {
    return a.length == b.length && a.bytes == b.bytes;
}

bool SameRange(const RadioImage& a, const RadioImage& b, std::size_t offset, std::size_t size) {
    const auto at = static_cast<std::ptrdiff_t>(offset);
    return std::equal(a.bytes.begin() + at,
                      a.bytes.begin() + at + static_cast<std::ptrdiff_t>(size),
                      b.bytes.begin() + at);
}

}  // namespace

bool DocumentChange::Touches(int channel) const {
    return wholeImage || std::find(channels.begin(), channels.end(), channel) != channels.end();
}

DocumentChange ChangeBetween(const RadioImage& before, const RadioImage& after) {
    DocumentChange change;
    change.settings = !SameRange(before, after, kHeaderOffset, kHeaderSize);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (!SameRange(before, after, RecordOffset(channel), kRecordSize)) {
            change.channels.push_back(channel);
        }
    }
    return change;
}

RadioDocument::RadioDocument(const RadioImage& image, std::size_t stepLimit)
    : image_(image), saved_(image), history_(stepLimit) {}

bool RadioDocument::EditChannel(int n, const std::function<void(Channel&)>& change) {
    if (!IsValidChannel(n)) {
        return false;
    }
    const RadioImage before = image_;
    Channel channel(image_, n);
    change(channel);
    channel.StoreInto(image_);
    return Commit(before);
}

bool RadioDocument::EditSettings(const std::function<void(CommonSettings&)>& change) {
    const RadioImage before = image_;
    CommonSettings settings(image_);
    change(settings);
    settings.StoreInto(image_);
    return Commit(before);
}

bool RadioDocument::Edit(const std::function<void(RadioImage&)>& change) {
    const RadioImage before = image_;
    change(image_);
    return Commit(before);
}

bool RadioDocument::Commit(const RadioImage& before) {
    if (!history_.Record(before, image_)) {
        return false;
    }
    Announce(ChangeBetween(before, image_));
    return true;
}

void RadioDocument::Replace(const RadioImage& image, ReplaceAs as) {
    image_ = image;
    history_.Clear();
    savedKnown_ = as == ReplaceAs::Saved;
    if (savedKnown_) {
        saved_ = image;
    }
    DocumentChange change;
    change.wholeImage = true;
    change.settings = true;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        change.channels.push_back(channel);
    }
    Announce(change);
}

void RadioDocument::MarkSaved() {
    saved_ = image_;
    savedKnown_ = true;
}

bool RadioDocument::IsChanged() const {
    return !savedKnown_ || !SameImage(image_, saved_);
}

bool RadioDocument::Undo() {
    const RadioImage before = image_;
    if (!history_.Undo(image_)) {
        return false;
    }
    Announce(ChangeBetween(before, image_));
    return true;
}

bool RadioDocument::Redo() {
    const RadioImage before = image_;
    if (!history_.Redo(image_)) {
        return false;
    }
    Announce(ChangeBetween(before, image_));
    return true;
}

RadioDocument::Subscription RadioDocument::Subscribe(Listener listener) {
    const Subscription subscription = nextSubscription_++;
    listeners_.emplace_back(subscription, std::move(listener));
    return subscription;
}

void RadioDocument::Unsubscribe(Subscription subscription) {
    std::erase_if(listeners_,
                  [subscription](const auto& entry) { return entry.first == subscription; });
}

void RadioDocument::Announce(const DocumentChange& change) {
    // A copy, so that a listener may subscribe or unsubscribe while it is called; one that was
    // unsubscribed by an earlier listener of this round is skipped.
    const auto listeners = listeners_;
    for (const auto& [subscription, listener] : listeners) {
        const bool stillSubscribed =
            std::any_of(listeners_.begin(), listeners_.end(),
                        [id = subscription](const auto& entry) { return entry.first == id; });
        if (stillSubscribed) {
            listener(change);
        }
    }
}

}  // namespace halyx
