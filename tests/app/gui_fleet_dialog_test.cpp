#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "app/fleet_dialog.h"
#include "app_parts.h"
#include "files/image_file.h"
#include "fleet/peer_fleet_port.h"
#include "gui_test_support.h"
#include "history/backup_store.h"
#include "support/contrast_probe.h"
#include "support/temp_dir.h"
#include "ui/grid/grid_colours.h"

namespace halyx::test {
namespace {

using Memory = RadioPeer::Memory;

Memory Radio(std::uint8_t seed, const std::string& serial) {
    Memory m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>((i * 5 + seed) & 0xFF);
    }
    std::fill_n(m.begin() + header::kSerialNumber, header::kSerialNumberSize, std::uint8_t{0});
    std::copy(serial.begin(), serial.end(), m.begin() + header::kSerialNumber);
    return m;
}

// The run owns its ports; this one hands everything to an in-process radio the test keeps.
class BorrowedPort final : public LinkPort {
public:
    explicit BorrowedPort(PeerFleetPort& peer) : peer_(peer) {
        connect(&peer, &LinkPort::byteReceived, this, &LinkPort::byteReceived);
        connect(&peer, &LinkPort::lost, this, &LinkPort::lost);
    }
    bool Open(const PortText& port, std::uint32_t baudRate) override {
        return peer_.Open(port, baudRate);
    }
    void Close() override { peer_.Close(); }
    bool IsOpen() const override { return peer_.IsOpen(); }
    void Write(const std::uint8_t* bytes, std::uint16_t length) override {
        peer_.Write(bytes, length);
    }

private:
    PeerFleetPort& peer_;
};

class FleetDialogTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        WriteLanguageFiles();
        parts = std::make_unique<AppParts>();
        parts->settings.language.setFile(home() / "english.lang");
        parts->line.runner().SetPort(&mainPort);
        parts->document.Edit([](RadioImage& image) {
            for (std::size_t i = 0; i < kImageSize; ++i) {
                image.bytes[i] = static_cast<std::uint8_t>(i * 3 + 1);
            }
        });
        parts->document.Edit([&](RadioImage& image) { image.length = kImageSize; });
        // Answers reach the radios' receivers as a line's bytes would: a moment later.
        deliver.setInterval(1);
        QObject::connect(&deliver, &QTimer::timeout, [this] {
            for (auto& [path, radio] : radios) {
                radio->Deliver();
            }
        });
        deliver.start();
    }

    void TearDown() override {
        deliver.stop();
        parts.reset();
        ShellTest::TearDown();
    }

    PeerFleetPort& AddRadio(const std::string& name, const Memory& memory,
                            RadioPeerFaults faults = {}) {
        const std::string path = "/dev/ttyFLEET" + name;
        choices.push_back({name, path, "in-process radio"});
        radios[path] = std::make_unique<PeerFleetPort>(memory, faults);
        return *radios[path];
    }

    std::unique_ptr<FleetDialog> MakeDialog() {
        auto dialog = std::make_unique<FleetDialog>(
            parts->line, parts->document, parts->settings, prompts, nullptr,
            [this] { return choices; },
            [this](const std::string& path, std::size_t) -> std::unique_ptr<LinkPort> {
                return std::make_unique<BorrowedPort>(*radios.at(path));
            },
            /*verifyPauseTicks=*/2);
        return dialog;
    }

    static bool WaitUntilIdle(const FleetDialog& dialog) {
        QElapsedTimer clock;
        clock.start();
        while (dialog.isRunning() && clock.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return !dialog.isRunning();
    }

    QString Cell(const FleetDialog& dialog, int row, int column) const {
        return dialog.portTable()->item(row, column)->text();
    }
    int Bar(const FleetDialog& dialog, int row) const {
        return static_cast<QProgressBar*>(
                   dialog.portTable()->cellWidget(row, FleetDialog::kProgressColumn))
            ->value();
    }

    FakeLinkPort mainPort;
    RecordingPrompts prompts;
    std::unique_ptr<AppParts> parts;
    std::vector<FleetPortChoice> choices;
    std::map<std::string, std::unique_ptr<PeerFleetPort>> radios;
    QTimer deliver;
};

TEST_F(FleetDialogTest, WritesTheCheckedRadiosEachKeepingItsIdentityAndSavesTheReport) {
    const Memory good1 = Radio(1, "RADIO1");
    const Memory naks = Radio(2, "RADIO2");
    const Memory good3 = Radio(3, "RADIO3");
    const Memory unchecked = Radio(4, "RADIO4");
    RadioPeerFaults refuses;
    refuses.nakBlock = {5, 3};
    PeerFleetPort& first = AddRadio("COM1", good1);
    PeerFleetPort& second = AddRadio("COM2", naks, refuses);
    PeerFleetPort& third = AddRadio("COM3", good3);
    PeerFleetPort& fourth = AddRadio("COM4", unchecked);
    const RadioImage before = parts->document.image();
    mainPort.open = true;  // the main window's port, which the run must not share

    auto dialog = MakeDialog();
    dialog->show();
    ASSERT_EQ(dialog->portTable()->rowCount(), 4);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Fleet write"));
    for (int row : {0, 1, 2}) {
        dialog->SetPortChecked(row, true);
    }
    const QString report = QString::fromStdString((work() / "report.json").string());
    dialog->reportPathEdit()->setText(report);
    std::ofstream(work() / "overrides.csv") << "port,serialNumber,squelch\ncom3,NEW3,5\n";
    const QString overrides = QString::fromStdString((work() / "overrides.csv").string());
    dialog->overridesPathEdit()->setText(overrides);
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isRunning());
    EXPECT_FALSE(dialog->startButton()->isEnabled());
    EXPECT_TRUE(dialog->stopButton()->isEnabled());
    dialog->reject();  // cannot close while running
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(WaitUntilIdle(*dialog));

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(mainPort.closes, 1);
    EXPECT_EQ(Bar(*dialog, 0), kFleetWriteSteps);
    EXPECT_EQ(Bar(*dialog, 2), kFleetWriteSteps);
    EXPECT_LT(Bar(*dialog, 1), kFleetWriteSteps);
    EXPECT_EQ(Bar(*dialog, 3), 0);
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kResultColumn), QStringLiteral("Succeeded"));
    // It answered the read and then refused a block of the write: said so, not "No answer".
    EXPECT_EQ(Cell(*dialog, 1, FleetDialog::kResultColumn),
              QStringLiteral("The radio refused a block"));
    EXPECT_EQ(Cell(*dialog, 2, FleetDialog::kResultColumn), QStringLiteral("Succeeded"));
    EXPECT_EQ(Cell(*dialog, 3, FleetDialog::kResultColumn), QString());
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kSerialColumn), QStringLiteral("RADIO1"));
    EXPECT_EQ(Cell(*dialog, 2, FleetDialog::kSerialColumn), QStringLiteral("RADIO3 \u2192 NEW3"));
    EXPECT_EQ(dialog->summaryLabel()->text(),
              QStringLiteral("2 of 3 radios succeeded. Report saved as ") + report);
    EXPECT_TRUE(dialog->startButton()->isEnabled());
    EXPECT_TRUE(dialog->closeButton()->isEnabled());

    // The written radios hold the image with their own serial numbers; the main image and the
    // radio left unchecked are untouched.
    EXPECT_EQ(parts->document.image().bytes, before.bytes);
    Memory overridden = good3;
    std::fill_n(overridden.begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
    std::copy_n("NEW3", 4, overridden.begin() + header::kSerialNumber);
    const std::vector<std::pair<const PeerFleetPort*, const Memory*>> written = {
        {&first, &good1}, {&third, &overridden}};
    for (const auto& [radio, held] : written) {
        RadioImage expected = before;
        std::copy_n(held->begin() + header::kSerialNumber, header::kSerialNumberSize,
                    expected.bytes.begin() + header::kSerialNumber);
        if (radio == &third) {
            expected.bytes[header::kSquelchLevel] = 5;
        }
        std::copy_n(held->begin() + header::kUserId, header::kUserIdSize,
                    expected.bytes.begin() + header::kUserId);
        expected.bytes[kFirstRecordOffset] = 1;  // channel 1's in-use mark always goes out set
        EXPECT_TRUE(std::equal(expected.bytes.begin(), expected.bytes.begin() + kHeaderSize,
                               radio->peer().memory().begin()));
        EXPECT_TRUE(std::equal(expected.bytes.begin() + kFirstRecordOffset,
                               expected.bytes.begin() + kRecordsEnd,
                               radio->peer().memory().begin() + kFirstRecordOffset));
    }
    EXPECT_EQ(fourth.peer().memory(), unchecked);
    EXPECT_EQ(fourth.peer().framesReceived(), 0);

    // Each radio run was backed up before it was written and has its audit line.
    const BackupStore store(dataHome() / "halyx" / "backups");
    EXPECT_EQ(store.List().size(), 3u);
    const std::string audit = testing::ReadText(dataHome() / "halyx" / "audit.jsonl");
    EXPECT_EQ(std::count(audit.begin(), audit.end(), '\n'), 3);
    EXPECT_NE(audit.find(R"("program":"halyx","operation":"fleet write","port":"COM2")"),
              std::string::npos);

    const auto json = nlohmann::json::parse(testing::ReadText(work() / "report.json"));
    EXPECT_EQ(json["program"], "halyx");
    EXPECT_EQ(json["operation"], "fleet write");
    EXPECT_EQ(json["image"], nullptr);  // the current image
    EXPECT_EQ(json["overrides"], overrides.toStdString());
    EXPECT_EQ(json["succeeded"], 2);
    EXPECT_EQ(json["failed"], 1);
    ASSERT_EQ(json["radios"].size(), 3u);
    EXPECT_EQ(json["radios"][1]["port"], "COM2");
    EXPECT_EQ(json["radios"][1]["result"], "link-failure");
    EXPECT_EQ(json["radios"][2]["serialBefore"], "RADIO3");
    EXPECT_EQ(json["radios"][2]["serialAfter"], "NEW3");
    // Each backup holds what its radio held before the run.
    RadioImage backup;
    ASSERT_TRUE(LoadImageFile(json["radios"][0]["backup"].get<std::string>(), backup).ok());
    EXPECT_TRUE(std::equal(good1.begin() + kFirstRecordOffset, good1.begin() + kRecordsEnd,
                           backup.bytes.begin() + kFirstRecordOffset));

    // The failed row alone is marked, with an icon, and the same report is there as a table.
    const QTableWidget& table = *dialog->portTable();
    for (int row : {0, 1, 2}) {
        const QTableWidgetItem* result = table.item(row, FleetDialog::kResultColumn);
        EXPECT_EQ(result->data(kCellMarkRole).toString().isEmpty(), row != 1) << row;
        EXPECT_EQ(result->icon().isNull(), row != 1) << row;
        EXPECT_EQ(table.item(row, FleetDialog::kPortColumn)->background().style() != Qt::NoBrush,
                  row == 1)
            << row;
    }
    const std::string csv = testing::ReadText(work() / "report.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);  // the names and three radios
    EXPECT_NE(csv.find("COM2,/dev/ttyFLEETCOM2,RADIO2,"), std::string::npos);
    EXPECT_NE(csv.find(",NEW3,"), std::string::npos);

    // Open report folder shows the report's folder.
    std::vector<QUrl> opened;
    dialog->SetUrlOpener([&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    ASSERT_TRUE(dialog->openFolderButton()->isEnabled());
    QTest::mouseClick(dialog->openFolderButton(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(std::filesystem::path(opened[0].toLocalFile().toStdString()), work());

    // Retry runs the same image and overrides on the failed radio only, and keeps the first
    // report as it was.
    const int firstFrames = first.peer().framesReceived();
    const int thirdFrames = third.peer().framesReceived();
    const int secondFrames = second.peer().framesReceived();
    ASSERT_TRUE(dialog->retryButton()->isEnabled());
    QTest::mouseClick(dialog->retryButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitUntilIdle(*dialog));
    EXPECT_EQ(first.peer().framesReceived(), firstFrames);
    EXPECT_EQ(third.peer().framesReceived(), thirdFrames);
    EXPECT_GT(second.peer().framesReceived(), secondFrames);
    ASSERT_EQ(dialog->run()->engine().Reports().size(), 1u);
    EXPECT_EQ(dialog->run()->engine().Reports()[0].portName, "COM2");
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kResultColumn), QStringLiteral("Succeeded"));
    EXPECT_NE(dialog->reportPath(), report);
    EXPECT_EQ(nlohmann::json::parse(testing::ReadText(work() / "report.json"))["radios"].size(),
              3u);
}

// In a dark theme a failed row is still marked and its text still readable.
TEST_F(FleetDialogTest, AFailedRowStaysReadableInADarkTheme) {
    QApplication::setPalette(DarkPalette());
    RadioPeerFaults refuses;
    refuses.nakBlock = {5, 3};
    AddRadio("COM1", Radio(1, "RADIO1"), refuses);
    AddRadio("COM2", Radio(2, "RADIO2"));
    auto dialog = MakeDialog();
    dialog->show();
    dialog->SetPortChecked(0, true);
    dialog->SetPortChecked(1, true);
    dialog->reportPathEdit()->setText(QString::fromStdString((work() / "dark.json").string()));
    dialog->OnStart();
    ASSERT_TRUE(WaitUntilIdle(*dialog));
    QTableWidget& table = *dialog->portTable();
    table.clearSelection();
    table.setCurrentItem(nullptr);
    QApplication::processEvents();
    const QImage drawn = table.viewport()->grab().toImage();
    for (int row : {0, 1}) {
        for (int column : {FleetDialog::kPortColumn, FleetDialog::kSerialColumn}) {
            const QRect cell = table.visualItemRect(table.item(row, column));
            const QRect text = cell.adjusted(column == FleetDialog::kPortColumn ? 20 : 2, 2, 0, -2);
            EXPECT_GE(DrawnTextContrast(drawn, text), kReadableContrast) << row << "," << column;
        }
    }
    // The failed row's background differs from the one that succeeded.
    const QRect failed = table.visualItemRect(table.item(0, FleetDialog::kSerialColumn));
    const QRect good = table.visualItemRect(table.item(1, FleetDialog::kSerialColumn));
    EXPECT_NE(drawn.pixelColor(failed.left() + 2, failed.center().y()),
              drawn.pixelColor(good.left() + 2, good.center().y()));
    QApplication::setPalette(QPalette());
}

TEST_F(FleetDialogTest, StartRefusesWhenNoPortIsCheckedAndStopCancelsTheRun) {
    RadioPeerFaults silent;
    silent.silent = true;
    PeerFleetPort& radio = AddRadio("COM1", Radio(1, "QUIET"), silent);
    auto dialog = MakeDialog();
    dialog->OnStart();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Choose at least one port."));
    EXPECT_EQ(dialog->run(), nullptr);
    EXPECT_EQ(radio.peer().framesReceived(), 0);

    // Overrides naming a radio that is not in the run refuse it before anything is sent, shown
    // with a refused value of another row: every problem of the file at once.
    dialog->SetPortChecked(0, true);
    std::ofstream(work() / "overrides.csv") << "port,userId,squelch\nCOM1,A1,12\nCOM9,A9,\n";
    dialog->overridesPathEdit()->setText(
        QString::fromStdString((work() / "overrides.csv").string()));
    dialog->OnStart();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text,
              QStringLiteral("The overrides were refused; nothing was written."));
    EXPECT_NE(prompts.messages[1].detail.indexOf(QStringLiteral("line 3")), -1);
    EXPECT_NE(prompts.messages[1].detail.indexOf(QStringLiteral("line 2: squelch")), -1);
    EXPECT_EQ(dialog->run(), nullptr);
    EXPECT_EQ(radio.peer().framesReceived(), 0);

    dialog->overridesPathEdit()->clear();
    dialog->OnStart();
    ASSERT_TRUE(dialog->isRunning());
    QTest::mouseClick(dialog->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitUntilIdle(*dialog));
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kResultColumn), QStringLiteral("Stopped"));
    EXPECT_EQ(dialog->run()->engine().radio(0).report().result, FleetResult::Cancelled);
    // The report goes beside the image: the current directory for the current image.
    EXPECT_TRUE(dialog->reportPath().startsWith(QString::fromStdString(work().string())));
    EXPECT_TRUE(std::filesystem::exists(dialog->reportPath().toStdString()));
}

// The report and the table beside it are proven before any radio is touched: neither may be
// the image, the overrides or the audit log, nor a place no file can go. A radio whose serial
// number holds terminal escapes shows them escaped in the table.
TEST_F(FleetDialogTest, AReportThatCannotBeKeptIsRefusedBeforeAnyRadioAndEscapesShowEscaped) {
    const std::string escapes = "\x1b[2J\x07";
    PeerFleetPort& radio = AddRadio("COM1", Radio(1, escapes));
    const std::filesystem::path image = work() / "fleet.kda";
    ASSERT_TRUE(SaveImageFile(image, parts->document.image()).ok());
    std::ofstream(work() / "list.csv") << "port,squelch\nCOM1,5\n";
    std::filesystem::create_directory(work() / "adir.csv");
    std::filesystem::create_directories(dataHome() / "halyx");
    std::ofstream(dataHome() / "halyx" / "audit.jsonl") << "";
    const auto inputsBefore =
        std::make_pair(testing::ReadText(image), testing::ReadText(work() / "list.csv"));

    auto dialog = MakeDialog();
    dialog->SetPortChecked(0, true);
    dialog->imageFileChoice()->setChecked(true);
    dialog->imagePathEdit()->setText(QString::fromStdString(image.string()));
    dialog->overridesPathEdit()->setText(QString::fromStdString((work() / "list.csv").string()));
    const auto path = [this](const std::filesystem::path& name) {
        return QString::fromStdString((work() / name).string());
    };
    const std::vector<std::pair<QString, QString>> refused = {
        {path("fleet.kda"), QStringLiteral(" is the same file as ")},          // the image
        {path("list.json"), QStringLiteral("list.csv is the same file as ")},  // its table
        {path("sub/../adir.json"), QStringLiteral("adir.csv is a folder")},
        {path("r.csv"), QStringLiteral("the table that goes beside the report")},
        {QString::fromStdString((dataHome() / "halyx" / "audit.jsonl").string()),
         QStringLiteral(" is the same file as ")},
        {path("missing/r.json"), QStringLiteral("does not exist")},
    };
    std::filesystem::create_directory(work() / "sub");
    for (const auto& [report, why] : refused) {
        SCOPED_TRACE(report.toStdString());
        prompts.messages.clear();
        dialog->reportPathEdit()->setText(report);
        dialog->OnStart();
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(
            prompts.messages[0].text,
            QStringLiteral("The report cannot be saved there; nothing was sent to any radio."));
        EXPECT_NE(prompts.messages[0].detail.indexOf(why), -1)
            << prompts.messages[0].detail.toStdString();
        EXPECT_FALSE(dialog->isRunning());
        EXPECT_EQ(dialog->run(), nullptr);
    }
    EXPECT_EQ(radio.peer().framesReceived(), 0);
    EXPECT_EQ(std::make_pair(testing::ReadText(image), testing::ReadText(work() / "list.csv")),
              inputsBefore);
    EXPECT_TRUE(std::filesystem::is_directory(work() / "adir.csv"));

    prompts.messages.clear();
    dialog->reportPathEdit()->setText(path("report.json"));
    dialog->OnStart();
    ASSERT_TRUE(WaitUntilIdle(*dialog));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kResultColumn), QStringLiteral("Succeeded"));
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kSerialColumn), QStringLiteral("\\x1b[2J\\x07"));
    EXPECT_TRUE(std::filesystem::exists(work() / "report.csv"));
}

// Not a check: with HALYX_FLEET_SCREENSHOT=FILE.png (and HALYX_FLEET_LANGUAGE=chinese for the
// other language file) saves a picture of the dialog in the middle of a run with the shipped
// language files, radios at different speeds and two failures (scripts/fleet-screenshot.sh).
TEST_F(FleetDialogTest, PictureOfARun) {
    const char* out = std::getenv("HALYX_FLEET_SCREENSHOT");
    if (out == nullptr) {
        GTEST_SKIP() << "HALYX_FLEET_SCREENSHOT names no picture to take";
    }
    const char* language = std::getenv("HALYX_FLEET_LANGUAGE");
    const std::string file =
        language != nullptr && std::string(language) == "chinese" ? "chinese.lang" : "english.lang";
    parts->settings.language.setFile(std::filesystem::path(std::getenv("HALYX_SOURCE_DIR")) /
                                     "data" / file);
    RadioPeerFaults refuses;
    refuses.nakBlock = {6, 3};
    RadioPeerFaults silent;
    silent.silent = true;
    for (int n = 1; n <= 6; ++n) {
        AddRadio("COM" + std::to_string(n),
                 Radio(static_cast<std::uint8_t>(n), "SIM" + std::to_string(n)),
                 n == 3   ? refuses
                 : n == 5 ? silent
                          : RadioPeerFaults{});
    }
    // Radios of different speeds: each answers at every n-th chance only.
    const std::vector<int> slowness = {1, 2, 1, 3, 1, 1};
    deliver.stop();
    int round = 0;
    QTimer uneven;
    uneven.setInterval(1);
    QObject::connect(&uneven, &QTimer::timeout, [&] {
        ++round;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (round % slowness[i] == 0) {
                radios.at(choices[i].devicePath)->Deliver();
            }
        }
    });
    uneven.start();
    auto dialog = MakeDialog();
    dialog->resize(720, 420);
    dialog->show();
    for (int row = 0; row < 5; ++row) {
        dialog->SetPortChecked(row, true);
    }
    std::ofstream(work() / "site-a.csv") << "port,serialNumber,userId\nCOM2,SITE A2,A2\n";
    dialog->overridesPathEdit()->setText(QString::fromStdString((work() / "site-a.csv").string()));
    dialog->OnStart();
    ASSERT_NE(dialog->run(), nullptr);
    QElapsedTimer clock;
    clock.start();
    while (dialog->run()->engine().radio(0).progress() < 52 && clock.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ASSERT_TRUE(dialog->grab().save(QString::fromLocal8Bit(out)));
    dialog->OnStop();
    WaitUntilIdle(*dialog);
}

}  // namespace
}  // namespace halyx::test

namespace halyx::test {
namespace {

TEST_F(FleetDialogTest, ThePortListFollowsCablesPluggedAndPulledKeepingTheChecks) {
    AddRadio("COM1", Radio(1, "ONE"));
    AddRadio("COM2", Radio(2, "TWO"));
    auto dialog = MakeDialog();
    dialog->SetPortChecked(1, true);

    // A third cable is plugged in: listed as new; the check on COM2 stays.
    AddRadio("COM3", Radio(3, "THREE"));
    dialog->RefreshPorts();
    ASSERT_EQ(dialog->portTable()->rowCount(), 3);
    EXPECT_EQ(Cell(*dialog, 2, FleetDialog::kPortColumn), QStringLiteral("COM3 (new)"));
    EXPECT_EQ(Cell(*dialog, 1, FleetDialog::kPortColumn), QStringLiteral("COM2"));
    EXPECT_EQ(dialog->portTable()->item(1, FleetDialog::kPortColumn)->checkState(), Qt::Checked);
    EXPECT_EQ(dialog->portTable()->item(2, FleetDialog::kPortColumn)->checkState(), Qt::Unchecked);
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kDeviceColumn),
              QStringLiteral("/dev/ttyFLEETCOM1  in-process radio"));

    // COM1 is pulled out: the checked COM2 is still the one checked.
    choices.erase(choices.begin());
    dialog->RefreshPorts();
    ASSERT_EQ(dialog->portTable()->rowCount(), 2);
    EXPECT_EQ(Cell(*dialog, 0, FleetDialog::kPortColumn), QStringLiteral("COM2"));
    EXPECT_EQ(dialog->portTable()->item(0, FleetDialog::kPortColumn)->checkState(), Qt::Checked);
}

}  // namespace
}  // namespace halyx::test
