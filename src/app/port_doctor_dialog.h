#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "link/port_doctor.h"
#include "link/port_open_failure.h"
#include "settings/text_key.h"

class QComboBox;
class QTableWidget;

namespace halyx {

class RadioLine;
class TextSource;
class UiPrompts;

// The port doctor in a window (Settings menu): the same checks as halyx-cli doctor for the port
// chosen at the top (the setting file's port at first; any cable, device path or network address
// may be typed), and the cable self-test on request.
class PortDoctorDialog : public QDialog {
public:
    enum Column { kCheckColumn, kResultColumn, kFindingColumn, kFixColumn };

    // `facts` describes the system (default: this machine's). The self-test lets go of `line`
    // while it runs.
    PortDoctorDialog(RadioLine& line, const TextSource& texts, UiPrompts& prompts,
                     QWidget* parent = nullptr, std::unique_ptr<SystemFacts> facts = {});
    ~PortDoctorDialog() override;

    QComboBox* portChoice() const { return port_; }
    QTableWidget* checkTable() const { return table_; }
    const std::vector<DoctorCheck>& checks() const { return checks_; }

    void RunChecks();
    void RunSelfTest();

private:
    QString Text(const TextKey& text) const;
    std::string ChosenDevice() const;
    void ShowChecks();

    RadioLine& line_;
    const TextSource& texts_;
    UiPrompts& prompts_;
    std::unique_ptr<SystemFacts> facts_;
    QComboBox* port_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<DoctorCheck> checks_;
};

}  // namespace halyx
