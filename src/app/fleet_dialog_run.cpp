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
#include "app/fleet_texts.h"
#include "app/radio_history.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "fleet/fleet_report_json.h"
#include "settings/setting_file.h"
#include "ui/common/file_paths.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

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
    if (context_.runner.IsBusy()) {
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
    std::optional<ChosenOverridesResult> overrides = ChosenOverrides(rows);
    if (!overrides) {
        return;
    }

    // The main window's own port may be one of the fleet's; it is closed for the run, and the
    // next read or write opens it again as it does after any failure.
    if (LinkPortOpen(context_)) {
        CloseLinkPort(context_);
    }
    FleetSession::Setup setup;
    setup.image = *image;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FleetPortChoice& port = ports_[static_cast<std::size_t>(rows[i])];
        setup.radios.push_back({port.name, port.devicePath, overrides->perRadio[i]});
    }
    setup.serialRows = std::move(overrides->serialRows);
    setup.openPort = openPort_;
    setup.places = HistoryPlacesOf(context_);
    setup.verifyPauseTicks = verifyPauseTicks_;
    setup.program = "halyx";
    setup.operation = "fleet write";
    runRows_ = rows;
    runReportPath_ = ReportPathFor();
    runImagePath_ = imageFile_->isChecked() ? imagePath_->text() : QString();
    runOverridesPath_ = overridesPath_->text();
    savedReport_.clear();
    summary_->clear();
    for (int row = 0; row < table_->rowCount(); ++row) {
        static_cast<QProgressBar*>(table_->cellWidget(row, kProgressColumn))->setValue(0);
        table_->item(row, kSerialColumn)->setText({});
        table_->item(row, kResultColumn)->setText({});
        table_->item(row, kResultColumn)->setToolTip({});
    }
    run_.reset();
    run_ = std::make_unique<FleetSession>(std::move(setup));
    running_ = true;
    SetRunning(true);
    run_->Start([this] { ShowProgress(); }, [this] { AfterRun(); });
}

void FleetDialog::OnStop() {
    if (run_ != nullptr && run_->IsRunning()) {
        run_->Stop();
    }
}

std::optional<RadioImage> FleetDialog::ChosenImage() {
    if (currentImage_->isChecked()) {
        return context_.document.image();
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

std::optional<FleetDialog::ChosenOverridesResult> FleetDialog::ChosenOverrides(
    const std::vector<int>& rows) {
    ChosenOverridesResult chosen;
    chosen.perRadio.resize(rows.size());
    const QString path = overridesPath_->text();
    if (path.isEmpty()) {
        return chosen;
    }
    const ReadResult read = ReadSmallFile(ToPath(path), kTextFileLimit);
    if (!read.result.ok()) {
        FileResult shown = read.result;
        shown.path = path.toStdString();
        FileCommands::ReportFileError(prompts_, this, shown);
        return std::nullopt;
    }
    // Every bad row and value is shown at once, before a byte goes to any radio.
    const auto refuse = [this](const std::vector<OverridesProblem>& problems) {
        prompts_.informWithDetail(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                                  Text(fleet_text::kOverridesRefused),
                                  QString::fromStdString(DescribeOverridesProblems(problems)));
    };
    std::vector<FleetPortChoice> checked;
    std::vector<std::string> names;
    for (int row : rows) {
        checked.push_back(ports_[static_cast<std::size_t>(row)]);
        names.push_back(checked.back().name);
    }
    // A row's port is the checked port that opens the same device, however either is spelled.
    const DeviceMapping devices = DevicesFromSettingFile(context_.settingFile);
    OverridesPlan plan = PlanFleetOverrides(
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
        names, [&checked, &devices](std::string_view key) {
            return OverridesPortKey(key, checked, devices);
        });
    if (!plan.ok()) {
        refuse(plan.problems);
        return std::nullopt;
    }
    if (plan.key == OverridesKey::Radio) {
        // Matched by the engine once every radio has told its serial number.
        chosen.serialRows = std::move(plan.serialRows);
    } else {
        chosen.perRadio = std::move(plan.perRadio);
    }
    return chosen;
}

QString FleetDialog::ReportPathFor() const {
    if (!reportPath_->text().isEmpty()) {
        return reportPath_->text();
    }
    const QDir folder =
        imageFile_->isChecked() ? QFileInfo(imagePath_->text()).absoluteDir() : QDir::current();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
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
    FleetRunInfo info;
    info.program = "halyx";
    info.operation = "fleet write";
    // The current image has no file of its own to name: it may have been edited since.
    info.imagePath = runImagePath_.toStdString();
    info.overridesPath = runOverridesPath_.toStdString();
    const FileResult saved =
        WriteFileAtomically(ToPath(runReportPath_), FleetReportJson(info, reports));
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
