// Clicks as the channel view sees them: focus first, then GN_SELCHANGING; divider drags.
#include <QMouseEvent>
#include <QScrollBar>

#include "grid_test_support.h"

namespace halyx::test {
namespace {

void Drag(QWidget* target, QPoint from, QPoint to) {
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, target->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, to);
}

TEST_F(ChannelGridTest, HeaderClickClearsFocusThenReportsTheHeaderCell) {
    grid_->SetFocusCell(3, 3);
    NotifyRecorder recorder(*grid_);
    Click(0, 2);
    const auto changing = recorder.withCode(GN_SELCHANGING);
    ASSERT_EQ(changing.size(), 1U);
    EXPECT_EQ(changing[0].notify.row, 0);
    EXPECT_EQ(changing[0].notify.column, 2);
    EXPECT_EQ(changing[0].notify.controlId, kChannelGridId);
    EXPECT_EQ(changing[0].notify.source, grid_);
    EXPECT_EQ(changing[0].focusAtNotify, CCellID());

    recorder.records.clear();
    Click(4, 0);
    ASSERT_EQ(recorder.withCode(GN_SELCHANGING).size(), 1U);
    EXPECT_EQ(recorder.withCode(GN_SELCHANGING)[0].notify.row, 4);
    EXPECT_EQ(recorder.withCode(GN_SELCHANGING)[0].notify.column, 0);
}

TEST_F(ChannelGridTest, DataCellClickMovesFocusSelectsNothingAndRepeats) {
    NotifyRecorder recorder(*grid_);
    Click(3, 1);
    ASSERT_FALSE(recorder.records.empty());
    const NotifyRecord& first = recorder.records.front();
    EXPECT_EQ(first.notify.code, GN_SELCHANGING);
    EXPECT_EQ(CCellID(first.notify.row, first.notify.column), CCellID(3, 1));
    EXPECT_EQ(first.focusAtNotify, CCellID(3, 1));
    EXPECT_TRUE(first.gridHadFocus);
    EXPECT_FALSE(grid_->GetItemState(3, 1) & CELL_SELECTED);

    // With editing off, clicking the focus cell again reports it again (the view reopens its
    // editor).
    Click(3, 1);
    EXPECT_EQ(recorder.withCode(GN_SELCHANGING).size(), 2U);
}

TEST_F(ChannelGridTest, OpenEditorLosesFocusBeforeTheGridReportsAClick) {
    std::vector<QString> order;
    QObject::connect(editor_, &QLineEdit::editingFinished, editor_,
                     [&order] { order.push_back(QStringLiteral("commit")); });
    QObject::connect(grid_, &CGridCtrl::gridNotify, grid_, [&order](const GridCellNotify& n) {
        if (n.code == GN_SELCHANGING) {
            order.push_back(QStringLiteral("changing"));
        }
    });
    editor_->setFocus();
    QTest::keyClicks(editor_, QStringLiteral("446"));  // an unchanged edit box reports nothing
    ASSERT_TRUE(editor_->hasFocus());
    Click(5, 2);
    ASSERT_EQ(order.size(), 2U);
    EXPECT_EQ(order[0], QStringLiteral("commit"));
    EXPECT_EQ(order[1], QStringLiteral("changing"));
}

TEST_F(ChannelGridTest, HeaderDividerDragResizesWithoutNotification) {
    NotifyRecorder recorder(*grid_);
    QRect header;
    ASSERT_TRUE(grid_->GetCellRect(0, 1, header));
    const QPoint onDivider(header.right() - 1, header.center().y());

    QMouseEvent hover(QEvent::MouseMove, onDivider, grid_->viewport()->mapToGlobal(onDivider),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid_->viewport(), &hover);
    EXPECT_EQ(grid_->viewport()->cursor().shape(), Qt::SplitHCursor);

    Drag(grid_->viewport(), onDivider, onDivider + QPoint(25, 0));
    EXPECT_EQ(grid_->GetColumnWidth(1), 112 + 25);
    EXPECT_TRUE(recorder.withCode(GN_SELCHANGING).empty());
    EXPECT_EQ(grid_->GetFocusCell(), CCellID());
}

TEST_F(ChannelGridTest, SameSpotInADataRowIsAnOrdinaryClick) {
    NotifyRecorder recorder(*grid_);
    QRect cell;
    ASSERT_TRUE(grid_->GetCellRect(2, 1, cell));
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(cell.right() - 1, cell.center().y()));
    ASSERT_EQ(recorder.withCode(GN_SELCHANGING).size(), 1U);
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(2, 1));
    EXPECT_EQ(grid_->GetColumnWidth(1), 112);
}

TEST_F(ChannelGridTest, LeftAndTopEdgesOfTheGridAreNoDividers) {
    NotifyRecorder recorder(*grid_);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(1, 10));
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 1));
    const auto changing = recorder.withCode(GN_SELCHANGING);
    ASSERT_EQ(changing.size(), 2U);
    EXPECT_EQ(CCellID(changing[0].notify.row, changing[0].notify.column), CCellID(0, 0));
    EXPECT_EQ(CCellID(changing[1].notify.row, changing[1].notify.column), CCellID(0, 0));
}

TEST_F(ChannelGridTest, RowDividerInLabelColumnResizesTheRowAbove) {
    NotifyRecorder recorder(*grid_);
    QRect label;
    ASSERT_TRUE(grid_->GetCellRect(3, 0, label));
    const QPoint topEdge(label.center().x(), label.top() + 1);  // the divider above row 3
    Drag(grid_->viewport(), topEdge, topEdge + QPoint(0, 9));
    EXPECT_EQ(grid_->GetRowHeight(2), kRowHeight + 9);
    EXPECT_EQ(grid_->GetRowHeight(3), kRowHeight);
    EXPECT_TRUE(recorder.withCode(GN_SELCHANGING).empty());
}

TEST_F(ChannelGridTest, ClickAfterScrollingHitsTheCellUnderThePointer) {
    grid_->verticalScrollBar()->setValue(3);
    NotifyRecorder recorder(*grid_);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(63 + 10, kRowHeight + 5));
    ASSERT_EQ(recorder.withCode(GN_SELCHANGING).size(), 1U);
    EXPECT_EQ(recorder.withCode(GN_SELCHANGING)[0].notify.row, 4);
}

TEST_F(ChannelGridTest, OtherButtonsAndDoubleClicksSendTheirOwnCodes) {
    NotifyRecorder recorder(*grid_);
    QTest::mouseClick(grid_->viewport(), Qt::RightButton, Qt::NoModifier, CellCentre(2, 2));
    ASSERT_EQ(recorder.withCode(GN_RCLICK).size(), 1U);
    EXPECT_TRUE(recorder.withCode(GN_SELCHANGING).empty());
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 2));
    EXPECT_EQ(recorder.withCode(GN_DBLCLK).size(), 1U);
    EXPECT_EQ(grid_->GetItemText(2, 2), QString());  // no editor of its own while editing is off
}

}  // namespace
}  // namespace halyx::test

namespace halyx::test {
namespace {

TEST_F(ChannelGridTest, ShiftOnRowLabelsChoosesRowsAndTheRightButtonAndMenuKeysAskForAMenu) {
    std::vector<std::pair<int, QPoint>> requests;
    QObject::connect(grid_, &CGridCtrl::contextMenuRequested, grid_,
                     [&requests](int row, const QPoint& at) { requests.emplace_back(row, at); });
    Click(3, 0);
    grid_->SetFocusCell(3, 0);  // what the channel view does with a label click
    NotifyRecorder recorder(*grid_);
    QRect label;
    ASSERT_TRUE(grid_->GetCellRect(6, 0, label));
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::ShiftModifier, label.center());
    EXPECT_TRUE(recorder.withCode(GN_SELCHANGING).empty());  // a chosen range opens nothing
    EXPECT_EQ(grid_->GetChosenRows(), (CCellRange{3, 0, 6, kColumns - 1}));
    EXPECT_EQ(grid_->GetFocusCell().row, 6);

    // A right-click inside the range keeps it; outside, it lets go and moves the focus there.
    QRect cell;
    ASSERT_TRUE(grid_->GetCellRect(4, 2, cell));
    QTest::mouseClick(grid_->viewport(), Qt::RightButton, {}, cell.center());
    ASSERT_TRUE(grid_->GetCellRect(9, 2, cell));
    QTest::mouseClick(grid_->viewport(), Qt::RightButton, {}, cell.center());
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_EQ(requests[0].first, 4);
    EXPECT_EQ(requests[1].first, 9);
    EXPECT_EQ(requests[1].second, grid_->viewport()->mapToGlobal(cell.center()));
    EXPECT_FALSE(grid_->GetChosenRows().IsValid());
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(9, 2));
    EXPECT_EQ(recorder.withCode(GN_RCLICK).size(), 2U);

    QTest::keyClick(grid_, Qt::Key_Menu);
    QTest::keyClick(grid_, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(requests.size(), 4U);
    EXPECT_EQ(requests[3].first, 9);
    QTest::keyClick(grid_, Qt::Key_F10);  // F10 alone is not a menu key
    EXPECT_EQ(requests.size(), 4U);

    // Shift+Down chooses from the focus row as it moves; a plain move lets go.
    QTest::keyClick(grid_, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid_, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid_->GetChosenRows(), (CCellRange{9, 0, 11, kColumns - 1}));
    QTest::keyClick(grid_, Qt::Key_Up);
    EXPECT_FALSE(grid_->GetChosenRows().IsValid());
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(10, 2));
}

}  // namespace
}  // namespace halyx::test
