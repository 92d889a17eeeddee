#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editing/channel_rows.h"
#include "editing/edit_history.h"
#include "image/radio_image.h"
#include "image/tone_table.h"
#include "interchange/interchange_texts.h"
#include "link/exchange.h"
#include "link/frame_link.h"
#include "link/frame_sink.h"
#include "settings/language.h"

namespace halyx::web {

// What a running exchange has told the page since it last asked, in arrival order.
struct LinkEvent {
    std::string type;  // "progress", "title", "finished"
    int number = 0;    // progress position; for "finished" the ExchangeResult
    std::string text;  // title key; for "finished" the key of the result's message
};

// Frames bound for the serial port wait here until the page writes them out.
class OutgoingFrames : public FrameSink {
public:
    void Write(const std::uint8_t* bytes, std::uint16_t length) override {
        pending_.insert(pending_.end(), bytes, bytes + length);
    }
    std::vector<std::uint8_t> Take() { return std::exchange(pending_, {}); }

private:
    std::vector<std::uint8_t> pending_;
};

// Language keys of the write dialog's two titles.
inline constexpr std::string_view kWriteTitleKey = "S0048";
inline constexpr std::string_view kVerifyTitleKey = "S0201";

class EventQueue : public ExchangeObserver {
public:
    void OnProgress(int position) override { events_.push_back({"progress", position, {}}); }
    // The page titles its dialog as the desktop does: the write's own title, then the
    // verify title while the records are read back.
    void OnPhaseChanged(ExchangePhase phase) override {
        const std::string_view key =
            phase == ExchangePhase::ReadingBack ? kVerifyTitleKey : kWriteTitleKey;
        events_.push_back({"title", 0, std::string(key)});
    }
    void OnFinished(ExchangeResult result) override;
    std::vector<LinkEvent> Take() { return std::exchange(events_, {}); }

private:
    std::vector<LinkEvent> events_;
};

// The page's one document: the radio image with its undo history, the active language and the
// link to the radio. Every rule runs in the shared core; this class only routes calls and keeps
// the objects the desktop keeps for the whole run.
class WebSession {
public:
    WebSession();

    // Language files live in the module's in-memory file system, so the desktop's lookup
    // (sections, case-insensitive keys, the 511-byte cut) runs unchanged.
    void InstallLanguageFile(const std::string& name, const std::string& content);
    void UseLanguageFile(const std::string& name);
    std::string LangString(const std::string& key) const;
    std::string TextOr(const std::string& key, const std::string& english) const;
    TextOrLookup Texts() const;
    const ToneTable& tones() const { return tones_; }

    RadioImage& image() { return image_; }
    const RadioImage& image() const { return image_; }
    EditHistory& history() { return history_; }
    // Runs one user action on the image as one undo step; true when a byte changed.
    template <typename Change>
    bool Edit(Change&& change) {
        return EditAsOneStep(history_, image_, std::forward<Change>(change));
    }

    // Image files: bytes in, bytes out, through the desktop's own load and save. An empty
    // message means success; otherwise it is the desktop's file-error text for `name`.
    std::string LoadImage(const std::vector<std::uint8_t>& bytes, const std::string& name);
    std::vector<std::uint8_t> SavedImage() const;
    // Loads bytes as an image file into `into` without touching the document.
    std::string LoadOther(const std::vector<std::uint8_t>& bytes, const std::string& name,
                          RadioImage& into) const;

    // The row clipboard of the page (copy, cut, paste inside the page).
    std::vector<ChannelRow>& clipboard() { return clipboard_; }

    // The link: one exchange at a time, fed received bytes and 10 ms ticks by the page.
    void StartRead();
    void StartWrite();
    void CancelExchange();
    void Receive(const std::vector<std::uint8_t>& bytes);
    void Tick();
    int ArmedTimer() const { return exchange_ ? exchange_->ArmedTimer() : kNoTimer; }
    std::vector<std::uint8_t> TakeOutgoing() { return sink_.Take(); }
    std::vector<LinkEvent> TakeEvents();

private:
    RadioImage image_;
    EditHistory history_;
    Language language_;
    template <typename Lookup>
    std::string Remembered(const std::string& what, Lookup&& lookup) const {
        const std::string id = language_.file().string() + '\n' + what;
        const auto found = texts_.find(id);
        return found != texts_.end() ? found->second : texts_[id] = lookup();
    }

    // The page's language files never change once installed, so each text is looked up once
    // per file; installing a file forgets what was looked up.
    mutable std::map<std::string, std::string> texts_;
    ToneTable tones_;
    std::vector<ChannelRow> clipboard_;
    OutgoingFrames sink_;
    EventQueue events_;
    FrameLink link_{&sink_};
    std::unique_ptr<Exchange> exchange_;
    bool readRunning_ = false;
};

}  // namespace halyx::web
