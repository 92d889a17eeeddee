// Keyboard moves report the target before the focus moves; editing keys respect editing off.
#include <QClipboard>
#include <QGuiApplication>

#include "grid_test_support.h"

namespace halyx::test {
namespace {

CCellID CellOf(const NotifyRecord& record) {
    return {record.notify.row, record.notify.column};
}

class ChannelGridKeysTest : public ChannelGridTest {
protected:
    void SetUp() override {
        ChannelGridTest::SetUp();
        grid_->setFocus();
    }
};

TEST_F(ChannelGridKeysTest, ArrowReportsTargetBeforeMovingThenSelChanged) {
    grid_->SetFocusCell(1, 1);
    NotifyRecorder recorder(*grid_);
    Key(Qt::Key_Down);
    ASSERT_EQ(recorder.records.size(), 2U);
    EXPECT_EQ(recorder.records[0].notify.code, GN_SELCHANGING);
    EXPECT_EQ(CellOf(recorder.records[0]), CCellID(2, 1));
    EXPECT_EQ(recorder.records[0].focusAtNotify, CCellID(1, 1));
    EXPECT_EQ(recorder.records[1].notify.code, GN_SELCHANGED);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(2, 1));

    Key(Qt::Key_Right);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);  // row 1 is the top data row: the header row cannot take the focus
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(recorder.withCode(GN_SELCHANGING).size(), 4U);  // no report when nothing moves
}

TEST_F(ChannelGridKeysTest, ArrowsSkipRowsAndColumnsOfZeroSize) {
    grid_->SetRowHeight(2, 0);
    grid_->SetColumnWidth(2, 0);
    grid_->SetFocusCell(1, 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(3, 1));
    Key(Qt::Key_Right);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(3, 3));
    Key(Qt::Key_Up);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(1, 3));
}

TEST_F(ChannelGridKeysTest, TabWrapsAcrossRowEndsBothWays) {
    grid_->SetFocusCell(1, 5);
    NotifyRecorder recorder(*grid_);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(2, 1));
    ASSERT_FALSE(recorder.records.empty());
    EXPECT_EQ(recorder.records[0].focusAtNotify, CCellID(1, 5));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(1, 5));
}

TEST_F(ChannelGridKeysTest, TabPastTheLastCellLeavesTheGrid) {
    grid_->SetFocusCell(kRows - 1, kColumns - 1);
    Key(Qt::Key_Tab);
    EXPECT_FALSE(grid_->hasFocus());
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(kRows - 1, kColumns - 1));
}

TEST_F(ChannelGridKeysTest, CtrlEndAndHomeReachTheCornersScrolledIntoView) {
    grid_->SetFocusCell(3, 2);
    NotifyRecorder recorder(*grid_);
    bool visibleWhenReported = false;
    QObject::connect(grid_, &CGridCtrl::gridNotify, grid_, [&](const GridCellNotify& n) {
        QRect rect;
        if (n.code == GN_SELCHANGING && grid_->GetCellRect(n.row, n.column, rect)) {
            visibleWhenReported = grid_->viewport()->rect().contains(rect);
        }
    });
    Key(Qt::Key_End, Qt::ControlModifier);
    ASSERT_FALSE(recorder.records.empty());
    EXPECT_EQ(CellOf(recorder.records[0]), CCellID(kRows - 1, kColumns - 1));
    EXPECT_EQ(recorder.records[0].focusAtNotify, CCellID(3, 2));
    EXPECT_TRUE(visibleWhenReported);  // an editor placed on the report lands on the cell
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(kRows - 1, kColumns - 1));

    Key(Qt::Key_Home);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(kRows - 1, 1));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(1, 1));
    QRect rect;
    EXPECT_TRUE(grid_->GetCellRect(1, 1, rect));
}

TEST_F(ChannelGridKeysTest, PageDownMovesByTheRowsShown) {
    grid_->SetFocusCell(1, 1);
    Key(Qt::Key_PageDown);
    const int page = grid_->GetFocusCell().row - 1;
    EXPECT_GE(page, 5);
    EXPECT_EQ(page, (grid_->viewport()->height() - kRowHeight) / kRowHeight);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(1, 1));
}

TEST_F(ChannelGridKeysTest, NoFocusCellMeansNoReports) {
    NotifyRecorder recorder(*grid_);
    Key(Qt::Key_Down);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(recorder.records.empty());
}

TEST_F(ChannelGridKeysTest, DeleteCutAndPasteChangeNothingWhileEditingIsOff) {
    grid_->SetItemText(2, 1, QStringLiteral("446.02500"));
    grid_->SetFocusCell(2, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("999.99999"));
    Key(Qt::Key_Delete);
    Key(Qt::Key_X, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid_->GetItemText(2, 1), QStringLiteral("446.02500"));
    EXPECT_EQ(grid_->GetItemText(2, 2), QString());

    // The same keys do work with editing on, so the check above is not vacuous.
    grid_->SetEditable(true);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid_->GetItemText(2, 1), QStringLiteral("999.99999"));
    Key(Qt::Key_Delete);
    EXPECT_EQ(grid_->GetItemText(2, 1), QString());
}

TEST_F(ChannelGridKeysTest, OwnEditorCommitsOnReturnWhenEditingIsOn) {
    grid_->SetEditable(true);
    grid_->SetFocusCell(4, 2);
    NotifyRecorder recorder(*grid_);
    QTest::keyClicks(grid_, QStringLiteral("7"));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("5"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid_->GetItemText(4, 2), QStringLiteral("75"));
    EXPECT_EQ(recorder.withCode(GN_BEGINLABELEDIT).size(), 1U);
    EXPECT_EQ(recorder.withCode(GN_ENDLABELEDIT).size(), 1U);
    EXPECT_TRUE(grid_->hasFocus());

    grid_->SetItemState(4, 2, CELL_READONLY);
    QTest::keyClicks(grid_, QStringLiteral("1"));
    EXPECT_TRUE(grid_->hasFocus());
    EXPECT_EQ(grid_->GetItemText(4, 2), QStringLiteral("75"));
}

}  // namespace
}  // namespace halyx::test
