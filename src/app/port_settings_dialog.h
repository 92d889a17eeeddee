#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "app/cable_watch.h"
#include "link/port_names.h"
#include "settings/text_key.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QPushButton;
class QRadioButton;

namespace halyx {

struct AppSettings;
class RadioLine;
class UiPrompts;

// Port settings: the user picks COM1..COM16 among the ports that exist; OK stores the choice in
// the setting file and re-opens the serial port on it at once. Below the choices, the cables on
// this computer (chip, USB id, description), refreshed while the dialog is open, and the network
// address the chosen number stands for (the setting file's "devices" section), if any.
class CPortSettingsDlg : public QDialog {
public:
    static constexpr int kPortCount = 16;
    static constexpr int kRate4800Id = 1045;
    static constexpr int kRate9600Id = 1046;
    static constexpr int kRate4800 = 4800;
    static constexpr int kRate9600 = 9600;

    // Lists the ports 1..kPortCount that exist; the default asks the system (port_names.h).
    using PortProbe = std::function<std::vector<ComPortEntry>()>;

    // OK writes the choice into `settings`' setting file and opens `line` on it.
    CPortSettingsDlg(RadioLine& line, AppSettings& settings, UiPrompts& prompts,
                     QWidget* parent = nullptr, PortProbe probe = {},
                     CableWatch::Probe cableProbe = {});

    // Control id of the choice for COMn (n = 1..16); the ids are not in port order.
    static int PortChoiceId(int portNumber);

    QRadioButton* portChoice(int portNumber) const;
    QRadioButton* rateChoice(int rate) const;
    QTableWidget* cableTable() const { return cables_; }
    QLineEdit* networkAddress() const { return network_; }
    CableWatch* cableWatch() const { return watch_; }

    // OK: stores the port (and the rate choice it opened with) and re-opens the serial port.
    void OnOK();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void ProbePorts(const PortProbe& probe);
    void SelectSavedChoices();
    int ChosenPort() const;
    // The selected number whether or not it can be chosen; 1 when none is.
    int SelectedNumber() const;
    void BuildCableList(CableWatch::Probe probe);
    void OnCablesChanged();
    void ShowNetworkAddressOf(int portNumber);
    // The typed address for the selected number (COM1 when none is); false when it is no address.
    bool StoreNetworkAddress();
    QString Text(const TextKey& text) const;

    RadioLine& line_;
    AppSettings& settings_;
    UiPrompts& prompts_;
    QGroupBox* portFrame_ = nullptr;
    std::array<QRadioButton*, kPortCount> ports_{};
    QRadioButton* rate4800_ = nullptr;
    QRadioButton* rate9600_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    PortProbe probe_;
    CableWatch* watch_ = nullptr;
    QLabel* cablesLabel_ = nullptr;
    QTableWidget* cables_ = nullptr;
    QLabel* networkLabel_ = nullptr;
    QLineEdit* network_ = nullptr;
};

}  // namespace halyx
