#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/option_lists.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace halyx {

class CommonSettings;
class RadioDocument;
class SerialNumberEdit;
class TextSource;
struct ListField;

// The common settings on the right of the main form. Each control shows one header field and
// stores it through the document's settings setters the moment the user changes it. The
// controls are children of the form itself, named by their control ids.
class CommonSettingsPanel : public QObject {
public:
    static constexpr int kSerialNumberLimit = 10;
    static constexpr int kUserIdLimit = 6;

    CommonSettingsPanel(RadioDocument& document, const TextSource& texts, QWidget& form);

    // Texts, list entries and box limits in the active language.
    void Init();
    // Shows the document's settings.
    void Fill();

    // The panel's controls in keyboard order.
    std::vector<QWidget*> TabOrder() const;

    // Told, in words, when a text box's value was refused and the box went back to what is
    // stored (a control character pasted into the user ID).
    void SetRefusalListener(std::function<void(const QString&)> listener) {
        refusalListener_ = std::move(listener);
    }

protected:
    // The two text boxes store when they lose the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(int id, const QRect& units, const char* templateText, QWidget* buddy);
    QComboBox* AddList(int id, const QRect& units);
    void FillList(QComboBox* list, const OptionList& entries);
    void ShowListField(QComboBox* list, const ListField& field, const CommonSettings& settings);
    void NameByLabels();
    void Connect();
    void StoreListField(const ListField& field, int position);
    void StoreTimeOut(int position);
    void ShowText(QLineEdit* box, const std::string& fieldBytes, int limit);
    void StoreText(QLineEdit* box);

    RadioDocument& document_;
    const TextSource& texts_;
    QWidget& form_;
    QGroupBox* group_ = nullptr;
    QComboBox* band_ = nullptr;
    QComboBox* timeOut_ = nullptr;
    QComboBox* vox_ = nullptr;
    QComboBox* squelch_ = nullptr;
    QComboBox* channel_ = nullptr;
    SerialNumberEdit* serialNumber_ = nullptr;
    QLineEdit* userId_ = nullptr;
    QComboBox* language_ = nullptr;
    QComboBox* txPower_ = nullptr;
    QCheckBox* scramble_ = nullptr;
    QCheckBox* compand_ = nullptr;
    OptionList timeOuts_;  // the TOT list's entries with their seconds
    // Labels with the key their text comes from ("" keeps the template text).
    std::vector<std::pair<QLabel*, std::string_view>> labels_;
    std::function<void(const QString&)> refusalListener_;
};

}  // namespace halyx
