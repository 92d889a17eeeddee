#include <QAccessible>
#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/app_context.h"
#include "app/dialogs/read_radio_dialog.h"
#include "app/dialogs/write_radio_dialog.h"
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
        WriteSettings("[port]\ncom=2\n");
        context = std::make_unique<AppContext>();
        context->language.setFile(home() / "english.lang");
        port.SetTrafficLog(&context->trafficLog);
        context->runner.SetPort(&port);
        context->trafficLog.Open();
        for (std::size_t i = 0; i < kImageSize; ++i) {
            peer.memory()[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        port.Open(PortText{2, {}}, SerialLineSettings::kLinkBaudRate);
        port.opened.clear();
    }

    void TearDown() override {
        context.reset();
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
    std::unique_ptr<AppContext> context;
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
    ReadRadioDialog dialog(*context, prompts, {});
    EXPECT_EQ(dialog.windowTitle(), English("S0047"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("1001"))->text(), English("S0049"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("1002"))->text(), English("S0050"));
    auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("1015"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 20);
}

TEST_F(ReadDialog, StartButtonAndProgressBarAreReachableByAssistiveTechnology) {
    ReadRadioDialog dialog(*context, prompts, {});
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
    context->document.Edit([&](RadioImage& image) { image.bytes.fill(0xCC); });
    int refreshed = 0;
    ReadRadioDialog dialog(*context, prompts, [&] { ++refreshed; });
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
    EXPECT_TRUE(LinkPortOpen(*context));
    EXPECT_EQ(port.closes, 0);
    EXPECT_TRUE(port.opened.empty());  // it was open already
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool read = i <= 40 || (i >= 67 && i <= 606);
        ASSERT_EQ(context->document.image().bytes[i], read ? peer.memory()[i] : 0xCC) << i;
    }
    const std::string log = TrafficLogText();
    EXPECT_NE(log.find(kReadStartMarker), std::string::npos);
    EXPECT_NE(log.find(kReadEndMarker), std::string::npos);
    EXPECT_FALSE(context->runner.IsBusy());
}

TEST_F(ReadDialog, ReadAndWriteLeaveABackupOfTheRadioAndOneAuditLineEach) {
    WriteSettings("[port]\ncom=2\n[devices]\nCOM2=/dev/ttyRADIO\n");
    const std::string serial = "SN-77";
    std::fill_n(peer.memory().begin() + header::kSerialNumber, header::kSerialNumberSize, 0);
    std::copy(serial.begin(), serial.end(), peer.memory().begin() + header::kSerialNumber);
    const RadioPeer::Memory held = peer.memory();
    // Whoever shows the operations (the status bar) hears of each with the backup it left.
    std::vector<std::pair<std::string, OperationRecord>> told;
    context->radioOperationRecorded = [&told](const GuiRadioOperation& op,
                                              const OperationRecord& record) {
        told.emplace_back(op.operation + " " + op.result, record);
    };
    ReadRadioDialog read(*context, prompts, {});
    read.OnStart();
    Run(read);
    WriteRadioDialog write(*context, prompts, nullptr, 2);
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
    const std::string digest = ImageFileSha256(context->document.image());
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
    ReadRadioDialog dialog(*context, prompts, {});
    dialog.OnStart();
    Run(dialog);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Halyx"));
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Backup failed"));
    EXPECT_NE(prompts.messages[0].detail.indexOf(QStringLiteral("backups")), -1);
    EXPECT_EQ(prompts.messages[1].text, English("S0009"));
    EXPECT_TRUE(std::equal(context->document.image().bytes.begin() + kFirstRecordOffset,
                           context->document.image().bytes.begin() + kRecordsEnd,
                           peer.memory().begin() + kFirstRecordOffset));
}

TEST_F(ReadDialog, SilentRadioFailsWithS0006ClosesThePortAndKeepsTheDialog) {
    peer.faults().silent = true;
    const RadioImage before = context->document.image();
    ReadRadioDialog dialog(*context, prompts, {});
    dialog.show();
    dialog.OnStart();
    const int ticks = Run(dialog);

    EXPECT_EQ(ticks, 300);
    EXPECT_EQ(SentBlocks(sink), (std::vector<int>{1, -1, -1}));
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
    EXPECT_FALSE(LinkPortOpen(*context));
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_TRUE(dialog.closeButton()->isEnabled());
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_FALSE(dialog.isTimerActive());
    EXPECT_EQ(context->document.image().bytes, before.bytes);

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
    ReadRadioDialog dialog(*context, prompts, {});
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
    ReadRadioDialog dialog(*context, prompts, {});
    dialog.OnStart();
    const int ticks = Run(dialog);
    EXPECT_LT(ticks, 100);
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
}

TEST_F(ReadDialog, APortThatWillNotOpenIsReportedWithErrorBangAndNothingIsSent) {
    port.sink().SetOpen(false);  // closed since; the dialog must open it
    port.succeed = false;
    ReadRadioDialog dialog(*context, prompts, {});
    dialog.OnStart();
    ExpectOnlyMessage(PromptIcon::Stop, "Error!", English("S0004"));
    EXPECT_EQ(prompts.messages[0].detail, QStringLiteral("COM1 is in use by another program."));
    EXPECT_TRUE(sink.sentFrames().empty());
    EXPECT_EQ(dialog.armedTimerId(), kNoTimer);
    EXPECT_TRUE(dialog.startButton()->isEnabled());
}

TEST_F(ReadDialog, EscapeCancelsARunningReadSilentlyAndLeavesThePortOpen) {
    ReadRadioDialog dialog(*context, prompts, {});
    dialog.show();
    dialog.OnStart();
    Run(dialog, 3);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.exchange().IsRunning());
    EXPECT_FALSE(dialog.isTimerActive());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(LinkPortOpen(*context));
    EXPECT_FALSE(context->runner.IsBusy());
}

TEST_F(WriteDialog, ShowsItsTextsAndProgressRange) {
    WriteRadioDialog dialog(*context, prompts);
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
    EXPECT_EQ(dialog.progressBar()->minimum(), 1);
    EXPECT_EQ(dialog.progressBar()->maximum(), 20);
    EXPECT_EQ(dialog.progressBar()->objectName(), QStringLiteral("1015"));
}

TEST_F(WriteDialog, SuccessfulWriteVerifiesThenReportsS0008AndCloses) {
    context->document.Edit([](RadioImage& image) {
        for (std::size_t i = 0; i < kImageSize; ++i) {
            image.bytes[i] = static_cast<std::uint8_t>(i * 3);
        }
    });
    context->document.Edit([&](RadioImage& image) { image.bytes[kFirstRecordOffset] = 1; });
    const RadioImage before = context->document.image();
    WriteRadioDialog dialog(*context, prompts);
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
    EXPECT_TRUE(LinkPortOpen(*context));
    EXPECT_EQ(context->document.image().bytes, before.bytes);
    for (std::size_t i = kFirstRecordOffset; i < kRecordsEnd; ++i) {
        ASSERT_EQ(peer.memory()[i], before.bytes[i]) << i;
    }
}

TEST_F(WriteDialog, ADifferentReadBackIsReportedWithS0200) {
    peer.faults().readBackDiffers = true;
    WriteRadioDialog dialog(*context, prompts);
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
        WriteRadioDialog dialog(*context, prompts);
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
    WriteRadioDialog dialog(*context, prompts);
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
    WriteRadioDialog dialog(*context, prompts);
    dialog.show();
    dialog.OnStart();
    Run(dialog);
    EXPECT_EQ(SentBlocks(sink), (std::vector<int>{1, 2, 2, 2}));
    ExpectOnlyMessage(PromptIcon::Exclamation, "CPS", English("S0006"));
    EXPECT_FALSE(LinkPortOpen(*context));
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    EXPECT_EQ(dialog.progressBar()->value(), 1);
    EXPECT_EQ(dialog.windowTitle(), English("S0048"));
}

TEST_F(WriteDialog, APortThatWillNotOpenIsReportedWithError) {
    port.sink().SetOpen(false);  // closed since; the dialog must open it
    port.succeed = false;
    WriteRadioDialog dialog(*context, prompts);
    dialog.OnStart();
    ExpectOnlyMessage(PromptIcon::Stop, "Error", English("S0004"));
    EXPECT_EQ(prompts.messages[0].detail, QStringLiteral("COM1 is in use by another program."));
    EXPECT_TRUE(sink.sentFrames().empty());
}

TEST_F(WriteDialog, TheCloseBoxCancelsARunningWriteSilently) {
    WriteRadioDialog dialog(*context, prompts);
    dialog.show();
    dialog.OnStart();
    Run(dialog, 5);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.exchange().IsRunning());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(LinkPortOpen(*context));
}

}  // namespace
}  // namespace halyx::test
