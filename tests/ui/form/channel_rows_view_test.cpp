// Undo and redo of the main form's edits, the channel row menu, chosen rows, the clipboard
// between two forms and the bulk edit, checked on the image bytes.
#include <gmock/gmock.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "editing/channel_rows.h"
#include "form_test_fixture.h"
#include "image/option_lists.h"
#include "image/working_copies.h"
#include "ui/form/bulk_edit_dialog.h"
#include "ui/form/channel_editors.h"
#include "ui/form/channel_row_commands.h"
#include "ui/form/form_ids.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

using ::testing::IsEmpty;
using Command = ChannelRowCommands::Command;

class ChannelRowsView : public FormTest {
protected:
    void SetUp() override { FormTest::SetUp(); }

    ChannelRowCommands& commands() const { return view->rowCommands(); }

    void ClickLabel(int row, Qt::KeyboardModifiers modifiers = {}) {
        QRect cell;
        ASSERT_TRUE(grid().GetCellRect(row, 0, cell));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    void TypeFrequency(int row, int column, const QString& text) {
        ClickCell(row, column);
        ASSERT_TRUE(frequencyEditor().isVisible());
        QTest::keyClicks(&frequencyEditor(), text);
        ClickBackground();
    }

    // The open row menu's action for `command`, reached with the arrow keys and taken with Enter.
    void ChooseFromMenuByKeyboard(Command command) {
        QMenu* menu = commands().menu();
        ASSERT_TRUE(menu->isVisible());
        for (int presses = 0; presses < 20 && menu->activeAction() != commands().action(command);
             ++presses) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        ASSERT_EQ(menu->activeAction(), commands().action(command));
        QTest::keyClick(menu, Qt::Key_Return);
    }

    const std::vector<QString>& informed() const { return context->prompts.informed; }
};

TEST_F(ChannelRowsView, UndoAndRedoStepThroughCellPanelAndRowEditsByteForByte) {
    std::vector<RadioImage> states{context->image()};
    const auto stepDone = [&] { states.push_back(context->image()); };

    TypeFrequency(2, 1, QStringLiteral("446.30000"));  // receive and transmit: one step
    stepDone();
    ClickCell(3, 3);
    Choose(choiceEditor(), 7);  // receive tone, which sets the transmit tone too
    stepDone();
    ClickBackground();
    Choose(*control<QComboBox>(form::kSquelchList), 8);
    stepDone();
    ClickLabel(1);
    commands().Run(Command::MoveDown);
    stepDone();
    commands().Run(Command::Delete);
    stepDone();
    ASSERT_EQ(context->document.history().UndoCount(), states.size() - 1);
    for (std::size_t i = 1; i < states.size(); ++i) {
        EXPECT_NE(states[i].bytes, states[i - 1].bytes) << "step " << i << " changed nothing";
    }

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(view->Undo());
        EXPECT_EQ(context->image().bytes, states[i - 1].bytes) << "undoing step " << i;
    }
    EXPECT_FALSE(view->Undo());
    EXPECT_EQ(grid().GetItemText(2, 1), QString());  // the form shows the restored image
    EXPECT_EQ(control<QComboBox>(form::kSquelchList)->currentIndex(), 4);
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(view->Redo());
        EXPECT_EQ(context->image().bytes, states[i].bytes) << "redoing step " << i;
    }
    EXPECT_FALSE(view->Redo());
}

TEST_F(ChannelRowsView, ShiftClickOnLabelsChoosesARangeThatIsAnnouncedAndAPlainClickLetsGo) {
    ClickLabel(3);
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_EQ(grid().GetFocusCell(), CCellID(3, 1));  // a label click behaves as it always did
    EXPECT_FALSE(grid().GetChosenRows().IsValid());

    ClickLabel(7, Qt::ShiftModifier);
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_EQ(commands().TargetRows(), (ChannelRange{3, 7}));
    EXPECT_EQ(grid().accessibleDescription(), QStringLiteral("CH03 to CH07 chosen"));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->text(QAccessible::Description), QStringLiteral("CH03 to CH07 chosen"));

    ClickLabel(5, Qt::ShiftModifier);  // the range keeps its start
    EXPECT_EQ(commands().TargetRows(), (ChannelRange{3, 5}));

    ClickCell(4, 1);
    EXPECT_TRUE(frequencyEditor().isVisible());
    EXPECT_FALSE(grid().GetChosenRows().IsValid());
    EXPECT_EQ(grid().accessibleDescription(), QString());
    EXPECT_EQ(commands().TargetRows(), ChannelRange::Single(4));
}

TEST_F(ChannelRowsView, RawCopyPasteBetweenTwoFormsIsExactAndUndoesAsOneStep) {
    ClickLabel(1);
    ClickLabel(3, Qt::ShiftModifier);
    commands().Run(Command::Copy);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("application/x-halyx-channels")));

    // A second window of the program, on an image of its own.
    FormContext other(context->texts.language.file());
    other.ChangeImage([](RadioImage& image) {
        for (std::size_t i = 0; i < kImageSize; ++i) {
            image.bytes[i] = static_cast<std::uint8_t>(i * 13);
        }
    });
    CHalyxView second(other.document, other.texts, other.prompts);
    second.show();
    second.OnInitialUpdate();
    const RadioImage before = other.image();
    second.grid()->SetFocusCell(10, 1);
    second.rowCommands().Run(Command::Paste);

    RadioImage expected = before;
    for (int offset = 0; offset < 3; ++offset) {
        WriteRecord(expected, 10 + offset, ReadRecord(context->image(), 1 + offset));
    }
    EXPECT_EQ(other.image().bytes, expected.bytes);
    EXPECT_EQ(second.grid()->GetItemText(10, 1), QStringLiteral("446.00625"));
    ASSERT_TRUE(second.Undo());
    EXPECT_EQ(other.image().bytes, before.bytes);
}

TEST_F(ChannelRowsView, TextCopyPasteCarriesFrequenciesTonesAndBandwidthAsCsv) {
    // Channel 3: a CTCSS receive tone, a DCS transmit tone, 25K; channel 5 split transmit.
    context->ChangeImage([](RadioImage& image) {
        image.bytes[RecordOffset(3) + record::kRxTone] = 12;
        image.bytes[RecordOffset(3) + record::kTxTone] = 70;
        image.bytes[RecordOffset(3) + record::kBandwidth] = 1;
        image.bytes[RecordOffset(5) + record::kTxFrequency + 1] = 0x63;
    });
    ClickLabel(3);
    ClickLabel(5, Qt::ShiftModifier);
    commands().Run(Command::Copy);
    const QString csv = QApplication::clipboard()->mimeData()->text();
    EXPECT_TRUE(csv.startsWith(QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,")));
    // Only the text form, as another program would leave it.
    auto* textOnly = new QMimeData;
    textOnly->setText(csv);
    QApplication::clipboard()->setMimeData(textOnly);

    FormContext other(context->texts.language.file());
    other.document.Replace(PatternImage());
    CHalyxView second(other.document, other.texts, other.prompts);
    second.show();
    second.OnInitialUpdate();
    const RadioImage before = other.image();
    second.grid()->SetFocusCell(8, 1);
    second.rowCommands().Run(Command::Paste);

    for (int column = 1; column <= 5; ++column) {
        for (int offset : {0, 2}) {  // channel 4 is empty: no row for it, and 9 stays as it was
            EXPECT_EQ(second.grid()->GetItemText(8 + offset, column),
                      grid().GetItemText(3 + offset, column))
                << "row " << 8 + offset << " column " << column;
        }
    }
    EXPECT_EQ(ReadRecord(other.image(), 9), ReadRecord(before, 9));
    for (std::size_t offset : {0, 1, 10, 11, 12, 16, 26}) {  // bytes the text does not carry
        EXPECT_EQ(other.image().bytes[RecordOffset(8) + offset],
                  before.bytes[RecordOffset(8) + offset]);
    }
    EXPECT_EQ(other.document.history().UndoCount(), 1u);
}

TEST_F(ChannelRowsView, InsertIsRefusedWithAMessageWhileChannelTwentyIsInUse) {
    TypeFrequency(20, 1, QStringLiteral("446.50000"));
    const RadioImage before = context->image();
    const std::size_t steps = context->document.history().UndoCount();
    ClickLabel(4);
    commands().Run(Command::Insert);
    ASSERT_EQ(informed().size(), 1u);
    EXPECT_EQ(informed()[0],
              QStringLiteral("Channel 20 is in use. Empty it before inserting a channel."));
    EXPECT_EQ(context->image().bytes, before.bytes);
    EXPECT_EQ(context->document.history().UndoCount(), steps);

    commands().Run(Command::Clear);  // the focus row, channel 4
    ClickLabel(20);
    commands().Run(Command::Clear);
    EXPECT_TRUE(IsChannelEmpty(context->image(), 20));
    ClickLabel(1);
    commands().Run(Command::Insert);
    EXPECT_EQ(informed().size(), 1u);
    EXPECT_EQ(ReadRecord(context->image(), 2), ReadRecord(before, 1));
    EXPECT_TRUE(IsChannelEmpty(context->image(), 1));
    EXPECT_EQ(grid().GetItemText(2, 1), QStringLiteral("446.00625"));
}

TEST_F(ChannelRowsView, TheMenuKeyAndABulkEditWorkFromTheKeyboardAlone) {
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Tab);  // lands on channel 1's receive cell
    ASSERT_EQ(grid().GetFocusCell(), CCellID(1, 1));
    QTest::keyClick(&grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(commands().TargetRows(), (ChannelRange{1, 3}));
    EXPECT_EQ(grid().accessibleDescription(), QStringLiteral("CH01 to CH03 chosen"));

    const RadioImage before = context->image();
    // Shift+F10 from inside the open cell editor opens the row menu.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(commands().menu()->accessibleName(), QStringLiteral("Channel rows"));
    bool dialogSeen = false;
    std::function<void()> driveDialog = [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            QTimer::singleShot(10, driveDialog);
            return;
        }
        dialogSeen = true;
        // Keys go where the dialog's own focus is, whether or not the window system has
        // activated it yet. Receive tone: two entries down from "(unchanged)" is 67.0; then
        // Tab twice to the bandwidth, 25K, and Enter.
        const auto key = [dialog](Qt::Key k) { QTest::keyClick(dialog->focusWidget(), k); };
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down,
                          Qt::Key_Down, Qt::Key_Return}) {
            key(k);
        }
        if (dialog->isVisible()) {
            ADD_FAILURE() << "Enter did not take the choices";
            dialog->reject();
        }
    };
    QTimer::singleShot(0, driveDialog);
    ChooseFromMenuByKeyboard(Command::BulkSet);
    QTRY_VERIFY_WITH_TIMEOUT(dialogSeen && QApplication::activeModalWidget() == nullptr, 5000);

    RadioImage expected = before;
    for (int channel : {1, 3}) {  // channel 2 is empty and skipped
        expected.bytes[RecordOffset(channel) + record::kRxTone] = 1;
        // Only the receive tone was chosen: it sets the transmit tone too, as a cell edit does.
        expected.bytes[RecordOffset(channel) + record::kTxTone] = 1;
        expected.bytes[RecordOffset(channel) + record::kBandwidth] = 1;
    }
    EXPECT_THAT(ChangedOffsets(expected), IsEmpty());
    EXPECT_EQ(grid().GetItemText(3, 5), QStringLiteral("25K"));

    // The Menu key on the grid, then Undo from the menu: the bulk edit was one step.
    QTest::keyClick(&grid(), Qt::Key_Menu);
    ChooseFromMenuByKeyboard(Command::Undo);
    QTRY_COMPARE_WITH_TIMEOUT(context->image().bytes, before.bytes, 5000);
}

}  // namespace
}  // namespace halyx::test
