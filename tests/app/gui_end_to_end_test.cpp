#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/dialogs/read_radio_dialog.h"
#include "app/dialogs/write_radio_dialog.h"
#include "app/halyx_app.h"
#include "app/main_frame.h"
#include "gui_test_support.h"
#include "history/backup_store.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {
namespace {

// The real main window, serial engine and exchange dialogs against halyx-radiosim on a
// pseudo-terminal. The exchanges run in real time (about a second for a read), driven by the
// dialogs' own timers inside their modal loops.
class EndToEnd : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        const QByteArray binaryDir = qgetenv("HALYX_BINARY_DIR");
        const QString simulator = QString::fromUtf8(binaryDir) + "/bin/halyx-radiosim";
        if (binaryDir.isEmpty() || !QFile::exists(simulator)) {
            GTEST_SKIP() << "halyx-radiosim is not built";
        }
        WriteLanguageFiles();
        std::vector<std::uint8_t> radio(kImageSize);
        for (std::size_t i = 0; i < radio.size(); ++i) {
            radio[i] = static_cast<std::uint8_t>(i * 5 + 1);
        }
        WriteFile(work() / "radio.kda", radio);
        WriteFile(work() / "default.kda", std::vector<std::uint8_t>(607, 0x22));

        QStringList arguments = {QStringLiteral("--image"),
                                 QString::fromStdString((work() / "radio.kda").string())};
        arguments += SimulatorFaults();
        simulator_.start(simulator, arguments);
        ASSERT_TRUE(simulator_.waitForStarted(5000));
        ASSERT_TRUE(simulator_.waitForReadyRead(5000));
        const QString pty = QString::fromUtf8(simulator_.readLine()).trimmed();
        WriteSettings("[setup]\nlanguage=english\n[port]\ncom=1\n[devices]\nCOM1=" +
                      CablePath(pty.toStdString()) + "\n");

        app = std::make_unique<CHalyxApp>(prompts);
        ASSERT_TRUE(app->InitInstance({}));
        app->FinishStartup();
        ASSERT_TRUE(app->radioLine().IsOpen()) << "the simulator's pty did not open";
    }

    void TearDown() override {
        app.reset();
        if (simulator_.state() != QProcess::NotRunning) {
            simulator_.terminate();
            simulator_.waitForFinished(5000);
        }
        ShellTest::TearDown();
    }

    virtual QStringList SimulatorFaults() const { return {}; }
    // The device the setting file names for the simulator's pseudo-terminal.
    virtual std::string CablePath(const std::string& pty) { return pty; }

    // Ends the simulator, which then saves its memory when told to (--save).
    void StopSimulator() {
        simulator_.terminate();
        simulator_.waitForFinished(5000);
    }
    QString SimulatorPath() const {
        return QString::fromUtf8(qgetenv("HALYX_BINARY_DIR")) + "/bin/halyx-radiosim";
    }
    QString SavedPath(const char* name) const {
        return QString::fromStdString((work() / name).string());
    }

    // Opens the dialog of `command` from the menu, presses its start button and waits inside
    // its modal loop until it closes or shows its result (or a generous deadline passes).
    template <typename Dialog>
    bool RunFromMenu(int command, int deadlineMs) {
        bool started = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            started = true;
            dialog->startButton()->click();
            // A failed exchange leaves the dialog open: close it once the result is shown.
            auto* watch = new QTimer(dialog);
            // A question asked on the way (the identity before a write) is not the end.
            QObject::connect(watch, &QTimer::timeout, dialog, [this, dialog] {
                if (!prompts.messages.empty() && !dialog->exchange().IsRunning()) {
                    dialog->reject();
                }
            });
            watch->start(50);
            QTimer::singleShot(deadlineMs, dialog, [dialog] { dialog->reject(); });
        });
        app->mainFrame()->commandAction(command)->trigger();
        return started;
    }

    // A failing radio: S0006 from the menu's read, the port closed, the image as it was.
    void ExpectReadFailsClosingThePortAndLeavingTheImage() {
        const RadioImage before = app->radioDocument().image();
        ASSERT_TRUE(RunFromMenu<ReadRadioDialog>(32773, 15000));
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, English("S0006"));
        EXPECT_FALSE(app->radioLine().IsOpen());
        EXPECT_FALSE(app->radioLine().serialPort().IsOpen());
        EXPECT_EQ(app->radioDocument().image().bytes, before.bytes);
    }

    RecordingPrompts prompts;
    std::unique_ptr<CHalyxApp> app;

private:
    QProcess simulator_;
};

TEST_F(EndToEnd, ReadFromTheMenuFillsTheImageAndRebuildsTheView) {
    const std::vector<std::uint8_t> radio = ReadFile(work() / "radio.kda");
    const int updates = app->mainFrame()->view()->initialUpdateCount();
    ASSERT_TRUE(RunFromMenu<ReadRadioDialog>(32773, 15000));

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, English("S0009"));
    EXPECT_EQ(app->mainFrame()->view()->initialUpdateCount(), updates + 1);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool read = i <= 40 || (i >= 67 && i <= 606);
        ASSERT_EQ(app->radioDocument().image().bytes[i], read ? radio[i] : (i < 607 ? 0x22 : 0))
            << i;
    }
    EXPECT_TRUE(app->radioLine().IsOpen());
}

TEST_F(EndToEnd, WriteFromTheMenuIsVerifiedByTheRadio) {
    app->radioDocument().Edit([](RadioImage& image) {
        for (std::size_t i = 0; i < kImageSize; ++i) {
            image.bytes[i] = static_cast<std::uint8_t>(255 - i % 200);
        }
    });
    ASSERT_TRUE(RunFromMenu<WriteRadioDialog>(32774, 20000));
    // The radio is read first: its serial number and user ID differ from the image's.
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.messages[1].text, English("S0008"));
    EXPECT_TRUE(app->radioLine().IsOpen());
    EXPECT_FALSE(app->radioDocument().IsChanged()) << "a verified write leaves nothing unsaved";
}

class EndToEndSilentRadio : public EndToEnd {
protected:
    QStringList SimulatorFaults() const override { return {QStringLiteral("--silent")}; }
};

TEST_F(EndToEndSilentRadio, ReadFailsWithS0006ClosesThePortAndLeavesTheImage) {
    ExpectReadFailsClosingThePortAndLeavingTheImage();
}

// The cable is reached by a link of its own, as udev names USB cables, and is pulled out while
// the port is open; the radio then never answers.
class EndToEndUnpluggedLink : public EndToEnd {
protected:
    QStringList SimulatorFaults() const override { return {QStringLiteral("--silent")}; }
    std::string CablePath(const std::string& pty) override {
        link_ = work() / "usb-cable-if00";
        std::filesystem::create_symlink(pty, link_);
        return link_.string();
    }
    std::filesystem::path link_;
};

TEST_F(EndToEndUnpluggedLink, ReadFailureSaysTheCableIsGoneAndWhatToDo) {
    std::filesystem::remove(link_);
    ExpectReadFailsClosingThePortAndLeavingTheImage();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].detail.toStdString(),
              "Likely cause: " + link_.string() +
                  " does not exist (any more); plug the cable in again, then choose the port it "
                  "now has (halyx-cli ports)");
}

class EndToEndBadChecksums : public EndToEnd {
protected:
    // The settings block arrives with a bad checksum three times running.
    QStringList SimulatorFaults() const override { return {QStringLiteral("--bad-checksum=1:3")}; }
};

TEST_F(EndToEndBadChecksums, ReadFailsWithS0006ClosesThePortAndLeavesTheImage) {
    ExpectReadFailsClosingThePortAndLeavingTheImage();
}

// The radio on the cable is a 136-174 MHz one, the image is for 406.1-470 MHz.
class EndToEndOtherBand : public EndToEnd {
protected:
    QStringList SimulatorFaults() const override {
        return {QStringLiteral("--band"), QStringLiteral("low"), QStringLiteral("--save"),
                SavedPath("saved.kda")};
    }
};

TEST_F(EndToEndOtherBand, WriteFromTheMenuIsRefusedAndTheRadioKeepsItsMemory) {
    std::vector<std::uint8_t> radio = ReadFile(work() / "radio.kda");
    radio[header::kBand] = kLowBand;
    app->radioDocument().Edit([](RadioImage& image) {
        std::fill(image.bytes.begin(), image.bytes.end(), 0x44);
        image.bytes[header::kBand] = 1;
    });
    ASSERT_TRUE(RunFromMenu<WriteRadioDialog>(32774, 20000));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("136-174 MHz radio")));
    StopSimulator();
    EXPECT_EQ(ReadFile(work() / "saved.kda"), radio);
}

// The read takes 21 frames from the window; the radio then takes the settings block and four
// record blocks and goes away, as a pulled cable would.
class EndToEndPulledCable : public EndToEnd {
protected:
    QStringList SimulatorFaults() const override {
        return {QStringLiteral("--disappear-after"), QStringLiteral("26"), QStringLiteral("--save"),
                SavedPath("partly.kda")};
    }
};

TEST_F(EndToEndPulledCable, APartlyWrittenRadioGetsItsBackupWrittenBackByteForByte) {
    const std::vector<std::uint8_t> radio = ReadFile(work() / "radio.kda");
    app->radioDocument().Edit([](RadioImage& image) {
        std::fill(image.bytes.begin() + kFirstRecordOffset, image.bytes.begin() + kRecordsEnd,
                  0x44);
    });
    // While the window asks whether to write the backup back, the cable goes into the radio
    // again: a new simulator with what the first one held when it went away.
    QProcess again;
    std::vector<std::uint8_t> partly;
    prompts.whileShown = [&](const RecordingPrompts::Message& message) {
        if (!message.text.contains(QStringLiteral("partly written"))) {
            return;
        }
        StopSimulator();
        partly = ReadFile(work() / "partly.kda");
        again.start(SimulatorPath(), {QStringLiteral("--image"), SavedPath("partly.kda"),
                                      QStringLiteral("--save"), SavedPath("restored.kda")});
        ASSERT_TRUE(again.waitForStarted(5000));
        ASSERT_TRUE(again.waitForReadyRead(5000));
        const QString pty = QString::fromUtf8(again.readLine()).trimmed();
        WriteSettings("[setup]\nlanguage=english\n[port]\ncom=1\n[devices]\nCOM1=" +
                      CablePath(pty.toStdString()) + "\n");
    };
    ASSERT_TRUE(RunFromMenu<WriteRadioDialog>(32774, 40000));

    ASSERT_EQ(prompts.messages.size(), 3u);  // the identity, the partly written radio, the verdict
    const std::vector<std::filesystem::path> backups =
        BackupStore(dataHome() / "halyx" / "backups").List();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(prompts.messages[1].text.contains(QString::fromStdString(backups[0].string())));
    EXPECT_EQ(prompts.messages[2].text, English("S0008"));
    ASSERT_EQ(partly.size(), kImageSize);
    EXPECT_NE(partly, radio) << "the radio took part of the write";
    again.terminate();
    ASSERT_TRUE(again.waitForFinished(5000));
    std::vector<std::uint8_t> restored = ReadFile(work() / "restored.kda");
    ASSERT_EQ(restored.size(), kImageSize);
    EXPECT_EQ(restored[kFirstRecordOffset], 1) << "the in-use mark every write puts there";
    restored[kFirstRecordOffset] = radio[kFirstRecordOffset];
    EXPECT_EQ(restored, radio);
    EXPECT_NE(testing::ReadText(dataHome() / "halyx" / "audit.jsonl").find("partly-written"),
              std::string::npos);
}

}  // namespace
}  // namespace halyx::test
