#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "link/port_names.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace halyx {

struct AppContext;
class UiPrompts;

// Port settings: the user picks COM1..COM16 among the ports that exist; OK stores the choice in
// the setting file and re-opens the serial port on it at once.
class CPortSettingsDlg : public QDialog {
public:
    static constexpr int kPortCount = 16;
    static constexpr int kRate4800Id = 1045;
    static constexpr int kRate9600Id = 1046;
    static constexpr int kRate4800 = 4800;
    static constexpr int kRate9600 = 9600;

    // Lists the ports 1..kPortCount that exist; the default asks the system (port_names.h).
    using PortProbe = std::function<std::vector<ComPortEntry>()>;

    CPortSettingsDlg(AppContext& context, UiPrompts& prompts, QWidget* parent = nullptr,
                     PortProbe probe = {});

    // Control id of the choice for COMn (n = 1..16); the ids are not in port order.
    static int PortChoiceId(int portNumber);

    QRadioButton* portChoice(int portNumber) const;
    QRadioButton* rateChoice(int rate) const;

    // OK: stores the port (and the rate choice it opened with) and re-opens the serial port.
    void OnOK();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void ProbePorts(const PortProbe& probe);
    void SelectSavedChoices();
    int ChosenPort() const;

    AppContext& context_;
    UiPrompts& prompts_;
    QGroupBox* portFrame_ = nullptr;
    std::array<QRadioButton*, kPortCount> ports_{};
    QRadioButton* rate4800_ = nullptr;
    QRadioButton* rate9600_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace halyx
