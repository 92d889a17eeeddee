#include "app/dialogs/exchange_dialog.h"

#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "app/fleet_texts.h"
#include "app/radio_line.h"
#include "ui/common/dialog_units.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_font.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

constexpr int kExchangeWidthUnits = 200;
constexpr int kExchangeHeightUnits = 58;
constexpr int kProgressMaximum = 20;

}  // namespace

ExchangeDialog::ExchangeDialog(RadioLine& line, RadioDocument& document, AppSettings& settings,
                               UiPrompts& prompts, std::string_view titleKey, int progressMinimum,
                               QWidget* parent)
    : QDialog(parent), line_(line), document_(document), settings_(settings), prompts_(prompts) {
    setFixedSize(DialogSize(kExchangeWidthUnits, kExchangeHeightUnits));

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QString::number(ctrl::kProgress));
    progress_->setRange(progressMinimum, kProgressMaximum);
    progress_->setValue(progressMinimum);
    progress_->setTextVisible(false);
    PlaceControl(progress_, 10, 10, 180, 12);

    start_ = new QPushButton(Text(keys::kOkButton), this);
    start_->setObjectName(QString::number(ctrl::kOk));
    PlaceControl(start_, 40, 34, 50, 14);

    close_ = new QPushButton(Text(keys::kCancelButton), this);
    close_->setObjectName(QString::number(ctrl::kCancel));
    PlaceControl(close_, 110, 34, 50, 14);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    setWindowTitle(Text(titleKey));
    ApplyUiFont(this);
    setTabOrder(start_, close_);
    start_->setFocus();
}

ExchangeDialog::~ExchangeDialog() {
    // The exchange belongs to the derived dialog and is gone by now.
    line_.runner().Forget(mine_);
}

QString ExchangeDialog::Text(std::string_view key) const {
    return QString::fromStdString(settings_.language.text(key));
}

bool ExchangeDialog::StartExchange(std::string_view portErrorCaption) {
    startedAt_ = std::chrono::steady_clock::now();
    if (!line_.IsOpen() && !line_.Open()) {
        Record(operationName(), "port-error", nullptr, nullptr);
        prompts_.informWithDetail(
            this, PromptIcon::Stop, QString::fromUtf8(portErrorCaption),
            Text(keys::kPortOpenFailed),
            QString::fromStdString(line_.OpenFailureDetail(settings_.language)));
        return false;
    }
    ExchangeRunner& runner = line_.runner();
    mine_ = &exchange();
    if (!listening_) {
        listening_ = true;
        connect(&runner, &ExchangeRunner::progressChanged, this, &ExchangeDialog::OnProgress);
        connect(&runner, &ExchangeRunner::phaseChanged, this, &ExchangeDialog::OnPhaseChanged);
        connect(&runner, &ExchangeRunner::timerChanged, this, &ExchangeDialog::OnTimerChanged);
        connect(&runner, &ExchangeRunner::finished, this, &ExchangeDialog::OnFinished);
        connect(&runner, &ExchangeRunner::started, this, &ExchangeDialog::OnRunnerStarted);
    }
    runner.Start(exchange());
    return true;
}

void ExchangeDialog::OnTimer() {
    if (HoldsRunner() && armedTimer_ != kNoTimer) {
        line_.runner().Tick();
    }
}

bool ExchangeDialog::isTimerActive() const {
    return HoldsRunner() && line_.runner().isTimerActive();
}

bool ExchangeDialog::HoldsRunner() const {
    return mine_ != nullptr && line_.runner().held() == mine_;
}

void ExchangeDialog::OnRunnerStarted(const Exchange* started) {
    if (started != mine_) {
        listening_ = false;
        disconnect(&line_.runner(), nullptr, this, nullptr);
    }
}

OperationRecord ExchangeDialog::Record(std::string_view operation, std::string_view result,
                                       const RadioImage* imageRead,
                                       const RadioImage* imageWritten) {
    GuiRadioOperation op;
    op.operation = operation;
    op.result = result;
    op.imageRead = imageRead;
    op.imageWritten = imageWritten;
    op.durationMs = MillisecondsSince(startedAt_);
    const OperationRecord record = RecordGuiOperation(settings_.layout, settings_.settingFile, op);
    emit operationRecorded(op, record);
    // A failed audit line is not worth a box after every exchange; a failed backup is: the user
    // may be about to change a radio whose old configuration is not kept.
    if (!record.backupError.empty()) {
        prompts_.informWithDetail(
            this, PromptIcon::Stop, QString::fromUtf8(captions::kFileError),
            QString::fromStdString(settings_.language.textOr(fleet_text::kBackupFailed.key,
                                                             fleet_text::kBackupFailed.english)),
            QString::fromStdString(record.backupError));
    }
    return record;
}

void ExchangeDialog::SetButtonsEnabled(bool enabled) {
    start_->setEnabled(enabled);
    close_->setEnabled(enabled);
    if (enabled) {
        start_->setFocus();
    }
}

void ExchangeDialog::ShowResult(std::string_view key) {
    // A radio that did not answer is often a port this user may not use or another program holds.
    const std::string cause =
        key == keys::kExchangeFailed ? line_.LikelyCauseLine(settings_.language) : "";
    if (!cause.empty()) {
        prompts_.informWithDetail(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                                  Text(key), QString::fromStdString(cause));
        return;
    }
    prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps), Text(key));
}

void ExchangeDialog::ClosePortAfterFailure() {
    line_.Close();
}

void ExchangeDialog::OnProgress(int position) {
    // Positions run one past the range's end (record block 21); the bar then simply stays full.
    progress_->setValue(std::clamp(position, progress_->minimum(), progress_->maximum()));
    progress_->setAccessibleDescription(QString::number(progress_->value()));
}

void ExchangeDialog::OnPhaseChanged(ExchangePhase phase) {
    setWindowTitle(
        Text(phase == ExchangePhase::ReadingBack ? keys::kVerifyTitle : keys::kWriteDialogTitle));
}

void ExchangeDialog::OnTimerChanged(int timerId) {
    armedTimer_ = timerId;
}

void ExchangeDialog::StopListening() {
    armedTimer_ = kNoTimer;
    if (HoldsRunner()) {
        line_.runner().Release();
    }
}

void ExchangeDialog::done(int result) {
    if (HoldsRunner() && exchange().IsRunning()) {
        StopListening();
        Record(operationName(), "cancelled", nullptr, nullptr);
    }
    StopListening();
    QDialog::done(result);
}

}  // namespace halyx
