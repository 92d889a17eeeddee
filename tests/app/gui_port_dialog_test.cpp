#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <fstream>

#include "app/port_settings_dialog.h"
#include "app_parts.h"
#include "gui_test_support.h"

namespace halyx::test {
namespace {

class PortDialog : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        WriteLanguageFiles();
        WriteSettings("[setup]\nlanguage=english\n");
    }

    // Opens the dialog with COM3 and COM4 present (unless told otherwise).
    std::unique_ptr<CPortSettingsDlg> Open(std::vector<ComPortEntry> present = {
                                               {3, "/dev/ttyS2", "16550A"},
                                               {4, "/dev/ttyUSB0", ""}}) {
        if (!parts) {
            MakeContext();
        }
        auto dialog = std::make_unique<CPortSettingsDlg>(parts->line, parts->settings, prompts,
                                                         nullptr, [present] { return present; });
        dialog->show();
        return dialog;
    }

    void MakeContext() {
        parts = std::make_unique<AppParts>();
        parts->line.runner().SetPort(&port);
        parts->settings.language.setFile(home() / "english.lang");
    }

    std::string Value(const std::string& key) const {
        const std::string settings = ReadSettings();
        const std::size_t at = settings.find(key + "=");
        if (at == std::string::npos) {
            return "<none>";
        }
        const std::size_t end = settings.find_first_of("\r\n", at);
        return settings.substr(at + key.size() + 1, end - at - key.size() - 1);
    }

    RecordingPrompts prompts;
    FakeLinkPort port;
    std::unique_ptr<AppParts> parts;
};

TEST_F(PortDialog, ChoicesCarryTheirIdsOutOfPortOrder) {
    const int expected[16] = {1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024,
                              1033, 1034, 1035, 1036, 1025, 1026, 1027, 1028};
    auto dialog = Open();
    for (int number = 1; number <= 16; ++number) {
        EXPECT_EQ(CPortSettingsDlg::PortChoiceId(number), expected[number - 1]);
        auto* choice = dialog->findChild<QRadioButton*>(QString::number(expected[number - 1]));
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->text(), QStringLiteral("COM%1").arg(number));
    }
    EXPECT_EQ(dialog->windowTitle(), English("S0068"));
    EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("1001"))->text(), English("S0049"));
    EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("1002"))->text(), English("S0050"));
    EXPECT_FALSE(dialog->rateChoice(4800)->isVisible());
    EXPECT_FALSE(dialog->rateChoice(9600)->isVisible());
}

TEST_F(PortDialog, OnlyPortsThatExistCanBeChosenAndTheirTipsNameTheDevice) {
    auto dialog = Open({{3, "/dev/ttyS2", "16550A"}, {4, "/dev/ttyUSB0", ""}, {16, "/dev/x", ""}});
    for (int number = 1; number <= 16; ++number) {
        const bool present = number == 3 || number == 4 || number == 16;
        EXPECT_EQ(dialog->portChoice(number)->isEnabled(), present) << number;
    }
    EXPECT_EQ(dialog->portChoice(3)->toolTip(), QStringLiteral("/dev/ttyS2 (16550A)"));
    EXPECT_EQ(dialog->portChoice(4)->toolTip(), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(PortDialog, WithoutSettingFileNothingIsSelectedAndOkStoresPortOne) {
    std::filesystem::remove(home() / "setting.ini");
    auto dialog = Open();
    for (int number = 1; number <= 16; ++number) {
        EXPECT_FALSE(dialog->portChoice(number)->isChecked());
    }
    EXPECT_FALSE(dialog->rateChoice(4800)->isChecked());
    EXPECT_FALSE(dialog->rateChoice(9600)->isChecked());

    dialog->OnOK();
    EXPECT_EQ(Value("com"), "1");
    EXPECT_EQ(Value("baud"), "<none>");
    EXPECT_EQ(port.opened, std::vector<int>{1});
    EXPECT_TRUE(parts->line.IsOpen());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(PortDialog, AnAbsentSavedPortIsShownSelectedButCannotBeKept) {
    WriteSettings("[port]\ncom=5\n");
    auto dialog = Open();
    EXPECT_TRUE(dialog->portChoice(5)->isChecked());
    EXPECT_FALSE(dialog->portChoice(5)->isEnabled());
    dialog->OnOK();
    EXPECT_EQ(Value("com"), "1");
}

TEST_F(PortDialog, OkStoresTheChosenPortAndReopensTheLinkEachTime) {
    WriteSettings("[port]\ncom=3\nbaud=4800\n");
    MakeContext();
    port.open = true;

    auto dialog = Open();
    EXPECT_TRUE(dialog->portChoice(3)->isChecked());
    EXPECT_TRUE(dialog->rateChoice(4800)->isChecked());
    dialog->portChoice(4)->click();
    dialog->OnOK();
    EXPECT_EQ(Value("com"), "4");
    EXPECT_EQ(Value("baud"), "4800");
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(port.opened, std::vector<int>{4});

    dialog = Open();
    dialog->OnOK();
    EXPECT_EQ(port.closes, 2);
    EXPECT_EQ(port.opened, (std::vector<int>{4, 4}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PortDialog, AnUnknownRateIsLeftAsItWas) {
    WriteSettings("[port]\ncom=3\nbaud=38400\n");
    auto dialog = Open();
    EXPECT_FALSE(dialog->rateChoice(4800)->isChecked());
    EXPECT_FALSE(dialog->rateChoice(9600)->isChecked());
    dialog->OnOK();
    EXPECT_EQ(Value("baud"), "38400");
}

TEST_F(PortDialog, APortThatFailsToOpenIsReportedAndLeftClosed) {
    WriteSettings("[port]\ncom=3\n");
    MakeContext();
    port.open = true;
    port.succeed = false;

    auto dialog = Open();
    dialog->portChoice(4)->click();
    dialog->OnOK();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(prompts.messages[0].text, English("S0004"));
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(Value("com"), "4");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(PortDialog, TheFailureBoxShowsTheCauseInTheCurrentLanguage) {
    std::ofstream(home() / "english.lang", std::ios::app) << "S0204=en %1 denied\r\n"
                                                          << "S0205=en join %2\r\n";
    MakeContext();
    port.succeed = false;
    port.failure = {PortOpenCause::PermissionDenied, "/dev/ttyUSB0", "uucp", {}};
    auto dialog = Open();
    dialog->portChoice(4)->click();
    dialog->OnOK();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, English("S0004"));
    EXPECT_EQ(prompts.messages[0].detail, QStringLiteral("en /dev/ttyUSB0 denied en join uucp"));
}

TEST_F(PortDialog, CancelTouchesNeitherTheSettingFileNorThePort) {
    WriteSettings("[port]\ncom=3\n");
    const std::string before = ReadSettings();
    auto dialog = Open();
    dialog->portChoice(4)->click();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1002")), Qt::LeftButton);
    EXPECT_EQ(ReadSettings(), before);
    EXPECT_TRUE(port.opened.empty());
    EXPECT_EQ(port.closes, 0);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(PortDialog, EnterAppliesOnlyOnTheFocusedOkButton) {
    WriteSettings("[port]\ncom=3\n");
    const std::string before = ReadSettings();
    auto dialog = Open();
    QApplication::setActiveWindow(dialog.get());
    EXPECT_EQ(dialog->focusWidget(), dialog->findChild<QPushButton*>(QStringLiteral("1001")));

    // On a port choice Enter closes the dialog like Cancel.
    dialog->portChoice(4)->setFocus();
    dialog->portChoice(4)->setChecked(true);
    QTest::keyClick(dialog->portChoice(4), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ReadSettings(), before);
    EXPECT_TRUE(port.opened.empty());

    dialog = Open();
    QApplication::setActiveWindow(dialog.get());
    dialog->portChoice(4)->setChecked(true);
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("1001"));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Value("com"), "4");
    EXPECT_EQ(port.opened, std::vector<int>{4});
}

}  // namespace
}  // namespace halyx::test

namespace halyx::test {
namespace {

class PortDialogCables : public PortDialog {
protected:
    std::unique_ptr<CPortSettingsDlg> OpenWatching() {
        MakeContext();
        auto dialog = std::make_unique<CPortSettingsDlg>(
            parts->line, parts->settings, prompts, nullptr, [this] { return present; },
            [this] { return cables; });
        dialog->show();
        return dialog;
    }
    std::vector<ComPortEntry> present{{3, "/dev/ttyUSB0", "USB Serial"}};
    std::vector<CableEntry> cables{{"COM3", "/dev/ttyUSB0", "1a86:7523", "CH340", "USB Serial"}};
};

TEST_F(PortDialogCables, ListsCablesByChipAndMarksOnePluggedInWhileOpen) {
    auto dialog = Open();  // the system's own listing: at least the table is there, headed
    EXPECT_EQ(dialog->cableTable()->horizontalHeaderItem(3)->text(), "Chip");
    dialog.reset();

    dialog = OpenWatching();
    QTableWidget* table = dialog->cableTable();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 0)->text(), "COM3");
    EXPECT_EQ(table->item(0, 2)->text(), "1a86:7523");
    EXPECT_EQ(table->item(0, 3)->text(), "CH340");
    EXPECT_FALSE(dialog->portChoice(5)->isEnabled());

    // A second cable is plugged in: listed as new, and its number can be chosen.
    present.push_back({5, "/dev/ttyUSB1", ""});
    cables.push_back({"COM5", "/dev/ttyUSB1", "10c4:ea60", "CP210x", ""});
    dialog->cableWatch()->Poll();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), "COM3");
    EXPECT_EQ(table->item(1, 0)->text(), "COM5 (new)");
    EXPECT_TRUE(table->item(1, 0)->font().bold());
    EXPECT_TRUE(dialog->portChoice(5)->isEnabled());

    // The first is pulled out.
    present.erase(present.begin());
    cables.erase(cables.begin());
    dialog->cableWatch()->Poll();
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_FALSE(dialog->portChoice(3)->isEnabled());
}

TEST_F(PortDialogCables, ANetworkAddressIsStoredForTheChosenNumberAndAMistypedOneIsRefused) {
    WriteSettings("[port]\ncom=7\n");
    auto dialog = OpenWatching();
    parts->line.runner().SetPort(&port);
    EXPECT_TRUE(dialog->networkAddress()->text().isEmpty());

    dialog->networkAddress()->setText("rfc2217://bench:port");
    dialog->OnOK();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "rfc2217://bench:port is not a network address; use rfc2217://HOST:PORT or "
              "tcp://HOST:PORT.");
    EXPECT_TRUE(dialog->isVisible());  // left open to be put right
    EXPECT_EQ(Value("COM7"), "<none>");

    // The saved number no cable answers to may still be given an address, and is then kept.
    dialog->networkAddress()->setText("rfc2217://bench-pi:4001");
    dialog->OnOK();
    EXPECT_EQ(Value("com"), "7");
    EXPECT_EQ(Value("COM7"), "rfc2217://bench-pi:4001");

    // Opened again, COM7 shows its address; emptied, COM7 goes back to the cables.
    dialog = OpenWatching();
    EXPECT_TRUE(dialog->portChoice(7)->isChecked());
    EXPECT_EQ(dialog->networkAddress()->text(), "rfc2217://bench-pi:4001");
    dialog->networkAddress()->clear();
    dialog->OnOK();
    EXPECT_EQ(Value("COM7"), "");
    EXPECT_EQ(Value("com"), "1");  // absent without its address: as for any absent port
}

}  // namespace
}  // namespace halyx::test
