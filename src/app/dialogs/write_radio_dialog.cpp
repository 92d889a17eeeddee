#include "app/dialogs/write_radio_dialog.h"

#include <QPushButton>

#include "app/app_context.h"
#include "app/shell_texts.h"

namespace halyx {
namespace {

constexpr int kProgressMinimum = 1;

}  // namespace

WriteRadioDialog::WriteRadioDialog(AppContext& context, UiPrompts& prompts, QWidget* parent,
                                   std::uint16_t verifyPauseTicks)
    : ExchangeDialog(context, prompts, keys::kWriteDialogTitle, kProgressMinimum, parent),
      exchange_(context.link, context.image, *this, verifyPauseTicks) {
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
    switch (result) {
        case ExchangeResult::Success:
        case ExchangeResult::ReadBackDiffers:
            ShowResult(result == ExchangeResult::Success ? keys::kWriteVerified
                                                         : keys::kWriteMismatch);
            setWindowTitle(Text(keys::kWriteDialogTitle));
            SetButtonsEnabled(true);
            reject();
            return;
        case ExchangeResult::LinkFailure:
            SetButtonsEnabled(true);
            ShowResult(keys::kExchangeFailed);
            ClosePortAfterFailure();
            setWindowTitle(Text(keys::kWriteDialogTitle));
            return;
    }
}

}  // namespace halyx
