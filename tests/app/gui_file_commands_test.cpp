#include "app/file_commands.h"
#include "gui_app_fixture.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {
namespace {

// The File commands as the main window runs them, against files in the test's folder.
class FileCommandsTest : public RunningApp {
protected:
    void SetUp() override {
        RunningApp::SetUp();
        StartWith("[setup]\nlanguage=english\n");
        prompts.messages.clear();
        refreshesBefore = frame->view()->refreshCount();
    }

    int Refreshes() const { return frame->view()->refreshCount() - refreshesBefore; }
    QString PathOf(const char* name) const {
        return QString::fromStdString((work() / name).string());
    }
    void ExpectOneFileError(const QString& text) {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
        EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Halyx"));
        EXPECT_EQ(prompts.messages[0].text, text);
    }

    int refreshesBefore = 0;
};

TEST_F(FileCommandsTest, NewAsksFirstAndRestoresTheDefaultImageOnlyOnYes) {
    // An image as a file gave it, with nothing unsaved: New asks its own question.
    RadioImage opened = app->radioDocument().image();
    opened.bytes.fill(0x77);
    opened.bytes[0] = 0x42;
    app->radioDocument().Replace(opened);
    refreshesBefore = frame->view()->refreshCount();
    prompts.answers = {PromptAnswer::No};
    frame->OnCommand(57600);

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("CPS"));
    EXPECT_EQ(prompts.messages[0].text, English("S0088"));
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(app->radioDocument().image().bytes[1], 0x77);
    EXPECT_EQ(Refreshes(), 0);
    // The header working copy is refreshed before the question, whatever the answer.
    EXPECT_EQ(app->mainFrame()->fileCommands().headerCopy().bytes[0], 0x42);

    prompts.answers = {PromptAnswer::Yes};
    frame->OnCommand(57600);
    EXPECT_EQ(app->radioDocument().image().bytes[1], 0x11);
    EXPECT_EQ(app->radioDocument().image().bytes[606], 0x11);
    EXPECT_EQ(app->radioDocument().image().bytes[607], 0x77);
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(FileCommandsTest, NewWithoutDefaultImageNamesItAndKeepsTheImage) {
    std::filesystem::remove(work() / "default.kda");
    app->radioDocument().Edit([&](RadioImage& image) { image.bytes.fill(0x77); });
    frame->OnCommand(57600);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].caption, QStringLiteral("Halyx"));
    EXPECT_EQ(prompts.messages[1].text, QStringLiteral("没有找到 default.kda。"));
    EXPECT_EQ(app->radioDocument().image().bytes[0], 0x77);
}

TEST_F(FileCommandsTest, OpenUsesTheKdaFilterAndLoadsUpTo2048Bytes) {
    frame->OnCommand(57601);  // cancelled
    ASSERT_EQ(prompts.openSpecs.size(), 1u);
    EXPECT_EQ(prompts.openSpecs[0].description, QStringLiteral("data File(*.kda)"));
    EXPECT_EQ(prompts.openSpecs[0].pattern, QStringLiteral("*.kda;"));
    EXPECT_TRUE(prompts.openSpecs[0].defaultSuffix.isEmpty());
    EXPECT_EQ(Refreshes(), 0);

    WriteFile(work() / "full.kda", std::vector<std::uint8_t>(2048, 0xA5));
    prompts.openPaths = {PathOf("full.kda")};
    frame->OnCommand(57601);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->radioDocument().image().length, 2048);
    EXPECT_EQ(app->radioDocument().image().bytes[2047], 0xA5);
    EXPECT_EQ(Refreshes(), 1);

    // A shorter file replaces only its own length of the image.
    WriteFile(work() / "short.kda", std::vector<std::uint8_t>(100, 0x01));
    prompts.openPaths = {PathOf("short.kda")};
    frame->OnCommand(57601);
    EXPECT_EQ(app->radioDocument().image().length, 100);
    EXPECT_EQ(app->radioDocument().image().bytes[99], 0x01);
    EXPECT_EQ(app->radioDocument().image().bytes[100], 0xA5);
}

TEST_F(FileCommandsTest, OpenBackupStartsInTheBackupFolderMadeIfMissingAndLoadsTheChoice) {
    const std::filesystem::path folder = dataHome() / "halyx" / "backups";
    ASSERT_FALSE(std::filesystem::exists(folder));
    frame->OnCommand(32792);  // cancelled
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    ASSERT_EQ(prompts.openSpecs.size(), 1u);
    EXPECT_EQ(prompts.openSpecs[0].folder, QString::fromStdString(folder.string()));
    EXPECT_EQ(prompts.openSpecs[0].pattern, QStringLiteral("*.kda;"));
    EXPECT_EQ(frame->commandAction(32792)->text(), QStringLiteral("Open &backup..."));

    std::filesystem::create_directories(folder / "2026-01-02");
    WriteFile(folder / "2026-01-02" / "101500-SN1.kda", std::vector<std::uint8_t>(607, 0x5A));
    prompts.openPaths = {
        QString::fromStdString((folder / "2026-01-02" / "101500-SN1.kda").string())};
    frame->OnCommand(32792);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->radioDocument().image().bytes[606], 0x5A);
    EXPECT_EQ(app->radioDocument().fileName(), "101500-SN1.kda");
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(FileCommandsTest, OpenRefusesAnOversizeFileWithAMessageAndChangesNothing) {
    const std::uint16_t length = app->radioDocument().image().length;
    WriteFile(work() / "big.kda", std::vector<std::uint8_t>(2049, 0xEE));
    prompts.openPaths = {PathOf("big.kda")};
    frame->OnCommand(57601);
    ExpectOneFileError(PathOf("big.kda") +
                       QStringLiteral(" 有 2049 字节，超过了 2048 字节的上限，未被载入。"));
    EXPECT_EQ(app->radioDocument().image().length, length);
    EXPECT_EQ(app->radioDocument().image().bytes[0], 0x11);
    EXPECT_EQ(Refreshes(), 0);
}

TEST_F(FileCommandsTest, OpenOfAMissingFileNamesItsFullPath) {
    prompts.openPaths = {PathOf("nothere.kda")};
    frame->OnCommand(57601);
    ExpectOneFileError(QStringLiteral("没有找到 ") + PathOf("nothere.kda") + QStringLiteral("。"));
    EXPECT_EQ(Refreshes(), 0);
}

TEST_F(FileCommandsTest, OpenOfAnEmptyFileSetsLengthZeroAndRefreshes) {
    WriteFile(work() / "empty.kda", {});
    prompts.openPaths = {PathOf("empty.kda")};
    frame->OnCommand(57601);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(app->radioDocument().image().length, 0);
    EXPECT_EQ(app->radioDocument().image().bytes[0], 0x11);
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(FileCommandsTest, SaveOffersDefaultNameAndExtensionAndWritesTheImage) {
    frame->OnCommand(32780);  // cancelled: nothing written
    ASSERT_EQ(prompts.saveSpecs.size(), 1u);
    EXPECT_EQ(prompts.saveSpecs[0].description, QStringLiteral("Archive File(*.kda)"));
    EXPECT_EQ(prompts.saveSpecs[0].pattern, QStringLiteral("*.kda;"));
    EXPECT_EQ(prompts.saveSpecs[0].initialName, QStringLiteral("Default"));
    EXPECT_EQ(prompts.saveSpecs[0].defaultSuffix, QStringLiteral("kda"));

    app->radioDocument().Edit([&](RadioImage& image) { image.bytes[5] = 0x99; });
    prompts.savePaths = {PathOf("out.kda")};
    frame->OnCommand(32780);
    EXPECT_TRUE(prompts.messages.empty());
    const std::vector<std::uint8_t> saved = ReadFile(work() / "out.kda");
    ASSERT_EQ(saved.size(), 607u);
    EXPECT_EQ(saved[5], 0x99);
    EXPECT_EQ(saved[606], 0x11);
}

TEST_F(FileCommandsTest, SaveIntoAMissingFolderIsReportedWithThePath) {
    prompts.savePaths = {PathOf("no/such/folder.kda")};
    frame->OnCommand(32780);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Halyx"));
    EXPECT_TRUE(prompts.messages[0].text.contains(PathOf("no/such/folder.kda")));
}

TEST(QtFileFilter, KeepsADescriptionWithItsOwnPatternAndBuildsOneOtherwise) {
    EXPECT_EQ(QtFileFilter({QStringLiteral("data File(*.kda)"), QStringLiteral("*.kda;"), {}, {}}),
              QStringLiteral("data File(*.kda)"));
    EXPECT_EQ(QtFileFilter({QStringLiteral("Images"), QStringLiteral("*.kda;*.rdt;"), {}, {}}),
              QStringLiteral("Images (*.kda *.rdt)"));
}

}  // namespace
}  // namespace halyx::test
