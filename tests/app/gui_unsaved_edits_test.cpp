// Nothing lost by a slip in the window: unsaved edits are asked about before anything sets them
// aside, the title shows whether there are any, Ctrl+S saves where Open finds the file again, and
// a first start without a port is guided rather than scolded.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/dialogs/read_radio_dialog.h"
#include "app/dialogs/write_radio_dialog.h"
#include "app/port_settings_dialog.h"
#include "app/startup_check.h"
#include "app/status_pane_updater.h"
#include "app/status_panes.h"
#include "gui_app_fixture.h"
#include "link/peer_link_port.h"
#include "radiosim/peer_sink.h"
#include "radiosim/radio_peer.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {
namespace {

constexpr std::size_t kEdited = 100;  // the byte the tests' edit changes
constexpr std::uint8_t kEditedValue = 0x5A;

class UnsavedEdits : public RunningApp {
protected:
    void SetUp() override {
        RunningApp::SetUp();
        StartWith("[setup]\nlanguage=english\n[port]\ncom=2\n");
        prompts.messages.clear();
    }

    void EditImage() {
        app->radioDocument().Edit([](RadioImage& image) { image.bytes[kEdited] = kEditedValue; });
    }
    QString PathOf(const char* name) const {
        return QString::fromStdString((work() / name).string());
    }
    QString Title() const { return frame->windowTitle(); }

    // Runs `command` and reports whether a modal dialog of type Dialog was opened (and closes it).
    template <typename Dialog>
    bool OpensDialog(const std::function<void()>& command) {
        bool opened = false;
        QTimer::singleShot(0, [&opened] {
            if (auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget())) {
                opened = true;
                dialog->reject();
            }
        });
        command();
        QApplication::processEvents();
        return opened;
    }
};

// Each command that would set edits aside, with each answer: Save (the image is saved, the
// command goes on), Discard (it goes on), Cancel or a save that is cancelled (it does not, and
// the edits stay).
TEST_F(UnsavedEdits, EveryCommandThatSetsEditsAsideAsksSaveDiscardOrCancel) {
    WriteFile(work() / "other.kda", std::vector<std::uint8_t>(607, 0x33));
    struct Command {
        const char* name;
        std::function<bool()> runAndWentOn;
    };
    const std::vector<Command> commands = {
        {"close",
         [this] {
             frame->close();
             const bool closed = !frame->isVisible();
             frame->show();
             return closed;
         }},
        {"new",
         [this] {
             frame->OnCommand(57600);
             return app->radioDocument().image().bytes[kEdited] == 0x11;
         }},
        {"open",
         [this] {
             prompts.openPaths = {PathOf("other.kda")};
             frame->OnCommand(57601);
             prompts.openPaths.clear();
             return app->radioDocument().image().bytes[kEdited] == 0x33;
         }},
        {"read",
         [this] { return OpensDialog<ReadRadioDialog>([this] { frame->OnCommand(32773); }); }},
        {"import",
         [this] {
             const std::size_t asked = prompts.openSpecs.size();
             frame->OnCommand(32786);  // the file dialog is cancelled
             return prompts.openSpecs.size() > asked;
         }},
    };
    enum class Answer { Save, SaveCancelled, Discard, Cancel };
    for (const Command& command : commands) {
        for (const Answer answer :
             {Answer::Save, Answer::SaveCancelled, Answer::Discard, Answer::Cancel}) {
            const std::string what =
                std::string(command.name) + " " + std::to_string(static_cast<int>(answer));
            app->radioDocument().Replace(RadioImage{});
            EditImage();
            ASSERT_TRUE(Title().startsWith(QLatin1Char('*'))) << what;
            const QString name = Title().mid(1).section(QStringLiteral(" - "), 0, 0);
            prompts.messages.clear();
            std::filesystem::remove(work() / "kept.kda");
            prompts.answers = {answer == Answer::Discard  ? PromptAnswer::Discard
                               : answer == Answer::Cancel ? PromptAnswer::Cancel
                                                          : PromptAnswer::Save};
            if (answer == Answer::Save) {
                prompts.savePaths = {PathOf("kept.kda")};
            }
            const bool wentOn = command.runAndWentOn();

            ASSERT_FALSE(prompts.messages.empty()) << what;
            EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::SaveDiscardCancel) << what;
            EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("CPS")) << what;
            EXPECT_TRUE(prompts.messages[0].text.contains(name)) << what;
            const bool goesOn = answer == Answer::Save || answer == Answer::Discard;
            EXPECT_EQ(wentOn, goesOn) << what;
            EXPECT_EQ(std::filesystem::exists(work() / "kept.kda"), answer == Answer::Save) << what;
            if (answer == Answer::Save) {
                EXPECT_EQ(ReadFile(work() / "kept.kda").at(kEdited), kEditedValue) << what;
            }
            if (!goesOn) {
                EXPECT_EQ(app->radioDocument().image().bytes[kEdited], kEditedValue) << what;
                EXPECT_TRUE(app->radioDocument().IsChanged()) << what;
                EXPECT_TRUE(Title().startsWith(QLatin1Char('*'))) << what;
            }
        }
    }
    // Nothing changed: the close box closes at once and New asks only its own question.
    app->radioDocument().Replace(RadioImage{});
    prompts.messages.clear();
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(prompts.messages.empty());
    prompts.answers = {PromptAnswer::No};
    frame->OnCommand(57600);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, English("S0088"));
}

// The "*" and the name in the title follow edits, undo and redo, Ctrl+S, a read and a write.
TEST_F(UnsavedEdits, TheTitleMarksUnsavedEditsAndNamesTheImage) {
    RadioPeer peer;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        peer.memory()[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    peer.memory()[kFirstRecordOffset] = 1;
    RadioPeerSink sink{peer};
    PeerLinkPort radio{sink};
    app->radioLine().runner().SetPort(&radio);
    radio.Open(PortText{2, {}}, SerialLineSettings::kLinkBaudRate);
    const QString application = QStringLiteral(" - ") + English("S0000");
    EXPECT_EQ(Title(), QStringLiteral("default.kda") + application);

    EditImage();
    EXPECT_EQ(Title(), QStringLiteral("*default.kda") + application);
    frame->view()->Undo();
    EXPECT_EQ(Title(), QStringLiteral("default.kda") + application);
    frame->view()->Redo();
    EXPECT_EQ(Title(), QStringLiteral("*default.kda") + application);

    // Ctrl+S is Save; a name typed without an extension is the dialog's business (below).
    prompts.savePaths = {PathOf("mine.kda")};
    frame->show();
    QApplication::setActiveWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(work() / "mine.kda").at(kEdited), kEditedValue);
    EXPECT_EQ(Title(), QStringLiteral("mine.kda") + application);

    // The exchanges run inside their dialogs' modal loops, driven here tick by tick.
    const auto drive = [&radio](auto* dialog) {
        dialog->OnStart();
        for (int tick = 0; dialog->armedTimerId() != kNoTimer && tick < 5000; ++tick) {
            radio.Deliver();
            if (dialog->armedTimerId() != kNoTimer) {
                dialog->OnTimer();
            }
        }
    };
    EditImage();
    bool read = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = dynamic_cast<ReadRadioDialog*>(QApplication::activeModalWidget())) {
            read = true;
            drive(dialog);
        }
    });
    frame->OnCommand(32773);  // the unsaved edit is discarded (the recorder's default)
    ASSERT_TRUE(read);
    EXPECT_EQ(app->radioDocument().image().bytes[kEdited], peer.memory()[kEdited]);
    EXPECT_EQ(Title(), QStringLiteral("read from COM2") + application);
    // Each dialog's recorded operation reaches the status bar.
    const auto result = [this] { return frame->statusPanes().panes().resultPane()->toolTip(); };
    EXPECT_TRUE(result().startsWith(QStringLiteral("en S0058 on COM2: Succeeded")))
        << result().toStdString();

    EditImage();
    EXPECT_EQ(Title(), QStringLiteral("*read from COM2") + application);
    bool written = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = dynamic_cast<WriteRadioDialog*>(QApplication::activeModalWidget())) {
            written = true;
            drive(dialog);
        }
    });
    frame->OnCommand(32774);
    ASSERT_TRUE(written);
    EXPECT_EQ(peer.memory()[kEdited], kEditedValue);
    EXPECT_EQ(prompts.messages.back().text, English("S0008"));
    EXPECT_EQ(Title(), QStringLiteral("read from COM2") + application);
    EXPECT_EQ(result(), QStringLiteral("en S0059 on COM2: Succeeded"));
    app->radioLine().runner().SetPort(&port);
}

// The save dialog itself, as a user types a bare name into it: the file gets .kda, and the open
// dialog's filter shows it.
TEST_F(UnsavedEdits, ANameSavedWithoutAnExtensionIsFoundByTheOpenDialog) {
    frame->OnCommand(32780);  // recorded and cancelled: only its set-up is wanted
    frame->OnCommand(57601);
    ASSERT_EQ(prompts.saveSpecs.size(), 1u);
    ASSERT_EQ(prompts.openSpecs.size(), 1u);
    FileDialogSpec save = prompts.saveSpecs[0];
    save.folder = QString::fromStdString(work().string());
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("channels"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::optional<QString> chosen = QtUiPrompts().saveFile(nullptr, save);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, PathOf("channels.kda"));

    // "description (patterns)", as the open dialog is given it.
    const QString filter = QtFileFilter(prompts.openSpecs[0]);
    const QStringList patterns =
        filter.mid(filter.lastIndexOf('(') + 1).chopped(1).split(' ', Qt::SkipEmptyParts);
    ASSERT_FALSE(patterns.isEmpty());
    EXPECT_TRUE(QDir::match(patterns, QStringLiteral("channels.kda")))
        << patterns.join(' ').toStdString();
}

// No setting file: no box at start-up (the start-up check reports none), the status bar says
// how to choose a port, and Read and Write open the port dialog first.
TEST_F(UnsavedEdits, AFirstStartWithoutAPortIsGuidedNotReportedAsAnError) {
    app.reset();
    std::filesystem::remove(home() / "setting.ini");
    SilentPrompts silent;
    app = std::make_unique<CHalyxApp>(silent);
    ASSERT_TRUE(app->InitInstance({}));
    app->FinishStartup();
    std::ostringstream report;
    EXPECT_EQ(ReportStartupCheck(*app, silent, report), kStartupCheckPassed);
    EXPECT_EQ(report.str().find("message:"), std::string::npos) << report.str();
    EXPECT_EQ(app->mainFrame()->messagePane()->text(),
              QStringLiteral("No serial port is chosen yet: choose the radio's port in Settings > "
                             "Port settings."));

    frame = app->mainFrame();
    for (const int command : {32773, 32774}) {
        bool readOrWrite = false;
        const bool portDialog = OpensDialog<CPortSettingsDlg>([&] {
            QTimer::singleShot(1, [&readOrWrite] {
                readOrWrite = dynamic_cast<ExchangeDialog*>(QApplication::activeModalWidget());
            });
            frame->OnCommand(command);
        });
        EXPECT_TRUE(portDialog) << command;
        EXPECT_FALSE(readOrWrite) << "no port chosen, so no exchange: " << command;
    }
    EXPECT_FALSE(SettingsExist());
}

}  // namespace
}  // namespace halyx::test
