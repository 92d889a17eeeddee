#include <QComboBox>
#include <QMenu>
#include <QTableWidget>

#include "app/app_context.h"
#include "app/port_doctor_dialog.h"
#include "gui_test_support.h"
#include "support/described_system.h"

namespace halyx::test {
namespace {

TEST_F(ShellTest, PortDoctorDialogShowsEachCheckWithItsFix) {
    WriteLanguageFiles();
    WriteSettings("[setup]\nlanguage=english\n[port]\ncom=2\n[devices]\nCOM2=/dev/ttyUSB7\n");
    AppContext context;
    context.language.setFile(home() / "english.lang");
    RecordingPrompts prompts;
    auto facts = std::make_unique<testing::DescribedSystem>();
    facts->devices["/dev/ttyUSB7"] = {"root", "dialout"};
    facts->running = {"ModemManager"};
    PortDoctorDialog dialog(context, prompts, nullptr, std::move(facts));

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

}  // namespace
}  // namespace halyx::test
