// Editing the channel grid from the keyboard alone.
#include <gmock/gmock.h>

#include <QTest>

#include "form_test_fixture.h"
#include "ui/form/channel_editors.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

using ::testing::IsEmpty;

class ChannelKeyboard : public FormTest {};

TEST_F(ChannelKeyboard, TabIntoTheGridLandsOnTheFirstChannelAndEnterOpensIt) {
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Tab);
    ASSERT_TRUE(grid().hasFocus());
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 1));
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_TRUE(frequencyEditor().isVisible());
    EXPECT_TRUE(frequencyEditor().hasFocus());
    EXPECT_EQ(view->editors().target(), CCellID(1, 1));
}

TEST_F(ChannelKeyboard, ArrowKeyInTheGridOpensTheTargetCellsEditor) {
    ClickCell(3, 1);
    QTest::keyClick(&frequencyEditor(), Qt::Key_Escape);
    ASSERT_TRUE(grid().hasFocus());
    QTest::keyClick(&grid(), Qt::Key_Right);
    EXPECT_EQ(view->editors().target(), CCellID(3, 2));
    EXPECT_TRUE(frequencyEditor().hasFocus());
    EXPECT_EQ(frequencyEditor().text(), QStringLiteral("446.10000"));
    QRect cell;
    ASSERT_TRUE(grid().GetCellRect(3, 2, cell));
    EXPECT_EQ(frequencyEditor().mapTo(view.get(), QPoint(0, 0)),
              grid().viewport()->mapTo(view.get(), cell.topLeft()));
}

TEST_F(ChannelKeyboard, EnterCommitsAndReturnsToTheGrid) {
    ClickCell(5, 1);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("440"));
    QTest::keyClick(&frequencyEditor(), Qt::Key_Return);
    EXPECT_TRUE(grid().hasFocus());
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_EQ(rxFrequency(5), (FrequencyBytes{0x44, 0x00, 0x00, 0x00}));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(5, 1));
}

TEST_F(ChannelKeyboard, EscapePutsTheCellTextBackAndStoresNothing) {
    const RadioImage before = context->image();
    ClickCell(5, 1);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("440"));
    QTest::keyClick(&frequencyEditor(), Qt::Key_Escape);
    EXPECT_TRUE(grid().hasFocus());
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_THAT(ChangedOffsets(before), IsEmpty());
}

TEST_F(ChannelKeyboard, TabInAnEditorCommitsAndMovesToTheNextCell) {
    ClickCell(3, 2);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("441"));
    QTest::keyClick(&frequencyEditor(), Qt::Key_Tab);
    EXPECT_EQ(txFrequency(3), (FrequencyBytes{0x44, 0x10, 0x00, 0x00}));
    EXPECT_EQ(view->editors().target(), CCellID(3, 3));
    EXPECT_TRUE(choiceEditor().isVisible());
    EXPECT_TRUE(choiceEditor().hasFocus());
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_EQ(choiceEditor().accessibleName(), QStringLiteral("RX Tone CH03"));

    QTest::keyClick(&choiceEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->editors().target(), CCellID(3, 2));
    EXPECT_FALSE(choiceEditor().isVisible());
    EXPECT_TRUE(frequencyEditor().hasFocus());
}

TEST_F(ChannelKeyboard, DownInTheFrequencyEditorMovesToTheNextChannel) {
    ClickCell(3, 1);
    QTest::keyClick(&frequencyEditor(), Qt::Key_Down);
    EXPECT_EQ(view->editors().target(), CCellID(4, 1));
    EXPECT_TRUE(frequencyEditor().hasFocus());
}

TEST_F(ChannelKeyboard, DropDownArrowKeysChooseLikeTheMouse) {
    ClickCell(1, 5);
    QTest::keyClick(&choiceEditor(), Qt::Key_Down);
    EXPECT_EQ(recordByte(1, record::kBandwidth), 1);
    QTest::keyClick(&choiceEditor(), Qt::Key_Escape);
    EXPECT_TRUE(grid().hasFocus());
    EXPECT_FALSE(choiceEditor().isVisible());
}

}  // namespace
}  // namespace halyx::test
