#include "app/dialogs/read_radio_dialog.h"

#include <QCloseEvent>
#include <QPushButton>

#include "app/app_context.h"
#include "ui/common/shell_texts.h"

namespace halyx {
namespace {

constexpr int kProgressMinimum = 0;

}  // namespace

ReadRadioDialog::ReadRadioDialog(AppContext& context, UiPrompts& prompts,
                                 std::function<void()> afterSuccessfulRead, QWidget* parent)
    : ExchangeDialog(context, prompts, keys::kReadDialogTitle, kProgressMinimum, parent),
      exchange_(context.link, context.image, *this),
      afterSuccessfulRead_(std::move(afterSuccessfulRead)) {
    setObjectName(QStringLiteral("ReadRadioDialog"));
    connect(startButton(), &QPushButton::clicked, this, &ReadRadioDialog::OnStart);
}

void ReadRadioDialog::OnStart() {
    if (!StartExchange(captions::kReadError)) {
        return;
    }
    SetButtonsEnabled(false);
}

void ReadRadioDialog::OnFinished(ExchangeResult result) {
    if (result == ExchangeResult::Success) {
        Record(operationName(), ExchangeResultName(result), &context_.image, nullptr);
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
