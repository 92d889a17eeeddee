#pragma once

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app_parts.h"
#include "factory/test_dialog.h"
#include "factory/test_dialog_ids.h"
#include "factory/tuning_slider.h"
#include "gui_test_support.h"
#include "link/peer_link_port.h"
#include "radiosim/peer_sink.h"
#include "radiosim/radio_peer.h"
#include "support/temp_dir.h"

namespace halyx::test {

// The application's objects on the in-process radio, with English texts ("en S0069") and an
// upper-band image, and a test dialog over it that finds the ports `ports` names.
class TestDialogTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        WriteLanguageFiles();
        WriteSettings("[setup]\nlanguage=english\n");
        parts = std::make_unique<AppParts>();
        parts->settings.language.setFile(home() / "english.lang");
        port.SetTrafficLog(&parts->line.trafficLog());
        parts->line.runner().SetPort(&port);
        // The radio hears what the dialog sends from the start, whoever opened the line.
        sink.SetOpen(true);
        parts->line.trafficLog().Open();
        SetBand(true);
        ports = {{3, "/dev/ttyUSB0", ""}, {5, "/dev/ttyUSB1", ""}};
    }

    void TearDown() override {
        dialog.reset();
        parts.reset();
        ShellTest::TearDown();
    }

    void SetBand(bool upper) {
        parts->document.Edit(
            [&](RadioImage& image) { image.bytes[header::kBand] = upper ? 1 : 0; });
        peer.SetBand(upper);
    }

    TestDialog& Open(std::uint16_t pauseTicks = kDefaultVerifyPauseTicks) {
        dialog = std::make_unique<TestDialog>(
            parts->Bench(), prompts, nullptr, [this] { return ports; }, pauseTicks);
        return *dialog;
    }

    // Opens the dialog and its port on the first listed port.
    TestDialog& OpenWithPort() {
        Open();
        dialog->OnOpenClosePort();
        return *dialog;
    }

    // Lets the radio answer and the timer tick until the exchange stops or `limit` ticks;
    // `eachTick` runs after every tick.
    template <typename EachTick>
    int Run(int limit, EachTick eachTick) {
        int ticks = 0;
        while (dialog->armedTimerId() != kNoTimer && ticks < limit) {
            sink.SetTick(ticks);
            port.Deliver();
            if (dialog->armedTimerId() == kNoTimer) {
                break;
            }
            dialog->OnTimer();
            ++ticks;
            eachTick(ticks);
        }
        return ticks;
    }
    int Run(int limit = 10000) {
        return Run(limit, [](int) {});
    }

    QPushButton* Button(int id) const { return dialog->button(id); }
    QString Text(int id) const { return dialog->button(id)->text(); }

    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& message : prompts.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    std::string TrafficLogText() const { return testing::ReadText(work() / "comm.log"); }

    RadioPeer peer;
    RadioPeerSink sink{peer};
    PeerLinkPort port{sink};
    RecordingPrompts prompts;
    std::vector<ComPortEntry> ports;
    std::unique_ptr<AppParts> parts;
    std::unique_ptr<TestDialog> dialog;
};

}  // namespace halyx::test
