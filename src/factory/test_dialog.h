#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <string_view>
#include <vector>

#include "files/file_result.h"
#include "link/exchange.h"
#include "link/exchange_discipline.h"
#include "link/port_names.h"
#include "link/tuning_read_exchange.h"
#include "link/tuning_write_exchange.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace halyx {

class ExchangeRunner;
struct FileLayout;
class ProfileFile;
class RadioDocument;
class TextSource;
class TuningSlider;
class UiPrompts;
struct TestPoint;
struct TestValues;

// What the test dialog works with, all owned by the application for the whole run.
struct TestBench {
    ExchangeRunner& runner;  // the windows' one link to a radio
    const RadioDocument&
        document;        // the radio's band, and the image a write sends after the values
    TestValues& values;  // the live tuning values, kept between openings
    TestPoint& point;    // the test point last sent
    const ProfileFile& settingFile;  // the port's device mapping and number, for the audit line
    const FileLayout& layout;        // where the history lives
    const TextSource& texts;
};

// The factory test and calibration dialog: opens the serial port at a rate of its own, reads the
// radio's nine tuning values, sends each slider change to the radio at once, writes the values
// (followed by the image's settings and records and their read-back check) and keeps them in
// *.dat files. Modal; it has no OK or Cancel button: the close box, Enter and Escape end it, and
// ending it always closes the serial port.
//
// The exchanges run on the windows' exchange runner, as the other exchange dialogs' do; the
// dialog holds the runner from its opening to its end.
class TestDialog : public QDialog {
public:
    // The COM ports that exist now. The default asks the system (and the setting file's
    // "devices" mapping); tests substitute their own.
    using PortProbe = std::function<std::vector<ComPortEntry>()>;

    static constexpr int kHighestPortNumber = 127;
    // How often the port listing is compared with the last one, to notice a cable plugged in or
    // pulled out. Listing the ports is cheap; this is about how soon the user sees the change.
    static constexpr int kDevicePollMilliseconds = 1500;

    TestDialog(const TestBench& bench, UiPrompts& prompts, QWidget* parent = nullptr,
               PortProbe probe = {}, std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks);
    ~TestDialog() override;

    // Button and timer handlers; public so that tests can drive them without a display.
    void OnOpenClosePort();  // 1028
    void OnReadValues();     // 1001
    void OnWriteValues();    // 1012
    void OnLoadFile();       // 1013
    void OnSaveFile();       // 1014
    // One 10 ms tick of the running exchange.
    void OnTimer();
    // Rebuilds the port list when the system's ports are not the ones listed.
    void CheckPortDevices();

    // The exchange's armed timer (1 read, 3 write, 100 check), kNoTimer when none runs.
    int armedTimerId() const { return armedTimer_; }
    // The test-port flag: this dialog holds the serial port open.
    bool holdsPort() const { return holdsPort_; }

    TuningSlider* slider(int row) const;
    QLabel* nameLabel(int row) const;
    QLabel* valueLabel(int row) const;
    QComboBox* portList() const { return portList_; }
    QComboBox* baudList() const { return baudList_; }
    QPushButton* openCloseButton() const { return openClose_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* button(int controlId) const;

    // What the runner tells about the running exchange.
    void OnProgress(int position);
    void OnPhaseChanged(ExchangePhase phase);
    void OnTimerChanged(int timerId);
    void OnFinished(ExchangeResult result);

    // Every way out (close box, Enter, Escape) comes here: the exchange stops, the port closes.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row {
        TuningSlider* slider = nullptr;
        QLabel* name = nullptr;
        QLabel* value = nullptr;
    };

    // test_dialog.cpp: building and texts
    void BuildPortControls();
    void BuildRows();
    void BuildButtons();
    void SetTexts();
    void SetTabOrder();
    QString Text(std::string_view key) const;

    // test_dialog_port.cpp
    void BuildPortList();
    std::uint32_t ChosenBaudRate() const;
    int ChosenPortNumber() const;
    void OpenPort();
    void ClosePort();

    // test_dialog_tuning.cpp
    void SendChange(int row, int position);
    void ShowValuesFromTable();
    std::array<std::uint8_t, kTestPointRows> SliderPositions() const;
    void StartExchange(Exchange& exchange);
    void SetExchangeButtonsEnabled(bool enabled);
    void ShowResult(std::string_view key);
    void RunFailureRoutine();
    void ReportFileError(const FileResult& result);
    void StopEverything();
    // The audit line of the tuning exchange that has ended.
    void RecordTuning(std::string_view result);

    TestBench bench_;
    UiPrompts& prompts_;
    PortProbe probe_;

    QLabel* portCaption_ = nullptr;
    QComboBox* portList_ = nullptr;
    QLabel* baudCaption_ = nullptr;
    QComboBox* baudList_ = nullptr;
    QPushButton* openClose_ = nullptr;
    std::array<Row, kTestPointRows> rows_{};
    QProgressBar* progress_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;

    TuningReadExchange readExchange_;
    TuningWriteExchange writeExchange_;
    Exchange* running_ = nullptr;
    std::chrono::steady_clock::time_point runningSince_;
    QTimer deviceTimer_;
    int armedTimer_ = kNoTimer;
    std::vector<ComPortEntry> listedPorts_;
    bool holdsPort_ = false;
    bool ended_ = false;
};

}  // namespace halyx
