#include "factory/test_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "editing/radio_document.h"
#include "factory/test_dialog_ids.h"
#include "factory/test_point_labels.h"
#include "factory/tuning_slider.h"
#include "link/exchange_runner.h"
#include "link/link_port.h"
#include "link/tuning_data.h"
#include "settings/file_layout.h"
#include "settings/profile_file.h"
#include "settings/setting_file.h"
#include "ui/common/dialog_units.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_font.h"

namespace halyx {
namespace {

// Layout in dialog units: the port and baud rows, the nine test points under a 0..255 scale,
// the progress bar and one row of four buttons.
constexpr int kWidthUnits = 296;
constexpr int kHeightUnits = 238;
constexpr int kMargin = 10;
constexpr int kListX = 50;
constexpr int kListWidth = 80;
constexpr int kListHeight = 12;
constexpr int kCaptionWidth = 38;
constexpr int kTextHeight = 8;
constexpr int kPortRowY = 7;
constexpr int kBaudRowY = 23;
constexpr int kOpenCloseX = 142;
constexpr int kOpenCloseWidth = 70;
constexpr int kButtonHeight = 14;
constexpr int kScaleY = 40;
constexpr int kScaleLabelWidth = 20;
constexpr int kFirstRowY = 50;
constexpr int kRowPitch = 16;
constexpr int kNameWidth = 80;
constexpr int kSliderX = 92;
constexpr int kSliderWidth = 160;
constexpr int kSliderHeight = 12;
constexpr int kValueX = 258;
constexpr int kValueWidth = 28;
constexpr int kProgressY = 198;
constexpr int kProgressHeight = 10;
constexpr int kButtonRowY = 216;
constexpr int kButtonWidth = 66;
constexpr int kButtonPitch = 70;

constexpr int kValueMinimum = 0;
constexpr int kValueMaximum = 255;
// The first slider moves one step per page so it can be trimmed finely with Page Up/Down; the
// others keep the platform trackbar's page of a fifth of the range.
constexpr int kFirstSliderPageStep = 1;
constexpr int kOtherSliderPageStep = (kValueMaximum - kValueMinimum) / 5;
constexpr int kProgressMinimum = 1;
constexpr int kProgressMaximum = 20;

QLabel* AddLabel(QWidget* parent, int id, const QString& text) {
    auto* label = new QLabel(text, parent);
    if (id != 0) {
        label->setObjectName(QString::number(id));
    }
    return label;
}

}  // namespace

TestDialog::TestDialog(const TestBench& bench, UiPrompts& prompts, QWidget* parent, PortProbe probe,
                       std::uint16_t verifyPauseTicks)
    : QDialog(parent),
      bench_(bench),
      prompts_(prompts),
      probe_(std::move(probe)),
      readExchange_(bench.runner.link(), bench.values, bench.runner),
      writeExchange_(bench.runner.link(), bench.document.image(), bench.values, bench.runner,
                     verifyPauseTicks) {
    setObjectName(QStringLiteral("TestDialog"));
    setProperty("resourceId", test_dialog::kResourceId);
    setFixedSize(DialogSize(kWidthUnits, kHeightUnits));
    if (!probe_) {
        const DeviceMapping mapping = DevicesFromSettingFile(bench_.settingFile);
        probe_ = [mapping] { return ListComPorts(kHighestPortNumber, mapping); };
    }

    BuildPortControls();
    BuildRows();
    BuildButtons();
    ApplyUiFont(this);
    SetTexts();
    SetTabOrder();

    BuildPortList();
    SetExchangeButtonsEnabled(false);

    deviceTimer_.setInterval(kDevicePollMilliseconds);
    connect(&deviceTimer_, &QTimer::timeout, this, &TestDialog::CheckPortDevices);
    deviceTimer_.start();

    ExchangeRunner& runner = bench_.runner;
    connect(&runner, &ExchangeRunner::progressChanged, this, &TestDialog::OnProgress);
    connect(&runner, &ExchangeRunner::phaseChanged, this, &TestDialog::OnPhaseChanged);
    connect(&runner, &ExchangeRunner::timerChanged, this, &TestDialog::OnTimerChanged);
    connect(&runner, &ExchangeRunner::finished, this, &TestDialog::OnFinished);
}

TestDialog::~TestDialog() {
    StopEverything();
}

void TestDialog::BuildPortControls() {
    portCaption_ = AddLabel(this, test_dialog::kPortCaption, QString::fromLatin1(kComPrefix));
    PlaceControl(portCaption_, kMargin, kPortRowY + 2, kCaptionWidth, kTextHeight);
    portList_ = new QComboBox(this);
    portList_->setObjectName(QString::number(test_dialog::kPortList));
    PlaceControl(portList_, kListX, kPortRowY, kListWidth, kListHeight);
    portCaption_->setBuddy(portList_);

    baudCaption_ = AddLabel(this, test_dialog::kBaudCaption, {});
    PlaceControl(baudCaption_, kMargin, kBaudRowY + 2, kCaptionWidth, kTextHeight);
    baudList_ = new QComboBox(this);
    baudList_->setObjectName(QString::number(test_dialog::kBaudList));
    PlaceControl(baudList_, kListX, kBaudRowY, kListWidth, kListHeight);
    baudCaption_->setBuddy(baudList_);
    for (const char* rate : {"9600", "19200", "38400", "57600"}) {
        baudList_->addItem(QString::fromLatin1(rate));
    }
    baudList_->setCurrentIndex(0);

    openClose_ = new QPushButton(this);
    openClose_->setObjectName(QString::number(test_dialog::kOpenClose));
    PlaceControl(openClose_, kOpenCloseX, kPortRowY, kOpenCloseWidth, kButtonHeight);
    connect(openClose_, &QPushButton::clicked, this, &TestDialog::OnOpenClosePort);
}

void TestDialog::BuildRows() {
    auto* scaleLow = AddLabel(this, 0, QString::number(kValueMinimum));
    PlaceControl(scaleLow, kSliderX, kScaleY, kScaleLabelWidth, kTextHeight);
    auto* scaleHigh = AddLabel(this, 0, QString::number(kValueMaximum));
    scaleHigh->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceControl(scaleHigh, kSliderX + kSliderWidth - kScaleLabelWidth, kScaleY, kScaleLabelWidth,
                 kTextHeight);

    for (int row = 1; row <= kTestPointRows; ++row) {
        const auto index = static_cast<std::size_t>(row - 1);
        const test_dialog::RowIds& ids = test_dialog::kRows[index];
        const int y = kFirstRowY + (row - 1) * kRowPitch;
        Row& controls = rows_[index];

        controls.name = AddLabel(this, ids.nameLabel, {});
        PlaceControl(controls.name, kMargin, y + 2, kNameWidth, kTextHeight);

        controls.slider = new TuningSlider(this);
        controls.slider->setObjectName(QString::number(ids.slider));
        controls.slider->setRange(kValueMinimum, kValueMaximum);
        controls.slider->setPageStep(row == 1 ? kFirstSliderPageStep : kOtherSliderPageStep);
        PlaceControl(controls.slider, kSliderX, y, kSliderWidth, kSliderHeight);
        controls.slider->SetOnRelease([this, row](int position) { SendChange(row, position); });
        controls.slider->SetOnArrowKey([this, row](int position) { SendChange(row, position); });
        controls.name->setBuddy(controls.slider);

        controls.value = AddLabel(this, ids.valueLabel, QString::number(kValueMinimum));
        PlaceControl(controls.value, kValueX, y + 2, kValueWidth, kTextHeight);
    }
}

void TestDialog::BuildButtons() {
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QString::number(test_dialog::kProgress));
    progress_->setRange(kProgressMinimum, kProgressMaximum);
    progress_->reset();
    progress_->setTextVisible(false);
    PlaceControl(progress_, kMargin, kProgressY, kWidthUnits - 2 * kMargin, kProgressHeight);

    int x = kMargin;
    auto add = [this, &x](int id, void (TestDialog::*handler)()) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::number(id));
        // Enter on a focused button presses it; elsewhere it ends the dialog (keyPressEvent).
        button->setAutoDefault(true);
        PlaceControl(button, x, kButtonRowY, kButtonWidth, kButtonHeight);
        connect(button, &QPushButton::clicked, this, handler);
        x += kButtonPitch;
        return button;
    };
    load_ = add(test_dialog::kLoadFile, &TestDialog::OnLoadFile);
    save_ = add(test_dialog::kSaveFile, &TestDialog::OnSaveFile);
    read_ = add(test_dialog::kReadValues, &TestDialog::OnReadValues);
    write_ = add(test_dialog::kWriteValues, &TestDialog::OnWriteValues);
}

QString TestDialog::Text(std::string_view key) const {
    return QString::fromStdString(bench_.texts.text(key));
}

void TestDialog::SetTexts() {
    setWindowTitle(Text(test_keys::kTitle));
    baudCaption_->setText(Text(test_keys::kBaudCaption));
    // The caption's text names the list for screen readers, in the active language.
    portList_->setAccessibleName(portCaption_->text());
    baudList_->setAccessibleName(baudCaption_->text());
    openClose_->setText(Text(test_keys::kOpenPort));
    load_->setText(Text(test_keys::kLoadFile));
    save_->setText(Text(test_keys::kSaveFile));
    read_->setText(Text(test_keys::kReadValues));
    write_->setText(Text(test_keys::kWriteValues));
    progress_->setAccessibleName(write_->text());
    progress_->setAccessibleDescription(QString::number(progress_->value()));

    // The power words follow the setting file's language value, byte for byte, not the
    // language file in use.
    const bool english = IsEnglishLanguageValue(bench_.texts.languageValue());
    const bool upperBand = IsUpperBand(bench_.document.image());
    for (int row = 1; row <= kTestPointRows; ++row) {
        const Row& controls = rows_[static_cast<std::size_t>(row - 1)];
        controls.name->setText(QString::fromStdString(TestPointLabel(row, upperBand, english)));
        controls.slider->setAccessibleName(controls.name->text());
    }
}

void TestDialog::SetTabOrder() {
    QWidget* previous = portList_;
    auto next = [&previous](QWidget* widget) {
        setTabOrder(previous, widget);
        previous = widget;
    };
    next(baudList_);
    next(openClose_);
    for (const Row& controls : rows_) {
        next(controls.slider);
    }
    for (QWidget* widget : {static_cast<QWidget*>(load_), static_cast<QWidget*>(save_),
                            static_cast<QWidget*>(read_), static_cast<QWidget*>(write_)}) {
        next(widget);
    }
}

TuningSlider* TestDialog::slider(int row) const {
    return row >= 1 && row <= kTestPointRows ? rows_[static_cast<std::size_t>(row - 1)].slider
                                             : nullptr;
}

QLabel* TestDialog::nameLabel(int row) const {
    return row >= 1 && row <= kTestPointRows ? rows_[static_cast<std::size_t>(row - 1)].name
                                             : nullptr;
}

QLabel* TestDialog::valueLabel(int row) const {
    return row >= 1 && row <= kTestPointRows ? rows_[static_cast<std::size_t>(row - 1)].value
                                             : nullptr;
}

QPushButton* TestDialog::button(int controlId) const {
    return findChild<QPushButton*>(QString::number(controlId), Qt::FindDirectChildrenOnly);
}

void TestDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // With no OK button, Enter anywhere but on a button ends the dialog, as Escape does.
    if (enter && qobject_cast<QPushButton*>(focusWidget()) == nullptr) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TestDialog::done(int result) {
    StopEverything();
    QDialog::done(result);
}

void TestDialog::StopEverything() {
    if (ended_) {
        return;
    }
    ended_ = true;
    deviceTimer_.stop();
    disconnect(&bench_.runner, nullptr, this, nullptr);
    if (bench_.runner.Release()) {
        RecordTuning("cancelled");
    }
    armedTimer_ = kNoTimer;
    // Whatever opened it (this dialog, or the main window before the dialog was shown), the
    // port is closed, so the next radio read or write opens it again with its own settings.
    bench_.runner.port()->Close();
    holdsPort_ = false;
}

}  // namespace halyx
