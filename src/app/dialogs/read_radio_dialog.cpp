#include "app/dialogs/read_radio_dialog.h"

#include <QCloseEvent>
#include <QPushButton>

#include "app/app_settings.h"
#include "app/radio_line.h"
#include "editing/radio_document.h"
#include "ui/common/shell_texts.h"

namespace halyx {
namespace {

constexpr int kReadProgressMinimum = 0;

}  // namespace

ReadRadioDialog::ReadRadioDialog(RadioLine& line, RadioDocument& document, AppSettings& settings,
                                 UiPrompts& prompts, std::function<void()> afterSuccessfulRead,
                                 QWidget* parent)
    : ExchangeDialog(line, document, settings, prompts, keys::kReadDialogTitle,
                     kReadProgressMinimum, parent),
      received_(document.image()),
      exchange_(line.runner().link(), received_, line.runner()),
      afterSuccessfulRead_(std::move(afterSuccessfulRead)) {
    setObjectName(QStringLiteral("ReadRadioDialog"));
    connect(startButton(), &QPushButton::clicked, this, &ReadRadioDialog::OnStart);
}

void ReadRadioDialog::OnStart() {
    // Bytes the radio does not send (between the header and the records, after them) keep what
    // the image holds now.
    received_ = document_.image();
    if (!StartExchange(captions::kReadError)) {
        return;
    }
    SetButtonsEnabled(false);
}

void ReadRadioDialog::OnFinished(ExchangeResult result) {
    if (result == ExchangeResult::Success) {
        // Nothing on disk holds what the radio had: the document counts as changed.
        document_.Replace(received_, ReplaceAs::Unsaved);
        Record(operationName(), ExchangeResultName(result), &received_, nullptr);
        ShowResult(keys::kReadDone);
        SetButtonsEnabled(true);
        if (afterSuccessfulRead_) {
            afterSuccessfulRead_();
        }
        reject();
        return;
    }
    // The exchange empties the progress bar once the box has been acknowledged.
    SetButtonsEnabled(true);
    Record(operationName(), ExchangeResultName(result), nullptr, nullptr);
    ShowResult(keys::kExchangeFailed);
    ClosePortAfterFailure();
}

void ReadRadioDialog::closeEvent(QCloseEvent* event) {
    // The close box is out of action while a read runs; Esc is the way to abandon one.
    if (exchange_.IsRunning()) {
        event->ignore();
        return;
    }
    ExchangeDialog::closeEvent(event);
}

}  // namespace halyx
