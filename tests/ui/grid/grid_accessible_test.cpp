// What a screen reader gets from the channel grid.
#include <QAccessible>
#include <QScrollBar>

#include "grid_test_support.h"
#include "ui/grid/grid_accessible.h"

namespace halyx::test {
namespace {

struct SeenEvent {
    QAccessible::Event type;
    int child;
    QAccessibleTableModelChangeEvent::ModelChangeType change;
    int firstRow;
    int lastRow;
    int firstColumn;
    int lastColumn;
};

std::vector<SeenEvent>* g_seen = nullptr;
QObject* g_watched = nullptr;

void RecordEvent(QAccessibleEvent* event) {
    if (g_seen == nullptr || event->object() != g_watched) {
        return;
    }
    SeenEvent seen{event->type(),
                   event->child(),
                   QAccessibleTableModelChangeEvent::ModelReset,
                   -1,
                   -1,
                   -1,
                   -1};
    if (event->type() == QAccessible::TableModelChanged) {
        auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
        seen.change = change->modelChangeType();
        seen.firstRow = change->firstRow();
        seen.lastRow = change->lastRow();
        seen.firstColumn = change->firstColumn();
        seen.lastColumn = change->lastColumn();
    }
    g_seen->push_back(seen);
}

class GridAccessibilityTest : public ChannelGridTest {
protected:
    void SetUp() override {
        ChannelGridTest::SetUp();
        QCoreApplication::processEvents();  // deliver the set-up's own queued reports
        g_seen = &seen_;
        g_watched = grid_;
        SetGridAccessibilityObserver(&RecordEvent);
    }
    void TearDown() override {
        SetGridAccessibilityObserver(nullptr);
        g_seen = nullptr;
        g_watched = nullptr;
    }
    std::vector<SeenEvent> Seen(QAccessible::Event type) const {
        std::vector<SeenEvent> found;
        for (const SeenEvent& event : seen_) {
            if (event.type == type) {
                found.push_back(event);
            }
        }
        return found;
    }
    QAccessibleTableInterface* Table() {
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(grid_);
        return grid != nullptr ? grid->tableInterface() : nullptr;
    }

    std::vector<SeenEvent> seen_;
};

TEST_F(GridAccessibilityTest, TableCoversTheWholeGridWithHeaderTexts) {
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(grid_);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = Table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), kRows);
    EXPECT_EQ(table->columnCount(), kColumns);
    EXPECT_EQ(table->columnDescription(1), QStringLiteral("RX Freq"));
    EXPECT_EQ(table->rowDescription(3), QStringLiteral("CH03"));
    EXPECT_EQ(table->cellAt(0, 1)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(table->cellAt(3, 0)->text(QAccessible::Name), QStringLiteral("CH03"));
    EXPECT_EQ(grid->childCount(), kRows * kColumns);
    EXPECT_EQ(grid->child(2)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(grid->child(3 * kColumns)->role(), QAccessible::RowHeader);
    EXPECT_EQ(grid->child(3 * kColumns)->text(QAccessible::Name), QStringLiteral("CH03"));
}

TEST_F(GridAccessibilityTest, CellSpeaksItsTextAndHeaders) {
    grid_->SetItemText(3, 1, QStringLiteral("446.02500"));
    grid_->NotifyTextsChanged();
    QAccessibleInterface* cell = Table()->cellAt(3, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("446.02500"));
    EXPECT_EQ(cell->text(QAccessible::Description), QStringLiteral("RX Freq"));
    QAccessibleTableCellInterface* tableCell = cell->tableCellInterface();
    ASSERT_NE(tableCell, nullptr);
    EXPECT_EQ(tableCell->rowIndex(), 3);
    EXPECT_EQ(tableCell->columnIndex(), 1);
    ASSERT_EQ(tableCell->rowHeaderCells().size(), 1);
    EXPECT_EQ(tableCell->rowHeaderCells()[0]->text(QAccessible::Name), QStringLiteral("CH03"));
    ASSERT_EQ(tableCell->columnHeaderCells().size(), 1);
    EXPECT_EQ(tableCell->columnHeaderCells()[0]->text(QAccessible::Name),
              QStringLiteral("RX Freq"));
    EXPECT_TRUE(cell->state().readOnly);  // editing is off: the view edits, not the grid

    QAccessibleInterface* parent = QAccessible::queryAccessibleInterface(grid_);
    EXPECT_EQ(cell->parent(), parent);
    EXPECT_EQ(parent->child(parent->indexOfChild(cell)), cell);
}

TEST_F(GridAccessibilityTest, CellRectMatchesTheGridAndHitTestsBack) {
    QAccessibleInterface* cell = Table()->cellAt(2, 2);
    QRect rect;
    ASSERT_TRUE(grid_->GetCellRect(2, 2, rect));
    EXPECT_EQ(cell->rect(), QRect(grid_->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
    const QPoint centre = cell->rect().center();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(grid_)->childAt(centre.x(), centre.y()), cell);

    grid_->verticalScrollBar()->setValue(5);
    EXPECT_TRUE(cell->state().offscreen);
}

TEST_F(GridAccessibilityTest, FocusEventsFollowTheFocusCell) {
    grid_->setFocus();
    grid_->SetFocusCell(3, 2);
    auto focus = Seen(QAccessible::Focus);
    ASSERT_FALSE(focus.empty());
    EXPECT_EQ(focus.back().child, 3 * kColumns + 2);
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(grid_)->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused->state().focused);
    EXPECT_EQ(focused, Table()->cellAt(3, 2));

    QTest::keyClick(grid_, Qt::Key_Down);
    focus = Seen(QAccessible::Focus);
    EXPECT_EQ(focus.back().child, 4 * kColumns + 2);
}

TEST_F(GridAccessibilityTest, ABatchOfTextsIsReportedOnce) {
    for (int row = 2; row <= 6; ++row) {
        grid_->SetItemText(row, 1, QStringLiteral("446.00000"));
        grid_->SetItemText(row, 3, QStringLiteral("67.0"));
    }
    EXPECT_TRUE(Seen(QAccessible::TableModelChanged).empty());  // nothing until the batch ends
    grid_->Invalidate();
    auto changes = Seen(QAccessible::TableModelChanged);
    ASSERT_EQ(changes.size(), 1U);
    EXPECT_EQ(changes[0].change, QAccessibleTableModelChangeEvent::DataChanged);
    EXPECT_EQ(changes[0].firstRow, 2);
    EXPECT_EQ(changes[0].lastRow, 6);
    EXPECT_EQ(changes[0].firstColumn, 1);
    EXPECT_EQ(changes[0].lastColumn, 3);

    // Without an explicit call the report comes when control returns to the event loop.
    grid_->SetItemText(7, 5, QStringLiteral("25K"));
    QCoreApplication::processEvents();
    changes = Seen(QAccessible::TableModelChanged);
    ASSERT_EQ(changes.size(), 2U);
    EXPECT_EQ(changes[1].firstRow, 7);
    EXPECT_EQ(changes[1].firstColumn, 5);
}

TEST_F(GridAccessibilityTest, ShapeChangesResetTheTableAndRetireCells) {
    QAccessibleInterface* last = Table()->cellAt(20, 5);
    ASSERT_TRUE(last->isValid());
    grid_->SetRowCount(10);
    const auto changes = Seen(QAccessible::TableModelChanged);
    ASSERT_EQ(changes.size(), 1U);
    EXPECT_EQ(changes[0].change, QAccessibleTableModelChangeEvent::ModelReset);
    EXPECT_EQ(Table()->rowCount(), 10);
    EXPECT_EQ(Table()->cellAt(20, 5), nullptr);
}

TEST_F(GridAccessibilityTest, FocusActionMovesLikeAKeyAndIsReported) {
    NotifyRecorder recorder(*grid_);
    QAccessibleInterface* cell = Table()->cellAt(5, 3);
    QAccessibleActionInterface* actions = cell->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(grid_->GetFocusCell(), CCellID(5, 3));
    ASSERT_FALSE(recorder.withCode(GN_SELCHANGING).empty());
    EXPECT_EQ(recorder.withCode(GN_SELCHANGING)[0].notify.row, 5);
}

}  // namespace
}  // namespace halyx::test
