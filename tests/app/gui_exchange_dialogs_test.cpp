#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/dialogs/read_radio_dialog.h"
#include "app/dialogs/write_radio_dialog.h"
#include "app_parts.h"
#include "files/image_file.h"
#include "fleet/fleet_history.h"
#include "gui_test_support.h"
#include "history/backup_store.h"
#include "link/peer_link_port.h"
#include "radiosim/peer_sink.h"
#include "radiosim/radio_peer.h"
#include "support/temp_dir.h"
#include "ui/common/gui_operation_record.h"

namespace halyx::test {
namespace {

class ExchangeDialogs : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        WriteLanguageFiles();
        // The plain write; reading first has tests of its own.
        WriteSettings("[port]\ncom=2\n[write]\nreadFirst=0\n");
        parts = std::make_unique<AppParts>();
        parts->settings.language.setFile(home() / "english.lang");
        port.SetTrafficLog(&parts->line.trafficLog());
        parts->line.runner().SetPort(&port);
        parts->line.trafficLog().Open();
        for (std::size_t i = 0; i < kImageSize; ++i) {
            peer.memory()[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        port.Open(PortText{2, {}}, SerialLineSettings::kLinkBaudRate);
        port.opened.clear();
    }

    void TearDown() override {
        parts.reset();
        ShellTest::TearDown();
    }

    // Lets the radio answer and the timer tick until the exchange stops or `limit` ticks.
    int Run(ExchangeDialog& dialog, int limit = 5000, int stopAtTimer = -1) {
        int ticks = 0;
        while (dialog.armedTimerId() != kNoTimer && ticks < limit) {
            port.Deliver();
            if (dialog.armedTimerId() == kNoTimer || dialog.armedTimerId() == stopAtTimer) {
                break;
            }
            dialog.OnTimer();
            ++ticks;
        }
        return ticks;
    }

    void ExpectOnlyMessage(PromptIcon icon, const char* caption, const QString& text) {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].icon, icon);
        EXPECT_EQ(prompts.messages[0].caption, QString::fromUtf8(caption));
        EXPECT_EQ(prompts.messages[0].text, text);
    }

    std::string TrafficLogText() const { return testing::ReadText(work() / "comm.log"); }

    // How the dialog looked while each box was up.
    struct Behind {
        QString title;
        int progress;
        int portCloses;
    };
    void WatchBehindBoxes(const ExchangeDialog& dialog) {
        prompts.whileShown = [this, &dialog](const RecordingPrompts::Message&) {
            behind.push_back({dialog.windowTitle(), dialog.progressBar()->value(), port.closes});
        };
    }
    std::vector<Behind> behind;

    RadioPeer peer;
    RadioPeerSink sink{peer};
    PeerLinkPort port{sink};
    RecordingPrompts prompts;
    std::unique_ptr<AppParts> parts;
};

using ReadDialog = ExchangeDialogs;
using WriteDialog = ExchangeDialogs;

std::vector<int> SentBlocks(const RadioPeerSink& sink) {
    std::vector<int> blocks;
    for (const auto& frame : sink.sentFrames()) {
        // Long frames carry their block number in bytes 3..4; short ones (ACK/NAK) show as -1.
        blocks.push_back(frame.bytes.size() > 4 ? frame.bytes[3] | (frame.bytes[4] << 8) : -1);
    }
    return blocks;
}

TEST_F(ReadDialog, ShowsItsTextsAndProgressRange) {
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    EXPECT_EQ(dialog.windowTitle(), English("S0047"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("1001"))->text(), English("S0049"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("1002"))->text(), English("S0050"));
    auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("1015"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 20);
}

TEST_F(ReadDialog, StartButtonAndProgressBarAreReachableByAssistiveTechnology) {
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.show();
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&dialog);
    ASSERT_NE(root, nullptr);
    bool startFound = false;
    bool progressFound = false;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        if (child->role() == QAccessible::Button &&
            child->text(QAccessible::Name) == English("S0049")) {
            startFound = true;
            EXPECT_TRUE(child->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::pressAction()));
        }
        if (child->role() == QAccessible::ProgressBar) {
            progressFound = true;
            ASSERT_NE(child->valueInterface(), nullptr);
            EXPECT_EQ(child->valueInterface()->currentValue().toInt(), 0);
        }
    }
    EXPECT_TRUE(startFound);
    EXPECT_TRUE(progressFound);
}

TEST_F(ReadDialog, SuccessfulReadFillsTheImageReportsAndHandsBackToTheMainWindow) {
    parts->document.Edit([&](RadioImage& image) { image.bytes.fill(0xCC); });
    int refreshed = 0;
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts,
                           [&] { ++refreshed; });
    dialog.show();
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);

    EXPECT_EQ(dialog.armedTimerId(), kReadTimer);
    EXPECT_TRUE(dialog.isTimerActive());
    EXPECT_FALSE(dialog.startButton()->isEnabled());
    EXPECT_FALSE(dialog.closeButton()->isEnabled());
    dialog.close();  // the close box does nothing while the read runs
    EXPECT_TRUE(dialog.isVisible());

    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0009"));
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_TRUE(parts->line.IsOpen());
    EXPECT_EQ(port.closes, 0);
    EXPECT_TRUE(port.opened.empty());  // it was open already
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool read = i <= 40 || (i >= 67 && i <= 606);
        ASSERT_EQ(parts->document.image().bytes[i], read ? peer.memory()[i] : 0xCC) << i;
    }
    const std::string log = TrafficLogText();
    EXPECT_NE(log.find(kReadStartMarker), std::string::npos);
    EXPECT_NE(log.find(kReadEndMarker), std::string::npos);
    EXPECT_FALSE(parts->line.runner().IsBusy());
}

TEST_F(ReadDialog, ReadAndWriteLeaveABackupOfTheRadioAndOneAuditLineEach) {
    WriteSettings("[port]\ncom=2\n[devices]\nCOM2=/dev/ttyRADIO\n[write]\nreadFirst=0\n");
    const std::string serial = "SN-77";
    std::fill_n(peer.memory().begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
    std::copy(serial.begin(), serial.end(), peer.memory().begin() + header::kSerialNumber);
    const RadioPeer::Memory held = peer.memory();
    // Whoever shows the operations (the status bar) hears of each with the backup it left.
    std::vector<std::pair<std::string, OperationRecord>> told;
    const auto tell = [&told](const GuiRadioOperation& op, const OperationRecord& record) {
        told.emplace_back(op.operation + " " + op.result, record);
    };
    ReadRadioDialog read(parts->line, parts->document, parts->settings, prompts, {});
    QObject::connect(&read, &ExchangeDialog::operationRecorded, tell);
    read.OnStart();
    Run(read);
    WriteRadioDialog write(parts->line, parts->document, parts->settings, prompts, nullptr, 2);
    QObject::connect(&write, &ExchangeDialog::operationRecorded, tell);
    write.OnStart();
    Run(write);
    ASSERT_EQ(prompts.messages.size(), 2u);  // the two verdicts, no backup failure
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].first, "read success");
    EXPECT_EQ(told[1].first, "write success");
    EXPECT_TRUE(told[1].second.backupPath.empty());

    const std::vector<std::filesystem::path> backups =
        BackupStore(dataHome() / "halyx" / "backups").List();
    ASSERT_EQ(backups.size(), 1u);
    RadioImage backup;
    ASSERT_TRUE(LoadImageFile(backups[0], backup).ok());
    EXPECT_TRUE(std::equal(backup.bytes.begin(), backup.bytes.begin() + kHeaderSize, held.begin()));
    EXPECT_TRUE(std::equal(backup.bytes.begin() + kFirstRecordOffset,
                           backup.bytes.begin() + kRecordsEnd, held.begin() + kFirstRecordOffset));
    EXPECT_EQ(backups[0].filename().string().substr(6), "-SN-77.kda");
    EXPECT_EQ(std::filesystem::path(told[0].second.backupPath), backups[0]);

    std::istringstream lines(testing::ReadText(dataHome() / "halyx" / "audit.jsonl"));
    std::string readLine;
    std::string writeLine;
    std::string extra;
    std::getline(lines, readLine);
    std::getline(lines, writeLine);
    EXPECT_FALSE(std::getline(lines, extra));
    const std::string digest = ImageFileSha256(parts->document.image());
    const std::string identity = R"("serialNumber":"SN-77",)";
    EXPECT_NE(readLine.find(R"("program":"halyx","operation":"read","port":"COM2",)"
                            R"("device":"/dev/ttyRADIO",)"),
              std::string::npos)
        << readLine;
    EXPECT_NE(readLine.find(identity), std::string::npos) << readLine;
    EXPECT_NE(readLine.find(R"("sha256Read":")" + digest +
                            R"(","sha256Written":null,)"
                            R"("result":"success")"),
              std::string::npos)
        << readLine;
    EXPECT_NE(readLine.find(R"("backup":")" + backups[0].string() + R"("})"), std::string::npos)
        << readLine;
    EXPECT_NE(writeLine.find(R"("operation":"write")"), std::string::npos) << writeLine;
    EXPECT_NE(writeLine.find(R"("sha256Read":null,"sha256Written":")" + digest +
                             R"(","result":"success")"),
              std::string::npos)
        << writeLine;
    EXPECT_NE(writeLine.find(R"("backup":null})"), std::string::npos) << writeLine;
}

TEST_F(ReadDialog, ABackupThatCannotBeSavedIsReportedButTheImageReadIsKept) {
    // A file where the data folder should be: nothing can be made beneath it.
    WriteFile(dataHome(), {0x01});
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.OnStart();
    Run(dialog);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Halyx"));
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Backup failed"));
    EXPECT_NE(prompts.messages[0].detail.indexOf(QStringLiteral("backups")), -1);
    EXPECT_EQ(prompts.messages[1].text, English("S0009"));
    EXPECT_TRUE(std::equal(parts->document.image().bytes.begin() + kFirstRecordOffset,
                           parts->document.image().bytes.begin() + kRecordsEnd,
                           peer.memory().begin() + kFirstRecordOffset));
}

TEST_F(ReadDialog, SilentRadioFailsWithS0006ClosesThePortAndKeepsTheDialog) {
    peer.faults().silent = true;
    const RadioImage before = parts->document.image();
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.show();
    dialog.OnStart();
    const int ticks = Run(dialog);

    EXPECT_EQ(ticks, 300);
    EXPECT_EQ(SentBlocks(sink), (std::vector<int>{1, -1, -1}));
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_TRUE(dialog.closeButton()->isEnabled());
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_FALSE(dialog.isTimerActive());
    EXPECT_EQ(parts->document.image().bytes, before.bytes);

    // Starting again opens the port first.
    peer.faults().silent = false;
    prompts.messages.clear();
    dialog.OnStart();
    EXPECT_EQ(port.openedNumbers(), std::vector<int>{2});
    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0009"));
}

TEST_F(ReadDialog, AFailureIsShownBeforeTheProgressBarIsResetAndThePortClosed) {
    peer.faults().dropFrame = {5, 3};  // records 2 to 4 arrive, then record 5 never does
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.show();
    WatchBehindBoxes(dialog);
    dialog.OnStart();
    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
    ASSERT_EQ(behind.size(), 1u);
    EXPECT_EQ(behind[0].progress, 4);
    EXPECT_EQ(behind[0].portCloses, 0);
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_EQ(port.closes, 1);
}

TEST_F(ReadDialog, ThreeBadSettingsChecksumsFailWithoutWaitingForATimeOut) {
    peer.faults().badChecksum = {1, 3};
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.OnStart();
    const int ticks = Run(dialog);
    EXPECT_LT(ticks, 100);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
}

TEST_F(ReadDialog, APortThatWillNotOpenIsReportedWithErrorBangAndNothingIsSent) {
    port.sink().SetOpen(false);  // closed since; the dialog must open it
    port.succeed = false;
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.OnStart();
    ExpectOnlyMessage(PromptIcon::Stop, "Error!", English("S0004"));
    EXPECT_EQ(prompts.messages[0].detail, QStringLiteral("COM1 is in use by another program."));
    EXPECT_TRUE(sink.sentFrames().empty());
    EXPECT_EQ(dialog.armedTimerId(), kNoTimer);
    EXPECT_TRUE(dialog.startButton()->isEnabled());
}

TEST_F(ReadDialog, EscapeCancelsARunningReadSilentlyAndLeavesThePortOpen) {
    ReadRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, {});
    dialog.show();
    dialog.OnStart();
    Run(dialog, 3);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.exchange().IsRunning());
    EXPECT_FALSE(dialog.isTimerActive());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(parts->line.IsOpen());
    EXPECT_FALSE(parts->line.runner().IsBusy());
}

TEST_F(WriteDialog, ShowsItsTextsAndProgressRange) {
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
    EXPECT_EQ(dialog.progressBar()->minimum(), 1);
    EXPECT_EQ(dialog.progressBar()->maximum(), 20);
    EXPECT_EQ(dialog.progressBar()->objectName(), QStringLiteral("1015"));
}

TEST_F(WriteDialog, SuccessfulWriteVerifiesThenReportsS0008AndCloses) {
    parts->document.Edit([](RadioImage& image) {
        for (std::size_t i = 0; i < kImageSize; ++i) {
            image.bytes[i] = static_cast<std::uint8_t>(i * 3);
        }
    });
    parts->document.Edit([&](RadioImage& image) { image.bytes[kFirstRecordOffset] = 1; });
    const RadioImage before = parts->document.image();
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    dialog.show();
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.armedTimerId(), kReadTimer);
    EXPECT_FALSE(dialog.startButton()->isEnabled());
    EXPECT_FALSE(dialog.closeButton()->isEnabled());

    Run(dialog, 5000, kVerifyTimer);
    EXPECT_EQ(dialog.armedTimerId(), kVerifyTimer);
    EXPECT_EQ(dialog.windowTitle(), English("S0201"));
    EXPECT_EQ(dialog.progressBar()->value(), 20);

    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0008"));
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(parts->line.IsOpen());
    EXPECT_EQ(parts->document.image().bytes, before.bytes);
    for (std::size_t i = kFirstRecordOffset; i < kRecordsEnd; ++i) {
        ASSERT_EQ(peer.memory()[i], before.bytes[i]) << i;
    }
}

TEST_F(WriteDialog, ADifferentReadBackIsReportedWithS0200) {
    peer.faults().readBackDiffers = true;
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    dialog.OnStart();
    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0200"));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(WriteDialog, TheVerdictIsShownUnderTheCheckTitleWhichReturnsOnceAcknowledged) {
    for (const bool differs : {false, true}) {
        peer.faults().readBackDiffers = differs;
        prompts.messages.clear();
        behind.clear();
        WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
        dialog.show();
        WatchBehindBoxes(dialog);
        dialog.OnStart();
        Run(dialog);
        ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English(differs ? "S0200" : "S0008"));
        ASSERT_EQ(behind.size(), 1u);
        EXPECT_EQ(behind[0].title, English("S0201")) << differs;
        EXPECT_EQ(behind[0].progress, 20) << differs;
        EXPECT_EQ(dialog.windowTitle(), English("S0048")) << differs;
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(WriteDialog, AFailedCheckIsShownBeforeTitleAndProgressAreReset) {
    peer.faults().silentAfterWrite = true;
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    dialog.show();
    WatchBehindBoxes(dialog);
    dialog.OnStart();
    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
    ASSERT_EQ(behind.size(), 1u);
    EXPECT_EQ(behind[0].title, English("S0201"));
    EXPECT_EQ(behind[0].progress, 20);
    EXPECT_EQ(behind[0].portCloses, 0);
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
    EXPECT_EQ(dialog.progressBar()->value(), dialog.progressBar()->minimum());
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(WriteDialog, ARecordRefusedThreeTimesFailsWithS0006AndClosesThePort) {
    peer.faults().nakBlock = {2, 3};
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    dialog.show();
    dialog.OnStart();
    Run(dialog);
    EXPECT_EQ(SentBlocks(sink), (std::vector<int>{1, 2, 2, 2}));
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_EQ(dialog.progressBar()->value(), 1);
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
}

TEST_F(WriteDialog, APortThatWillNotOpenIsReportedWithError) {
    port.sink().SetOpen(false);  // closed since; the dialog must open it
    port.succeed = false;
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    dialog.OnStart();
    ExpectOnlyMessage(PromptIcon::Stop, "Error", English("S0004"));
    EXPECT_EQ(prompts.messages[0].detail, QStringLiteral("COM1 is in use by another program."));
    EXPECT_TRUE(sink.sentFrames().empty());
}

TEST_F(WriteDialog, TheCloseBoxCancelsARunningWriteSilently) {
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
    dialog.show();
    dialog.OnStart();
    Run(dialog, 5);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.exchange().IsRunning());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(parts->line.IsOpen());
}

}  // namespace
}  // namespace halyx::test

namespace halyx::test {
namespace {

// The write as it runs by default: the radio is read into a buffer of its own and backed up
// first. The radio (band 406.1-470, serial "RADIO-1", user "U1") and the image agree on the band
// unless a test says otherwise; the image's channels differ from the radio's.
class ReadFirstWrite : public ExchangeDialogs {
protected:
    void SetUp() override {
        ExchangeDialogs::SetUp();
        WriteSettings("[port]\ncom=2\n");  // no [write] section: reading first is the default
        peer.SetBand(true);
        SetText(peer.memory().data(), header::kSerialNumber, header::kSerialNumberSize, "RADIO-1");
        SetText(peer.memory().data(), header::kUserId, header::kUserIdSize, "U1");
        peer.memory()[kFirstRecordOffset] = 1;  // what every write puts there
        held = peer.memory();
        parts->document.Edit([this](RadioImage& image) {
            std::copy(held.begin(), held.end(), image.bytes.begin());
            for (std::size_t i = kFirstRecordOffset + 1; i < kRecordsEnd; ++i) {
                image.bytes[i] = static_cast<std::uint8_t>(i * 11);
            }
        });
    }

    static void SetText(std::uint8_t* bytes, std::size_t offset, std::size_t size,
                        const std::string& text) {
        std::fill_n(bytes + offset, size, 0);
        std::copy(text.begin(), text.end(), bytes + offset);
    }

    std::vector<std::filesystem::path> Backups() const {
        return BackupStore(dataHome() / "halyx" / "backups").List();
    }
    std::string AuditText() const {
        return std::filesystem::exists(dataHome() / "halyx" / "audit.jsonl")
                   ? testing::ReadText(dataHome() / "halyx" / "audit.jsonl")
                   : std::string();
    }
    // The audit results, in order, as "operation:result".
    std::vector<std::string> AuditResults() const {
        std::vector<std::string> results;
        std::istringstream lines(AuditText());
        for (std::string line; std::getline(lines, line);) {
            const auto field = [&line](const std::string& name) {
                const std::size_t at = line.find("\"" + name + "\":\"") + name.size() + 4;
                return line.substr(at, line.find('"', at) - at);
            };
            results.push_back(field("operation") + ":" + field("result"));
        }
        return results;
    }

    RadioPeer::Memory held;
};

TEST_F(ReadFirstWrite, ARadioOfTheOtherBandIsBackedUpAndRefusedWithNothingWritten) {
    parts->document.Edit([](RadioImage& image) { image.bytes[header::kBand] = kLowBand; });
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, nullptr, 2);
    dialog.show();
    ASSERT_TRUE(dialog.readFirstBox()->isChecked());
    dialog.OnStart();
    Run(dialog);

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    const QString text = prompts.messages[0].text;
    EXPECT_TRUE(
        text.contains(QStringLiteral("is a 406.1-470 MHz radio and the image is for "
                                     "136-174 MHz")))
        << text.toStdString();
    EXPECT_EQ(peer.memory(), held);
    EXPECT_EQ(Backups().size(), 1u);
    EXPECT_EQ(AuditResults(), (std::vector<std::string>{"read:success", "write:wrong-band"}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
    EXPECT_TRUE(parts->document.IsChanged()) << "nothing was written";
}

TEST_F(ReadFirstWrite, TheBackupAndItsAuditLineComeBeforeAnyWriteAndTheIdentityIsAsked) {
    parts->document.Edit([](RadioImage& image) {
        SetText(image.bytes.data(), header::kSerialNumber, header::kSerialNumberSize, "IMAGE-2");
        SetText(image.bytes.data(), header::kUserId, header::kUserIdSize, "U2");
    });
    for (const PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No}) {
        peer.memory() = held;
        prompts.messages.clear();
        prompts.answers = {answer};
        std::size_t backupsAtQuestion = 0;
        std::string auditAtQuestion;
        RadioPeer::Memory memoryAtQuestion{};
        prompts.whileShown = [&](const RecordingPrompts::Message& message) {
            if (message.buttons == PromptButtons::YesNo) {
                backupsAtQuestion = Backups().size();
                auditAtQuestion = AuditText();
                memoryAtQuestion = peer.memory();
            }
        };
        const std::size_t backupsBefore = Backups().size();
        WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, nullptr, 2);
        dialog.OnStart();
        Run(dialog);

        ASSERT_EQ(prompts.messages.size(), 2u);
        EXPECT_EQ(prompts.messages[0].yesText, QStringLiteral("Keep the radio's"));
        EXPECT_EQ(prompts.messages[0].noText, QStringLiteral("Write the image's"));
        EXPECT_FALSE(prompts.messages[0].text.contains(QStringLiteral("No ")))
            << "the question names no button it does not show";
        EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("(RADIO-1 / U1)")));
        EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("(IMAGE-2 / U2)")));
        EXPECT_EQ(prompts.messages[1].text, English("S0008"));
        EXPECT_EQ(backupsAtQuestion, backupsBefore + 1);
        EXPECT_EQ(std::count(auditAtQuestion.begin(), auditAtQuestion.end(), '\n'),
                  static_cast<long>(2 * backupsBefore + 1));
        EXPECT_NE(auditAtQuestion.rfind(R"("operation":"read")"), std::string::npos);
        EXPECT_EQ(memoryAtQuestion, held) << "nothing written before the answer";

        const bool kept = answer == PromptAnswer::Yes;
        const std::string serial(
            reinterpret_cast<const char*>(peer.memory().data() + header::kSerialNumber));
        const std::string user(
            reinterpret_cast<const char*>(peer.memory().data() + header::kUserId), 2);
        EXPECT_EQ(serial.substr(0, 7), kept ? "RADIO-1" : "IMAGE-2");
        EXPECT_EQ(user, kept ? "U1" : "U2");
        for (std::size_t i = kFirstRecordOffset; i < kRecordsEnd; ++i) {
            ASSERT_EQ(peer.memory()[i], parts->document.image().bytes[i]) << i;
        }
        EXPECT_FALSE(parts->document.IsChanged()) << "a verified write has nothing to lose";
    }
}

TEST_F(ReadFirstWrite, CancellingTheIdentityQuestionWritesNothingAndKeepsTheBackup) {
    parts->document.Edit([](RadioImage& image) {
        SetText(image.bytes.data(), header::kSerialNumber, header::kSerialNumberSize, "IMAGE-2");
    });
    prompts.answers = {PromptAnswer::Cancel};
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, nullptr, 2);
    dialog.show();
    dialog.OnStart();
    Run(dialog);

    ASSERT_EQ(prompts.messages.size(), 1u) << "no verdict: nothing was written";
    EXPECT_EQ(peer.memory(), held);
    EXPECT_EQ(Backups().size(), 1u);
    EXPECT_EQ(AuditResults(), (std::vector<std::string>{"read:success"}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_TRUE(dialog.readFirstBox()->isEnabled());
    EXPECT_TRUE(parts->document.IsChanged());
}

TEST_F(ReadFirstWrite, APartlyWrittenRadioIsOfferedItsBackupWhichRestoresItByteForByte) {
    peer.faults().nakBlock = {5, 3};
    prompts.answers = {PromptAnswer::Yes};
    int closesAtQuestion = -1;
    prompts.whileShown = [&](const RecordingPrompts::Message& message) {
        if (message.buttons == PromptButtons::YesNo) {
            closesAtQuestion = port.closes;
        }
    };
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, nullptr, 2);
    dialog.show();
    dialog.OnStart();
    Run(dialog);

    const std::vector<std::filesystem::path> backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.messages[0].yesText, QStringLiteral("Write the backup back"));
    EXPECT_EQ(prompts.messages[0].noText, QStringLiteral("Not now"));
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("partly written")));
    EXPECT_TRUE(prompts.messages[0].text.contains(QString::fromStdString(backups[0].string())));
    EXPECT_EQ(closesAtQuestion, 0) << "shown over the dialog as the failure left it";
    EXPECT_EQ(prompts.messages[1].text, English("S0008"));
    EXPECT_EQ(peer.memory(), held) << "the backup written back";
    EXPECT_EQ(AuditResults(),
              (std::vector<std::string>{"read:success", "write:partly-written", "write:success"}));
    EXPECT_TRUE(parts->document.IsChanged()) << "the image itself never reached the radio";
}

TEST_F(ReadFirstWrite, TheCheckBoxIsRememberedAndOffMeansThePlainWrite) {
    {
        WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts);
        dialog.readFirstBox()->setChecked(false);
    }
    EXPECT_NE(ReadSettings().find("readFirst=0"), std::string::npos) << ReadSettings();
    WriteRadioDialog dialog(parts->line, parts->document, parts->settings, prompts, nullptr, 2);
    EXPECT_FALSE(dialog.readFirstBox()->isChecked());
    dialog.OnStart();
    Run(dialog);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0008"));
    EXPECT_EQ(SentBlocks(sink).front(), 1) << "the settings block goes out first";
    EXPECT_TRUE(Backups().empty());
    dialog.readFirstBox()->setChecked(true);
    EXPECT_NE(ReadSettings().find("readFirst=1"), std::string::npos);
}

}  // namespace
}  // namespace halyx::test
