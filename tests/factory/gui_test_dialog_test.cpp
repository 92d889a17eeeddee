#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "gui_app_fixture.h"
#include "test_dialog_fixture.h"

namespace halyx::test {
namespace {

using Opening = PeerLinkPort::Opening;

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible == nullptr ? QString() : accessible->text(QAccessible::Name);
}

// The text of the label assistive technology finds for `widget` (the buddy relation).
QString LabelledBy(QWidget* widget) {
    for (const auto& [other, relation] :
         QAccessible::queryAccessibleInterface(widget)->relations()) {
        if (relation.testFlag(QAccessible::Label)) {
            return other->text(QAccessible::Name);
        }
    }
    return {};
}

// Lists on Unix report their entry as their name and find their label through the relation;
// elsewhere the name set from the label is what is read out. Both must hold the label's text.
void ExpectNamedBy(QWidget* widget, const QString& label) {
    EXPECT_EQ(LabelledBy(widget), label) << widget->objectName().toStdString();
    EXPECT_EQ(widget->accessibleName(), label) << widget->objectName().toStdString();
}

TEST_F(TestDialogTest, OpensWithTextsLabelsAndEveryControlOfTheTemplate) {
    Open();
    EXPECT_EQ(dialog->windowTitle(), English("S0069"));
    for (int id : {1033, 1003, 1049, 1016, 1028, 1015, 1013, 1014, 1001, 1012}) {
        EXPECT_NE(dialog->findChild<QWidget*>(QString::number(id)), nullptr) << id;
    }
    for (const auto& ids : test_dialog::kRows) {
        for (int id : {ids.slider, ids.nameLabel, ids.valueLabel}) {
            EXPECT_NE(dialog->findChild<QWidget*>(QString::number(id)), nullptr) << id;
        }
    }
    EXPECT_EQ(Text(1013), English("S0086"));
    EXPECT_EQ(Text(1014), English("S0087"));
    EXPECT_EQ(Text(1001), English("S0072"));
    EXPECT_EQ(Text(1012), English("S0048"));
    EXPECT_EQ(Text(1028), English("S0090"));
    EXPECT_EQ(dialog->findChild<QLabel*>("1033")->text(), "COM");
    EXPECT_EQ(dialog->findChild<QLabel*>("1049")->text(), English("S0089"));

    EXPECT_EQ(dialog->nameLabel(1)->text(), "409.025MHz [LOW]");
    EXPECT_EQ(dialog->nameLabel(5)->text(), "435.025MHz [MID]");
    EXPECT_EQ(dialog->nameLabel(9)->text(), "469.025MHz [HIGH]");
    for (int row = 1; row <= kTestPointRows; ++row) {
        EXPECT_EQ(dialog->slider(row)->value(), 0);
        EXPECT_EQ(dialog->slider(row)->maximum(), 255);
        EXPECT_EQ(dialog->valueLabel(row)->text(), "0");
    }
    EXPECT_EQ(dialog->slider(1)->pageStep(), 1);

    QStringList rates;
    for (int i = 0; i < dialog->baudList()->count(); ++i) {
        rates << dialog->baudList()->itemText(i);
    }
    EXPECT_EQ(rates, (QStringList{"9600", "19200", "38400", "57600"}));
    EXPECT_EQ(dialog->baudList()->currentText(), "9600");
    EXPECT_EQ(dialog->portList()->count(), 2);
    EXPECT_EQ(dialog->portList()->currentText(), "COM3");
    EXPECT_TRUE(Button(1028)->isEnabled());
    EXPECT_FALSE(Button(1001)->isEnabled());
    EXPECT_FALSE(Button(1012)->isEnabled());
    EXPECT_EQ(dialog->progressBar()->minimum(), 1);
    EXPECT_EQ(dialog->progressBar()->maximum(), 20);
    // Nothing goes to the radio until the user asks.
    EXPECT_EQ(peer.framesReceived(), 0);
}

TEST_F(TestDialogTest, NameLabelsFollowTheBandAndTheExactLanguageValue) {
    SetBand(false);
    Open();
    EXPECT_EQ(dialog->nameLabel(3)->text(), "142.025MHz [HIGH]");
    EXPECT_EQ(dialog->nameLabel(4)->text(), "155.025MHz [LOW]");
    EXPECT_EQ(dialog->nameLabel(8)->text(), "172.025MHz [MID]");
    dialog.reset();

    // Only the exact word "english" gives English power words.
    WriteSettings("[setup]\nlanguage=English\n");
    SetBand(true);
    Open();
    EXPECT_EQ(dialog->nameLabel(1)->text(), QString::fromUtf8("409.025MHz [低]"));
    EXPECT_EQ(dialog->nameLabel(2)->text(), QString::fromUtf8("409.025MHz [中]"));
    EXPECT_EQ(dialog->nameLabel(6)->text(), QString::fromUtf8("435.025MHz [高]"));
}

TEST_F(TestDialogTest, WithNoPortTheListSaysNoneAndNothingCanBeOpened) {
    ports.clear();
    Open();
    ASSERT_EQ(dialog->portList()->count(), 1);
    EXPECT_EQ(dialog->portList()->currentText(), QString::fromUtf8("无"));
    EXPECT_FALSE(Button(1028)->isEnabled());
    EXPECT_FALSE(Button(1001)->isEnabled());
    EXPECT_FALSE(Button(1012)->isEnabled());
    EXPECT_EQ(Text(1028), English("S0090"));
}

TEST_F(TestDialogTest, OpeningUsesTheChosenPortAndRateAndClosingUndoesIt) {
    Open();
    dialog->portList()->setCurrentIndex(1);
    dialog->baudList()->setCurrentIndex(2);
    QTest::mouseClick(Button(1028), Qt::LeftButton);
    EXPECT_EQ(port.opened, (std::vector<Opening>{{5, 38400}}));
    EXPECT_TRUE(dialog->holdsPort());
    EXPECT_TRUE(parts->line.IsOpen());
    EXPECT_EQ(Text(1028), English("S0091"));
    EXPECT_FALSE(dialog->portList()->isEnabled());
    EXPECT_FALSE(dialog->baudList()->isEnabled());
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_TRUE(Button(1012)->isEnabled());

    QTest::mouseClick(Button(1028), Qt::LeftButton);
    EXPECT_EQ(port.closes, 1);
    EXPECT_FALSE(dialog->holdsPort());
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(Text(1028), English("S0090"));
    EXPECT_TRUE(dialog->portList()->isEnabled());
    EXPECT_TRUE(dialog->baudList()->isEnabled());
    EXPECT_FALSE(Button(1001)->isEnabled());
    EXPECT_FALSE(Button(1012)->isEnabled());

    // Each list index has its rate; no selection falls back to 38400.
    for (int index : {0, 1, 3, -1}) {
        dialog->baudList()->setCurrentIndex(index);
        dialog->OnOpenClosePort();
        dialog->OnOpenClosePort();
    }
    EXPECT_EQ(port.opened,
              (std::vector<Opening>{{5, 38400}, {5, 9600}, {5, 19200}, {5, 57600}, {5, 38400}}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TestDialogTest, APortThatDoesNotOpenIsReportedAndChangesNothing) {
    port.succeed = false;
    Open();
    dialog->OnOpenClosePort();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].caption, "Error!");
    EXPECT_EQ(prompts.messages[0].text, English("S0004"));
    EXPECT_EQ(prompts.messages[0].detail, QStringLiteral("COM1 is in use by another program."));
    EXPECT_FALSE(dialog->holdsPort());
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(Text(1028), English("S0090"));
    EXPECT_TRUE(dialog->portList()->isEnabled());
    EXPECT_FALSE(Button(1001)->isEnabled());
}

TEST_F(TestDialogTest, ADeviceLeavingWhileThePortIsHeldClosesItProperly) {
    OpenWithPort();
    dialog->OnReadValues();
    ports = {{5, "/dev/ttyUSB1", ""}};
    dialog->CheckPortDevices();
    EXPECT_EQ(port.closes, 1);
    EXPECT_FALSE(dialog->holdsPort());
    EXPECT_FALSE(parts->line.IsOpen());
    EXPECT_EQ(Text(1028), English("S0090"));
    EXPECT_TRUE(dialog->portList()->isEnabled());
    EXPECT_TRUE(dialog->baudList()->isEnabled());
    EXPECT_FALSE(Button(1001)->isEnabled());
    EXPECT_FALSE(Button(1012)->isEnabled());
    // The read under way stopped with the port instead of timing out against it.
    EXPECT_EQ(dialog->armedTimerId(), kNoTimer);
    ASSERT_EQ(dialog->portList()->count(), 1);
    EXPECT_EQ(dialog->portList()->currentText(), "COM5");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TestDialogTest, TheListIsRebuiltOnlyWhenTheSystemsPortsChange) {
    Open();
    dialog->portList()->setCurrentIndex(1);
    dialog->CheckPortDevices();
    EXPECT_EQ(dialog->portList()->currentText(), "COM5");

    ports.push_back({9, "/dev/ttyACM0", ""});
    dialog->CheckPortDevices();
    EXPECT_EQ(dialog->portList()->count(), 3);
    EXPECT_EQ(dialog->portList()->currentText(), "COM3");

    ports.clear();
    dialog->CheckPortDevices();
    EXPECT_EQ(dialog->portList()->currentText(), QString::fromUtf8("无"));
    EXPECT_FALSE(Button(1028)->isEnabled());
    EXPECT_EQ(port.closes, 0);
}

TEST_F(TestDialogTest, EscapeEnterAndTheCloseBoxAllCloseThePort) {
    const auto closeWith = [this](const std::function<void()>& how) {
        OpenWithPort();
        dialog->show();
        const int closesBefore = port.closes;
        how();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(port.closes, closesBefore + 1);
        EXPECT_FALSE(parts->line.IsOpen());
        EXPECT_FALSE(parts->line.runner().IsBusy());
        dialog.reset();
    };
    closeWith([this] { QTest::keyClick(dialog.get(), Qt::Key_Escape); });
    closeWith([this] {
        dialog->slider(4)->setFocus();
        QTest::keyClick(dialog->slider(4), Qt::Key_Return);
    });
    closeWith([this] { dialog->close(); });

    // Even a port the dialog did not open (the main window's) is closed on the way out.
    port.sink().SetOpen(true);
    Open();
    dialog->reject();
    EXPECT_FALSE(parts->line.IsOpen());
}

TEST_F(TestDialogTest, EnterOnAFocusedButtonPressesItInsteadOfClosing) {
    Open();
    dialog->show();
    Button(1028)->setFocus();
    QTest::keyClick(Button(1028), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->holdsPort());
}

TEST_F(TestDialogTest, ControlsCarryTheirLabelsAsAccessibleNamesInTheActiveLanguage) {
    Open();
    ExpectNamedBy(dialog->portList(), "COM");
    ExpectNamedBy(dialog->baudList(), English("S0089"));
    ExpectNamedBy(dialog->slider(1), "409.025MHz [LOW]");
    EXPECT_EQ(AccessibleName(dialog->slider(1)), "409.025MHz [LOW]");
    EXPECT_EQ(AccessibleName(Button(1012)), English("S0048"));
    EXPECT_EQ(AccessibleName(dialog->openCloseButton()), English("S0090"));
    dialog.reset();

    parts->settings.language.setFile(home() / "chinese.lang");
    WriteSettings("[setup]\nlanguage=chinese\n");
    Open();
    ExpectNamedBy(dialog->baudList(), Chinese("S0089"));
    EXPECT_EQ(AccessibleName(Button(1001)), Chinese("S0072"));
    EXPECT_EQ(AccessibleName(dialog->slider(9)), QString::fromUtf8("469.025MHz [高]"));

    // The progress bar reports where the write has got to.
    dialog->OnProgress(7);
    QAccessibleInterface* progress = QAccessible::queryAccessibleInterface(dialog->progressBar());
    ASSERT_NE(progress->valueInterface(), nullptr);
    EXPECT_EQ(progress->valueInterface()->currentValue().toInt(), 7);
    EXPECT_EQ(AccessibleName(dialog->progressBar()), Chinese("S0048"));
}

TEST_F(TestDialogTest, TabGoesFromThePortRowThroughTheSlidersToTheButtons) {
    Open();
    std::vector<QString> order;
    QWidget* widget = dialog->portList();
    for (int i = 0; i < 16; ++i) {
        order.push_back(widget->objectName());
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus) {
            widget = widget->nextInFocusChain();
        }
    }
    EXPECT_EQ(order, (std::vector<QString>{"1003", "1016", "1028", "1030", "1031", "1032", "1034",
                                           "1035", "1036", "1037", "1038", "1039", "1013", "1014",
                                           "1001", "1012"}));
}

class TestCommand : public RunningApp {};

TEST_F(TestCommand, ProgramTestOpensTheModalTestDialog) {
    StartWith("[setup]\nlanguage=english\n[port]\ncom=2\n");
    QString seen;
    QTimer::singleShot(0, [&seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr) {
            seen = modal->objectName() + " " + modal->windowTitle();
            modal->close();
        }
    });
    frame->OnCommand(32785);
    EXPECT_EQ(seen, "TestDialog " + English("S0069"));
    // Leaving it closes the port the main window had opened.
    EXPECT_FALSE(app->radioLine().IsOpen());
}

}  // namespace
}  // namespace halyx::test
