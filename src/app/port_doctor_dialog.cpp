#include "app/port_doctor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "app/port_texts.h"
#include "app/radio_line.h"
#include "link/cable_list.h"
#include "link/cable_self_test.h"
#include "link/network_address.h"
#include "link/port_doctor_texts.h"
#include "link/serial_port.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_font.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

constexpr int kDialogWidth = 760;
constexpr int kDialogHeight = 380;
// As far as the fleet looks: a hub full of cables goes past COM16.
constexpr int kDoctorHighestPort = 128;

}  // namespace

PortDoctorDialog::PortDoctorDialog(RadioLine& line, const TextSource& texts, UiPrompts& prompts,
                                   QWidget* parent, std::unique_ptr<SystemFacts> facts)
    : QDialog(parent),
      line_(line),
      texts_(texts),
      prompts_(prompts),
      facts_(facts ? std::move(facts) : LocalSystemFacts()) {
    setObjectName(QStringLiteral("PortDoctorDialog"));
    setWindowTitle(Text(port_text::kDoctorTitle));
    resize(kDialogWidth, kDialogHeight);

    port_ = new QComboBox(this);
    port_->setEditable(true);
    const int saved = line_.PortNumber();
    const DeviceMapping mapping = line_.Devices();
    for (const CableEntry& cable :
         CableList(ListComPorts(kDoctorHighestPort, mapping), SystemSerialDevices())) {
        port_->addItem(QString::fromStdString(cable.comName),
                       QString::fromStdString(cable.devicePath));
    }
    if (saved > 0) {
        const int index = port_->findText(QString::fromStdString(ComName(saved)));
        port_->setCurrentIndex(index);
        if (index < 0) {
            port_->setEditText(QString::fromStdString(ComName(saved)));
        }
    }
    auto* portLabel = new QLabel(Text(port_text::kPortToCheck), this);
    portLabel->setBuddy(port_);

    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(QStringLiteral("doctorChecks"));
    table_->setHorizontalHeaderLabels({Text(port_text::kCheck), Text(port_text::kResult),
                                       Text(port_text::kFinding), Text(port_text::kFix)});
    table_->horizontalHeader()->setSectionResizeMode(kFindingColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kFixColumn, QHeaderView::Stretch);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setWordWrap(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* again =
        buttons->addButton(Text(port_text::kCheckAgain), QDialogButtonBox::ActionRole);
    QPushButton* selfTest =
        buttons->addButton(Text(port_text::kSelfTest), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(Text(port_text::kClose), QDialogButtonBox::RejectRole);
    again->setObjectName(QStringLiteral("checkAgain"));
    selfTest->setObjectName(QStringLiteral("selfTest"));
    connect(again, &QPushButton::clicked, this, &PortDoctorDialog::RunChecks);
    connect(selfTest, &QPushButton::clicked, this, &PortDoctorDialog::RunSelfTest);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(portLabel);
    top->addWidget(port_, 1);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    ApplyUiFont(this);
    RunChecks();
}

PortDoctorDialog::~PortDoctorDialog() = default;

QString PortDoctorDialog::Text(const TextKey& text) const {
    return QString::fromStdString(texts_.textOr(text.key, text.english));
}

std::string PortDoctorDialog::ChosenDevice() const {
    const int index = port_->currentIndex();
    if (index >= 0 && port_->itemText(index) == port_->currentText()) {
        return port_->itemData(index).toString().toStdString();
    }
    const std::optional<PortText> typed =
        ParsePortText(port_->currentText().trimmed().toStdString());
    if (!typed) {
        return {};
    }
    if (!typed->devicePath.empty()) {
        return typed->devicePath;
    }
    return ResolvePortDevice(typed->portNumber, line_.Devices());
}

void PortDoctorDialog::RunChecks() {
    const std::string device = ChosenDevice();
    checks_.clear();
    if (device.empty()) {
        // As for a device that went away: the cable is to be plugged in, or another port chosen.
        checks_.push_back(DeviceMissingCheck(port_->currentText().trimmed().toStdString()));
    } else {
        checks_ = ExaminePort({device, {}}, *facts_);
        const std::vector<DoctorCheck> system = ExamineSystem(*facts_);
        checks_.insert(checks_.end(), system.begin(), system.end());
    }
    ShowChecks();
}

void PortDoctorDialog::RunSelfTest() {
    const std::string device = ChosenDevice();
    if (device.empty() ||
        prompts_.message(this, PromptIcon::Question, windowTitle(), Text(port_text::kSelfTestAsk),
                         PromptButtons::YesNo) != PromptAnswer::Yes) {
        return;
    }
    // The application's own port may be this one: it lets go for the test and opens again after.
    const bool linkWasOpen = line_.IsOpen();
    line_.Close();
    {
        SerialPort port;
        if (port.OpenDevice(device, 0)) {
            checks_.push_back(RunCableSelfTest(port));
        } else {
            checks_.push_back(
                ToldCheck("loopback", CheckOutcome::Problem,
                          PortOpenFailureText(port.LastOpenFailure(), PortLookupOf(texts_))));
        }
    }
    if (linkWasOpen) {
        line_.Open();
    }
    ShowChecks();
}

void PortDoctorDialog::ShowChecks() {
    table_->setRowCount(static_cast<int>(checks_.size()));
    const PortTextLookup lookup = PortLookupOf(texts_);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const DoctorCheck& check = checks_[static_cast<std::size_t>(row)];
        const DoctorWords words = DoctorCheckWords(check, lookup);
        const std::array<std::string, 4> cells = {CheckName(check.id, lookup),
                                                  OutcomeWord(check.outcome, lookup), words.finding,
                                                  words.fix};
        for (int column = 0; column < 4; ++column) {
            table_->setItem(row, column,
                            new QTableWidgetItem(QString::fromStdString(cells[column])));
        }
    }
    table_->resizeColumnToContents(kCheckColumn);
    table_->resizeColumnToContents(kResultColumn);
}

}  // namespace halyx
