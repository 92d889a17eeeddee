// Dimensions, sizes, texts, state bits, focus and geometry, without any user input.
#include <QFontMetrics>
#include <QScrollBar>

#include "grid_test_support.h"

namespace halyx::test {
namespace {

TEST(GridBounds, OutOfRangeOperationsAreRefusedAndChangeNothing) {
    CGridCtrl grid(3, 4, 1, 1);
    grid.SetItemText(1, 1, QStringLiteral("kept"));
    EXPECT_FALSE(grid.SetColumnWidth(-1, 10));
    EXPECT_FALSE(grid.SetColumnWidth(4, 10));  // index equal to the count
    EXPECT_FALSE(grid.SetColumnWidth(1, -1));
    EXPECT_FALSE(grid.SetRowHeight(3, 10));
    EXPECT_FALSE(grid.SetRowHeight(0, -5));
    EXPECT_TRUE(grid.SetColumnWidth(3, 0));  // zero is a legal width

    for (auto [row, column] : {std::pair{-1, 0}, {3, 0}, {0, 4}, {0, -1}}) {
        EXPECT_EQ(grid.GetItemText(row, column), QString());
        EXPECT_FALSE(grid.SetItemText(row, column, QStringLiteral("x")));
        EXPECT_EQ(grid.GetItemState(row, column), 0U);
    }
    EXPECT_EQ(grid.GetItemState(-1, -1), 0U);
    EXPECT_FALSE(grid.SetRowCount(-1));
    EXPECT_FALSE(grid.SetFixedColumnCount(-2));
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetColumnCount(), 4);
    EXPECT_EQ(grid.GetItemText(1, 1), QStringLiteral("kept"));
}

TEST(GridFixedCells, FixedCountsGrowAnEmptyGrid) {
    CGridCtrl grid;
    EXPECT_TRUE(grid.SetFixedRowCount(1));
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_TRUE(grid.SetFixedColumnCount(2));
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetItemState(0, 1), CELL_FIXED | CELL_FIXEDROW | CELL_FIXEDCOL);
}

TEST(GridFixedCells, StateBitsFollowFixedCountChangesAndKeepReadOnly) {
    CGridCtrl grid(4, 4, 0, 0);
    grid.SetItemState(1, 2, CELL_READONLY | CELL_FOCUSED);  // the focus bit is the grid's own
    EXPECT_EQ(grid.GetItemState(1, 2), CELL_READONLY);

    grid.SetFixedRowCount(2);
    EXPECT_EQ(grid.GetItemState(1, 2), CELL_READONLY | CELL_FIXED | CELL_FIXEDROW);
    EXPECT_EQ(grid.GetItemState(2, 2), 0U);
    grid.SetFixedColumnCount(1);
    EXPECT_EQ(grid.GetItemState(0, 0), CELL_FIXED | CELL_FIXEDROW | CELL_FIXEDCOL);
    EXPECT_EQ(grid.GetItemState(3, 0), CELL_FIXED | CELL_FIXEDCOL);

    grid.SetFixedRowCount(1);
    EXPECT_EQ(grid.GetItemState(1, 2), CELL_READONLY);
    EXPECT_EQ(grid.GetItemState(1, 0), CELL_FIXED | CELL_FIXEDCOL);
    grid.SetFixedColumnCount(0);
    EXPECT_EQ(grid.GetItemState(3, 0), 0U);
    EXPECT_EQ(grid.GetItemState(0, 0), CELL_FIXED | CELL_FIXEDROW);
}

TEST(GridFixedCells, NewRowsAndColumnsInheritTheirKind) {
    CGridCtrl grid(2, 2, 1, 1);
    grid.SetRowCount(4);
    grid.SetColumnCount(3);
    EXPECT_EQ(grid.GetItemState(3, 0), CELL_FIXED | CELL_FIXEDCOL);
    EXPECT_EQ(grid.GetItemState(0, 2), CELL_FIXED | CELL_FIXEDROW);
    EXPECT_EQ(grid.GetItemState(3, 2), 0U);
}

TEST(GridFixedCells, ShrinkingLowersFixedCountAndDropsFocusOutside) {
    CGridCtrl grid(5, 5, 1, 3);
    grid.SetFocusCell(2, 4);
    EXPECT_TRUE(grid.SetColumnCount(2));
    EXPECT_EQ(grid.GetFixedColumnCount(), 2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    grid.SetFocusCell(3, 1);  // column 1 is fixed, so this asks for column 2, which is gone
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
}

TEST(GridFocus, SetFocusCellClampsOutOfHeadersAndReturnsPrevious) {
    CGridCtrl grid(21, 6, 1, 1);
    EXPECT_EQ(grid.SetFocusCell(0, 3), CCellID());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3));
    EXPECT_TRUE(grid.GetItemState(1, 3) & CELL_FOCUSED);

    EXPECT_EQ(grid.SetFocusCell(4, 2), CCellID(1, 3));
    EXPECT_FALSE(grid.GetItemState(1, 3) & CELL_FOCUSED);
    EXPECT_TRUE(grid.GetItemState(4, 2) & CELL_FOCUSED);

    EXPECT_EQ(grid.SetFocusCell(40, 2), CCellID(4, 2));  // no such cell: focus stays
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 2));

    grid.SetFixedRowCount(2);  // clears the focus and the selection
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_FALSE(grid.GetItemState(4, 2) & CELL_FOCUSED);
}

TEST(GridSelection, DisablingSelectionLeavesNothingSelected) {
    CGridCtrl grid(4, 4, 1, 1);
    grid.SelectAllCells();
    EXPECT_TRUE(grid.IsCellSelected(3, 3));
    EXPECT_FALSE(grid.IsCellSelected(0, 3));  // fixed cells are never selected
    grid.EnableSelection(false);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_FALSE(grid.GetItemState(row, column) & CELL_SELECTED);
        }
    }
    grid.SelectAllCells();
    EXPECT_FALSE(grid.GetSelectedRange().IsValid());
}

TEST(GridFont, FontSetsTheSizeOfNewRowsAndColumnsOnly) {
    CGridCtrl grid(1, 1, 0, 0);
    grid.SetRowHeight(0, 5);
    QFont font = grid.font();
    font.setPointSize(font.pointSize() + 9);
    grid.SetGridFont(font);

    const QFontMetrics metrics(font);
    const CGridDefaultCell* defaults = grid.GetDefaultCell(false, false);
    EXPECT_EQ(defaults->GetWidth(), metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")));
    EXPECT_EQ(defaults->GetHeight(), metrics.height() * 3 / 2);
    EXPECT_EQ(defaults->GetMargin(), metrics.horizontalAdvance(QLatin1Char(' ')));
    EXPECT_EQ(grid.GetDefaultCell(true, true)->GetFont(), font);

    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    EXPECT_EQ(grid.GetRowHeight(0), 5);
    EXPECT_EQ(grid.GetRowHeight(1), metrics.height() * 3 / 2);
    EXPECT_EQ(grid.GetColumnWidth(1), defaults->GetWidth());
    EXPECT_EQ(grid.GetCellFont(1, 1), font);
}

TEST_F(ChannelGridTest, CellRectIsInclusiveAndFollowsScrolling) {
    QRect rect;
    ASSERT_TRUE(grid_->GetCellRect(1, 1, rect));
    EXPECT_EQ(rect, QRect(QPoint(63, 21), QPoint(63 + 112 - 1, 21 + 21 - 1)));
    ASSERT_TRUE(grid_->GetCellRect(5, 2, rect));
    const QRect before = rect;

    grid_->verticalScrollBar()->setValue(2);
    grid_->horizontalScrollBar()->setValue(1);
    ASSERT_TRUE(grid_->GetCellRect(5, 2, rect));
    EXPECT_EQ(rect, before.translated(-112, -2 * kRowHeight));
    EXPECT_FALSE(grid_->GetCellRect(2, 2, rect));  // scrolled out above
    EXPECT_FALSE(grid_->GetCellRect(5, 1, rect));  // scrolled out to the left
    ASSERT_TRUE(grid_->GetCellRect(0, 2, rect));   // the header row stays put vertically
    EXPECT_EQ(rect.top(), 0);
    ASSERT_TRUE(grid_->GetCellRect(5, 0, rect));  // and the label column horizontally
    EXPECT_EQ(rect.left(), 0);
    EXPECT_EQ(rect.top(), before.top() - 2 * kRowHeight);
    EXPECT_EQ(grid_->GetCellFromPt(before.translated(-112, -2 * kRowHeight).center()),
              CCellID(5, 2));
}

TEST_F(ChannelGridTest, ScrollRangeEndsWithTheLastRowFullyShown) {
    grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->maximum());
    QRect rect;
    ASSERT_TRUE(grid_->GetCellRect(kRows - 1, 1, rect));
    EXPECT_LE(rect.bottom(), grid_->viewport()->height() - 1);
    // One step less would leave the last row cut off.
    grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->maximum() - 1);
    ASSERT_TRUE(grid_->GetCellRect(kRows - 1, 1, rect));
    EXPECT_GT(rect.bottom(), grid_->viewport()->height() - 1);
}

}  // namespace
}  // namespace halyx::test
