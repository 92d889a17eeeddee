#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <filesystem>

#include "app/app_context.h"
#include "app/file_commands.h"
#include "app/fleet_dialog.h"
#include "app/fleet_report_file.h"
#include "app/fleet_texts.h"
#include "app/shell_texts.h"
#include "app/ui_prompts.h"
#include "files/image_file.h"
#include "history/data_folder.h"

namespace halyx {
namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

const TextKey& PhaseText(FleetPhase phase) {
    switch (phase) {
        case FleetPhase::Writing:
            return fleet_text::kWriting;
        case FleetPhase::Verifying:
            return fleet_text::kVerifying;
        default:
            return fleet_text::kReading;
    }
}

const TextKey& ResultText(FleetResult result) {
    switch (result) {
        case FleetResult::Success:
            return fleet_text::kSucceeded;
        case FleetResult::LinkFailure:
            return fleet_text::kLinkFailure;
        case FleetResult::ReadBackDiffers:
            return fleet_text::kReadBackDiffers;
        case FleetResult::PortError:
            return fleet_text::kPortError;
        case FleetResult::BackupError:
            return fleet_text::kBackupFailed;
        case FleetResult::Cancelled:
            break;
    }
    return fleet_text::kStopped;
}

QString SerialText(const FleetRadioReport& report) {
    const QString before = QString::fromStdString(report.serialBefore);
    if (report.serialAfter.empty() || report.serialAfter == report.serialBefore) {
        return before;
    }
    return before + QStringLiteral(" \u2192 ") + QString::fromStdString(report.serialAfter);
}

}  // namespace

bool FleetDialog::isRunning() const {
    // Until the end of the run has been shown and its report saved, not only until the last
    // radio has ended.
    return running_;
}

void FleetDialog::OnStart() {
    if (isRunning()) {
        return;
    }
    // The main window's exchange and a fleet run must never share a line.
    if (context_.afterLinkByte) {
        prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                        Text(fleet_text::kBusy));
        return;
    }
    const std::vector<int> rows = CheckedRows();
    if (rows.empty()) {
        prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                        Text(fleet_text::kNoPortChosen));
        return;
    }
    std::optional<RadioImage> image = ChosenImage();
    if (!image) {
        return;
    }
    std::optional<std::vector<RadioOverrides>> overrides = ChosenOverrides(rows);
    if (!overrides) {
        return;
    }

    // The main window's own port may be one of the fleet's; it is closed for the run, and the
    // next read or write opens it again as it does after any failure.
    if (context_.portOpen) {
        CloseLinkPort(context_);
    }
    FleetRun::Setup setup;
    setup.image = *image;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FleetPortChoice& port = ports_[static_cast<std::size_t>(rows[i])];
        setup.radios.push_back({port.name, port.devicePath, (*overrides)[i]});
    }
    setup.openPort = openPort_;
    setup.dataFolder = HalyxDataFolder();
    setup.verifyPauseTicks = verifyPauseTicks_;
    runRows_ = rows;
    runReportPath_ = ReportPathFor();
    savedReport_.clear();
    summary_->clear();
    for (int row = 0; row < table_->rowCount(); ++row) {
        static_cast<QProgressBar*>(table_->cellWidget(row, kProgressColumn))->setValue(0);
        table_->item(row, kSerialColumn)->setText({});
        table_->item(row, kResultColumn)->setText({});
        table_->item(row, kResultColumn)->setToolTip({});
    }
    run_.reset();
    run_ = std::make_unique<FleetRun>(
        std::move(setup), [this] { ShowProgress(); }, [this] { AfterRun(); });
    running_ = true;
    SetRunning(true);
    run_->Start();
}

void FleetDialog::OnStop() {
    if (run_ != nullptr && run_->IsRunning()) {
        run_->Stop();
    }
}

std::optional<RadioImage> FleetDialog::ChosenImage() {
    if (currentImage_->isChecked()) {
        return context_.image;
    }
    RadioImage image;
    FileResult result = LoadImageFile(ToPath(imagePath_->text()), image);
    if (!result.ok()) {
        result.path = imagePath_->text().toStdString();
        FileCommands::ReportFileError(prompts_, this, result);
        return std::nullopt;
    }
    return image;
}

std::optional<std::vector<RadioOverrides>> FleetDialog::ChosenOverrides(
    const std::vector<int>& rows) {
    if (overridesPath_->text().isEmpty()) {
        return std::vector<RadioOverrides>(rows.size());
    }
    prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                    Text(fleet_text::kOverridesRefused));
    return std::nullopt;
}

QString FleetDialog::ReportPathFor() const {
    if (!reportPath_->text().isEmpty()) {
        return reportPath_->text();
    }
    const QDir folder = imageFile_->isChecked() ? QFileInfo(imagePath_->text()).absoluteDir()
                                                : QDir::current();
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return folder.filePath(QStringLiteral("fleet-report-%1.json").arg(stamp));
}

void FleetDialog::ShowProgress() {
    for (std::size_t i = 0; i < runRows_.size(); ++i) {
        const int row = runRows_[i];
        const FleetRadio& radio = run_->engine().radio(i);
        // A radio that failed keeps its bar where it stopped: how far it got is worth seeing.
        if (!radio.done() || radio.report().result == FleetResult::Success) {
            static_cast<QProgressBar*>(table_->cellWidget(row, kProgressColumn))
                ->setValue(radio.progress());
        }
        table_->item(row, kSerialColumn)->setText(SerialText(radio.report()));
        QTableWidgetItem* result = table_->item(row, kResultColumn);
        if (radio.done()) {
            result->setText(Text(ResultText(radio.report().result)));
            result->setToolTip(QString::fromStdString(radio.report().message));
        } else if (radio.phase() != FleetPhase::Waiting) {
            result->setText(Text(PhaseText(radio.phase())));
        }
    }
}

void FleetDialog::AfterRun() {
    running_ = false;
    ShowProgress();
    SetRunning(false);
    const std::vector<FleetRadioReport> reports = run_->engine().Reports();
    const auto succeeded = std::count_if(reports.begin(), reports.end(), [](const auto& r) {
        return r.result == FleetResult::Success;
    });
    QString summary = Text(fleet_text::kSummary)
                          .arg(static_cast<qlonglong>(succeeded))
                          .arg(static_cast<qlonglong>(reports.size()));
    const FileResult saved = SaveFleetReportFile(ToPath(runReportPath_), reports);
    if (saved.ok()) {
        savedReport_ = runReportPath_;
        summary += QLatin1Char(' ') + Text(fleet_text::kReportSaved).arg(savedReport_);
    }
    summary_->setText(summary);
    if (!saved.ok()) {
        FileResult shown = saved;
        shown.path = runReportPath_.toStdString();
        FileCommands::ReportFileError(prompts_, this, shown);
    }
}

}  // namespace halyx
