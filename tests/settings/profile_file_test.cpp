#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_dir.h"

#include <unistd.h>

namespace halyx {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteText;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProfileFileTest : public ::testing::Test {
protected:
    ProfileFile fileWith(const std::string& content) {
        WriteText(path(), content);
        return ProfileFile(path());
    }
    fs::path path() const { return dir_ / "setting.ini"; }

    TempDir dir_;
};

TEST_F(ProfileFileTest, NamesMatchWithoutCaseAndBlanksAroundNamesAndValuesAreIgnored) {
    const ProfileFile file = fileWith("[ SetUp ]\r\n \tLanguage =  english \t\r\n");
    EXPECT_EQ(file.readText("setup", "language"), "english");
    EXPECT_EQ(file.readText("SETUP", "LANGUAGE"), "english");
}

TEST_F(ProfileFileTest, OnePairOfMatchingQuotesIsRemoved) {
    const ProfileFile file = fileWith(
        "[s]\n"
        "double=\" two words \"\n"
        "single='x'\n"
        "mixed=\"x'\n"
        "nested=\"\"x\"\"\n"
        "lone=\"\n");
    EXPECT_EQ(file.readText("s", "double"), " two words ");
    EXPECT_EQ(file.readText("s", "single"), "x");
    EXPECT_EQ(file.readText("s", "mixed"), "\"x'");
    EXPECT_EQ(file.readText("s", "nested"), "\"x\"");
    EXPECT_EQ(file.readText("s", "lone"), "\"");
}

TEST_F(ProfileFileTest, LongValueIsCutAt511Bytes) {
    std::string value;
    for (int i = 0; i < 600; ++i) {
        value += static_cast<char>('a' + i % 26);
    }
    const ProfileFile file = fileWith("[setup]\nlanguage=" + value + "\n");
    EXPECT_EQ(file.readText("setup", "language"), value.substr(0, 511));
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheFallback) {
    EXPECT_EQ(ProfileFile(dir_ / "absent.ini").readText("setup", "language", "dflt"), "dflt");
    const ProfileFile file = fileWith("[setup]\nlanguage=english\nempty=\n");
    EXPECT_EQ(file.readText("port", "language", "dflt"), "dflt");
    EXPECT_EQ(file.readText("setup", "com", "dflt"), "dflt");
    EXPECT_EQ(file.readText("setup", "empty", "dflt"), "");
}

TEST_F(ProfileFileTest, FirstOfDuplicateSectionsAndKeysIsRead) {
    const ProfileFile file = fileWith("[port]\ncom=3\ncom=5\n[setup]\n[PORT]\ncom=7\nbaud=9600\n");
    EXPECT_EQ(file.readInt("port", "com"), 3);
    // Only the first "port" section is searched, as the platform's profile functions do.
    EXPECT_EQ(file.readInt("port", "baud", -1), -1);
}

TEST_F(ProfileFileTest, ReadsLfCrLfAndByteOrderMarkedFilesAlike) {
    for (const std::string& content :
         {std::string("[setup]\nlanguage=english\n"), std::string("[setup]\r\nlanguage=english"),
          std::string("\xEF\xBB\xBF[setup]\r\nlanguage=english\r\n")}) {
        EXPECT_EQ(fileWith(content).readText("setup", "language"), "english") << content;
    }
}

TEST_F(ProfileFileTest, CommentsKeysOutsideSectionsAndBrokenLinesCarryNothing) {
    const ProfileFile file =
        fileWith("com=9\n[port]\n;com=4\nnot a pair\n=5\n[broken\ncom=6\nbaud=4800\n");
    EXPECT_EQ(file.readInt("port", "com", -1), 6);
    EXPECT_EQ(file.readInt("port", "baud"), 4800);
}

TEST_F(ProfileFileTest, IntegersAreTheLeadingDecimalDigits) {
    const ProfileFile file = fileWith(
        "[port]\nplain=3\nzero=03\nletters=3abc\nnone=abc\nnegative=-5\nspaced=  12  \n"
        "empty=\nhuge=99999999999999999999\n");
    EXPECT_EQ(file.readInt("port", "plain"), 3);
    EXPECT_EQ(file.readInt("port", "zero"), 3);
    EXPECT_EQ(file.readInt("port", "letters"), 3);
    EXPECT_EQ(file.readInt("port", "none", 7), 0);
    EXPECT_EQ(file.readInt("port", "negative", 7), 0);
    EXPECT_EQ(file.readInt("port", "spaced"), 12);
    EXPECT_EQ(file.readInt("port", "huge"), INT_MAX);
    // An empty value counts as missing, as on the original platform.
    EXPECT_EQ(file.readInt("port", "empty", 7), 7);
    EXPECT_EQ(file.readInt("port", "missing", 7), 7);
    EXPECT_EQ(ProfileFile(dir_ / "absent.ini").readInt("port", "com"), 0);
}

TEST_F(ProfileFileTest, WriteCreatesTheFileSectionAndKey) {
    const ProfileFile file(path());
    ASSERT_TRUE(file.writeText("port", "com", "3"));
    EXPECT_EQ(ReadText(path()), "[port]\ncom=3\n");
    ASSERT_TRUE(file.writeText("setup", "language", "english"));
    EXPECT_EQ(ReadText(path()), "[port]\ncom=3\n[setup]\nlanguage=english\n");
}

TEST_F(ProfileFileTest, WriteReplacesTheValueAndKeepsEveryOtherByte) {
    const std::string before =
        "; Halyx\r\n[Port]\r\n  COM = 3 \r\nbaud=9600\r\n\r\n[setup]\r\nlanguage=chinese";
    const ProfileFile file = fileWith(before);
    ASSERT_TRUE(file.writeText("port", "com", "12"));
    EXPECT_EQ(ReadText(path()),
              "; Halyx\r\n[Port]\r\n  COM = 12\r\nbaud=9600\r\n\r\n[setup]\r\nlanguage=chinese");
    ASSERT_TRUE(file.writeText("setup", "language", "english"));
    EXPECT_EQ(file.readText("setup", "language"), "english");
    EXPECT_EQ(file.readInt("port", "com"), 12);
}

TEST_F(ProfileFileTest, WriteAddsAKeyAtTheEndOfItsSectionInTheFilesLineEnding) {
    const ProfileFile file = fileWith("[port]\r\ncom=3\r\n\r\n[setup]\r\nlanguage=chinese\r\n");
    ASSERT_TRUE(file.writeText("port", "baud", "9600"));
    EXPECT_EQ(ReadText(path()),
              "[port]\r\ncom=3\r\nbaud=9600\r\n\r\n[setup]\r\nlanguage=chinese\r\n");
}

TEST_F(ProfileFileTest, WriteAfterALastLineWithoutLineEndStartsANewLine) {
    const ProfileFile file = fileWith("\xEF\xBB\xBF[setup]\r\nlanguage=chinese");
    ASSERT_TRUE(file.writeText("port", "com", "1"));
    EXPECT_EQ(ReadText(path()), "\xEF\xBB\xBF[setup]\r\nlanguage=chinese\r\n[port]\r\ncom=1\r\n");
    ASSERT_TRUE(file.writeText("port", "baud", "4800"));
    EXPECT_EQ(ReadText(path()),
              "\xEF\xBB\xBF[setup]\r\nlanguage=chinese\r\n[port]\r\ncom=1\r\nbaud=4800\r\n");
}

TEST_F(ProfileFileTest, WriteGoesToTheFirstOfDuplicateKeys) {
    const ProfileFile file = fileWith("[port]\ncom=3\ncom=5\n");
    ASSERT_TRUE(file.writeText("PORT", "Com", "8"));
    EXPECT_EQ(ReadText(path()), "[port]\ncom=8\ncom=5\n");
}

TEST_F(ProfileFileTest, WriteRefusesNamesAndValuesThatWouldAddOtherKeys) {
    const std::string before = "[setup]\nlanguage=chinese\n";
    const ProfileFile file = fileWith(before);
    EXPECT_FALSE(file.writeText("setup", "language", "english\n[port]\ncom=9"));
    EXPECT_FALSE(file.writeText("setup", "language", "english\rx"));
    EXPECT_FALSE(file.writeText("setup]x", "language", "english"));
    EXPECT_FALSE(file.writeText("setup", "a=b", "english"));
    EXPECT_FALSE(file.writeText("setup", "", "english"));
    EXPECT_EQ(ReadText(path()), before);
}

TEST_F(ProfileFileTest, WriteReplacesTheFileWithoutLeavingTemporaryFiles) {
    const ProfileFile file = fileWith("[setup]\nlanguage=chinese\n");
    fs::permissions(path(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(file.writeText("setup", "language", "english"));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(fs::status(path()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ProfileFileTest, WriteLeavesAFileItCannotReadAlone) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    const ProfileFile file = fileWith("[port]\ncom=3\n");
    fs::permissions(path(), fs::perms::owner_write);
    EXPECT_FALSE(file.writeText("setup", "language", "english"));
    fs::permissions(path(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadText(path()), "[port]\ncom=3\n");
}

TEST_F(ProfileFileTest, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(ProfileFile(dir_ / "no" / "such" / "setting.ini").writeText("port", "com", "1"));
}

}  // namespace
}  // namespace halyx
