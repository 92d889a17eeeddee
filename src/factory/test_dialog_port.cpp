#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "editing/radio_document.h"
#include "factory/test_dialog.h"
#include "factory/test_dialog_ids.h"
#include "link/exchange_runner.h"
#include "link/link_port.h"
#include "link/port_open_failure.h"
#include "link/tuning_data.h"
#include "settings/file_layout.h"
#include "settings/profile_file.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

// The baud list's entries, in list order.
constexpr std::array<std::uint32_t, 4> kBaudRates{9600, 19200, 38400, 57600};
// The rate used when nothing is selected in the list.
constexpr std::uint32_t kUnselectedBaudRate = 38400;
// The list's only entry when no port exists ("none").
constexpr const char* kNoPortEntry = "无";

bool SameListing(const std::vector<ComPortEntry>& a, const std::vector<ComPortEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const ComPortEntry& x, const ComPortEntry& y) {
                          return x.portNumber == y.portNumber && x.devicePath == y.devicePath;
                      });
}

}  // namespace

void TestDialog::BuildPortList() {
    holdsPort_ = false;
    portList_->clear();
    listedPorts_ = probe_();
    for (const ComPortEntry& entry : listedPorts_) {
        portList_->addItem(QString::fromStdString(ComName(entry.portNumber)));
    }
    if (!listedPorts_.empty()) {
        portList_->setCurrentIndex(0);
        openClose_->setEnabled(true);
        return;
    }
    portList_->addItem(QString::fromUtf8(kNoPortEntry));
    portList_->setCurrentIndex(0);
    openClose_->setEnabled(false);
    SetExchangeButtonsEnabled(false);
    openClose_->setText(Text(test_keys::kOpenPort));
}

void TestDialog::CheckPortDevices() {
    const std::vector<ComPortEntry> now = probe_();
    if (SameListing(now, listedPorts_)) {
        return;
    }
    // The handle the dialog holds may belong to the device that just went away: close it
    // properly and show the port closed, rather than keep a stale handle behind a "close"
    // button. A running exchange would only time out against the closed port, so it stops.
    if (holdsPort_) {
        if (running_ != nullptr && running_->IsRunning()) {
            bench_.runner.Release();
        }
        ClosePort();
    }
    BuildPortList();
}

std::uint32_t TestDialog::ChosenBaudRate() const {
    const int index = baudList_->currentIndex();
    if (index < 0 || index >= static_cast<int>(kBaudRates.size())) {
        return kUnselectedBaudRate;
    }
    return kBaudRates[static_cast<std::size_t>(index)];
}

int TestDialog::ChosenPortNumber() const {
    const QString text = portList_->currentText();
    if (!text.startsWith(QString::fromLatin1(kComPrefix))) {
        return 0;
    }
    return text.mid(static_cast<int>(kComPrefix.size())).toInt();
}

void TestDialog::OnOpenClosePort() {
    if (holdsPort_) {
        ClosePort();
    } else {
        OpenPort();
    }
}

void TestDialog::OpenPort() {
    if (!bench_.runner.port()->Open(PortText{ChosenPortNumber(), {}}, ChosenBaudRate())) {
        prompts_.informWithDetail(
            this, PromptIcon::Stop, QString::fromUtf8(captions::kReadError),
            Text(keys::kPortOpenFailed),
            QString::fromStdString(PortOpenFailureText(bench_.runner.port()->LastOpenFailure(),
                                                       PortLookupOf(bench_.texts))));
        return;
    }
    holdsPort_ = true;
    openClose_->setText(Text(test_keys::kClosePort));
    portList_->setEnabled(false);
    baudList_->setEnabled(false);
    SetExchangeButtonsEnabled(true);
}

void TestDialog::ClosePort() {
    bench_.runner.port()->Close();
    holdsPort_ = false;
    openClose_->setText(Text(test_keys::kOpenPort));
    SetExchangeButtonsEnabled(false);
    portList_->setEnabled(true);
    baudList_->setEnabled(true);
}

}  // namespace halyx
