#include "settings/file_layout.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "settings/profile_file.h"
#include "settings/setting_file.h"
#include "support/temp_dir.h"

namespace halyx {
namespace {

namespace fs = std::filesystem;
using testing::ScopedCurrentDir;
using testing::TempDir;

void Touch(const fs::path& path, const std::string& content = "x") {
    fs::create_directories(path.parent_path());
    testing::WriteBytes(path, std::vector<std::uint8_t>(content.begin(), content.end()));
}

// A prefix as `cmake --install` leaves it (bin/halyx, share/halyx/*.lang), and a home folder.
class Layouts : public ::testing::Test {
protected:
    void SetUp() override {
        Touch(prefix() / "bin" / "halyx");
        Touch(shared() / "english.lang");
        Touch(shared() / "chinese.lang");
        installed.executable = prefix() / "bin" / "halyx";
        installed.home = (root / "home").string();
        installed.locale = "en_US.UTF-8";
    }

    fs::path prefix() const { return root / "usr"; }
    fs::path shared() const { return prefix() / "share" / "halyx"; }
    fs::path home() const { return root / "home"; }

    TempDir root;
    LayoutEnvironment installed;
};

TEST_F(Layouts, PortableWhenHalyxHomeIsSetOrALanguageFileLiesBesideTheProgram) {
    LayoutEnvironment withHome = installed;
    withHome.halyxHome = (root / "portable").string();
    const FileLayout named = ResolveFileLayout(withHome);
    EXPECT_EQ(named.kind, LayoutKind::Portable);
    EXPECT_EQ(named.programDirectory, root / "portable");
    EXPECT_EQ(named.settingFilePath(), root / "portable" / "setting.ini");
    EXPECT_TRUE(named.userConfigDirectory.empty());
    EXPECT_TRUE(named.localeLanguage.empty());
    // Backups and the audit log stay the user's even in a portable layout.
    EXPECT_EQ(named.userDataDirectory, home() / ".local" / "share" / "halyx");

    Touch(prefix() / "bin" / "chinese.lang");
    const FileLayout beside = ResolveFileLayout(installed);
    EXPECT_EQ(beside.kind, LayoutKind::Portable);
    EXPECT_EQ(beside.programDirectory, prefix() / "bin");
    EXPECT_EQ(beside.settingFilePath(), prefix() / "bin" / "setting.ini");
}

TEST_F(Layouts, InstalledReadsSharedDataAndKeepsSettingsPerUserInTheXdgFolders) {
    const FileLayout byHome = ResolveFileLayout(installed);
    EXPECT_EQ(byHome.kind, LayoutKind::Installed);
    EXPECT_EQ(byHome.programDirectory, shared());
    EXPECT_EQ(byHome.programFile("english.lang"), shared() / "english.lang");
    EXPECT_EQ(byHome.settingFilePath(), home() / ".config" / "halyx" / "setting.ini");
    EXPECT_EQ(byHome.userStateDirectory, home() / ".local" / "state" / "halyx");
    EXPECT_EQ(byHome.userDataDirectory, home() / ".local" / "share" / "halyx");

    LayoutEnvironment xdg = installed;
    xdg.xdgConfigHome = (root / "cfg").string();
    xdg.xdgStateHome = (root / "state").string();
    xdg.xdgDataHome = (root / "data").string();
    const FileLayout byXdg = ResolveFileLayout(xdg);
    EXPECT_EQ(byXdg.settingFilePath(), root / "cfg" / "halyx" / "setting.ini");
    EXPECT_EQ(byXdg.userStateDirectory, root / "state" / "halyx");
    EXPECT_EQ(byXdg.userDataDirectory, root / "data" / "halyx");

    // Relative XDG values are invalid and ignored.
    xdg.xdgConfigHome = "cfg";
    xdg.xdgStateHome = "state";
    xdg.xdgDataHome = "data";
    EXPECT_EQ(ResolveFileLayout(xdg).settingFilePath(), byHome.settingFilePath());
    EXPECT_EQ(ResolveFileLayout(xdg).userStateDirectory, byHome.userStateDirectory);
    EXPECT_EQ(ResolveFileLayout(xdg).userDataDirectory, byHome.userDataDirectory);

    // Resolving the layout creates nothing.
    EXPECT_FALSE(fs::exists(home()));
}

TEST_F(Layouts, EnvironmentComesFromXdgVariablesAndTheFirstLocaleVariableSet) {
    setenv("XDG_CONFIG_HOME", "/c", 1);
    setenv("XDG_STATE_HOME", "/s", 1);
    setenv("XDG_DATA_HOME", "/d", 1);
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
    setenv("LANG", "en_GB.UTF-8", 1);
    LayoutEnvironment environment = ReadLayoutEnvironment();
    EXPECT_EQ(environment.xdgConfigHome, "/c");
    EXPECT_EQ(environment.xdgStateHome, "/s");
    EXPECT_EQ(environment.xdgDataHome, "/d");
    EXPECT_EQ(environment.locale, "zh_CN.UTF-8");
    setenv("LC_ALL", "de_DE", 1);
    EXPECT_EQ(ReadLayoutEnvironment().locale, "de_DE");
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        unsetenv(name);
    }
    EXPECT_EQ(ReadLayoutEnvironment().locale, "");
}

TEST_F(Layouts, LanguageFollowsTheLocaleUntilTheUserPicksOneAndOnlyWhenInstalled) {
    for (const auto& [locale, value] :
         std::vector<std::pair<std::string, std::string>>{{"zh_CN.UTF-8", "chinese"},
                                                          {"zh_TW", "chinese"},
                                                          {"zh", "chinese"},
                                                          {"en_US.UTF-8", "english"},
                                                          {"de_DE", "english"},
                                                          {"C", "english"},
                                                          {"", "english"}}) {
        EXPECT_EQ(LocaleLanguageValue(locale), value) << locale;
    }

    installed.locale = "zh_CN.UTF-8";
    const FileLayout layout = ResolveFileLayout(installed);
    const ProfileFile settings = SettingFileOf(layout);
    EXPECT_EQ(LanguageValue(settings, layout), "chinese");
    // A port chosen first makes the file but leaves the language to the locale.
    ASSERT_TRUE(settings.writeText("port", "com", "2"));
    EXPECT_EQ(LanguageValue(settings, layout), "chinese");
    ASSERT_TRUE(settings.writeText("setup", "language", "english"));
    EXPECT_EQ(LanguageValue(settings, layout), "english");

    // Portable: no locale default, the file alone decides (nothing: Chinese file, English tips).
    LayoutEnvironment portable = installed;
    portable.halyxHome = (root / "portable").string();
    const FileLayout portableLayout = ResolveFileLayout(portable);
    EXPECT_EQ(LanguageValue(ProfileFile(portableLayout.settingFilePath()), portableLayout), "");
}

TEST_F(Layouts, PerUserSettingFileAndItsFolderAppearWithTheFirstWrittenValueOnly) {
    const FileLayout layout = ResolveFileLayout(installed);
    const ProfileFile settings = SettingFileOf(layout);
    EXPECT_EQ(settings.readInt("port", "com"), 0);
    EXPECT_EQ(settings.readText("setup", "language"), "");
    EXPECT_FALSE(fs::exists(layout.userConfigDirectory));

    ASSERT_TRUE(settings.writeText("setup", "language", "chinese"));
    EXPECT_EQ(testing::ReadText(layout.settingFilePath()), "[setup]\nlanguage=chinese\n");
}

TEST_F(Layouts, DefaultImageComesFromTheCurrentDirectoryThenTheUserThenTheShippedOne) {
    const FileLayout layout = ResolveFileLayout(installed);
    TempDir work;
    ScopedCurrentDir inWork(work.path());
    const fs::path user = layout.userConfigDirectory / "default.kda";
    const fs::path shipped = shared() / "default.kda";

    EXPECT_EQ(DefaultImagePath(layout), fs::path("default.kda")) << "none: the name to report";
    Touch(shipped);
    EXPECT_EQ(DefaultImagePath(layout), shipped);
    Touch(user);
    EXPECT_EQ(DefaultImagePath(layout), user);
    Touch(work / "default.kda");
    EXPECT_EQ(DefaultImagePath(layout), fs::path("default.kda"));

    // Portable: the current directory only.
    fs::remove(work / "default.kda");
    LayoutEnvironment portable = installed;
    portable.halyxHome = shared().string();
    EXPECT_EQ(DefaultImagePath(ResolveFileLayout(portable)), fs::path("default.kda"));
}

TEST_F(Layouts, TrafficLogFallsBackToTheStateFolderOnlyWhenInstalledAndTheCurrentOneIsReadOnly) {
    const FileLayout layout = ResolveFileLayout(installed);
    TempDir work;
    EXPECT_EQ(TrafficLogPath(layout, work.path()), fs::path("comm.log"));
    EXPECT_FALSE(fs::exists(layout.userStateDirectory));

    // A folder that cannot be written: a missing one (root may write to any folder that exists).
    const fs::path readOnly = work / "gone";
    EXPECT_EQ(TrafficLogPath(layout, readOnly), layout.userStateDirectory / "comm.log");
    EXPECT_TRUE(fs::is_directory(layout.userStateDirectory));
    if (geteuid() != 0) {
        fs::create_directory(readOnly);
        ::chmod(readOnly.c_str(), 0555);
        EXPECT_EQ(TrafficLogPath(layout, readOnly), layout.userStateDirectory / "comm.log");
    }

    LayoutEnvironment portable = installed;
    portable.halyxHome = shared().string();
    EXPECT_EQ(TrafficLogPath(ResolveFileLayout(portable), work / "gone"), fs::path("comm.log"));
}

}  // namespace
}  // namespace halyx
