// The language files that ship with the program: every key the program asks for has a text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/language.h"
#include "settings/text_encoding.h"

namespace halyx {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> UsedKeys() {
    std::vector<std::string> keys = {"S0000", "S0004", "S0006", "S0008", "S0009", "S0014", "S0016",
                                     "S0017", "S0019", "S0022", "S0023", "S0026", "S0027", "S0033",
                                     "S0034", "S0068", "S0069", "S0071", "S0072", "S0080", "S0081",
                                     "S0103", "S0105", "S0200", "S0201"};
    const std::pair<int, int> ranges[] = {
        {37, 37},   {39, 43},   {47, 50},   {53, 55},   {57, 65},   {86, 92},   {108, 119},
        {202, 209}, {210, 212}, {240, 257}, {315, 319}, {375, 389}, {390, 399}, {400, 403}};
    for (const auto& [first, last] : ranges) {
        for (int number = first; number <= last; ++number) {
            const std::string digits = std::to_string(number);
            keys.push_back("S" + std::string(4 - digits.size(), '0') + digits);
        }
    }
    return keys;
}

fs::path ShippedFile(const char* name) {
    const char* source = std::getenv("HALYX_SOURCE_DIR");
    return fs::path(source != nullptr ? source : ".") / "data" / name;
}

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectEveryUsedKeyHasText(const fs::path& path) {
    ASSERT_TRUE(fs::exists(path)) << path;
    const Language language(path);
    for (const std::string& key : UsedKeys()) {
        EXPECT_FALSE(language.LangString(key).empty()) << path.filename() << " " << key;
    }
}

TEST(ShippedLanguageFiles, EnglishIsAsciiAndHasEveryUsedKey) {
    const fs::path path = ShippedFile("english.lang");
    ExpectEveryUsedKeyHasText(path);
    for (const char byte : FileBytes(path)) {
        ASSERT_LT(static_cast<unsigned char>(byte), 0x80U);
    }
}

TEST(ShippedLanguageFiles, ChineseIsGbkAndHasEveryUsedKey) {
    const fs::path path = ShippedFile("chinese.lang");
    ExpectEveryUsedKeyHasText(path);
    const std::string bytes = FileBytes(path);
    EXPECT_FALSE(IsValidUtf8(bytes)) << "chinese.lang must be stored in GBK";
    EXPECT_EQ(GbkToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "invalid GBK";
}

}  // namespace
}  // namespace halyx
