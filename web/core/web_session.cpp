#include "web/core/web_session.h"

#include <filesystem>
#include <string_view>

#include "files/image_file.h"
#include "files/raw_file.h"
#include "link/radio_read_exchange.h"
#include "link/radio_write_exchange.h"
#include "ui/common/shell_texts.h"

namespace halyx::web {
namespace {

// The module's in-memory file system: language files and image files pass through it so the
// desktop's readers and writers do the work.
const std::filesystem::path kLanguageFolder = "/halyx/lang";
const std::filesystem::path kFileFolder = "/halyx/files";
const std::filesystem::path kLoadedFile = kFileFolder / "loaded.kda";
const std::filesystem::path kSavedFile = kFileFolder / "saved.kda";

std::string_view ResultKey(ExchangeResult result) {
    switch (result) {
        case ExchangeResult::Success:
            return {};  // read and write succeed with different texts; see OnFinished
        case ExchangeResult::ReadBackDiffers:
            return keys::kWriteMismatch;
        case ExchangeResult::LinkFailure:
            break;
    }
    return keys::kExchangeFailed;
}

std::string LoadInto(const std::vector<std::uint8_t>& bytes, const std::string& name,
                     RadioImage& image) {
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    FileResult written = WriteFileAtomically(kLoadedFile, content);
    if (!written.ok()) {
        written.path = name;
        return FileErrorText(written);
    }
    FileResult loaded = LoadImageFile(kLoadedFile, image);
    std::filesystem::remove(kLoadedFile);
    if (loaded.cause == FileErrorCause::TooLarge) {
        return "-";  // refused without a message, as the desktop does
    }
    if (!loaded.ok()) {
        loaded.path = name;
        return FileErrorText(loaded);
    }
    return {};
}

}  // namespace

void EventQueue::OnFinished(ExchangeResult result) {
    events_.push_back({"finished", static_cast<int>(result), std::string(ResultKey(result))});
}

WebSession::WebSession() {
    std::filesystem::create_directories(kLanguageFolder);
    std::filesystem::create_directories(kFileFolder);
    BuildToneTable(tones_, "");
}

void WebSession::InstallLanguageFile(const std::string& name, const std::string& content) {
    WriteFileAtomically(kLanguageFolder / name, content);
    texts_.clear();
}

std::string WebSession::LangString(const std::string& key) const {
    return Remembered(key, [&] { return language_.LangString(key); });
}

std::string WebSession::TextOr(const std::string& key, const std::string& english) const {
    return Remembered(key + '\n' + english, [&] { return language_.TextOr(key, english); });
}

void WebSession::UseLanguageFile(const std::string& name) {
    language_.setFile(kLanguageFolder / name);
    // The tone table's first entry is a language text, so it follows every switch.
    BuildToneTable(tones_, LangString("S0103"));
}

TextOrLookup WebSession::Texts() const {
    return [this](const TextKey& key) {
        return TextOr(std::string(key.key), std::string(key.english));
    };
}

std::string WebSession::LoadImage(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    RadioImage loaded = image_;
    std::string message = LoadInto(bytes, name, loaded);
    if (message.empty()) {
        image_ = loaded;
        history_.Clear();
    }
    return message;
}

std::string WebSession::LoadOther(const std::vector<std::uint8_t>& bytes, const std::string& name,
                                  RadioImage& into) const {
    return LoadInto(bytes, name, into);
}

std::vector<std::uint8_t> WebSession::SavedImage() const {
    if (!SaveImageFile(kSavedFile, image_).ok()) {
        return {};
    }
    ReadResult read = ReadSmallFile(kSavedFile, kImageSize);
    std::filesystem::remove(kSavedFile);
    return read.bytes;
}

void WebSession::StartRead() {
    exchange_ = std::make_unique<RadioReadExchange>(link_, image_, events_);
    readRunning_ = true;
    exchange_->Start();
}

void WebSession::StartWrite() {
    exchange_ = std::make_unique<RadioWriteExchange>(link_, image_, events_);
    readRunning_ = false;
    exchange_->Start();
}

void WebSession::CancelExchange() {
    if (exchange_) {
        exchange_->Cancel();
    }
}

void WebSession::Receive(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t byte : bytes) {
        link_.OnByteReceived(byte);
        // Acting on an answer as soon as it is complete keeps a read near the line's own speed.
        if (exchange_ && exchange_->IsRunning()) {
            exchange_->Poll();
        }
    }
}

void WebSession::Tick() {
    if (exchange_ && exchange_->IsRunning()) {
        exchange_->Tick();
    }
}

std::vector<LinkEvent> WebSession::TakeEvents() {
    std::vector<LinkEvent> events = events_.Take();
    for (LinkEvent& event : events) {
        if (event.type != "finished" || event.number != static_cast<int>(ExchangeResult::Success)) {
            continue;
        }
        event.text = std::string(readRunning_ ? keys::kReadDone : keys::kWriteVerified);
        if (readRunning_) {
            history_.Clear();  // the radio's memory replaced the image as a whole
        }
    }
    return events;
}

}  // namespace halyx::web
