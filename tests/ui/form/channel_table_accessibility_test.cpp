// What a screen reader finds on the main form: the channel table with its headers and the texts
// the image gives, kept current through fills, edits and a language switch.
#include <QAccessible>
#include <QTest>

#include "form_test_fixture.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

class ChannelTableAccessibility : public FormTest {
protected:
    QAccessibleTableInterface* Table() const {
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(view->grid());
        return grid != nullptr ? grid->tableInterface() : nullptr;
    }

    QString CellName(int row, int column) const {
        QAccessibleInterface* cell = Table()->cellAt(row, column);
        return cell != nullptr ? cell->text(QAccessible::Name) : QStringLiteral("<none>");
    }

    // The cells of one channel row, as a reader walking the row hears them.
    QStringList RowNames(int row) const {
        QStringList names;
        for (int column = 0; column < Table()->columnCount(); ++column) {
            names << CellName(row, column);
        }
        return names;
    }
};

TEST_F(ChannelTableAccessibility, TableIsTwentyOneRowsBySixWithTheHeaderTexts) {
    QAccessibleTableInterface* table = Table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 21);
    EXPECT_EQ(table->columnCount(), 6);
    EXPECT_EQ(RowNames(0), (QStringList{"Channel", "RX Freq (MHz)", "TX Freq (MHz)", "RX Tone",
                                        "TX Tone", "BW"}));
    EXPECT_EQ(CellName(20, 0), QStringLiteral("CH00(20)"));
    EXPECT_EQ(table->cellAt(0, 3)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(table->cellAt(3, 0)->role(), QAccessible::RowHeader);
    EXPECT_EQ(table->columnDescription(1), QStringLiteral("RX Freq (MHz)"));
    EXPECT_EQ(table->rowDescription(3), QStringLiteral("CH03"));
}

TEST_F(ChannelTableAccessibility, FilledAndEditedCellsSpeakTheirTexts) {
    EXPECT_EQ(RowNames(1), (QStringList{"CH01", "446.00625", "446.00625", "OFF", "OFF", "12.5K"}));
    EXPECT_EQ(RowNames(2), (QStringList{"CH02", "", "", "", "", ""}))
        << "an erased channel is blank";
    EXPECT_EQ(Table()->cellAt(1, 1)->text(QAccessible::Description),
              QStringLiteral("RX Freq (MHz)"));

    ClickCell(2, 1);
    frequencyEditor().selectAll();
    QTest::keyClicks(&frequencyEditor(), "446.025");
    ClickBackground();
    EXPECT_EQ(CellName(2, 1), QStringLiteral("446.02500"));
    EXPECT_EQ(CellName(2, 2), QStringLiteral("446.02500")) << "receive sets transmit";

    context->ChangeImage(
        [](RadioImage& image) { image.bytes[RecordOffset(1) + record::kBandwidth] = 1; });
    view->OnRefreshImage();
    EXPECT_EQ(CellName(1, 5), QStringLiteral("25K"));
}

TEST_F(ChannelTableAccessibility, OpenEditorIsNamedAfterItsColumnAndChannel) {
    ClickCell(3, 1);
    ASSERT_TRUE(frequencyEditor().isVisible());
    QAccessibleInterface* editor = QAccessible::queryAccessibleInterface(&frequencyEditor());
    EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral("RX Freq (MHz) CH03"));
    EXPECT_TRUE(editor->state().focused);

    ClickCell(3, 3);
    ASSERT_TRUE(choiceEditor().isVisible());
    // On Linux a combo box's accessible name is its current entry; the widget's name is what
    // Windows and macOS readers announce.
    EXPECT_EQ(choiceEditor().accessibleName(), QStringLiteral("RX Tone CH03"));
}

TEST_F(ChannelTableAccessibility, HeadersFollowALanguageSwitch) {
    UseLanguage("chinese.lang");
    view->OnInitialUpdate();
    EXPECT_EQ(CellName(0, 1), QString::fromStdString(context->text("S0022")));
    EXPECT_FALSE(CellName(0, 1).isEmpty());
    EXPECT_NE(CellName(0, 1), QStringLiteral("RX Freq (MHz)"));
}

}  // namespace
}  // namespace halyx::test
