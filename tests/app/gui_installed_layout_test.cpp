#include <QApplication>
#include <QRadioButton>
#include <memory>

#include "app/halyx_app.h"
#include "app/main_frame.h"
#include "app/port_settings_dialog.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

namespace halyx::test {
namespace {

namespace fs = std::filesystem;

// Halyx as installed: the language files and the shipped default image in the shared data
// folder (the test's program directory), started from a folder with no default.kda, with
// per-user folders that do not exist yet.
class InstalledLayout : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        WriteLanguageFiles();
        WriteFile(home() / "default.kda", std::vector<std::uint8_t>(607, 0x5A));
        layout.kind = LayoutKind::Installed;
        layout.programDirectory = home();
        layout.userConfigDirectory = user.path() / "config" / "halyx";
        layout.userStateDirectory = user.path() / "state" / "halyx";
        layout.localeLanguage = "english";
    }

    void Start() {
        app = std::make_unique<CHalyxApp>(layout, prompts);
        app->radioLine().runner().SetPort(&port);
        ASSERT_TRUE(app->InitInstance({}));
        app->FinishStartup();
    }

    fs::path UserSettings() const { return layout.userConfigDirectory / "setting.ini"; }

    testing::TempDir user;
    FileLayout layout;
    RecordingPrompts prompts;
    FakeLinkPort port;
    std::unique_ptr<CHalyxApp> app;
};

TEST_F(InstalledLayout, NewUserStartsWithTheShippedImageInTheLocaleLanguageAndWritesNothing) {
    Start();
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages[0].text.toStdString();
    EXPECT_EQ(app->startImage(), home() / "default.kda");
    EXPECT_EQ(app->radioDocument().image().length, 607);
    EXPECT_EQ(app->radioDocument().image().bytes[0], 0x5A);
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("default.kda - ") + English("S0000"));
    EXPECT_FALSE(fs::exists(user.path() / "config"));
    EXPECT_FALSE(fs::exists(home() / "setting.ini"));
    EXPECT_TRUE(fs::exists(work() / "comm.log")) << "the writable current directory keeps the log";
}

TEST_F(InstalledLayout, LanguageSwitchAndPortChoiceCreateThePerUserSettingFile) {
    Start();
    app->mainFrame()->SwitchLanguage(false);
    EXPECT_EQ(testing::ReadText(UserSettings()), "[setup]\nlanguage=chinese\n");
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("default.kda - ") + Chinese("S0000"));
    app.reset();

    // Next run: the choice is remembered; the port dialog writes beside it.
    fs::remove(UserSettings());
    Start();
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("default.kda - ") + English("S0000"));
    CPortSettingsDlg dialog(app->radioLine(), app->settings(), prompts, nullptr, [] {
        return std::vector<ComPortEntry>{{2, "/dev/ttyS1", ""}};
    });
    dialog.portChoice(2)->setChecked(true);
    dialog.OnOK();
    EXPECT_NE(testing::ReadText(UserSettings()).find("com=2"), std::string::npos);
    // A port choice alone leaves the language to the locale.
    EXPECT_EQ(app->settings().language.languageValue(), "english");
    EXPECT_FALSE(fs::exists(home() / "setting.ini"));
}

TEST_F(InstalledLayout, UserDefaultImageComesBeforeTheShippedOneAndNewRestoresIt) {
    fs::create_directories(layout.userConfigDirectory);
    WriteFile(layout.userConfigDirectory / "default.kda", std::vector<std::uint8_t>(700, 0x33));
    Start();
    EXPECT_EQ(app->radioDocument().image().length, 700);
    // Changed as a file would have it, with nothing unsaved: New asks only its own question.
    RadioImage opened = app->radioDocument().image();
    opened.bytes[0] = 0;
    app->radioDocument().Replace(opened);
    prompts.answers.push_back(PromptAnswer::Yes);
    app->mainFrame()->OnCommand(57600);
    EXPECT_EQ(app->radioDocument().image().bytes[0], 0x33);
    EXPECT_EQ(prompts.messages.size(), 1u) << "only the New question";
}

}  // namespace
}  // namespace halyx::test
