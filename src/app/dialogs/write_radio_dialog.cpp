#include "app/dialogs/write_radio_dialog.h"

#include <QPushButton>

#include "app/app_context.h"
#include "ui/common/shell_texts.h"

namespace halyx {
namespace {

constexpr int kProgressMinimum = 1;

}  // namespace

WriteRadioDialog::WriteRadioDialog(AppContext& context, UiPrompts& prompts, QWidget* parent,
                                   std::uint16_t verifyPauseTicks)
    : ExchangeDialog(context, prompts, keys::kWriteDialogTitle, kProgressMinimum, parent),
      exchange_(context.runner.link(), context.document.image(), context.runner, verifyPauseTicks) {
    setObjectName(QStringLiteral("WriteRadioDialog"));
    connect(startButton(), &QPushButton::clicked, this, &WriteRadioDialog::OnStart);
}

void WriteRadioDialog::OnStart() {
    if (!StartExchange(captions::kError)) {
        return;
    }
    SetButtonsEnabled(false);
}

void WriteRadioDialog::OnFinished(ExchangeResult result) {
    // The exchange sets the title back to S0048 (and, after a failure, empties the progress bar)
    // once this returns, so the box is shown over the dialog as the exchange left it.
    switch (result) {
        case ExchangeResult::Success:
        case ExchangeResult::ReadBackDiffers:
            Record(operationName(), ExchangeResultName(result), nullptr,
                   &context_.document.image());
            ShowResult(result == ExchangeResult::Success ? keys::kWriteVerified
                                                         : keys::kWriteMismatch);
            SetButtonsEnabled(true);
            reject();
            return;
        case ExchangeResult::LinkFailure:
            Record(operationName(), ExchangeResultName(result), nullptr,
                   &context_.document.image());
            SetButtonsEnabled(true);
            ShowResult(keys::kExchangeFailed);
            ClosePortAfterFailure();
            return;
    }
}

}  // namespace halyx
