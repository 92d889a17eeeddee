#include "app/dialogs/write_radio_dialog.h"

#include <QCheckBox>
#include <QPushButton>

#include "app/app_settings.h"
#include "app/radio_line.h"
#include "app/report_texts.h"
#include "app/slip_texts.h"
#include "editing/radio_document.h"
#include "image/text_arguments.h"
#include "image/write_target.h"
#include "ui/common/dialog_units.h"
#include "ui/common/radio_text.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

constexpr int kWriteProgressMinimum = 1;
// The dialog grows by one line for the read-first check box.
constexpr int kWriteDialogWidthUnits = 200;
constexpr int kWriteDialogHeightUnits = 70;

constexpr std::string_view kWriteSection = "write";
constexpr std::string_view kReadFirstKey = "readFirst";

QString WithArguments(const std::string& text, std::vector<std::string> arguments) {
    return QString::fromStdString(FillArguments(text, arguments));
}

}  // namespace

WriteRadioDialog::WriteRadioDialog(RadioLine& line, RadioDocument& document, AppSettings& settings,
                                   UiPrompts& prompts, QWidget* parent,
                                   std::uint16_t verifyPauseTicks)
    : ExchangeDialog(line, document, settings, prompts, keys::kWriteDialogTitle,
                     kWriteProgressMinimum, parent),
      radio_(document.image()),
      readExchange_(line.runner().link(), radio_, line.runner()),
      toWrite_(document.image()),
      writeExchange_(line.runner().link(), toWrite_, line.runner(), verifyPauseTicks) {
    setObjectName(QStringLiteral("WriteRadioDialog"));
    setFixedSize(DialogSize(kWriteDialogWidthUnits, kWriteDialogHeightUnits));
    readFirst_ = new QCheckBox(QString::fromStdString(SlipText(slip_text::kReadFirst)), this);
    readFirst_->setObjectName(QStringLiteral("readFirst"));
    readFirst_->setFont(startButton()->font());
    PlaceControl(readFirst_, 10, 54, 180, 10);
    readFirst_->setChecked(settings_.settingFile.readInt(kWriteSection, kReadFirstKey, 1) != 0);
    connect(readFirst_, &QCheckBox::toggled, this, [this](bool checked) {
        settings_.settingFile.writeText(kWriteSection, kReadFirstKey, checked ? "1" : "0");
    });
    connect(startButton(), &QPushButton::clicked, this, &WriteRadioDialog::OnStart);
}

Exchange& WriteRadioDialog::exchange() {
    if (reading_) {
        return readExchange_;
    }
    return writeExchange_;
}

std::string WriteRadioDialog::SlipText(const TextKey& text) const {
    return settings_.language.textOr(text.key, text.english);
}

void WriteRadioDialog::OnStart() {
    backupPath_.clear();
    writingBackup_ = false;
    toWrite_ = document_.image();
    readFirstRun_ = readFirst_->isChecked();
    if (!readFirstRun_) {
        StartWrite();
        return;
    }
    // Bytes a radio never sends come from the image about to be written, so the backup opens
    // as a complete image.
    radio_ = toWrite_;
    reading_ = true;
    setWindowTitle(QString::fromStdString(SlipText(slip_text::kReadingFirst)));
    if (!StartExchange(captions::kError)) {
        reading_ = false;
        BackToIdle();
        return;
    }
    SetButtonsEnabled(false);
    readFirst_->setEnabled(false);
}

void WriteRadioDialog::StartWrite() {
    reading_ = false;
    setWindowTitle(Text(keys::kWriteDialogTitle));
    if (!StartExchange(captions::kError)) {
        BackToIdle();
        return;
    }
    SetButtonsEnabled(false);
    readFirst_->setEnabled(false);
}

void WriteRadioDialog::BackToIdle() {
    setWindowTitle(Text(keys::kWriteDialogTitle));
    SetButtonsEnabled(true);
    readFirst_->setEnabled(true);
}

void WriteRadioDialog::OnFinished(ExchangeResult result) {
    if (reading_) {
        AfterRead(result);
    } else {
        AfterWrite(result);
    }
}

void WriteRadioDialog::AfterRead(ExchangeResult result) {
    reading_ = false;
    if (result != ExchangeResult::Success) {
        Record("read", ExchangeResultName(result), nullptr, nullptr);
        BackToIdle();
        prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                        QString::fromStdString(SlipText(slip_text::kReadFirstFailed)));
        ClosePortAfterFailure();
        return;
    }
    const OperationRecord kept = Record("read", ExchangeResultName(result), &radio_, nullptr);
    if (!kept.backupError.empty()) {
        // Without a copy of what the radio held, a write that goes wrong could not be undone.
        BackToIdle();
        prompts_.inform(this, PromptIcon::Stop, QString::fromUtf8(captions::kCps),
                        QString::fromStdString(SlipText(slip_text::kNoBackupNoWrite)));
        return;
    }
    backupPath_ = kept.backupPath;
    const WriteTarget target = CheckWriteTarget(radio_, toWrite_);
    if (!target.bandMatches()) {
        Record(operationName(), kWrongBandResult, nullptr, nullptr);
        BackToIdle();
        prompts_.inform(this, PromptIcon::Stop, QString::fromUtf8(captions::kCps),
                        WithArguments(SlipText(slip_text::kWrongBand),
                                      {std::string(BandName(target.radioBand)),
                                       std::string(BandName(target.imageBand))}));
        return;
    }
    if (target.identityDiffers) {
        // Keeping the radio's own is the default: a serial number belongs to the radio. Cancel
        // writes nothing, the backup just taken stays.
        // The identity fields are GBK bytes and may hold control bytes: shown as the panel shows
        // them.
        const auto shown = [](const std::string& field) {
            return ShownRadioText(field).toStdString();
        };
        const PromptAnswer keep =
            prompts_.ask(this, PromptIcon::Question, QString::fromUtf8(captions::kCps),
                         WithArguments(SlipText(slip_text::kIdentityDiffers),
                                       {shown(target.radioSerial), shown(target.radioUserId),
                                        shown(target.imageSerial), shown(target.imageUserId)}),
                         QString::fromStdString(SlipText(report_text::kKeepRadios)),
                         QString::fromStdString(SlipText(report_text::kWriteImages)));
        if (keep == PromptAnswer::Cancel) {
            BackToIdle();
            return;
        }
        toWrite_ = WithIdentity(
            toWrite_, radio_,
            keep == PromptAnswer::No ? IdentityChoice::WriteImages : IdentityChoice::KeepRadios);
    }
    StartWrite();
}

void WriteRadioDialog::AfterWrite(ExchangeResult result) {
    // The exchange sets the title back to S0048 (and, after a failure, empties the progress bar)
    // once this returns, so the box is shown over the dialog as the exchange left it.
    switch (result) {
        case ExchangeResult::Success:
        case ExchangeResult::ReadBackDiffers:
            Record(operationName(), ExchangeResultName(result), nullptr, &toWrite_);
            if (result == ExchangeResult::Success && !writingBackup_) {
                document_.MarkSaved();
            }
            ShowResult(result == ExchangeResult::Success ? keys::kWriteVerified
                                                         : keys::kWriteMismatch);
            BackToIdle();
            reject();
            return;
        case ExchangeResult::LinkFailure:
            if (writeExchange_.failedPartWritten() && readFirstRun_) {
                AfterPartWrite();
                return;
            }
            // The plain write reports as it always has; the audit line still tells the truth.
            Record(operationName(),
                   writeExchange_.failedPartWritten() ? kPartlyWrittenResult
                                                      : ExchangeResultName(result),
                   nullptr, &toWrite_);
            SetButtonsEnabled(true);
            readFirst_->setEnabled(true);
            ShowResult(keys::kExchangeFailed);
            ClosePortAfterFailure();
            return;
    }
}

void WriteRadioDialog::AfterPartWrite() {
    Record(operationName(), kPartlyWrittenResult, nullptr, &toWrite_);
    SetButtonsEnabled(true);
    readFirst_->setEnabled(true);
    if (backupPath_.empty()) {
        prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                        QString::fromStdString(SlipText(slip_text::kPartlyWrittenNoBackup)));
        ClosePortAfterFailure();
        return;
    }
    // "Not now" and Cancel both leave the radio as it is; the backup stays for later.
    const PromptAnswer answer =
        prompts_.ask(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                     WithArguments(SlipText(slip_text::kPartlyWritten), {backupPath_}),
                     QString::fromStdString(SlipText(report_text::kWriteBackupBack)),
                     QString::fromStdString(SlipText(report_text::kNotNow)));
    // The port is closed either way: a cable put back (or another port) is opened afresh.
    ClosePortAfterFailure();
    if (answer != PromptAnswer::Yes) {
        return;
    }
    // What the radio held before, exactly as it was backed up; its own identity and band.
    toWrite_ = radio_;
    writingBackup_ = true;
    StartWrite();
}

}  // namespace halyx
