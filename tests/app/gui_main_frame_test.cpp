#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/about_dialog.h"
#include "app/lock_key_source.h"
#include "app/menu_layout.h"
#include "app/status_panes.h"
#include "gui_app_fixture.h"
#include "ui/form/channel_table_model.h"
#include "ui/form/halyx_view.h"

namespace halyx::test {
namespace {

using MainFrame = RunningApp;

std::vector<int> ActionIds(const QList<QAction*>& actions) {
    std::vector<int> ids;
    for (const QAction* action : actions) {
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    }
    return ids;
}

QMenu* Menu(CMainFrame* frame, int position) {
    return frame->menuBar()->actions().at(position)->menu();
}

TEST_F(MainFrame, MenusHoldTheirCommandsInOrderWithIdsAsDataAndObjectNames) {
    StartWith("[setup]\nlanguage=english\n");
    const std::vector<std::vector<int>> expected = {
        // The channel-interchange items, Open backup and printing come after the original ones,
        // as does Fleet write; Edit sits between File and Program.
        {57600, 57601, 32780, 0, 57665, 0, 32786, 32787, 32788, 32789, 32790, 32792, 0, 32802,
         57607},
        {57643, 57644, 0, 57635, 57634, 57637, 32800, 0, 32801},
        {32773, 32774, 0, 32785, 32791},
        {32775, 32793},  // the port doctor after the port settings
        {32783, 32784},
        {59392, 59393},
        {57664},
    };
    ASSERT_EQ(frame->menuBar()->actions().size(), 7);
    for (int position = 0; position < 7; ++position) {
        EXPECT_EQ(ActionIds(Menu(frame, position)->actions()), expected[position]) << position;
    }
    for (const auto& menu : expected) {
        for (int id : menu) {
            if (id != 0) {
                EXPECT_EQ(frame->findChild<QAction*>(QString::number(id)),
                          frame->commandAction(id));
            }
        }
    }
}

TEST_F(MainFrame, LanguageSwitchRelocalisesMenusTitleStatusAndView) {
    StartWith("[setup]\nlanguage=english\n[port]\ncom=2\n");
    EXPECT_EQ(Menu(frame, 0)->title(), English("S0037"));
    EXPECT_EQ(Menu(frame, 4)->title(), English("S0092"));
    EXPECT_EQ(frame->commandAction(32780)->text(), English("S0055"));
    EXPECT_EQ(frame->indicatorPane(1)->paneText(), English("S0110"));
    EXPECT_EQ(frame->messagePane()->text(), QStringLiteral("Ready"));

    frame->commandAction(32783)->trigger();
    EXPECT_NE(ReadSettings().find("language=chinese"), std::string::npos);
    const std::vector<std::pair<int, const char*>> items = {
        {57600, "S0053"}, {57601, "S0054"}, {32780, "S0055"}, {57665, "S0057"}, {32773, "S0058"},
        {32774, "S0059"}, {32785, "S0060"}, {32775, "S0061"}, {32783, "S0062"}, {32784, "S0063"},
        {59392, "S0064"}, {59393, "S0065"}, {57664, "S0043"},
    };
    for (const auto& [id, key] : items) {
        EXPECT_EQ(frame->commandAction(id)->text(), Chinese(key)) << id;
    }
    // The test's language files stop at S0201: Edit shows its built-in English.
    const char* titles[] = {"S0037", nullptr, "S0039", "S0040", "S0092", "S0041", "S0042"};
    for (int position = 0; position < 7; ++position) {
        EXPECT_EQ(Menu(frame, position)->title(), titles[position] != nullptr
                                                      ? Chinese(titles[position])
                                                      : QStringLiteral("&Edit"));
    }
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("default.kda - ") + Chinese("S0000"));
    EXPECT_EQ(frame->indicatorPane(1)->paneText(), Chinese("S0110"));
    EXPECT_EQ(app->mainFrame()->view()->channelModel().toneTable().text(0),
              Chinese("S0103").toStdString());
    EXPECT_EQ(frame->view()->initialUpdateCount(), 2);
    QApplication::processEvents();  // the idle text is posted
    EXPECT_EQ(frame->messagePane()->text(), QStringLiteral("就绪"));

    EXPECT_EQ(frame->toolBar()->windowTitle(), Chinese("S0064"));

    frame->OnCommand(32784);
    EXPECT_EQ(Menu(frame, 0)->title(), English("S0037"));
    EXPECT_EQ(frame->toolBar()->windowTitle(), English("S0064"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("default.kda - ") + English("S0000"));
    QApplication::processEvents();
    EXPECT_EQ(frame->messagePane()->text(), QStringLiteral("Ready"));
}

TEST_F(MainFrame, ChoosingTheActiveLanguageAgainStillWritesTheSettingFile) {
    StartWith("");
    std::filesystem::remove(home() / "setting.ini");
    frame->OnCommand(32783);
    EXPECT_NE(ReadSettings().find("language=chinese"), std::string::npos);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("default.kda - ") + Chinese("S0000"));
}

TEST_F(MainFrame, ToolTipsAndIdleTextAreChineseOnlyForTheExactValueReadEachTime) {
    StartWith("[setup]\nlanguage=chinese\n");
    const std::vector<std::pair<int, QString>> chinese = {
        {57600, "新建"}, {57601, "打开"}, {32780, "保存"},
        {32773, "读频"}, {32774, "写频"}, {57664, "关于"},
    };
    for (const auto& [id, tip] : chinese) {
        EXPECT_EQ(frame->ToolTipFor(id), tip);
    }
    EXPECT_EQ(frame->IdleText(), QStringLiteral("就绪"));

    // Changed behind the window's back: the next tip already follows the file.
    WriteSettings("[setup]\nlanguage=Chinese\n");
    EXPECT_EQ(frame->ToolTipFor(32774), QStringLiteral("Write"));
    EXPECT_EQ(frame->IdleText(), QStringLiteral("Ready"));
    WriteSettings("[port]\ncom=1\n");
    EXPECT_EQ(frame->ToolTipFor(57664), QStringLiteral("About"));

    // The toolbar button's own tool-tip request is answered from the same rule.
    WriteSettings("[setup]\nlanguage=chinese\n");
    auto* open = frame->toolBar()->findChild<QToolButton*>(QStringLiteral("57601"));
    ASSERT_NE(open, nullptr);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), open->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(open, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("打开"));
    QToolTip::hideText();
}

TEST_F(MainFrame, StatusTextIsEmptyWhilePointingAtACommandAndIdleOtherwise) {
    StartWith("[setup]\nlanguage=english\n[port]\ncom=2\n");
    QMenu* file = Menu(frame, 0);
    file->popup(frame->mapToGlobal(QPoint(10, 10)));
    file->setActiveAction(frame->commandAction(57601));
    EXPECT_EQ(frame->messagePane()->text(), QString());
    file->hide();
    QApplication::processEvents();
    EXPECT_EQ(frame->messagePane()->text(), QStringLiteral("Ready"));

    auto* save = frame->toolBar()->findChild<QToolButton*>(QStringLiteral("32780"));
    ASSERT_NE(save, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(save, &enter);
    EXPECT_EQ(frame->messagePane()->text(), QString());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(save, &leave);
    EXPECT_EQ(frame->messagePane()->text(), QStringLiteral("Ready"));
}

TEST_F(MainFrame, ToolbarHasSixImageButtonsAndOneSeparatorInOrder) {
    StartWith("");
    QToolBar* bar = frame->toolBar();
    EXPECT_EQ(bar->objectName(), QStringLiteral("59392"));
    EXPECT_EQ(ActionIds(bar->actions()),
              (std::vector<int>{57600, 57601, 32780, 0, 32773, 32774, 57664}));
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    for (QAction* action : bar->actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull());
        }
    }
}

TEST_F(MainFrame, StatusBarHasMessagePaneAndThreeLockIndicators) {
    StartWith("[setup]\nlanguage=english\n");
    EXPECT_EQ(frame->statusBar()->objectName(), QStringLiteral("59393"));
    EXPECT_EQ(frame->indicatorPane(0)->paneText(), QStringLiteral("大写"));
    EXPECT_EQ(frame->indicatorPane(1)->paneText(), English("S0110"));
    EXPECT_EQ(frame->indicatorPane(2)->paneText(), QStringLiteral("滚动"));
    EXPECT_EQ(frame->indicatorPane(3), nullptr);
    // An indicator shows its text only while its key is on.
    LockIndicatorPane* num = frame->indicatorPane(1);
    EXPECT_EQ(num->text(), QString());
    num->setLockOn(true);
    EXPECT_EQ(num->text(), English("S0110"));
}

// A keyboard whose lock keys the test sets.
class FakeLockKeys : public LockKeySource {
public:
    explicit FakeLockKeys(const LockKeyStates& states) : states_(states) {}
    LockKeyStates Read() const override { return states_; }

private:
    const LockKeyStates& states_;
};

TEST_F(MainFrame, EachLockPaneFollowsItsKeyOnKeyEventsAndActivation) {
    StartWith("[setup]\nlanguage=english\n");
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    LockKeyStates keys;
    frame->lockPaneUpdater()->setSource(std::make_unique<FakeLockKeys>(keys));
    const auto shown = [this] {
        return std::vector<QString>{frame->indicatorPane(0)->text(),
                                    frame->indicatorPane(1)->text(),
                                    frame->indicatorPane(2)->text()};
    };
    using Texts = std::vector<QString>;
    EXPECT_EQ(shown(), (Texts{{}, {}, {}}));

    keys.capsLock = true;
    EXPECT_EQ(shown(), (Texts{{}, {}, {}}));  // nothing has happened that would tell
    QTest::keyClick(frame->windowHandle(), Qt::Key_CapsLock);
    EXPECT_EQ(shown(), (Texts{QStringLiteral("大写"), {}, {}}));

    keys = {.numLock = true};
    QTest::keyClick(frame->windowHandle(), Qt::Key_NumLock);
    EXPECT_EQ(shown(), (Texts{{}, English("S0110"), {}}));
    // The Num Lock pane shows its text in the language switched to.
    frame->commandAction(32783)->trigger();
    EXPECT_EQ(shown(), (Texts{{}, Chinese("S0110"), {}}));

    // A lock key changed while another window had the keyboard shows on coming back.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    keys = {.scrollLock = true};
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    EXPECT_EQ(shown(), (Texts{{}, {}, QStringLiteral("滚动")}));

    keys = {};
    QTest::keyClick(frame->windowHandle(), Qt::Key_ScrollLock);
    EXPECT_EQ(shown(), (Texts{{}, {}, {}}));
}

TEST_F(MainFrame, ViewCommandsHideAndShowTheBarsAndKeepTheButtons) {
    StartWith("");
    frame->OnCommand(59392);
    EXPECT_FALSE(frame->toolBar()->isVisible());
    Menu(frame, 4)->popup(QPoint(0, 0));
    EXPECT_FALSE(frame->commandAction(59392)->isChecked());
    EXPECT_TRUE(frame->commandAction(59393)->isChecked());
    Menu(frame, 4)->hide();
    frame->OnCommand(59392);
    EXPECT_TRUE(frame->toolBar()->isVisible());
    EXPECT_EQ(frame->toolBar()->actions().size(), 7);

    frame->OnCommand(59393);
    EXPECT_FALSE(frame->statusBar()->isVisible());
    frame->OnCommand(59393);
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(MainFrame, AcceleratorsCarryTheirIdsAndCtrlSIsSave) {
    StartWith("");
    EXPECT_EQ(frame->commandAction(57600)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(frame->commandAction(57601)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    // Ctrl+S belongs to the Save item; the standard save id stays, without a key of its own.
    QAction* save = frame->commandAction(57603);
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->shortcut().isEmpty());
    EXPECT_EQ(frame->commandAction(32780)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(frame->commandAction(57607)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(frame->commandAction(57634)->shortcuts().size(), 2);

    const std::size_t messages = prompts.messages.size();
    frame->commandAction(57643)->trigger();
    EXPECT_TRUE(prompts.saveSpecs.empty());
    EXPECT_EQ(prompts.messages.size(), messages);

    frame->commandAction(32780)->trigger();
    EXPECT_EQ(prompts.saveSpecs.size(), 1u);
    save->trigger();
    EXPECT_EQ(prompts.saveSpecs.size(), 2u);
}

TEST_F(MainFrame, CtrlPPrintsTheMainFormToTheChosenPrinter) {
    StartWith("");
    prompts.pdfPath = QString::fromStdString((work() / "form.pdf").string());
    frame->commandAction(57607)->trigger();
    ASSERT_TRUE(std::filesystem::exists(work() / "form.pdf"));
    EXPECT_GT(std::filesystem::file_size(work() / "form.pdf"), 0u);
}

// Whether each byte is then polled by the running exchange is the runner's own test.
TEST_F(MainFrame, ReceivedBytesGoToTheWindowsReplyBuffer) {
    StartWith("");
    emit port.byteReceived(0x35);
    emit port.byteReceived(0x02);
    EXPECT_TRUE(app->radioLine().runner().link().replyBuffer().inFrame);
    EXPECT_EQ(app->radioLine().runner().link().replyBuffer().GatheredCount(), 2u);
}

TEST_F(MainFrame, LosingThePortClearsThePortOpenFlagSoTheNextExchangeReopensIt) {
    StartWith("[port]\ncom=2\n");
    ASSERT_TRUE(app->radioLine().IsOpen());
    port.Vanish();
    EXPECT_FALSE(app->radioLine().IsOpen());
}

TEST_F(MainFrame, AboutBoxShowsTheTitleTextsAndAnOkButton) {
    StartWith("[setup]\nlanguage=english\n");
    QString title, line1, line2, ok;
    QTimer::singleShot(0, [&] {
        auto* about = dynamic_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        title = about->windowTitle();
        line1 = about->findChild<QLabel*>(QStringLiteral("line1"))->text();
        line2 = about->findChild<QLabel*>(QStringLiteral("line2"))->text();
        auto* button = about->findChild<QPushButton*>(QStringLiteral("1001"));
        ok = button->text();
        button->click();
    });
    frame->commandAction(57664)->trigger();
    EXPECT_EQ(title, English("S0108"));
    EXPECT_EQ(line1, English("S0000"));
    EXPECT_EQ(line2, English("S0109"));
    EXPECT_EQ(ok, English("S0049"));
}

}  // namespace
}  // namespace halyx::test
