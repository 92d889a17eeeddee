#pragma once

#include "settings/file_layout.h"
#include "settings/profile_file.h"
#include "ui/common/language_texts.h"

namespace halyx {

// Where this run's files are and what they say: the layout (setting, language, default image,
// history and log files), the setting file, and the active language file's texts, which follow
// the setting file's language value. Made once by the application (or a test) before any window;
// windows receive the parts they use.
struct AppSettings {
    // This run's layout and its setting file.
    AppSettings();
    // Another layout (tests of the installed layout) with its own setting file.
    explicit AppSettings(FileLayout fileLayout);
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    FileLayout layout;
    ProfileFile settingFile;
    // Declared after the two it reads.
    LanguageTexts language{settingFile, layout};
};

}  // namespace halyx
