#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace halyx {

enum class PromptIcon { None, Information, Exclamation, Question, Stop };
// SaveDiscardCancel is the question asked before unsaved edits would be set aside; a box closed
// without an answer is Cancel.
enum class PromptButtons { Ok, YesNo, SaveDiscardCancel };
enum class PromptAnswer { Ok, Yes, No, Save, Discard, Cancel };

// How a file dialog is set up. `description` and `pattern` are the one filter entry.
struct FileDialogSpec {
    QString description;
    QString pattern;
    QString initialName;
    QString defaultSuffix;
    // The folder the dialog opens in; Qt's choice (the last one used) when empty.
    QString folder = {};
    // Further filter entries after the first, each in Qt's "description (*.ext)" form.
    QStringList otherFilters = {};
};

// The dialog that opens an image file: "data File(*.kda)".
FileDialogSpec ImageFileDialog();

// Every message box, file dialog and print dialog of the shell goes through this interface, so
// that the windows can be driven headless: tests substitute a recorder that answers at once.
class UiPrompts {
public:
    virtual ~UiPrompts() = default;

    virtual PromptAnswer message(QWidget* parent, PromptIcon icon, const QString& caption,
                                 const QString& text, PromptButtons buttons) = 0;
    // An OK box whose main text stays `text` and whose `detail` (a port failure's cause) is shown
    // beneath it. Without a detail this is inform().
    virtual void informWithDetail(QWidget* parent, PromptIcon icon, const QString& caption,
                                  const QString& text, const QString& detail) {
        static_cast<void>(detail);
        inform(parent, icon, caption, text);
    }
    // A question whose two answers are buttons that say what they do, with Cancel beside them:
    // Yes for the first, No for the second, Cancel (Esc too) for Cancel. Without buttons of its
    // own a face asks it as a Yes/No question.
    virtual PromptAnswer ask(QWidget* parent, PromptIcon icon, const QString& caption,
                             const QString& text, const QString& yesText, const QString& noText) {
        static_cast<void>(yesText);
        static_cast<void>(noText);
        return message(parent, icon, caption, text, PromptButtons::YesNo);
    }
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    // Lets the user pick and set up a printer; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Shows what `paint` draws as a print preview from which the user may print. Without a
    // preview (headless faces) it asks for a printer and prints at once.
    virtual void previewAndPrint(QWidget* parent, QPrinter& printer,
                                 const std::function<void(QPrinter&)>& paint) {
        if (choosePrinter(parent, printer)) {
            paint(printer);
        }
    }

    // Shorthand for a box with only an OK button.
    void inform(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text) {
        message(parent, icon, caption, text, PromptButtons::Ok);
    }
};

// The real dialogs: QMessageBox, QFileDialog and QPrintDialog.
class QtUiPrompts : public UiPrompts {
public:
    PromptAnswer message(QWidget* parent, PromptIcon icon, const QString& caption,
                         const QString& text, PromptButtons buttons) override;
    void informWithDetail(QWidget* parent, PromptIcon icon, const QString& caption,
                          const QString& text, const QString& detail) override;
    PromptAnswer ask(QWidget* parent, PromptIcon icon, const QString& caption, const QString& text,
                     const QString& yesText, const QString& noText) override;
    std::optional<QString> openFile(QWidget* parent, const FileDialogSpec& spec) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogSpec& spec) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void previewAndPrint(QWidget* parent, QPrinter& printer,
                         const std::function<void(QPrinter&)>& paint) override;
};

// The filter string Qt's file dialogs take for one entry: "description (patterns)", where the
// ';'-separated pattern list becomes Qt's space-separated one. A description that already ends
// in its own parenthesised pattern (as "data File(*.kda)" does) is used as it is.
QString QtFileFilter(const FileDialogSpec& spec);

}  // namespace halyx
