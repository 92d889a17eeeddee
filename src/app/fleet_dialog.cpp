#include "app/fleet_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "app/cable_watch.h"
#include "app/fleet_texts.h"
#include "app/port_texts.h"
#include "app/radio_line.h"
#include "editing/radio_document.h"
#include "ui/common/ui_font.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 420;

const FileDialogSpec kOverridesDialog{
    QStringLiteral("CSV File(*.csv)"), QStringLiteral("*.csv;"), {}, {}};
const FileDialogSpec kReportDialog{QStringLiteral("JSON File(*.json)"), QStringLiteral("*.json;"),
                                   QStringLiteral("fleet-report"), QStringLiteral("json")};

}  // namespace

FleetDialog::FleetDialog(RadioLine& line, const RadioDocument& document,
                         const AppSettings& settings, UiPrompts& prompts, QWidget* parent,
                         PortProbe probe, FleetPortOpener openPort, std::uint16_t verifyPauseTicks)
    : QDialog(parent),
      line_(line),
      document_(document),
      settings_(settings),
      prompts_(prompts),
      openPort_(std::move(openPort)),
      verifyPauseTicks_(verifyPauseTicks) {
    setObjectName(QStringLiteral("FleetDialog"));
    setWindowTitle(Text(fleet_text::kTitle));
    probe_ = probe ? std::move(probe)
                   : PortProbe([this] { return FindFleetPorts(settings_.settingFile); });
    ports_ = probe_();
    for (const FleetPortChoice& port : ports_) {
        portsAtStart_.insert(port.devicePath);
    }
    BuildControls();
    FillPortTable();
    portWatch_ = new QTimer(this);
    portWatch_->setInterval(CableWatch::kPollIntervalMs);
    connect(portWatch_, &QTimer::timeout, this, &FleetDialog::RefreshPorts);
    portWatch_->start();
    ApplyUiFont(this);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    SetRunning(false);
}

FleetDialog::~FleetDialog() {
    // Radios still running end as cancelled, so each still gets its audit line.
    if (run_ != nullptr && run_->IsRunning()) {
        run_->Stop();
    }
}

QString FleetDialog::Text(const TextKey& text) const {
    return QString::fromStdString(settings_.language.textOr(text.key, text.english));
}

void FleetDialog::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildSources());

    table_ = new QTableWidget(0, kResultColumn + 1, this);
    table_->setObjectName(QStringLiteral("fleetPorts"));
    table_->setHorizontalHeaderLabels({Text(fleet_text::kPort), Text(fleet_text::kDevice),
                                       Text(fleet_text::kSerialNumber), Text(fleet_text::kProgress),
                                       Text(fleet_text::kResult)});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kProgressColumn, QHeaderView::Stretch);
    layout->addWidget(table_, 1);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("fleetSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    start_ = new QPushButton(Text(fleet_text::kStart), this);
    stop_ = new QPushButton(Text(fleet_text::kStop), this);
    close_ = new QPushButton(Text(fleet_text::kClose), this);
    retry_ = new QPushButton(Text(fleet_text::kRetryFailed), this);
    retry_->setObjectName(QStringLiteral("fleetRetry"));
    openFolder_ = new QPushButton(Text(fleet_text::kOpenReportFolder), this);
    openFolder_->setObjectName(QStringLiteral("fleetOpenFolder"));
    for (QPushButton* button : {retry_, openFolder_, start_, stop_, close_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(retry_, &QPushButton::clicked, this, &FleetDialog::OnRetryFailed);
    connect(openFolder_, &QPushButton::clicked, this, &FleetDialog::OpenReportFolder);
    connect(start_, &QPushButton::clicked, this, &FleetDialog::OnStart);
    connect(stop_, &QPushButton::clicked, this, &FleetDialog::OnStop);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* FleetDialog::BuildSources() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto browse = [this, box](auto handler) {
        auto* button = new QToolButton(box);
        button->setText(QStringLiteral("..."));
        connect(button, &QToolButton::clicked, this, handler);
        browseButtons_.push_back(button);
        return button;
    };

    currentImage_ = new QRadioButton(Text(fleet_text::kCurrentImage), box);
    imageFile_ = new QRadioButton(Text(fleet_text::kImageFile), box);
    auto* choice = new QButtonGroup(box);
    choice->addButton(currentImage_);
    choice->addButton(imageFile_);
    currentImage_->setChecked(true);
    imagePath_ = new QLineEdit(box);
    overridesPath_ = new QLineEdit(box);
    reportPath_ = new QLineEdit(box);
    // What an empty field means: a time-stamped name beside the image.
    reportPath_->setPlaceholderText(QStringLiteral("fleet-report-YYYYMMDD-HHMMSS.json"));
    // Typing a file name is choosing the file.
    connect(imagePath_, &QLineEdit::textEdited, imageFile_,
            [this] { imageFile_->setChecked(true); });

    auto* imageRow = new QHBoxLayout;
    imageRow->addWidget(currentImage_);
    imageRow->addWidget(imageFile_);
    imageRow->addWidget(imagePath_, 1);
    imageRow->addWidget(browse(&FleetDialog::ChooseImageFile));
    grid->addWidget(new QLabel(Text(fleet_text::kImage), box), 0, 0);
    grid->addLayout(imageRow, 0, 1);

    auto* overridesRow = new QHBoxLayout;
    overridesRow->addWidget(overridesPath_, 1);
    overridesRow->addWidget(browse(&FleetDialog::ChooseOverridesFile));
    auto* overridesLabel = new QLabel(Text(fleet_text::kOverrides), box);
    overridesLabel->setBuddy(overridesPath_);
    grid->addWidget(overridesLabel, 1, 0);
    grid->addLayout(overridesRow, 1, 1);

    auto* reportRow = new QHBoxLayout;
    reportRow->addWidget(reportPath_, 1);
    reportRow->addWidget(browse(&FleetDialog::ChooseReportFile));
    auto* reportLabel = new QLabel(Text(fleet_text::kReport), box);
    reportLabel->setBuddy(reportPath_);
    grid->addWidget(reportLabel, 2, 0);
    grid->addLayout(reportRow, 2, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

void FleetDialog::FillPortTable() {
    table_->setRowCount(static_cast<int>(ports_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const FleetPortChoice& port = ports_[static_cast<std::size_t>(row)];
        QString label = QString::fromStdString(port.name);
        if (portsAtStart_.count(port.devicePath) == 0) {
            label += QStringLiteral(" (") + Text(port_text::kNew) + QLatin1Char(')');
        }
        auto* name = new QTableWidgetItem(label);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        // Nothing is written to a radio the user did not pick.
        name->setCheckState(Qt::Unchecked);
        table_->setItem(row, kPortColumn, name);
        QString deviceText = QString::fromStdString(port.devicePath);
        if (!port.description.empty()) {
            deviceText += QStringLiteral("  ") + QString::fromStdString(port.description);
        }
        auto* device = new QTableWidgetItem(deviceText);
        device->setToolTip(QString::fromStdString(port.description));
        table_->setItem(row, kDeviceColumn, device);
        table_->setItem(row, kSerialColumn, new QTableWidgetItem);
        auto* progress = new QProgressBar(table_);
        progress->setRange(0, kFleetWriteSteps);
        progress->setValue(0);
        table_->setCellWidget(row, kProgressColumn, progress);
        table_->setItem(row, kResultColumn, new QTableWidgetItem);
    }
}

void FleetDialog::RefreshPorts() {
    if (isRunning()) {
        return;  // the rows stand for the radios of the run
    }
    std::vector<FleetPortChoice> now = probe_();
    const auto same = [](const FleetPortChoice& a, const FleetPortChoice& b) {
        return a.name == b.name && a.devicePath == b.devicePath;
    };
    if (std::equal(now.begin(), now.end(), ports_.begin(), ports_.end(), same)) {
        return;
    }
    std::set<std::string> checked;
    for (const int row : CheckedRows()) {
        checked.insert(ports_[static_cast<std::size_t>(row)].devicePath);
    }
    ports_ = std::move(now);
    FillPortTable();
    for (int row = 0; row < table_->rowCount(); ++row) {
        SetPortChecked(row, checked.count(ports_[static_cast<std::size_t>(row)].devicePath) != 0);
    }
}

void FleetDialog::SetPortChecked(int row, bool checked) {
    table_->item(row, kPortColumn)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<int> FleetDialog::CheckedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kPortColumn)->checkState() == Qt::Checked) {
            rows.push_back(row);
        }
    }
    return rows;
}

void FleetDialog::ChooseImageFile() {
    if (const std::optional<QString> path = prompts_.openFile(this, ImageFileDialog())) {
        imagePath_->setText(*path);
        imageFile_->setChecked(true);
    }
}

void FleetDialog::ChooseOverridesFile() {
    if (const std::optional<QString> path = prompts_.openFile(this, kOverridesDialog)) {
        overridesPath_->setText(*path);
    }
}

void FleetDialog::ChooseReportFile() {
    if (const std::optional<QString> path = prompts_.saveFile(this, kReportDialog)) {
        reportPath_->setText(*path);
    }
}

void FleetDialog::SetRunning(bool running) {
    start_->setEnabled(!running);
    stop_->setEnabled(running);
    close_->setEnabled(!running);
    retry_->setEnabled(!running && !failedRows_.empty());
    openFolder_->setEnabled(!running && !savedReport_.isEmpty());
    for (QWidget* control : std::initializer_list<QWidget*>{currentImage_, imageFile_, imagePath_,
                                                            overridesPath_, reportPath_}) {
        control->setEnabled(!running);
    }
    for (QToolButton* button : browseButtons_) {
        button->setEnabled(!running);
    }
    // The check boxes stay readable but cannot change the run under way.
    table_->setEnabled(true);
    for (int row = 0; row < table_->rowCount(); ++row) {
        QTableWidgetItem* item = table_->item(row, kPortColumn);
        const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        item->setFlags(running ? flags : flags | Qt::ItemIsUserCheckable);
    }
}

void FleetDialog::done(int result) {
    if (isRunning()) {
        return;
    }
    QDialog::done(result);
}

}  // namespace halyx
