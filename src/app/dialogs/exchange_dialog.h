#pragma once

#include <QDialog>
#include <chrono>
#include <string_view>

#include "history/operation_record.h"
#include "link/exchange.h"
#include "ui/common/gui_operation_record.h"

class QProgressBar;
class QPushButton;

namespace halyx {

struct AppSettings;
class RadioDocument;
class RadioLine;
class UiPrompts;

// What the radio read and radio write dialogs share: a progress bar (1015), a start button
// (1001) and a close button (1002), and the window's exchange runner, which ticks the exchange
// and acts on each received byte at once. The dialog owns only its controls; the exchange state
// lives in the exchange object on the runner's frame link.
class ExchangeDialog : public QDialog {
    Q_OBJECT

public:
    ~ExchangeDialog() override;

    // The exchange this dialog drives.
    virtual Exchange& exchange() = 0;

    // One timer tick; the runner's timer ticks by itself, tests call this instead.
    void OnTimer();
    // Id of the exchange's armed timer (1, 100, or 0 when none), as the runner's timer runs it.
    int armedTimerId() const { return armedTimer_; }
    bool isTimerActive() const;

    QPushButton* startButton() const { return start_; }
    QPushButton* closeButton() const { return close_; }
    QProgressBar* progressBar() const { return progress_; }

    // What the runner tells while this dialog's exchange runs.
    void OnProgress(int position);
    void OnPhaseChanged(ExchangePhase phase);
    void OnTimerChanged(int timerId);
    virtual void OnFinished(ExchangeResult result) = 0;
    void OnRunnerStarted(const Exchange* started);

    // Closing while an exchange runs cancels it: nothing is reported and the port stays open.
    void done(int result) override;

signals:
    // A radio operation of this dialog has been recorded (the status bar shows its result).
    void operationRecorded(const GuiRadioOperation& operation, const OperationRecord& record);

protected:
    // The objects are the application's, for the whole run.
    ExchangeDialog(RadioLine& line, RadioDocument& document, AppSettings& settings,
                   UiPrompts& prompts, std::string_view titleKey, int progressMinimum,
                   QWidget* parent);

    // The start button: opens the port if needed (an error box with `portErrorCaption` when it
    // does not open) and starts the exchange. False when the port could not be opened.
    bool StartExchange(std::string_view portErrorCaption);
    void SetButtonsEnabled(bool enabled);
    // The box every result is shown in: caption "CPS", exclamation icon.
    void ShowResult(std::string_view key);
    // After a failure: the port is closed and the flag cleared, so the next start re-opens it.
    void ClosePortAfterFailure();
    QString Text(std::string_view key) const;
    // Keeps the history of the exchange that has ended (or could not start): the audit line,
    // and the backup when `imageRead` is given. A backup that fails is reported; the exchange's
    // result stands.
    OperationRecord Record(std::string_view operation, std::string_view result,
                           const RadioImage* imageRead, const RadioImage* imageWritten);
    // The operation's name in the audit log ("read", "write").
    virtual std::string_view operationName() const = 0;

    RadioLine& line_;
    RadioDocument& document_;
    AppSettings& settings_;
    UiPrompts& prompts_;

private:
    void StopListening();
    bool HoldsRunner() const;

    QProgressBar* progress_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* close_ = nullptr;
    int armedTimer_ = kNoTimer;
    // Listening to the runner: from this dialog's first start until another exchange takes the
    // runner, so the resets that follow a result still reach the dialog after it has closed.
    bool listening_ = false;
    const Exchange* mine_ = nullptr;  // this dialog's exchange, once started
    std::chrono::steady_clock::time_point startedAt_;
};

}  // namespace halyx
