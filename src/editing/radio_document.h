#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editing/edit_history.h"
#include "image/channel.h"
#include "image/common_settings.h"
#include "image/radio_image.h"

namespace halyx {

// What an edit, undo, redo or replace changed, so a view refreshes only that.
struct DocumentChange {
    std::vector<int> channels;  // channels whose record changed, ascending
    bool settings = false;      // the header (common settings) changed
    bool wholeImage = false;    // the image was replaced: refresh everything

    bool Touches(int channel) const;
};

// How a replacing image stands against what is on disk.
enum class ReplaceAs {
    Saved,   // New, Open: the image is what the file holds
    Unsaved  // a radio read: nothing on disk holds it yet
};

// The one radio image the user works on, with its undo history and whether it has changed since
// it was last saved. Every face edits through it: each edit is one undo step, applies the
// channel and settings rules of Channel and CommonSettings, and is announced to subscribers.
// Plain C++; a Qt model subscribes and turns the announcements into its own signals.
class RadioDocument {
public:
    using Listener = std::function<void(const DocumentChange&)>;
    using Subscription = std::uint64_t;  // 0 is never handed out

    explicit RadioDocument(const RadioImage& image = {},
                           std::size_t stepLimit = EditHistory::kDefaultStepLimit);
    RadioDocument(const RadioDocument&) = delete;
    RadioDocument& operator=(const RadioDocument&) = delete;

    const RadioImage& image() const { return image_; }
    // Channel n (1..20) as it stands; an invalid n gives an empty channel that edits nothing.
    Channel channel(int n) const { return Channel(image_, n); }
    CommonSettings settings() const { return CommonSettings(image_); }
    const EditHistory& history() const { return history_; }

    // Each edit is one undo step and returns whether anything changed (nothing changed: no step,
    // no announcement). The callback's setters report what they did; capture it from there.
    bool EditChannel(int n, const std::function<void(Channel&)>& change);
    bool EditSettings(const std::function<void(CommonSettings&)>& change);
    // Several channels, rows or the whole image at once (row operations, paste, import, bulk
    // edit), still one undo step.
    bool Edit(const std::function<void(RadioImage&)>& change);

    // New, Open, a radio read: the history is cleared and, when `as` is Saved, the image becomes
    // the saved point.
    void Replace(const RadioImage& image, ReplaceAs as = ReplaceAs::Saved);
    // The image has been written to a file: it is now the saved point.
    void MarkSaved();
    // Whether the image differs from the saved point: undoing back to it clears this, redoing
    // past it sets it again.
    bool IsChanged() const;

    // The name of the file the image was last opened from or saved to (the title, the status bar
    // and the channel sheet call the image by it). The face that loads or saves names it; a
    // replace or an edit leaves it as it was.
    const std::string& fileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }

    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    bool Undo();
    bool Redo();

    // The listener is called after every change, once per change, until unsubscribed. It may
    // unsubscribe itself (or others) from inside the call.
    Subscription Subscribe(Listener listener);
    void Unsubscribe(Subscription subscription);

private:
    bool Commit(const RadioImage& before);
    void Announce(const DocumentChange& change);

    RadioImage image_;
    RadioImage saved_;
    bool savedKnown_ = true;  // false after a Replace as Unsaved until the next MarkSaved
    EditHistory history_;
    std::vector<std::pair<Subscription, Listener>> listeners_;
    Subscription nextSubscription_ = 1;
    std::string fileName_;
};

// The channels and settings that differ between two images (wholeImage stays false).
DocumentChange ChangeBetween(const RadioImage& before, const RadioImage& after);

}  // namespace halyx
