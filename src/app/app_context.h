#pragma once

#include <functional>
#include <memory>

#include "app/link_port.h"
#include "editing/edit_history.h"
#include "image/radio_image.h"
#include "image/tone_table.h"
#include "image/working_copies.h"
#include "link/frame_link.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"
#include "link/tuning_data.h"
#include "settings/file_layout.h"
#include "settings/language.h"
#include "settings/profile_file.h"
#include "settings/setting_file.h"
#include "ui/common/language_texts.h"

namespace halyx {

class SerialLinkPort;

// The objects that live for the whole run, shared by every window. Created once by the
// application object (or a test) and handed to the windows by reference; everything here is
// used on the user-interface thread only.
struct AppContext {
    // Takes this run's layout and its setting file.
    AppContext();
    // This run's layout with another setting file.
    explicit AppContext(ProfileFile settings);
    // Another layout (tests of the installed layout) with its own setting file.
    explicit AppContext(FileLayout fileLayout);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    RadioImage image;
    HeaderCopy headerCopy;
    RecordCopy recordCopy;
    // Undo and redo of the main form's edits; New, Open and a radio read start it anew.
    EditHistory history;
    ToneTable toneTable;
    FileLayout layout;  // where the setting, language, default image and log files are
    ProfileFile settingFile;
    // The active language file's texts, read once and again only when the file changes.
    LanguageTexts language{settingFile, layout};

    // Declared before the port and the link, which log into it.
    TrafficLog trafficLog;
    SerialPort serialPort;
    FrameLink link;

    // Whether the link port is open; windows open it only while this is clear.
    bool portOpen = false;
    // The port the windows open and close: the serial port engine unless a test put an
    // in-process radio in its place (with link.SetSink pointing at the same radio).
    LinkPort* port = nullptr;

    // The running exchange's reaction to a received byte (set while an exchange dialog runs),
    // called after the byte has gone into the reply buffer.
    std::function<void()> afterLinkByte;

    // Name of the image file last opened or saved (the channel sheet shows it).
    std::string imageFileName{"default.kda"};

    // The factory dialog's live tuning values.
    TestValues testValues;
    TestPoint testPoint;

    // The language value start-up, the built-in texts and the test dialog go by.
    std::string languageValue() const { return language.languageValue(); }

    // Text of a language key, as UTF-8.
    std::string text(std::string_view key) const { return language.text(key); }
    // Text of a key added after the original range, with its built-in English text as fallback.
    std::string textOr(std::string_view key, std::string_view builtinEnglish) const {
        return language.textOr(key, builtinEnglish);
    }

    // The serial port engine's adapter; its owner receives the bytes (the main window).
    SerialLinkPort& serialLinkPort() { return *serialLinkPort_; }

private:
    AppContext(FileLayout fileLayout, ProfileFile settings);

    std::unique_ptr<SerialLinkPort> serialLinkPort_;
};

// LinkPort on the SerialPort engine: opens COMn with the link's line settings and starts the
// worker, handing each byte to `owner`. COMn is resolved through the setting file's "devices"
// section first, then the system's port listing.
class SerialLinkPort : public LinkPort {
public:
    SerialLinkPort(SerialPort& port, const ProfileFile& settingFile);

    void SetOwner(SerialByteReceiver* owner) { owner_ = owner; }
    bool Open(int portNumber) override;
    bool OpenAtBaud(int portNumber, std::uint32_t baudRate) override;
    void Close() override;
    PortOpenFailure LastOpenFailure() const override { return port_.LastOpenFailure(); }

private:
    SerialPort& port_;
    const ProfileFile& settingFile_;
    SerialByteReceiver* owner_ = nullptr;
};

}  // namespace halyx
