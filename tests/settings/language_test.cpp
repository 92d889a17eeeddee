#include "settings/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "settings/program_directory.h"
#include "settings/setting_file.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteText;

constexpr const char* kHome = "/halyx-test-home";

// The program directory is fixed at its first use, so the variable is set before any test runs.
class HomeEnvironment : public ::testing::Environment {
public:
    void SetUp() override { setenv("HALYX_HOME", kHome, 1); }
};
[[maybe_unused]] const auto* const kHomeEnvironment =
    ::testing::AddGlobalTestEnvironment(new HomeEnvironment);

// "中文标题" as GBK and as UTF-8.
const std::string kTitleGbk = "\xD6\xD0\xCE\xC4\xB1\xEA\xCC\xE2";
const std::string kTitleUtf8 = "\xE4\xB8\xAD\xE6\x96\x87\xE6\xA0\x87\xE9\xA2\x98";

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

TEST(ProgramDirectory, HalyxHomeNamesTheFolderOfSettingAndLanguageFiles) {
    EXPECT_EQ(ProgramDirectory(), fs::path(kHome));
    EXPECT_EQ(SettingFile().path(), fs::path(kHome) / "setting.ini");
}

TEST(LanguageChoice, OnlyExactlyEnglishSelectsTheEnglishFile) {
    EXPECT_EQ(LanguageFileFor("english"), fs::path(kHome) / "english.lang");
    for (const char* other : {"English", "ENGLISH", "eng", "", "chinese", "english "}) {
        EXPECT_EQ(LanguageFileFor(other), fs::path(kHome) / "chinese.lang") << other;
    }
}

TEST(LanguageChoice, OnlyExactlyChineseSelectsTheBuiltInChineseTexts) {
    EXPECT_TRUE(IsChineseLanguageValue("chinese"));
    EXPECT_FALSE(IsChineseLanguageValue("Chinese"));
    EXPECT_FALSE(IsChineseLanguageValue(""));
    EXPECT_FALSE(IsChineseLanguageValue("english"));
}

class LangStringTest : public ::testing::Test {
protected:
    Language languageWith(const std::string& content) {
        WriteText(file(), content);
        return Language(file());
    }
    fs::path file() const { return dir_ / "chinese.lang"; }

    TempDir dir_;
};

TEST_F(LangStringTest, GbkAndUtf8FilesGiveTheSameUtf8Text) {
    EXPECT_EQ(languageWith("[Strings]\r\nS0000=" + kTitleGbk + "\r\n").LangString("S0000"),
              kTitleUtf8);
    EXPECT_EQ(languageWith("[Strings]\nS0000=" + kTitleUtf8 + "\n").LangString("S0000"),
              kTitleUtf8);
    EXPECT_EQ(languageWith("\xEF\xBB\xBF[strings]\ns0000=" + kTitleUtf8).LangString("S0000"),
              kTitleUtf8);
}

TEST_F(LangStringTest, MissingFileSectionOrKeyGivesEmptyText) {
    EXPECT_EQ(Language(dir_ / "absent.lang").LangString("S0000"), "");
    EXPECT_EQ(Language().LangString("S0000"), "");
    EXPECT_EQ(languageWith("[Other]\nS0000=x\n").LangString("S0000"), "");
    EXPECT_EQ(languageWith("[Strings]\nS0000=x\n").LangString("S0001"), "");
}

TEST_F(LangStringTest, NewerKeysFallBackToTheirBuiltInTextOnlyWhenMissingOrEmpty) {
    const Language language = languageWith("[Strings]\nS0202=Kept\nS0203=\n");
    EXPECT_EQ(language.TextOr("S0202", "Built in"), "Kept");
    EXPECT_EQ(language.TextOr("S0203", "Built in"), "Built in");
    EXPECT_EQ(language.TextOr("S0204", "Built in"), "Built in");
    EXPECT_EQ(language.LangString("S0204"), "");
}

TEST_F(LangStringTest, EveryCallReadsTheFileAgain) {
    const Language language = languageWith("[Strings]\nS0000=first\n");
    EXPECT_EQ(language.LangString("S0000"), "first");
    WriteText(file(), "[Strings]\nS0000=second\n");
    EXPECT_EQ(language.LangString("S0000"), "second");
    fs::remove(file());
    EXPECT_EQ(language.LangString("S0000"), "");
}

TEST_F(LangStringTest, LongTextsAreCutAt511FileBytesWithoutSplittingACharacter) {
    // 600 bytes each; 511 is odd, so the cut falls inside a two-byte GBK character, and
    // inside a three-byte UTF-8 character after the one-byte prefix.
    const std::string gbk = Repeat("\xD6\xD0", 300);
    EXPECT_EQ(languageWith("[Strings]\nS0001=" + gbk + "\n").LangString("S0001"),
              Repeat("\xE4\xB8\xAD", 255));
    const std::string utf8 = "a" + Repeat("\xE4\xB8\xAD", 200);
    EXPECT_EQ(languageWith("[Strings]\nS0001=" + utf8 + "\n").LangString("S0001"),
              "a" + Repeat("\xE4\xB8\xAD", 170));
}

TEST_F(LangStringTest, QuotesKeepBlanksThatBelongToTheText) {
    EXPECT_EQ(languageWith("[Strings]\nS0002=\" Ready \"\n").LangString("S0002"), " Ready ");
}

}  // namespace
}  // namespace halyx
