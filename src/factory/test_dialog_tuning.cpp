#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <optional>

#include "editing/radio_document.h"
#include "factory/test_dialog.h"
#include "factory/tuning_slider.h"
#include "factory/tuning_value_file.h"
#include "link/commands.h"
#include "link/exchange_runner.h"
#include "link/link_port.h"
#include "link/tuning_data.h"
#include "settings/file_layout.h"
#include "settings/profile_file.h"
#include "ui/common/file_paths.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

FileDialogSpec TuningFileDialog() {
    return FileDialogSpec{.description = QString::fromLatin1(tuning_file::kFilterDescription),
                          .pattern = QString::fromLatin1(tuning_file::kFilterPattern),
                          .initialName = QString::fromLatin1(tuning_file::kDefaultName),
                          .defaultSuffix = QString::fromLatin1(tuning_file::kExtension)};
}

}  // namespace

void TestDialog::SendChange(int row, int position) {
    const auto value = static_cast<std::uint8_t>(std::clamp(position, 0, 255));
    // The band is looked up at each change: the image may have been reloaded meanwhile.
    if (!SendTestPointChange(bench_.runner.link(), bench_.point, row, value,
                             IsUpperBand(bench_.document.image()))) {
        return;
    }
    valueLabel(row)->setText(QString::number(value));
}

std::array<std::uint8_t, kTestPointRows> TestDialog::SliderPositions() const {
    std::array<std::uint8_t, kTestPointRows> positions{};
    for (int row = 1; row <= kTestPointRows; ++row) {
        positions[static_cast<std::size_t>(row - 1)] =
            static_cast<std::uint8_t>(slider(row)->value());
    }
    return positions;
}

void TestDialog::ShowValuesFromTable() {
    for (int row = 1; row <= kTestPointRows; ++row) {
        const int value = bench_.values.value(row);
        slider(row)->setValue(value);
        valueLabel(row)->setText(QString::number(value));
    }
}

void TestDialog::SetExchangeButtonsEnabled(bool enabled) {
    read_->setEnabled(enabled);
    write_->setEnabled(enabled);
}

void TestDialog::ShowResult(std::string_view key) {
    prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps), Text(key));
}

void TestDialog::StartExchange(Exchange& exchange) {
    SetExchangeButtonsEnabled(false);
    running_ = &exchange;
    runningSince_ = std::chrono::steady_clock::now();
    bench_.runner.Start(exchange);
}

void TestDialog::OnReadValues() {
    StartExchange(readExchange_);
}

void TestDialog::OnWriteValues() {
    bench_.values = BuildTestValues(SliderPositions(), IsUpperBand(bench_.document.image()));
    StartExchange(writeExchange_);
}

void TestDialog::OnTimer() {
    if (running_ != nullptr && armedTimer_ != kNoTimer) {
        bench_.runner.Tick();
    }
}

void TestDialog::OnProgress(int position) {
    // A failure sets 0, below the bar's range: the bar is then emptied.
    if (position < progress_->minimum()) {
        progress_->reset();
    } else {
        progress_->setValue(std::min(position, progress_->maximum()));
    }
    progress_->setAccessibleDescription(QString::number(std::max(progress_->value(), 0)));
}

void TestDialog::OnPhaseChanged(ExchangePhase phase) {
    // The check's title stays after the write has ended, until the dialog closes.
    setWindowTitle(
        Text(phase == ExchangePhase::ReadingBack ? keys::kVerifyTitle : keys::kWriteDialogTitle));
}

void TestDialog::OnTimerChanged(int timerId) {
    armedTimer_ = timerId;
}

void TestDialog::RecordTuning(std::string_view result) {
    const bool reading = running_ == &readExchange_;
    GuiRadioOperation op;
    op.operation = reading ? "tuning read" : "tuning write";
    op.result = result;
    // The tuning write sends the image's settings and records after the values.
    op.imageWritten = reading ? nullptr : &bench_.document.image();
    op.durationMs = MillisecondsSince(runningSince_);
    op.portNumber = ChosenPortNumber();
    // The tuning values are not an image: there is nothing to back up, only the line to keep.
    RecordGuiOperation(bench_.layout, bench_.settingFile, op);
}

void TestDialog::OnFinished(ExchangeResult result) {
    RecordTuning(ExchangeResultName(result));
    const bool reading = running_ == &readExchange_;
    running_ = nullptr;
    SetExchangeButtonsEnabled(true);
    switch (result) {
        case ExchangeResult::Success:
            if (reading) {
                ShowValuesFromTable();
                ShowResult(keys::kReadDone);
            } else {
                ShowResult(keys::kWriteVerified);
            }
            return;
        case ExchangeResult::ReadBackDiffers:
            ShowResult(keys::kWriteMismatch);
            return;
        case ExchangeResult::LinkFailure:
            if (reading) {
                // A read that got no answer leaves the port open for another try.
                ShowResult(keys::kExchangeFailed);
            } else {
                RunFailureRoutine();
            }
            return;
    }
}

void TestDialog::RunFailureRoutine() {
    // The exchange empties the progress bar and logs the time-out line once this returns, after
    // the box. Button 1028 and the lists stay as they are; with the flag clear, 1028 opens the
    // port again.
    ShowResult(keys::kExchangeFailed);
    bench_.runner.port()->Close();
    holdsPort_ = false;
}

void TestDialog::ReportFileError(const FileResult& result) {
    prompts_.inform(this, PromptIcon::Stop, QString::fromUtf8(captions::kFileError),
                    QString::fromStdString(FileErrorText(result)));
}

void TestDialog::OnSaveFile() {
    const std::optional<QString> path = prompts_.saveFile(this, TuningFileDialog());
    if (!path) {
        return;
    }
    bench_.values = BuildTestValues(SliderPositions(), IsUpperBand(bench_.document.image()));
    FileResult result = SaveTuningValueFile(ToPath(*path), bench_.values);
    if (!result.ok()) {
        result.path = path->toStdString();
        ReportFileError(result);
    }
}

void TestDialog::OnLoadFile() {
    const std::optional<QString> path = prompts_.openFile(this, TuningFileDialog());
    if (!path) {
        return;
    }
    FileResult result = LoadTuningValueFile(ToPath(*path), bench_.values);
    if (!result.ok()) {
        result.path = path->toStdString();
        ReportFileError(result);
        return;
    }
    SetExchangeButtonsEnabled(true);
    ShowValuesFromTable();
}

}  // namespace halyx
