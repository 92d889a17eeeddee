#include "ui/form/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "editing/radio_document.h"
#include "image/option_fields.h"
#include "settings/text_encoding.h"
#include "ui/common/dialog_units.h"
#include "ui/common/radio_text.h"
#include "ui/common/text_source.h"
#include "ui/form/form_ids.h"
#include "ui/form/serial_number_edit.h"
#include "ui/form/text_refusal_texts.h"

namespace halyx {
namespace {

// The template gives drop-down lists with their open height; closed they are as tall as a box.
constexpr int kClosedListHeightUnits = 14;

// The band list's one entry, "406.1-470 MHz", does not fit the other lists' width next to the
// arrow button, so the list reaches left into the room its short label leaves.
constexpr QRect kBandLabelUnits{343, 38, 24, 9};
constexpr QRect kBandListUnits{369, 36, 88, 61};

constexpr std::string_view kGroupKey = "S0014";
constexpr std::string_view kScrambleKey = "S0114";
constexpr std::string_view kCompandKey = "S0115";

QString NameOf(int id) {
    return QString::number(id);
}

// Header texts are stored in the code page the radios' tools always used (GBK), cut at a
// whole character so that no half character ends up in the radio.
std::string ToFieldBytes(const QString& text, std::size_t size) {
    const std::string gbk = Utf8ToGbk(text.toStdString());
    return std::string(DropIncompleteGbkTail(std::string_view(gbk).substr(0, size)));
}

}  // namespace

CommonSettingsPanel::CommonSettingsPanel(RadioDocument& document, const TextSource& texts,
                                         QWidget& form)
    : QObject(&form), document_(document), texts_(texts), form_(form) {
    group_ = new QGroupBox(QStringLiteral("公共设置"), &form);
    group_->setObjectName(NameOf(form::kSettingsGroup));
    PlaceControl(group_, 341, 18, 119, 219);

    band_ = AddList(form::kBandList, kBandListUnits);
    timeOut_ = AddList(form::kTimeOutList, {397, 55, 55, 143});
    vox_ = AddList(form::kVoxList, {397, 73, 55, 91});
    squelch_ = AddList(form::kSquelchList, {397, 91, 55, 91});
    channel_ = AddList(form::kChannelList, {397, 109, 55, 91});
    serialNumber_ = new SerialNumberEdit(&form);
    serialNumber_->setObjectName(NameOf(form::kSerialNumberBox));
    PlaceControl(serialNumber_, 397, 126, 55, 14);
    userId_ = new QLineEdit(&form);
    userId_->setObjectName(NameOf(form::kUserIdBox));
    PlaceControl(userId_, 397, 147, 50, 14);
    language_ = AddList(form::kLanguageList, {397, 164, 54, 91});
    txPower_ = AddList(form::kTxPowerList, {397, 183, 60, 91});
    scramble_ = new QCheckBox(QStringLiteral("Scramble"), &form);
    scramble_->setObjectName(NameOf(form::kScrambleCheck));
    PlaceControl(scramble_, 397, 202, 57, 10);
    compand_ = new QCheckBox(QStringLiteral("Compand"), &form);
    compand_->setObjectName(NameOf(form::kCompandCheck));
    PlaceControl(compand_, 397, 220, 50, 10);

    labels_ = {
        {AddLabel(form::kBandLabel, kBandLabelUnits, "频段", band_), "S0017"},
        {AddLabel(form::kTimeOutLabel, {353, 57, 41, 10}, "TOT", timeOut_), ""},
        {AddLabel(form::kVoxLabel, {349, 75, 45, 9}, "VOX", vox_), "S0019"},
        {AddLabel(form::kSquelchLabel, {349, 93, 45, 9}, "SQL", squelch_), "S0105"},
        {AddLabel(form::kChannelLabel, {349, 111, 45, 9}, "VOX", channel_), "S0081"},
        {AddLabel(form::kSerialNumberLabel, {345, 129, 48, 9}, "Serial Number", serialNumber_),
         "S0080"},
        {AddLabel(form::kUserIdLabel, {353, 150, 41, 9}, "User ID", userId_), "S0016"},
        {AddLabel(form::kLanguageLabel, {349, 166, 45, 9}, "Language", language_), "S0111"},
        {AddLabel(form::kTxPowerLabel, {349, 185, 45, 9}, "TX Power", txPower_), "S0116"},
    };
    Connect();
}

QLabel* CommonSettingsPanel::AddLabel(int id, const QRect& units, const char* templateText,
                                      QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(templateText), &form_);
    label->setObjectName(NameOf(id));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceControl(label, units.x(), units.y(), units.width(), units.height());
    // The label names its control for assistive technology and gives it any mnemonic.
    label->setBuddy(buddy);
    return label;
}

QComboBox* CommonSettingsPanel::AddList(int id, const QRect& units) {
    auto* list = new QComboBox(&form_);
    list->setObjectName(NameOf(id));
    PlaceControl(list, units.x(), units.y(), units.width(), kClosedListHeightUnits);
    return list;
}

void CommonSettingsPanel::Connect() {
    // `activated` comes only from the user; filling and showing a value store nothing.
    connect(timeOut_, &QComboBox::activated, this, &CommonSettingsPanel::StoreTimeOut);
    const auto storeOn = [this](QComboBox* list, const ListField& field) {
        connect(list, &QComboBox::activated, this,
                [this, field](int position) { StoreListField(field, position); });
    };
    storeOn(vox_, kVoxField);
    storeOn(squelch_, kSquelchField);
    storeOn(channel_, kSettingsChannelField);
    storeOn(language_, kLanguageField);
    storeOn(txPower_, kTxPowerField);
    connect(scramble_, &QCheckBox::clicked, this, [this](bool checked) {
        document_.EditSettings(
            [checked](CommonSettings& settings) { settings.SetScramble(checked); });
    });
    connect(compand_, &QCheckBox::clicked, this, [this](bool checked) {
        document_.EditSettings(
            [checked](CommonSettings& settings) { settings.SetCompand(checked); });
    });
    serialNumber_->installEventFilter(this);
    userId_->installEventFilter(this);
    // A box widened to show escapes narrows as the user shortens it, back to its typing limit.
    const auto narrowOnEdit = [this](QLineEdit* box, int limit) {
        connect(box, &QLineEdit::textEdited, this, [box, limit](const QString& text) {
            const int narrowed = std::max(limit, static_cast<int>(text.size()));
            if (narrowed < box->maxLength()) {
                // Qt sets the text anew on a new limit, which forgets that the user changed it
                // and moves the cursor to the end.
                const int cursor = box->cursorPosition();
                box->setMaxLength(narrowed);
                box->setModified(true);
                box->setCursorPosition(cursor);
            }
        });
    };
    narrowOnEdit(serialNumber_, kSerialNumberLimit);
    narrowOnEdit(userId_, kUserIdLimit);
}

void CommonSettingsPanel::Init() {
    serialNumber_->setMaxLength(kSerialNumberLimit);
    userId_->setMaxLength(kUserIdLimit);
    group_->setTitle(QString::fromStdString(texts_.text(kGroupKey)));
    for (const auto& [label, key] : labels_) {
        if (!key.empty()) {
            label->setText(QString::fromStdString(texts_.text(key)));
        }
    }
    const TextLookup lang = [this](std::string_view key) { return texts_.text(key); };
    FillList(band_, BandList());
    timeOuts_ = TimeOutList(lang);
    FillList(timeOut_, timeOuts_);
    FillList(vox_, VoxList(lang));
    FillList(squelch_, SquelchList());
    FillList(language_, LanguageList(lang));
    FillList(txPower_, TxPowerList(lang));
    FillList(channel_, SettingsChannelList());
    scramble_->setText(QString::fromStdString(texts_.text(kScrambleKey)));
    compand_->setText(QString::fromStdString(texts_.text(kCompandKey)));
    NameByLabels();
}

void CommonSettingsPanel::NameByLabels() {
    // Screen readers on some platforms name a list by its current entry rather than by its
    // label; naming it explicitly, anew at each language switch, keeps the label's text.
    for (const auto& [label, key] : labels_) {
        label->buddy()->setAccessibleName(label->text());
    }
}

void CommonSettingsPanel::FillList(QComboBox* list, const OptionList& entries) {
    list->clear();
    for (const OptionEntry& entry : entries) {
        list->addItem(QString::fromStdString(entry.text), entry.number);
    }
    // Qt selects the first entry added; a freshly filled list shows nothing until a byte it
    // offers is shown, so a value outside the list does not pass for its first entry.
    list->setCurrentIndex(-1);
}

void CommonSettingsPanel::ShowListField(QComboBox* list, const ListField& field,
                                        const CommonSettings& settings) {
    const auto position = ListPositionForByte(field, settings.bytes()[field.offset],
                                              static_cast<std::size_t>(list->count()));
    list->setCurrentIndex(position.value_or(-1));
}

void CommonSettingsPanel::Fill() {
    const CommonSettings settings = document_.settings();
    // Every radio of this family is shown as the upper band; the byte itself is never changed.
    band_->setCurrentIndex(0);
    band_->setEnabled(false);
    ShowListField(vox_, kVoxField, settings);
    ShowListField(language_, kLanguageField, settings);
    ShowListField(txPower_, kTxPowerField, settings);
    scramble_->setChecked(settings.scramble());
    compand_->setChecked(settings.compand());
    // A value the list does not offer leaves the list showing what it showed.
    if (const auto position = TimeOutPositionForByte(timeOuts_, settings.timeOut())) {
        timeOut_->setCurrentIndex(*position);
    }
    ShowListField(squelch_, kSquelchField, settings);
    ShowListField(channel_, kSettingsChannelField, settings);
    // A box the user is typing in keeps what is typed; it stores when it is left.
    if (!serialNumber_->isModified()) {
        ShowText(serialNumber_, settings.serialNumber(), kSerialNumberLimit);
    }
    if (!userId_->isModified()) {
        ShowText(userId_, settings.userId(), kUserIdLimit);
    }
}

void CommonSettingsPanel::ShowText(QLineEdit* box, const std::string& fieldBytes, int limit) {
    // Control bytes from a radio or a file show escaped (\x1b), which takes more room than the
    // box's typing limit: the box widens for it rather than cut what it shows. Showing stores
    // nothing, so the field keeps its bytes until the user edits the box.
    const QString shown = ShownRadioText(fieldBytes);
    box->setMaxLength(std::max(limit, static_cast<int>(shown.size())));
    box->setText(shown);
}

std::vector<QWidget*> CommonSettingsPanel::TabOrder() const {
    return {band_,   timeOut_,  vox_,     squelch_,  channel_, serialNumber_,
            userId_, language_, txPower_, scramble_, compand_};
}

void CommonSettingsPanel::StoreListField(const ListField& field, int position) {
    if (position < 0) {
        return;
    }
    // The list position becomes the field's value; the setter checks it against the field's rule.
    const int value = ByteForListPosition(field, position);
    document_.EditSettings([&field, value](CommonSettings& settings) {
        switch (field.offset) {
            case header::kVoxLevel:
                settings.SetVoxLevel(value);
                break;
            case header::kSquelchLevel:
                settings.SetSquelchLevel(value);
                break;
            case header::kSettingsChannel:
                settings.SetSettingsChannel(value);
                break;
            case header::kLanguage:
                settings.SetLanguage(value);
                break;
            default:
                settings.SetTxPower(value);
                break;
        }
    });
}

void CommonSettingsPanel::StoreTimeOut(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= timeOuts_.size()) {
        return;
    }
    const int seconds = timeOuts_[static_cast<std::size_t>(position)].number;
    document_.EditSettings([seconds](CommonSettings& settings) { settings.SetTimeOut(seconds); });
}

bool CommonSettingsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut) {
        return false;
    }
    auto* box = static_cast<QLineEdit*>(watched);
    // A box the user did not change stores nothing, so that passing through it with Tab cannot
    // rewrite bytes it shows only in part (those after a zero byte, text it cannot decode).
    if (!box->isModified()) {
        return false;
    }
    box->setModified(false);
    StoreText(box);
    return false;
}

void CommonSettingsPanel::StoreText(QLineEdit* box) {
    const bool serial = box == serialNumber_;
    const int limit = serial ? kSerialNumberLimit : kUserIdLimit;
    const std::size_t size = serial ? header::kSerialNumberSize : header::kUserIdSize;
    // Typed text is cut to the field at a whole character. Text longer than the typing limit
    // can only come from a box widened to show escapes: cutting it would store a fragment of
    // an escape, so it goes whole to the setter, which refuses it.
    const std::string bytes = box->text().size() > limit ? Utf8ToGbk(box->text().toStdString())
                                                         : ToFieldBytes(box->text(), size);
    SetResult result;
    document_.EditSettings([&](CommonSettings& settings) {
        result = serial ? settings.SetSerialNumber(bytes) : settings.SetUserId(bytes);
    });
    if (result) {
        return;
    }
    // The box goes back to what is stored, and says why, rather than go on showing a value
    // the image does not hold.
    const CommonSettings settings = document_.settings();
    ShowText(box, serial ? settings.serialNumber() : settings.userId(), limit);
    if (refusalListener_) {
        refusalListener_(TextRefusalText(texts_, box->accessibleName(), bytes, limit));
    }
}

}  // namespace halyx
