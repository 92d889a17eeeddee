#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <numeric>

#include "app/app_settings.h"
#include "app/file_commands.h"
#include "app/fleet_dialog.h"
#include "app/fleet_texts.h"
#include "app/radio_line.h"
#include "editing/radio_document.h"
#include "files/image_file.h"
#include "files/output_place.h"
#include "files/raw_file.h"
#include "files/same_file.h"
#include "fleet/fleet_report_csv.h"
#include "fleet/fleet_report_json.h"
#include "settings/setting_file.h"
#include "ui/common/file_paths.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/radio_text.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"
#include "ui/grid/grid_colours.h"

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

QString SerialText(const FleetRadioReport& report) {
    const QString before = ShownRadioText(report.serialBefore);
    if (report.serialAfter.empty() || report.serialAfter == report.serialBefore) {
        return before;
    }
    return before + QStringLiteral(" \u2192 ") + ShownRadioText(report.serialAfter);
}

// Why the report (or the table beside it) cannot go to `report`, or nothing when it can: it is
// one of the run's inputs, the audit log, or a place no file can be written.
std::optional<std::string> WhyNoReportThere(const std::filesystem::path& report,
                                            const std::vector<std::filesystem::path>& inputs) {
    const std::filesystem::path table = FleetReportCsvPath(report);
    for (const std::filesystem::path& output : {report, table}) {
        for (const std::filesystem::path& input : inputs) {
            if (SameFile(output, input)) {
                return output.string() + " is the same file as " + input.string();
            }
        }
    }
    if (SameFile(report, table)) {
        return report.string() + " is the name of the table that goes beside the report";
    }
    for (const std::filesystem::path& output : {report, table}) {
        if (const auto why = WhyNotWritable(output)) {
            return output.string() + " " + *why;
        }
    }
    return std::nullopt;
}

}  // namespace

const TextKey& FleetDialog::ResultText(const FleetRadioReport& report) {
    switch (report.result) {
        case FleetResult::Success:
            return fleet_text::kSucceeded;
        case FleetResult::LinkFailure:
            return report.writeRefused ? fleet_text::kRefusedBlock : fleet_text::kLinkFailure;
        case FleetResult::ReadBackDiffers:
            return fleet_text::kReadBackDiffers;
        case FleetResult::PortError:
            return fleet_text::kPortNotOpened;
        case FleetResult::BackupError:
            return fleet_text::kBackupFailed;
        case FleetResult::OtherBand:
            return fleet_text::kAnotherBand;
        case FleetResult::Cancelled:
            break;
    }
    return fleet_text::kStopped;
}

void FleetDialog::ShowResult(int row, const FleetRadioReport& report) {
    QTableWidgetItem* result = table_->item(row, kResultColumn);
    result->setText(Text(ResultText(report)));
    // The engine's own account, for whoever needs the detail.
    result->setToolTip(QString::fromStdString(report.message));
    const bool failed = report.result != FleetResult::Success;
    result->setIcon(failed ? style()->standardIcon(QStyle::SP_MessageBoxCritical) : QIcon());
    const CellColours marked = MarkedCell(table_->palette());
    for (int column = 0; column < table_->columnCount(); ++column) {
        if (QTableWidgetItem* item = table_->item(row, column)) {
            item->setData(Qt::BackgroundRole, failed ? QVariant(marked.background) : QVariant());
            item->setData(Qt::ForegroundRole, failed ? QVariant(marked.text) : QVariant());
            item->setData(kCellMarkRole, failed ? QVariant(result->text()) : QVariant());
        }
    }
}

void FleetDialog::OnRetryFailed() {
    if (isRunning() || failedRows_.empty()) {
        return;
    }
    const std::vector<int> failed = failedRows_;
    for (int row = 0; row < table_->rowCount(); ++row) {
        SetPortChecked(row, std::find(failed.begin(), failed.end(), row) != failed.end());
    }
    retrying_ = true;
    OnStart();
    retrying_ = false;
}

FleetDialog::ChosenOverridesResult FleetDialog::RetryOverrides(const std::vector<int>& rows) const {
    ChosenOverridesResult chosen;
    for (int row : rows) {
        const auto found = runOverrides_.find(row);
        chosen.perRadio.push_back(found == runOverrides_.end() ? RadioOverrides{} : found->second);
    }
    chosen.serialRows = runSerialRows_;
    return chosen;
}

void FleetDialog::OpenReportFolder() {
    if (savedReport_.isEmpty()) {
        return;
    }
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(savedReport_).absolutePath());
    if (openUrl_) {
        openUrl_(folder);
    } else {
        QDesktopServices::openUrl(folder);
    }
}

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
    if (line_.runner().IsBusy()) {
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
    std::optional<RadioImage> image = retrying_ && runImage_ ? runImage_ : ChosenImage();
    if (!image) {
        return;
    }
    // A retry takes the overrides its radios had; the file may name radios it leaves out.
    std::optional<ChosenOverridesResult> overrides =
        retrying_ ? std::optional<ChosenOverridesResult>(RetryOverrides(rows))
                  : ChosenOverrides(rows);
    if (!overrides) {
        return;
    }
    // A retry's report goes beside the first one, which it must not replace: together they
    // tell the whole story.
    const QString reportPath = retrying_ && !savedReport_.isEmpty()
                                   ? QFileInfo(savedReport_)
                                         .absoluteDir()
                                         .filePath(QStringLiteral("fleet-report-%1-retry.json")
                                                       .arg(QDateTime::currentDateTime().toString(
                                                           QStringLiteral("yyyyMMdd-HHmmss"))))
                                   : ReportPathFor();
    // Found only after the radios were written, a report that cannot be kept would leave them
    // changed with no record of it.
    if (RefuseReportPlace(reportPath)) {
        return;
    }
    runReportPath_ = reportPath;
    runOverrides_.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        runOverrides_[rows[i]] = overrides->perRadio[i];
    }
    runSerialRows_ = overrides->serialRows;

    // The main window's own port may be one of the fleet's; it is closed for the run, and the
    // next read or write opens it again as it does after any failure.
    if (line_.IsOpen()) {
        line_.Close();
    }
    FleetSession::Setup setup;
    setup.image = *image;
    runImage_ = image;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FleetPortChoice& port = ports_[static_cast<std::size_t>(rows[i])];
        setup.radios.push_back({port.name, port.devicePath, overrides->perRadio[i]});
    }
    setup.serialRows = std::move(overrides->serialRows);
    setup.openPort = openPort_;
    setup.places = HistoryPlacesOf(settings_.layout);
    setup.verifyPauseTicks = verifyPauseTicks_;
    setup.program = "halyx";
    setup.operation = "fleet write";
    runRows_ = rows;
    runImagePath_ = imageFile_->isChecked() ? imagePath_->text() : QString();
    runOverridesPath_ = overridesPath_->text();
    savedReport_.clear();
    summary_->clear();
    // A retry keeps what the radios that succeeded showed.
    std::vector<int> cleared = rows;
    if (!retrying_) {
        cleared.resize(static_cast<std::size_t>(table_->rowCount()));
        std::iota(cleared.begin(), cleared.end(), 0);
    }
    for (int row : cleared) {
        static_cast<QProgressBar*>(table_->cellWidget(row, kProgressColumn))->setValue(0);
        table_->item(row, kSerialColumn)->setText({});
        // The last run's words and marks go; the new run's come as each radio ends.
        FleetRadioReport none;
        none.result = FleetResult::Success;
        ShowResult(row, none);
        table_->item(row, kResultColumn)->setText({});
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
        return document_.image();
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
    const DeviceMapping devices = DevicesFromSettingFile(settings_.settingFile);
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

bool FleetDialog::RefuseReportPlace(const QString& report) {
    std::vector<std::filesystem::path> inputs = {HistoryPlacesOf(settings_.layout).auditPath};
    if (imageFile_->isChecked()) {
        inputs.push_back(ToPath(imagePath_->text()));
    }
    if (!overridesPath_->text().isEmpty()) {
        inputs.push_back(ToPath(overridesPath_->text()));
    }
    const auto why = WhyNoReportThere(ToPath(report), inputs);
    if (why) {
        prompts_.informWithDetail(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                                  Text(fleet_text::kReportPlaceRefused),
                                  QString::fromStdString(*why));
    }
    return why.has_value();
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
        if (radio.done()) {
            ShowResult(row, radio.report());
        } else if (radio.phase() != FleetPhase::Waiting) {
            table_->item(row, kResultColumn)->setText(Text(PhaseText(radio.phase())));
        }
    }
}

void FleetDialog::AfterRun() {
    running_ = false;
    ShowProgress();
    const std::vector<FleetRadioReport> reports = run_->engine().Reports();
    failedRows_.clear();
    for (std::size_t i = 0; i < reports.size() && i < runRows_.size(); ++i) {
        if (reports[i].result != FleetResult::Success) {
            failedRows_.push_back(runRows_[i]);
        }
    }
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
    // The same report as a table beside it, for a spreadsheet; the JSON is the one that counts.
    const FileResult savedTable =
        saved.ok() ? WriteFileAtomically(FleetReportCsvPath(ToPath(runReportPath_)),
                                         FleetReportCsv(reports))
                   : saved;
    if (saved.ok()) {
        savedReport_ = runReportPath_;
        summary += QLatin1Char(' ') + Text(fleet_text::kReportSaved).arg(savedReport_);
    }
    summary_->setText(summary);
    SetRunning(false);
    if (saved.ok() && !savedTable.ok()) {
        FileResult shown = savedTable;
        shown.path = FleetReportCsvPath(ToPath(runReportPath_)).string();
        FileCommands::ReportFileError(prompts_, this, shown);
    }
    if (!saved.ok()) {
        FileResult shown = saved;
        shown.path = runReportPath_.toStdString();
        FileCommands::ReportFileError(prompts_, this, shown);
    }
}

}  // namespace halyx
