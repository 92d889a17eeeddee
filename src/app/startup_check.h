#pragma once

#include <QStringList>
#include <ostream>

#include "ui/common/ui_prompts.h"

namespace halyx {

class CHalyxApp;

// `halyx --startup-check`: start up as usual, show nothing, say what start-up would have shown,
// quit. It lets an installation be checked headless, where a message box would wait forever.
inline constexpr const char* kStartupCheckOption = "--startup-check";

// Exit statuses of the check.
inline constexpr int kStartupCheckPassed = 0;
inline constexpr int kStartupCheckFailed = 1;     // start-up itself failed
inline constexpr int kStartupCheckFileError = 2;  // a file-error box would have been shown

// Takes the place of the real dialogs: each message is kept and answered as if dismissed (OK,
// or No to a question); file and print dialogs are cancelled.
class SilentPrompts : public UiPrompts {
public:
    PromptAnswer message(QWidget* parent, PromptIcon icon, const QString& caption,
                         const QString& text, PromptButtons buttons) override;
    std::optional<QString> openFile(QWidget* parent, const FileDialogSpec& spec) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogSpec& spec) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;

    const QStringList& messages() const { return messages_; }

private:
    QStringList messages_;  // "caption: text"
};

// Writes one "message: ..." line per kept message and a "default image: PATH (N bytes)" line,
// and returns the exit status.
int ReportStartupCheck(const CHalyxApp& app, const SilentPrompts& prompts, std::ostream& out);

}  // namespace halyx
