// halyx-cli import, export, diff and the one-language rule, run as a user runs them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

using testing::BuiltProgram;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::ReadText;
using testing::SourceDir;
using testing::TempDir;

class CliInterchange : public ::testing::Test {
protected:
    CliInterchange() {
        std::filesystem::copy_file(SourceDir() / "data" / "default.kda", dir / "radio.kda");
        for (const char* name : {"english.lang", "chinese.lang"}) {
            std::filesystem::copy_file(SourceDir() / "data" / name, home / name);
        }
    }

    // A user's shell: no setting file, the locale given (English unless said otherwise).
    ProcessResult Cli(const std::vector<std::string>& args, const std::string& lang = "C") {
        return testing::RunProcess(BuiltProgram("halyx-cli"), args, dir.path(),
                                   {{"HALYX_HOME", home.path().string()},
                                    {"LC_ALL", ""},
                                    {"LC_MESSAGES", ""},
                                    {"LANG", lang}});
    }

    TempDir dir;
    TempDir home;
};

TEST_F(CliInterchange, ExportedCsvImportedIntoAnEmptiedImageRestoresItAndReportsOnStderr) {
    ASSERT_EQ(Cli({"set", "radio.kda", "--channel", "2", "--rx-tone", "D754N", "--tx-tone", "88.5",
                   "--channel", "5", "--tx", "450.5", "--bandwidth", "25K"})
                  .exitStatus,
              0);
    ASSERT_EQ(Cli({"export", "radio.kda", "--csv", "list.csv"}).exitStatus, 0);
    std::ofstream(dir / "blank.csv").flush();
    const ProcessResult cleared =
        Cli({"import", "radio.kda", "--csv", "blank.csv", "--clear", "-o", "empty.kda"});
    ASSERT_EQ(cleared.exitStatus, 1);  // a file without a header row cannot be read
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.kda"));

    std::ofstream(dir / "none.csv") << "Location,Frequency\n";
    ASSERT_EQ(
        Cli({"import", "radio.kda", "--csv", "none.csv", "--clear", "-o", "empty.kda"}).exitStatus,
        0);
    const ProcessResult back =
        Cli({"import", "empty.kda", "--csv", "list.csv", "-o", "back.kda", "--json"});
    ASSERT_EQ(back.exitStatus, 0) << back.err;
    // Emptying wrote zeros into the erased channels 9-20's frequencies; 1-8 are back exactly.
    const auto original = ReadBytes(dir / "radio.kda");
    const auto restored = ReadBytes(dir / "back.kda");
    ASSERT_EQ(restored.size(), original.size());
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 40 + 27 * 9, restored.begin()));
    EXPECT_EQ(Cli({"diff", "radio.kda", "back.kda"}).exitStatus, 6);

    const auto report = nlohmann::json::parse(back.out);
    EXPECT_EQ(report["channels"], nlohmann::json({1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(report["notes"].size(), 1u);  // TStep: no place for it, said once
    EXPECT_EQ(report["notes"][0]["column"], "TStep");
    EXPECT_NE(back.err.find("warning: list.csv, line 2, TStep"), std::string::npos) << back.err;
}

TEST_F(CliInterchange, UnreadableCsvExitsOneNamingTheLineAndWritesNothing) {
    std::ofstream(dir / "bad.csv") << "Location,Frequency\n1,446.1\n2,\"446.2\n";
    const auto before = ReadBytes(dir / "radio.kda");
    const ProcessResult result = Cli({"import", "radio.kda", "--csv", "bad.csv"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("bad.csv: line 3"), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(dir / "radio.kda"), before);
    EXPECT_EQ(Cli({"import", "radio.kda", "--csv", "missing.csv"}).exitStatus, 2);
}

TEST_F(CliInterchange, DiffNamesASettingAChannelFieldAndAByteRangeWithItsExitStatus) {
    auto bytes = ReadBytes(dir / "radio.kda");
    EXPECT_EQ(Cli({"diff", "radio.kda", "radio.kda"}).exitStatus, 0);
    bytes[32] = 9;                // squelch
    bytes[40 + 27 * 4 + 15] = 1;  // channel 4 bandwidth
    bytes[1000] ^= 0x01;          // a byte nothing interprets
    testing::WriteBytes(dir / "other.kda", bytes);
    const ProcessResult json = Cli({"diff", "radio.kda", "other.kda", "--json"});
    EXPECT_EQ(json.exitStatus, 6);
    const auto d = nlohmann::json::parse(json.out);
    EXPECT_EQ(d["identical"], false);
    EXPECT_EQ(d["settings"], nlohmann::json::parse(R"([{"name":"squelchLevel","a":3,"b":9}])"));
    EXPECT_EQ(d["channels"], nlohmann::json::parse(
                                 R"([{"channel":4,"field":"bandwidth","a":"12.5K","b":"25K"}])"));
    ASSERT_EQ(d["bytes"].size(), 1u);
    EXPECT_EQ(d["bytes"][0]["first"], 1000);
    EXPECT_EQ(d["bytes"][0]["last"], 1000);

    const ProcessResult text = Cli({"diff", "radio.kda", "other.kda"}, "zh_CN.UTF-8");
    EXPECT_NE(text.out.find("静噪: 3 -> 9"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("CH04 带宽: 12.5K -> 25K"), std::string::npos) << text.out;
    EXPECT_EQ(Cli({"diff", "radio.kda", "nowhere.kda"}).exitStatus, 2);
    EXPECT_EQ(Cli({"diff", "radio.kda"}).exitStatus, 1);
}

TEST_F(CliInterchange, ReadableOutputHasOneLanguageAndJsonNone) {
    const ProcessResult english = Cli({"show", "radio.kda"});
    EXPECT_NE(english.out.find("VOX:"), std::string::npos);
    EXPECT_NE(english.out.find("TX Power:       High"), std::string::npos) << english.out;
    const ProcessResult chinese = Cli({"show", "radio.kda"}, "zh_CN.UTF-8");
    EXPECT_NE(chinese.out.find("发射功率:       高"), std::string::npos) << chinese.out;
    EXPECT_EQ(chinese.out.find("Power"), std::string::npos) << chinese.out;
    EXPECT_EQ(Cli({"--lang", "en", "show", "radio.kda"}, "zh_CN.UTF-8").out, english.out);
    const ProcessResult json = Cli({"show", "radio.kda", "--json"}, "zh_CN.UTF-8");
    EXPECT_EQ(json.out, Cli({"show", "radio.kda", "--json"}).out);
    EXPECT_NE(json.out.find("\"rxTone\": \"off\""), std::string::npos);
    EXPECT_EQ(Cli({"show", "radio.kda", "--lang", "fr"}).exitStatus, 1);
    EXPECT_NE(Cli({"--version"}).out.find("halyx-cli "), std::string::npos);
}

TEST_F(CliInterchange, ChannelSheetAsHtmlAndPdfInEitherLanguageAndPageSize) {
    ASSERT_EQ(
        Cli({"export", "radio.kda", "--html", "sheet.html", "--pdf", "sheet.pdf", "--lang", "zh"})
            .exitStatus,
        0);
    const std::string html = ReadText(dir / "sheet.html");
    EXPECT_NE(html.find("<h1>信道表</h1>"), std::string::npos);
    EXPECT_NE(html.find("radio.kda"), std::string::npos);
    EXPECT_NE(html.find("1000000001"), std::string::npos);
    const std::string pdf = ReadText(dir / "sheet.pdf");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    // A4 is 595 x 842 points, Letter 612 x 792.
    EXPECT_NE(pdf.find("/MediaBox [0 0 595"), std::string::npos);
    ASSERT_EQ(Cli({"export", "radio.kda", "--pdf", "letter.pdf", "--page", "letter"}).exitStatus,
              0);
    EXPECT_NE(ReadText(dir / "letter.pdf").find("/MediaBox [0 0 612"), std::string::npos);
    EXPECT_EQ(Cli({"export", "radio.kda"}).exitStatus, 1);
}

}  // namespace
}  // namespace halyx
