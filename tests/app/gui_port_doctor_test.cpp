#include <QComboBox>
#include <QMenu>
#include <QTableWidget>
#include <cstdlib>
#include <filesystem>

#include "app/port_doctor_dialog.h"
#include "app_parts.h"
#include "gui_test_support.h"
#include "support/described_system.h"

namespace halyx::test {
namespace {

TEST_F(ShellTest, PortDoctorDialogShowsEachCheckWithItsFix) {
    WriteLanguageFiles();
    WriteSettings("[setup]\nlanguage=english\n[port]\ncom=2\n[devices]\nCOM2=/dev/ttyUSB7\n");
    AppParts parts;
    parts.settings.language.setFile(home() / "english.lang");
    RecordingPrompts prompts;
    auto facts = std::make_unique<testing::DescribedSystem>();
    facts->devices["/dev/ttyUSB7"] = {"root", "dialout"};
    facts->running = {"ModemManager"};
    PortDoctorDialog dialog(parts.line, parts.settings.language, prompts, nullptr,
                            std::move(facts));

    EXPECT_EQ(dialog.windowTitle(), "Port doctor");
    EXPECT_EQ(dialog.portChoice()->currentText(), "COM2");
    QTableWidget* table = dialog.checkTable();
    const auto row = [&](const QString& id) {
        for (int r = 0; r < table->rowCount(); ++r) {
            if (table->item(r, PortDoctorDialog::kCheckColumn)->text() == id) {
                return r;
            }
        }
        return -1;
    };
    const int permission = row("permission");
    ASSERT_GE(permission, 0);
    EXPECT_EQ(table->item(permission, PortDoctorDialog::kResultColumn)->text(), "problem");
    EXPECT_EQ(table->item(permission, PortDoctorDialog::kFixColumn)->text(),
              "sudo usermod -aG dialout $USER, then log out and in again");
    ASSERT_GE(row("modemmanager"), 0);
    EXPECT_EQ(table->item(row("modemmanager"), PortDoctorDialog::kResultColumn)->text(), "warning");

    // A typed device that is not there: the device check alone.
    dialog.portChoice()->setEditText("/dev/ttyUSB9");
    dialog.RunChecks();
    EXPECT_EQ(table->item(0, PortDoctorDialog::kResultColumn)->text(), "problem");
    EXPECT_NE(table->item(0, PortDoctorDialog::kFindingColumn)->text().indexOf("does not exist"),
              -1);
    // The self-test asks first; declined, nothing is sent.
    prompts.answers = {PromptAnswer::No};
    const std::size_t before = dialog.checks().size();
    dialog.RunSelfTest();
    EXPECT_EQ(dialog.checks().size(), before);
}

TEST_F(ShellTest, PortDoctorDialogInChineseWordsEveryFindingAndFixInChinese) {
    WriteSettings("[setup]\nlanguage=chinese\n[port]\ncom=2\n[devices]\nCOM2=/dev/ttyUSB7\n");
    AppParts parts;
    parts.settings.language.setFile(std::filesystem::path(std::getenv("HALYX_SOURCE_DIR")) /
                                    "data" / "chinese.lang");
    RecordingPrompts prompts;
    auto facts = std::make_unique<testing::DescribedSystem>();
    facts->devices["/dev/ttyUSB7"] = {"root", "dialout"};
    facts->holders["/dev/ttyUSB7"] = {{4242, "minicom"}};
    facts->running = {"ModemManager"};
    PortDoctorDialog dialog(parts.line, parts.settings.language, prompts, nullptr,
                            std::move(facts));

    // Row by row as the checks come: device, permission, holders, brltty, ModemManager.
    const QStringList expected[] = {
        {"设备", "正常", "/dev/ttyUSB7 存在", ""},
        {"权限", "问题", "您（tech）不在拥有 /dev/ttyUSB7 的用户组 dialout 中",
         "sudo usermod -aG dialout $USER，然后注销并重新登录"},
        {"占用程序", "问题", "/dev/ttyUSB7 被 minicom (pid 4242) 占用",
         "关闭该程序（或：kill 4242）"},
        {"brltty", "正常", "brltty 未安装", ""},
        {"ModemManager", "警告",
         "ModemManager 正在运行，会对每个新串口探测几秒钟并发送 AT 命令，电台可能会误解这些命令",
         "插上数据线后等几秒钟，或执行 sudo systemctl stop ModemManager"},
    };
    QTableWidget* table = dialog.checkTable();
    ASSERT_EQ(table->rowCount(), 5);
    for (int row = 0; row < 5; ++row) {
        QStringList shown;
        for (int column = 0; column < table->columnCount(); ++column) {
            shown << table->item(row, column)->text();
        }
        EXPECT_EQ(shown, expected[row]);
    }
    // The checks themselves stay in English, as the command line prints them.
    EXPECT_EQ(dialog.checks()[1].fix, "sudo usermod -aG dialout $USER, then log out and in again");

    // A port that names no device: the vanished-device finding, in Chinese too.
    dialog.portChoice()->setEditText("COM99");
    dialog.RunChecks();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, PortDoctorDialog::kFindingColumn)->text(),
              "COM99 不存在（或已被拔出）");
}

}  // namespace
}  // namespace halyx::test
