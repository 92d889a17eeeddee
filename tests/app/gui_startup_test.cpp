#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QtTest/QTest>
#include <memory>

#include "app/halyx_app.h"
#include "app/main_frame.h"
#include "gui_test_support.h"
#include "ui/common/language_texts.h"
#include "ui/form/channel_table_model.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {
namespace {

class StartUp : public ShellTest {
protected:
    // Starts the application; `fakePort` keeps the real serial engine out of the way.
    void Start(const QStringList& arguments = {}, bool fakePort = true) {
        app = std::make_unique<CHalyxApp>(prompts);
        if (fakePort) {
            app->radioLine().runner().SetPort(&port);
        }
        ASSERT_TRUE(app->InitInstance(arguments));
        app->FinishStartup();
    }

    void WriteDefaultImage(std::size_t size, std::uint8_t seed) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(seed + i);
        }
        WriteFile(work() / "default.kda", bytes);
    }

    QString Title() const { return app->mainFrame()->windowTitle(); }

    RecordingPrompts prompts;
    FakeLinkPort port;
    std::unique_ptr<CHalyxApp> app;
};

TEST_F(StartUp, OnlyTheExactValueEnglishSelectsTheEnglishFile) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    const std::vector<std::pair<std::string, QString>> cases = {
        {"english", English("S0000")}, {"English", Chinese("S0000")}, {"eng", Chinese("S0000")},
        {"", Chinese("S0000")},        {"chinese", Chinese("S0000")},
    };
    for (const auto& [value, title] : cases) {
        WriteSettings("[setup]\nlanguage=" + value + "\n[port]\ncom=1\n");
        Start();
        EXPECT_EQ(Title(), QStringLiteral("default.kda - ") + title) << "language=" << value;
        app.reset();
    }
}

TEST_F(StartUp, WithoutSettingFileUsesChineseTextsEnglishBuiltinsAndCreatesNoFile) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    Start({}, /*fakePort=*/false);  // port 0: no port has been chosen yet

    EXPECT_EQ(Title(), QStringLiteral("default.kda - ") + Chinese("S0000"));
    // A first start is not an error: no box, and the status bar says how to choose a port.
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(app->radioLine().IsOpen());
    EXPECT_EQ(app->mainFrame()->messagePane()->text(),
              QStringLiteral("No serial port is chosen yet: choose the radio's port in Settings > "
                             "Port settings."));
    EXPECT_EQ(app->mainFrame()->ToolTipFor(57600), QStringLiteral("New"));
    EXPECT_FALSE(SettingsExist());

    // Once a port is chosen, the idle text is the usual one.
    app.reset();
    WriteSettings("[port]\ncom=2\n");
    Start();
    EXPECT_EQ(app->mainFrame()->messagePane()->text(), QStringLiteral("Ready"));
}

TEST_F(StartUp, AChosenPortThatWillNotOpenIsStillReportedWithItsCause) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    WriteSettings("[port]\ncom=7\n");
    Start({}, /*fakePort=*/false);  // the real engine: COM7 names no device here

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(prompts.messages[0].text, Chinese("S0004"));
    // The cause beneath it; this language file predates its key, so the text is the built-in one.
    EXPECT_EQ(prompts.messages[0].detail,
              QStringLiteral("COM7 does not name a serial port on this computer."));
    EXPECT_FALSE(app->radioLine().IsOpen());
}

TEST_F(StartUp, MissingLanguageFilesLeaveTextsEmptyButNotTheBuiltInOnes) {
    WriteSettings("[setup]\nlanguage=chinese\n[port]\ncom=2\n");
    WriteDefaultImage(607, 1);
    Start();

    EXPECT_EQ(Title(), QStringLiteral("default.kda")) << "the file, without an empty title";
    for (QAction* menu : app->mainFrame()->menuBar()->actions()) {
        // Edit is newer than the original texts and keeps its built-in English.
        const bool edit = menu == app->mainFrame()->menuBar()->actions().at(1);
        EXPECT_EQ(menu->text(), edit ? QStringLiteral("&Edit") : QString());
    }
    EXPECT_EQ(app->mainFrame()->messagePane()->text(), QStringLiteral("就绪"));
    EXPECT_EQ(app->mainFrame()->ToolTipFor(32773), QStringLiteral("读频"));
}

TEST_F(StartUp, OpensTheSavedPortAndShowsNoBoxWhenItOpens) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    WriteSettings("[port]\ncom=03abc\n");
    Start();

    EXPECT_EQ(port.opened, std::vector<int>{3});
    EXPECT_TRUE(app->radioLine().IsOpen());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(StartUp, OpensThePortFromTheEventLoopOnceTheWindowIsOnScreen) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    WriteSettings("[port]\ncom=3\n");
    app = std::make_unique<CHalyxApp>(prompts);
    app->radioLine().runner().SetPort(&port);
    ASSERT_TRUE(app->InitInstance({}));

    // Listing the system's ports must not hold the window back.
    EXPECT_TRUE(port.opened.empty());
    EXPECT_TRUE(app->mainFrame()->isVisible());
    QTRY_COMPARE(port.opened, std::vector<int>{3});
    EXPECT_TRUE(app->radioLine().IsOpen());
    app->FinishStartup();  // nothing left to do: the port is not opened twice
    EXPECT_EQ(port.opened.size(), 1u);
}

TEST_F(StartUp, LanguageFileIsReadOnceAndAgainOnlyWhenItChanges) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    WriteSettings("[setup]\nlanguage=english\n[port]\ncom=1\n");
    Start();
    const LanguageTexts& texts = app->settings().language;
    // Start-up fetches dozens of texts (menus, title, tone table, form) from one read.
    EXPECT_EQ(texts.fileReads(), 1);
    EXPECT_EQ(texts.text("S0037"), English("S0037").toStdString());

    // An edit of the file is seen at the next lookup, a deleted file gives empty texts.
    WriteFile(home() / "english.lang", {'[', 'S', 't', 'r', 'i', 'n', 'g', 's', ']', '\n', 'S',
                                        '0', '0', '3', '7', '=', 'F', 'i', 'l', 'e', '\n'});
    EXPECT_EQ(texts.text("S0037"), "File");
    EXPECT_EQ(texts.textOr("S0038", "fallback"), "fallback");
    std::filesystem::remove(home() / "english.lang");
    EXPECT_EQ(texts.text("S0037"), "");
    app->mainFrame()->LocaliseMenus();
    EXPECT_EQ(app->mainFrame()->menuBar()->actions().at(0)->text(), QString());

    // Switching language reads the other file.
    app->mainFrame()->OnCommand(32783);
    EXPECT_EQ(texts.text("S0037"), Chinese("S0037").toStdString());
    EXPECT_EQ(app->mainFrame()->menuBar()->actions().at(0)->text(), Chinese("S0037"));
}

TEST_F(StartUp, LoadsDefaultImageAndRunsTheViewsInitialUpdateOnce) {
    WriteLanguageFiles();
    WriteDefaultImage(700, 7);
    Start();

    EXPECT_EQ(app->radioDocument().image().length, 700);
    EXPECT_EQ(app->radioDocument().image().bytes[0], 7);
    EXPECT_EQ(app->radioDocument().image().bytes[699], static_cast<std::uint8_t>(7 + 699));
    EXPECT_EQ(app->radioDocument().image().bytes[700], 0);
    EXPECT_EQ(app->mainFrame()->view()->initialUpdateCount(), 1);
    EXPECT_TRUE(app->mainFrame()->isVisible());
    EXPECT_EQ(app->mainFrame()->view()->channelModel().toneTable().size(), ToneTable::kSize);
    EXPECT_EQ(app->mainFrame()->view()->channelModel().toneTable().text(0),
              Chinese("S0103").toStdString());
}

TEST_F(StartUp, MissingDefaultImageIsReportedAndTheImageStaysZero) {
    WriteLanguageFiles();
    Start();

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Halyx"));
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("没有找到 default.kda。"));
    EXPECT_EQ(app->radioDocument().image().length, 0);
    for (std::uint8_t byte : app->radioDocument().image().bytes) {
        ASSERT_EQ(byte, 0);
    }
    EXPECT_TRUE(app->mainFrame()->isVisible());
}

TEST_F(StartUp, FileNamedOnTheCommandLineIsLoadedOverTheDefaultImage) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    const std::vector<std::uint8_t> saved(607, 0x5A);
    WriteFile(work() / "radio.kda", saved);
    Start({QStringLiteral("radio.kda")});

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->radioDocument().image().bytes[0], 0x5A);
    EXPECT_EQ(app->radioDocument().image().bytes[606], 0x5A);
    EXPECT_EQ(app->mainFrame()->view()->refreshCount(), 1);
}

TEST_F(StartUp, UnreadableCommandLineFileIsReportedAndStartUpGoesOn) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    Start({QStringLiteral("missing.kda")});

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Halyx"));
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("没有找到 missing.kda。"));
    EXPECT_EQ(app->radioDocument().image().bytes[0], 1);  // the default image stays
    EXPECT_TRUE(app->mainFrame()->isVisible());
}

TEST_F(StartUp, EmptiesTheTrafficLogInTheCurrentDirectory) {
    WriteLanguageFiles();
    WriteDefaultImage(607, 1);
    WriteFile(work() / "comm.log", std::vector<std::uint8_t>(100, 'x'));
    Start();

    EXPECT_TRUE(app->radioLine().trafficLog().IsOpen());
    EXPECT_EQ(std::filesystem::file_size(work() / "comm.log"), 0u);
}

}  // namespace
}  // namespace halyx::test
