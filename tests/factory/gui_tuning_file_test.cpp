#include "test_dialog_fixture.h"

namespace halyx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TuningFiles : public TestDialogTest {
protected:
    void SetSliders(int base) {
        for (int row = 1; row <= kTestPointRows; ++row) {
            dialog->slider(row)->setValue(base + row);
        }
    }
    QString PathOf(const char* name) const {
        return QString::fromStdString((work() / name).string());
    }
};

TEST_F(TuningFiles, SavingWritesTheTwelveBytesWithTagsByBand) {
    Open();
    SetSliders(40);
    prompts.savePaths.push_back(PathOf("upper.dat"));
    dialog->OnSaveFile();
    EXPECT_EQ(ReadFile(work() / "upper.dat"), (Bytes{1, 41, 42, 43, 2, 44, 45, 46, 3, 47, 48, 49}));
    ASSERT_EQ(prompts.saveSpecs.size(), 1u);
    EXPECT_EQ(prompts.saveSpecs[0].initialName, "Default");
    EXPECT_EQ(prompts.saveSpecs[0].defaultSuffix, "dat");
    EXPECT_EQ(prompts.saveSpecs[0].description, "Archive File(*.dat)");
    EXPECT_EQ(prompts.saveSpecs[0].pattern, "*.dat;");

    dialog.reset();
    SetBand(false);
    Open();
    prompts.savePaths.push_back(PathOf("lower.dat"));
    dialog->OnSaveFile();
    EXPECT_EQ(ReadFile(work() / "lower.dat"), (Bytes{10, 0, 0, 0, 11, 0, 0, 0, 12, 0, 0, 0}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TuningFiles, LoadingTakesTheBytesAndEnablesReadAndWrite) {
    WriteFile(work() / "saved.dat", {3, 9, 8, 7, 2, 6, 5, 4, 1, 3, 2, 1});
    Open();
    prompts.openPaths.push_back(PathOf("saved.dat"));
    dialog->OnLoadFile();
    EXPECT_EQ(parts->testValues.bytes,
              (std::array<std::uint8_t, 12>{3, 9, 8, 7, 2, 6, 5, 4, 1, 3, 2, 1}));
    EXPECT_EQ(dialog->slider(1)->value(), 9);
    EXPECT_EQ(dialog->slider(9)->value(), 1);
    EXPECT_EQ(dialog->valueLabel(4)->text(), "6");
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_TRUE(Button(1012)->isEnabled());
    EXPECT_EQ(prompts.openSpecs.at(0).description, "Archive File(*.dat)");
}

TEST_F(TuningFiles, AShortFileChangesOnlyItsOwnBytesTheRestComeFromTheTable) {
    Open();
    SetSliders(60);
    prompts.savePaths.push_back(PathOf("table.dat"));
    dialog->OnSaveFile();  // the table now holds 61..69
    SetSliders(200);       // positions that are not in the table
    WriteFile(work() / "five.dat", {9, 1, 2, 3, 99});
    prompts.openPaths.push_back(PathOf("five.dat"));
    dialog->OnLoadFile();
    EXPECT_EQ(parts->testValues.bytes,
              (std::array<std::uint8_t, 12>{9, 1, 2, 3, 99, 64, 65, 66, 3, 67, 68, 69}));
    std::vector<int> shown;
    for (int row = 1; row <= kTestPointRows; ++row) {
        shown.push_back(dialog->slider(row)->value());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 64, 65, 66, 67, 68, 69}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TuningFiles, AFileLongerThanTwelveBytesIsRefusedWithAMessage) {
    Open();
    SetSliders(20);
    const auto before = parts->testValues.bytes;
    WriteFile(work() / "big.dat", Bytes(13, 0x77));
    prompts.openPaths.push_back(PathOf("big.dat"));
    dialog->OnLoadFile();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, "Halyx");
    EXPECT_TRUE(prompts.messages[0].text.contains("big.dat"));
    EXPECT_TRUE(prompts.messages[0].text.contains("13"));
    EXPECT_EQ(parts->testValues.bytes, before);
    EXPECT_EQ(dialog->slider(1)->value(), 21);
    EXPECT_FALSE(Button(1001)->isEnabled());
}

TEST_F(TuningFiles, FilesThatCannotBeReadOrWrittenAreReported) {
    Open();
    prompts.openPaths.push_back(PathOf("missing.dat"));
    dialog->OnLoadFile();
    prompts.savePaths.push_back(PathOf("no-such-folder/x.dat"));
    dialog->OnSaveFile();
    ASSERT_EQ(prompts.messages.size(), 2u);
    for (const auto& message : prompts.messages) {
        EXPECT_EQ(message.icon, PromptIcon::Stop);
        EXPECT_EQ(message.caption, "Halyx");
        EXPECT_FALSE(message.text.isEmpty());
    }
    EXPECT_TRUE(prompts.messages[0].text.contains("missing.dat"));
    EXPECT_TRUE(prompts.messages[1].text.contains("x.dat"));
    EXPECT_FALSE(Button(1001)->isEnabled());
}

}  // namespace
}  // namespace halyx::test
