#pragma once

#include <functional>
#include <memory>

#include "app/link_port.h"
#include "editing/radio_document.h"
#include "image/radio_image.h"
#include "image/tone_table.h"
#include "image/working_copies.h"
#include "link/exchange_runner.h"
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

struct GuiRadioOperation;
struct OperationRecord;

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

    // The radio image the user works on, with its undo history; every window edits through it.
    RadioDocument document;
    // The header working copy New refreshes before it asks.
    HeaderCopy headerCopy;
    ToneTable toneTable;
    FileLayout layout;  // where the setting, language, default image and log files are
    ProfileFile settingFile;
    // The active language file's texts, read once and again only when the file changes.
    LanguageTexts language{settingFile, layout};

    // Declared before the port, which logs into it.
    TrafficLog trafficLog;
    // The serial line; COMn goes through the setting file's "devices" section first, then the
    // system's port listing.
    SerialPort serialPort;
    // Runs the windows' exchanges, on serialPort unless a test put an in-process radio there.
    ExchangeRunner runner;

    // Name of the image file last opened or saved (the channel sheet shows it).
    std::string imageFileName{"default.kda"};

    // Told of each radio operation a window has recorded (the status bar shows its result).
    std::function<void(const GuiRadioOperation&, const OperationRecord&)> radioOperationRecorded;

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

private:
    AppContext(FileLayout fileLayout, ProfileFile settings);
};

}  // namespace halyx
