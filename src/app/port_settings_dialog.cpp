#include "app/port_settings_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "app/port_texts.h"
#include "app/radio_line.h"
#include "link/network_address.h"
#include "settings/setting_file.h"
#include "ui/common/dialog_units.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_font.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

// The choices keep their places; the cable list and the network address sit below them, and OK
// and Cancel below those.
constexpr int kPortDialogWidthUnits = 330;
constexpr int kPortDialogHeightUnits = 226;
constexpr int kListX = 7;
constexpr int kListWidth = 316;
constexpr int kButtonsY = 206;
constexpr int kPortsPerRow = 4;
constexpr std::array<int, 4> kRowY{16, 30, 44, 59};
constexpr std::array<int, 4> kColumnX{13, 56, 99, 142};
constexpr int kChoiceWidth = 42;  // wide enough for "COM16" in the substitute fonts of Linux
constexpr int kChoiceHeight = 10;
// First control id of each row of four ports: COM9..12 and COM13..16 swap places in id order.
constexpr std::array<int, 4> kRowFirstId{1017, 1021, 1033, 1025};

}  // namespace

int CPortSettingsDlg::PortChoiceId(int portNumber) {
    if (portNumber < 1 || portNumber > kPortCount) {
        return 0;
    }
    const int index = portNumber - 1;
    return kRowFirstId[static_cast<std::size_t>(index / kPortsPerRow)] + index % kPortsPerRow;
}

CPortSettingsDlg::CPortSettingsDlg(RadioLine& line, AppSettings& settings, UiPrompts& prompts,
                                   QWidget* parent, PortProbe probe, CableWatch::Probe cableProbe)
    : QDialog(parent), line_(line), settings_(settings), prompts_(prompts) {
    setObjectName(QStringLiteral("CPortSettingsDlg"));
    setFixedSize(DialogSize(kPortDialogWidthUnits, kPortDialogHeightUnits));
    BuildControls();
    ApplyUiFont(this);
    for (QRadioButton* port : ports_) {
        port->setEnabled(false);
    }
    setWindowTitle(settings_.language.qtext(keys::kPortDialogTitle));
    // The frame has no caption of its own; screen readers announce the choices by the title.
    portFrame_->setAccessibleName(windowTitle());
    ok_->setText(settings_.language.qtext(keys::kOkButton));
    cancel_->setText(settings_.language.qtext(keys::kCancelButton));
    if (!probe) {
        const DeviceMapping mapping = DevicesFromSettingFile(settings_.settingFile);
        probe = [mapping] { return ListComPorts(kPortCount, mapping); };
    }
    probe_ = probe;
    ProbePorts(probe);
    SelectSavedChoices();
    BuildCableList(std::move(cableProbe));
    ok_->setFocus();
}

QString CPortSettingsDlg::Text(const TextKey& text) const {
    return QString::fromStdString(settings_.language.textOr(text.key, text.english));
}

void CPortSettingsDlg::BuildCableList(CableWatch::Probe probe) {
    if (!probe) {
        const DeviceMapping mapping = DevicesFromSettingFile(settings_.settingFile);
        probe = [mapping] {
            const std::vector<SerialDeviceInfo> devices = SystemSerialDevices();
            return CableList(ListComPorts(kPortCount, mapping, devices), devices);
        };
    }
    cablesLabel_ = new QLabel(Text(port_text::kCables), this);
    PlaceControl(cablesLabel_, kListX, 80, kListWidth, 10);
    cables_ = new QTableWidget(0, kCableColumns, this);
    cables_->setObjectName(QStringLiteral("cables"));
    cables_->setHorizontalHeaderLabels({Text(port_text::kPort), Text(port_text::kDevice),
                                        Text(port_text::kUsbId), Text(port_text::kChip),
                                        Text(port_text::kDescription)});
    cables_->horizontalHeader()->setStretchLastSection(true);
    cables_->verticalHeader()->hide();
    cables_->setFocusPolicy(Qt::NoFocus);
    cablesLabel_->setBuddy(cables_);
    PlaceControl(cables_, kListX, 91, kListWidth, 76);

    networkLabel_ = new QLabel(Text(port_text::kNetworkAddress), this);
    PlaceControl(networkLabel_, kListX, 171, kListWidth, 10);
    network_ = new QLineEdit(this);
    network_->setObjectName(QStringLiteral("networkAddress"));
    network_->setPlaceholderText(QStringLiteral("rfc2217://HOST:PORT  tcp://HOST:PORT"));
    networkLabel_->setBuddy(network_);
    PlaceControl(network_, kListX, 183, kListWidth, 14);
    setTabOrder(ports_.back(), network_);
    setTabOrder(network_, ok_);
    for (int number = 1; number <= kPortCount; ++number) {
        connect(portChoice(number), &QRadioButton::toggled, this, [this, number](bool on) {
            if (on) {
                ShowNetworkAddressOf(number);
            }
        });
    }
    ShowNetworkAddressOf(SelectedNumber());

    watch_ = new CableWatch(
        std::move(probe), [this] { OnCablesChanged(); }, this);
    ShowCables(*cables_, *watch_, Text(port_text::kNew));
}

void CPortSettingsDlg::OnCablesChanged() {
    ShowCables(*cables_, *watch_, Text(port_text::kNew));
    // A cable plugged in or pulled out changes which numbers can be chosen, too.
    for (QRadioButton* port : ports_) {
        port->setEnabled(false);
    }
    ProbePorts(probe_);
}

void CPortSettingsDlg::ShowNetworkAddressOf(int portNumber) {
    const std::string mapped =
        settings_.settingFile.readText(settings::kDevicesSection, ComName(portNumber));
    network_->setText(ParseNetworkAddress(mapped) ? QString::fromStdString(mapped) : QString());
}

bool CPortSettingsDlg::StoreNetworkAddress() {
    const std::string typed = network_->text().trimmed().toStdString();
    const std::string key = ComName(SelectedNumber());
    const std::string mapped = settings_.settingFile.readText(settings::kDevicesSection, key);
    if (typed.empty()) {
        if (ParseNetworkAddress(mapped)) {
            // Back to the cable the number reaches on this computer.
            settings_.settingFile.writeText(settings::kDevicesSection, key, "");
        }
        return true;
    }
    if (!ParseNetworkAddress(typed)) {
        prompts_.inform(
            this, PromptIcon::Stop, QString::fromUtf8(captions::kError),
            Text(port_text::kNotNetworkAddress).replace(QStringLiteral("%1"), network_->text()));
        return false;
    }
    settings_.settingFile.writeText(settings::kDevicesSection, key, typed);
    return true;
}

void CPortSettingsDlg::BuildControls() {
    portFrame_ = new QGroupBox(this);
    // Wider than the choices reach (142 + 42), so "COM12" and "COM16" stay inside at any scale.
    PlaceControl(portFrame_, 7, 3, 182, 72);

    auto* portGroup = new QButtonGroup(this);
    for (int number = 1; number <= kPortCount; ++number) {
        const int index = number - 1;
        auto* choice = new QRadioButton(QStringLiteral("COM%1").arg(number), this);
        choice->setObjectName(QString::number(PortChoiceId(number)));
        PlaceControl(choice, kColumnX[static_cast<std::size_t>(index % kPortsPerRow)],
                     kRowY[static_cast<std::size_t>(index / kPortsPerRow)], kChoiceWidth,
                     kChoiceHeight);
        portGroup->addButton(choice, number);
        ports_[static_cast<std::size_t>(index)] = choice;
    }

    ok_ = new QPushButton(this);
    ok_->setObjectName(QString::number(ctrl::kOk));
    PlaceControl(ok_, 100, kButtonsY, 41, 12);
    connect(ok_, &QPushButton::clicked, this, &CPortSettingsDlg::OnOK);

    cancel_ = new QPushButton(this);
    cancel_->setObjectName(QString::number(ctrl::kCancel));
    PlaceControl(cancel_, 190, kButtonsY, 41, 12);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    // The rate choices are never shown: they only carry the setting file's "baud" value
    // through the dialog unchanged.
    auto* rateGroup = new QButtonGroup(this);
    rate4800_ = new QRadioButton(QStringLiteral("4800"), this);
    rate4800_->setObjectName(QString::number(kRate4800Id));
    rate9600_ = new QRadioButton(QStringLiteral("9600"), this);
    rate9600_->setObjectName(QString::number(kRate9600Id));
    for (QRadioButton* rate : {rate4800_, rate9600_}) {
        rateGroup->addButton(rate);
        rate->hide();
    }

    setTabOrder(ports_.front(), ok_);
    setTabOrder(ok_, cancel_);
}

void CPortSettingsDlg::ProbePorts(const PortProbe& probe) {
    if (!probe) {
        return;
    }
    for (const ComPortEntry& entry : probe()) {
        QRadioButton* choice = portChoice(entry.portNumber);
        if (choice == nullptr) {
            continue;
        }
        choice->setEnabled(true);
        QString tip = QString::fromStdString(entry.devicePath);
        if (!entry.description.empty()) {
            tip +=
                QStringLiteral(" (") + QString::fromStdString(entry.description) + QLatin1Char(')');
        }
        choice->setToolTip(tip);
    }
}

void CPortSettingsDlg::SelectSavedChoices() {
    // A saved port that was not found is still shown selected, though it cannot be chosen.
    if (QRadioButton* saved =
            portChoice(settings_.settingFile.readInt(settings::kPortSection, settings::kComKey))) {
        saved->setChecked(true);
    }
    const int rate = settings_.settingFile.readInt(settings::kPortSection, settings::kBaudKey);
    if (QRadioButton* choice = rateChoice(rate)) {
        choice->setChecked(true);
    }
}

QRadioButton* CPortSettingsDlg::portChoice(int portNumber) const {
    if (portNumber < 1 || portNumber > kPortCount) {
        return nullptr;
    }
    return ports_[static_cast<std::size_t>(portNumber - 1)];
}

QRadioButton* CPortSettingsDlg::rateChoice(int rate) const {
    switch (rate) {
        case kRate4800:
            return rate4800_;
        case kRate9600:
            return rate9600_;
        default:
            return nullptr;
    }
}

int CPortSettingsDlg::SelectedNumber() const {
    for (int number = 1; number <= kPortCount; ++number) {
        if (portChoice(number)->isChecked()) {
            return number;
        }
    }
    return 1;  // as OK takes it when nothing is selected
}

int CPortSettingsDlg::ChosenPort() const {
    for (int number = 1; number <= kPortCount; ++number) {
        const QRadioButton* choice = portChoice(number);
        // A number given a network address is chosen even where no cable answers to it.
        if (choice->isChecked() && (choice->isEnabled() || !network_->text().trimmed().isEmpty())) {
            return number;
        }
    }
    return 1;
}

void CPortSettingsDlg::OnOK() {
    if (!StoreNetworkAddress()) {
        return;  // the address stays in its box to be put right
    }
    ProfileFile& settings = settings_.settingFile;
    settings.writeText(settings::kPortSection, settings::kComKey, std::to_string(ChosenPort()));
    if (rate4800_->isChecked()) {
        settings.writeText(settings::kPortSection, settings::kBaudKey, std::to_string(kRate4800));
    } else if (rate9600_->isChecked()) {
        settings.writeText(settings::kPortSection, settings::kBaudKey, std::to_string(kRate9600));
    }
    if (line_.IsOpen()) {
        line_.Close();
    }
    // The line reads the port number back from the setting file.
    if (!line_.Open()) {
        prompts_.informWithDetail(
            this, PromptIcon::Stop, QString::fromUtf8(captions::kError),
            settings_.language.qtext(keys::kPortOpenFailed),
            QString::fromStdString(line_.OpenFailureDetail(settings_.language)));
    }
    accept();
}

void CPortSettingsDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Enter applies only on the focused OK button. Anywhere else it closes the dialog with
    // nothing applied, like Cancel: the dialog has no default button.
    if (enter && qobject_cast<QPushButton*>(focusWidget()) == nullptr) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace halyx
