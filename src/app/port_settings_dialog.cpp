#include "app/port_settings_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include "app/app_context.h"
#include "app/command_ids.h"
#include "settings/setting_file.h"
#include "ui/common/dialog_units.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_font.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

constexpr int kWidthUnits = 188;
constexpr int kHeightUnits = 118;
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

CPortSettingsDlg::CPortSettingsDlg(AppContext& context, UiPrompts& prompts, QWidget* parent,
                                   PortProbe probe)
    : QDialog(parent), context_(context), prompts_(prompts) {
    setObjectName(QStringLiteral("CPortSettingsDlg"));
    setFixedSize(DialogSize(kWidthUnits, kHeightUnits));
    BuildControls();
    ApplyUiFont(this);
    for (QRadioButton* port : ports_) {
        port->setEnabled(false);
    }
    setWindowTitle(context_.language.qtext(keys::kPortDialogTitle));
    // The frame has no caption of its own; screen readers announce the choices by the title.
    portFrame_->setAccessibleName(windowTitle());
    ok_->setText(context_.language.qtext(keys::kOkButton));
    cancel_->setText(context_.language.qtext(keys::kCancelButton));
    if (!probe) {
        const DeviceMapping mapping = DevicesFromSettingFile(context_.settingFile);
        probe = [mapping] { return ListComPorts(kPortCount, mapping); };
    }
    ProbePorts(probe);
    SelectSavedChoices();
    ok_->setFocus();
}

void CPortSettingsDlg::BuildControls() {
    portFrame_ = new QGroupBox(this);
    PlaceControl(portFrame_, 7, 3, 175, 72);

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
    PlaceControl(ok_, 33, 90, 41, 12);
    connect(ok_, &QPushButton::clicked, this, &CPortSettingsDlg::OnOK);

    cancel_ = new QPushButton(this);
    cancel_->setObjectName(QString::number(ctrl::kCancel));
    PlaceControl(cancel_, 106, 90, 41, 12);
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
            portChoice(context_.settingFile.readInt(settings::kPortSection, settings::kComKey))) {
        saved->setChecked(true);
    }
    const int rate = context_.settingFile.readInt(settings::kPortSection, settings::kBaudKey);
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

int CPortSettingsDlg::ChosenPort() const {
    for (int number = 1; number <= kPortCount; ++number) {
        const QRadioButton* choice = portChoice(number);
        if (choice->isChecked() && choice->isEnabled()) {
            return number;
        }
    }
    return 1;
}

void CPortSettingsDlg::OnOK() {
    ProfileFile& settings = context_.settingFile;
    settings.writeText(settings::kPortSection, settings::kComKey, std::to_string(ChosenPort()));
    if (rate4800_->isChecked()) {
        settings.writeText(settings::kPortSection, settings::kBaudKey, std::to_string(kRate4800));
    } else if (rate9600_->isChecked()) {
        settings.writeText(settings::kPortSection, settings::kBaudKey, std::to_string(kRate9600));
    }
    if (LinkPortOpen(context_)) {
        CloseLinkPort(context_);
    }
    // OpenLinkPort reads the port number back from the setting file.
    if (!OpenLinkPort(context_)) {
        prompts_.informWithDetail(this, PromptIcon::Stop, QString::fromUtf8(captions::kError),
                                  context_.language.qtext(keys::kPortOpenFailed),
                                  QString::fromStdString(PortOpenFailureDetail(context_)));
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
