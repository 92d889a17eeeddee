// The window's Open and Save with a radio's whole configuration as text, and such a text named on
// the command line at start-up.
#include "app/file_commands.h"
#include "gui_app_fixture.h"
#include "interchange/config_text.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {
namespace {

constexpr int kOpen = 57601;
constexpr int kSave = 32780;

class ConfigFileTest : public RunningApp {
protected:
    QString PathOf(const char* name) const {
        return QString::fromStdString((work() / name).string());
    }
    std::string ReadText(const char* name) const {
        const std::vector<std::uint8_t> bytes = ReadFile(work() / name);
        return {bytes.begin(), bytes.end()};
    }
    void WriteText(const char* name, const std::string& text) {
        WriteFile(work() / name, {text.begin(), text.end()});
    }
};

TEST_F(ConfigFileTest, SavedAsTextAndOpenedAgainTheImageComesBackWholeAndTheViewShowsIt) {
    StartWith("[setup]\nlanguage=english\n");
    app->radioDocument().Edit([](RadioImage& image) {
        image.bytes[header::kSquelchLevel] = 4;
        image.bytes[1000] = 0x5A;
        image.length = 1200;
    });
    const RadioImage saved = app->radioDocument().image();

    prompts.savePaths = {PathOf("site.halyx.yaml")};
    frame->OnCommand(kSave);
    ASSERT_EQ(prompts.saveSpecs.size(), 1u);
    // The .kda filter stays first and as it was; the text's entry (built-in English: the test's
    // language files end at S0201) comes beside it.
    EXPECT_EQ(prompts.saveSpecs[0].description, QStringLiteral("Archive File(*.kda)"));
    EXPECT_EQ(prompts.saveSpecs[0].otherFilters,
              QStringList{QStringLiteral("Halyx configuration (*.halyx.yaml)")});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadText("site.halyx.yaml"), WriteConfigText(saved));

    app->radioDocument().Replace(RadioImage{});
    const int refreshes = frame->view()->refreshCount();
    prompts.openPaths = {PathOf("site.halyx.yaml")};
    frame->OnCommand(kOpen);
    ASSERT_EQ(prompts.openSpecs.size(), 1u);
    EXPECT_EQ(prompts.openSpecs[0].otherFilters, prompts.saveSpecs[0].otherFilters);
    EXPECT_TRUE(prompts.messages.empty());
    // Every byte an image file of it holds; what lies beyond its length is in no file.
    EXPECT_TRUE(std::equal(saved.bytes.begin(), saved.bytes.begin() + 1200,
                           app->radioDocument().image().bytes.begin()));
    EXPECT_EQ(app->radioDocument().image().length, 1200);
    EXPECT_EQ(frame->view()->refreshCount(), refreshes + 1);
    EXPECT_EQ(app->radioDocument().fileName(), "site.halyx.yaml");
}

TEST_F(ConfigFileTest, RefusedTextListsItsProblemsAndLeavesImageAndViewAlone) {
    StartWith("[setup]\nlanguage=english\n");
    WriteText("bad.halyx.yaml",
              "format: halyx-config/1\nband: 406.1-470\nsettings: {squelchLevel: 0}\n"
              "channels: []\n");
    const RadioImage before = app->radioDocument().image();
    const int refreshes = frame->view()->refreshCount();
    prompts.openPaths = {PathOf("bad.halyx.yaml")};
    frame->OnCommand(kOpen);

    ASSERT_EQ(prompts.messages.size(), 1u);
    const auto& box = prompts.messages[0];
    EXPECT_EQ(box.icon, PromptIcon::Stop);
    EXPECT_EQ(box.caption, QStringLiteral("Halyx"));
    EXPECT_EQ(box.text, PathOf("bad.halyx.yaml") +
                            QStringLiteral(" was not opened: it is not a configuration Halyx can "
                                           "take as it is. Nothing was changed."));
    const QStringList lines = box.detail.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 10);  // the squelch level and the nine settings not given
    EXPECT_TRUE(
        lines.contains(QStringLiteral("bad.halyx.yaml:3: settings.squelchLevel: \"0\" is "
                                      "not on the list, accepted: 1..9")))
        << box.detail.toStdString();
    EXPECT_EQ(app->radioDocument().image().bytes, before.bytes);
    EXPECT_EQ(frame->view()->refreshCount(), refreshes);
}

TEST_F(ConfigFileTest, TextNamedOnTheCommandLineIsOpenedAtStartUp) {
    RadioImage image;
    image.bytes.fill(0xFF);
    image.bytes[header::kBand] = 1;
    image.bytes[header::kSquelchLevel] = 9;
    image.length = 2048;
    WriteLanguageFiles();
    WriteFile(work() / "default.kda", std::vector<std::uint8_t>(607, 0x11));
    WriteSettings("[setup]\nlanguage=english\n");
    WriteText("radio.halyx.yaml", WriteConfigText(image));
    app = std::make_unique<CHalyxApp>(prompts);
    app->radioLine().runner().SetPort(&port);
    ASSERT_TRUE(app->InitInstance({PathOf("radio.halyx.yaml")}));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->radioDocument().image().bytes, image.bytes);
    EXPECT_EQ(app->radioDocument().fileName(), "radio.halyx.yaml");
}

}  // namespace
}  // namespace halyx::test
