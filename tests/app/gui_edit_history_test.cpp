// The main window's undo and redo keys, and which commands start a new history.
#include <QTest>

#include "gui_app_fixture.h"
#include "ui/form/channel_editors.h"
#include "ui/form/frequency_edit.h"
#include "ui/form/halyx_view.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

class EditHistoryKeys : public RunningApp {
protected:
    void SetUp() override {
        RunningApp::SetUp();
        StartWith("[setup]\nlanguage=english\n");
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }

    CGridCtrl& grid() const { return *frame->view()->grid(); }
    QLineEdit& frequencyEditor() const { return *frame->view()->editors().frequencyEdit(); }

    void OpenCell(int row, int column) {
        QRect cell;
        ASSERT_TRUE(grid().GetCellRect(row, column, cell));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_TRUE(frequencyEditor().hasFocus());
    }

    // Types a receive frequency and goes back to the grid with Enter: one step.
    void EditReceive(int row, const QString& text) {
        OpenCell(row, 1);
        QTest::keyClicks(&frequencyEditor(), text);
        QTest::keyClick(&frequencyEditor(), Qt::Key_Return);
    }
};

TEST_F(EditHistoryKeys, CtrlZUndoesCtrlYAndCtrlShiftZRedoAndAnOpenBoxUndoesItsTypingFirst) {
    const RadioImage start = app->radioDocument().image();
    EditReceive(2, QStringLiteral("440"));
    const RadioImage edited = app->radioDocument().image();
    ASSERT_NE(edited.bytes, start.bytes);

    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app->radioDocument().image().bytes, start.bytes);
    QTest::keyClick(&grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(app->radioDocument().image().bytes, edited.bytes);
    QTest::keyClick(&grid(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(app->radioDocument().image().bytes, start.bytes);
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(app->radioDocument().image().bytes, edited.bytes);

    // Typing in an open box: Ctrl+Z takes the typing back and leaves the image alone; once the
    // box has nothing left to undo, Ctrl+Z undoes the last change to the image.
    OpenCell(3, 1);
    const QString shown = frequencyEditor().text();
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("45"));
    QTest::keyClick(&frequencyEditor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(frequencyEditor().text(), shown);
    EXPECT_EQ(app->radioDocument().image().bytes, edited.bytes);
    EXPECT_TRUE(frequencyEditor().isVisible());
    QTest::keyClick(&frequencyEditor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app->radioDocument().image().bytes, start.bytes);
    EXPECT_FALSE(frequencyEditor().isVisible());
}

TEST_F(EditHistoryKeys, NewAndASuccessfulOpenStartANewHistoryAndAFailedOpenKeepsIt) {
    EditReceive(2, QStringLiteral("440"));
    ASSERT_TRUE(app->radioDocument().CanUndo());

    prompts.openPaths = {QString::fromStdString((work() / "missing.kda").string())};
    frame->OnCommand(57601);
    EXPECT_TRUE(app->radioDocument().CanUndo());

    WriteFile(work() / "other.kda", std::vector<std::uint8_t>(607, 0x22));
    prompts.openPaths = {QString::fromStdString((work() / "other.kda").string())};
    frame->OnCommand(57601);
    EXPECT_FALSE(app->radioDocument().CanUndo());
    const RadioImage opened = app->radioDocument().image();
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app->radioDocument().image().bytes,
              opened.bytes);  // nothing from before the file comes back

    EditReceive(4, QStringLiteral("441"));
    ASSERT_TRUE(app->radioDocument().CanUndo());
    prompts.answers = {PromptAnswer::No};
    frame->OnCommand(57600);  // declined: the image and its history stay
    EXPECT_TRUE(app->radioDocument().CanUndo());
    frame->OnCommand(57600);
    EXPECT_FALSE(app->radioDocument().CanUndo());
    EXPECT_FALSE(app->radioDocument().CanRedo());
}

}  // namespace
}  // namespace halyx::test
