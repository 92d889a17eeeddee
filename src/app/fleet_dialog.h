#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "app/fleet_ports.h"
#include "fleet/fleet_session.h"
#include "interchange/interchange_texts.h"

class QLabel;
class QUrl;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class QToolButton;

namespace halyx {

struct AppSettings;
class RadioDocument;
class RadioLine;
class UiPrompts;

// Program > Fleet write: one image to every checked port at once. Each radio is read and backed
// up, keeps its own serial number and user ID unless the overrides give it new ones, is written
// and verified; one row per port shows its progress and result. At the end the report is saved
// to the Report field's file, or, when that is empty, to a time-stamped name beside the image
// file (the current directory for the current image). Modal; it cannot be closed while a run
// goes on, only stopped.
class FleetDialog : public QDialog {
public:
    enum Column { kPortColumn, kDeviceColumn, kSerialColumn, kProgressColumn, kResultColumn };

    using PortProbe = std::function<std::vector<FleetPortChoice>()>;

    // `probe` lists the ports (default: the setting file's mapping and the system's ports);
    // `openPort` makes one radio's port (default: a serial port).
    // The window's `line` is closed for the run (the fleet opens ports of its own); the current
    // image is `document`'s.
    FleetDialog(RadioLine& line, const RadioDocument& document, const AppSettings& settings,
                UiPrompts& prompts, QWidget* parent = nullptr, PortProbe probe = {},
                FleetPortOpener openPort = {},
                std::uint16_t verifyPauseTicks = kDefaultVerifyPauseTicks);
    ~FleetDialog() override;

    void OnStart();
    void OnStop();
    bool isRunning() const;
    // The run under way or the last one; null before the first start.
    const FleetSession* run() const { return run_.get(); }
    // Where the last run's report went; empty when it could not be saved.
    const QString& reportPath() const { return savedReport_; }

    QTableWidget* portTable() const { return table_; }
    // Lists the ports again (the dialog does it every second); checked ports stay checked.
    void RefreshPorts();
    void SetPortChecked(int row, bool checked);
    QRadioButton* currentImageChoice() const { return currentImage_; }
    QRadioButton* imageFileChoice() const { return imageFile_; }
    QLineEdit* imagePathEdit() const { return imagePath_; }
    QLineEdit* overridesPathEdit() const { return overridesPath_; }
    QLineEdit* reportPathEdit() const { return reportPath_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* retryButton() const { return retry_; }
    QPushButton* openFolderButton() const { return openFolder_; }

    // Runs the last run's image and overrides again on the radios that failed in it, and on
    // those alone.
    void OnRetryFailed();
    // "Open report folder" shows the folder through this (default: the desktop's file manager).
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // The words the result column shows for a radio's report.
    static const TextKey& ResultText(const FleetRadioReport& report);
    QLabel* summaryLabel() const { return summary_; }

    // While a run goes on, closing (button, close box, Esc) does nothing: Stop ends it first.
    void done(int result) override;

private:
    QString Text(const TextKey& text) const;
    void BuildControls();
    QWidget* BuildSources();
    void FillPortTable();
    std::vector<int> CheckedRows() const;
    std::optional<RadioImage> ChosenImage();
    struct ChosenOverridesResult {
        std::vector<RadioOverrides> perRadio;  // one per checked row
        std::optional<std::vector<OverridesRow>> serialRows;
    };
    // The overrides file's values for the checked rows; nothing (after a box) when refused.
    std::optional<ChosenOverridesResult> ChosenOverrides(const std::vector<int>& rows);
    ChosenOverridesResult RetryOverrides(const std::vector<int>& rows) const;
    QString ReportPathFor() const;
    // Whether the report and its table cannot be kept where `report` says (after a box).
    bool RefuseReportPlace(const QString& report);
    void ChooseImageFile();
    void ChooseOverridesFile();
    void ChooseReportFile();
    void SetRunning(bool running);
    void ShowProgress();
    void AfterRun();
    void SaveReport();
    void ShowResult(int row, const FleetRadioReport& report);
    void OpenReportFolder();

    RadioLine& line_;
    const RadioDocument& document_;
    const AppSettings& settings_;
    UiPrompts& prompts_;
    FleetPortOpener openPort_;
    std::uint16_t verifyPauseTicks_;
    std::vector<FleetPortChoice> ports_;
    // The port list follows cables plugged in and pulled out while no run goes on.
    PortProbe probe_;
    QTimer* portWatch_ = nullptr;
    std::set<std::string> portsAtStart_;
    std::vector<int> runRows_;  // the table row of each radio of the run

    QRadioButton* currentImage_ = nullptr;
    QRadioButton* imageFile_ = nullptr;
    QLineEdit* imagePath_ = nullptr;
    QLineEdit* overridesPath_ = nullptr;
    QLineEdit* reportPath_ = nullptr;
    std::vector<QToolButton*> browseButtons_;
    QTableWidget* table_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* retry_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    std::function<bool(const QUrl&)> openUrl_;

    std::unique_ptr<FleetSession> run_;
    bool running_ = false;
    QString runReportPath_;
    QString runImagePath_;
    QString runOverridesPath_;
    QString savedReport_;
    // What the last run wrote, for a retry: the image and each table row's overrides.
    std::optional<RadioImage> runImage_;
    std::map<int, RadioOverrides> runOverrides_;
    std::optional<std::vector<OverridesRow>> runSerialRows_;
    bool retrying_ = false;
    std::vector<int> failedRows_;  // table rows of the last run's radios that failed
};

}  // namespace halyx
