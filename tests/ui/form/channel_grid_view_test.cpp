// The channel grid on the main form: filling, the in-place editors and what they store.
#include <gmock/gmock.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QTest>

#include "form_test_fixture.h"
#include "ui/form/channel_editors.h"
#include "ui/form/channel_table_model.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSubsetOf;

constexpr FrequencyBytes kZero{0, 0, 0, 0};

std::vector<std::size_t> FrequencyFields(int channel) {
    auto fields = FormTest::Range(RecordOffset(channel) + record::kTxFrequency, 8);
    return fields;
}

class ChannelGridView : public FormTest {
protected:
    QStringList RowTexts(int row) const {
        QStringList texts;
        for (int column = 0; column < 6; ++column) {
            texts << grid().GetItemText(row, column);
        }
        return texts;
    }

    // Opens the receive or transmit cell, replaces its text by typing, and leaves the cell.
    void TypeFrequency(int row, int column, const QString& text) {
        ClickCell(row, column);
        ASSERT_TRUE(frequencyEditor().isVisible());
        QTest::keyClicks(&frequencyEditor(), text);
        ClickBackground();
    }
};

TEST_F(ChannelGridView, InitialUpdateLaysOutAndFillsTheGrid) {
    EXPECT_EQ(grid().GetRowCount(), 21);
    EXPECT_EQ(grid().GetColumnCount(), 6);
    EXPECT_EQ(grid().GetColumnWidth(1), 112);
    EXPECT_EQ(grid().GetRowHeight(20), 21);
    EXPECT_EQ(grid().GetItemText(0, 1), QStringLiteral("RX Freq (MHz)"));
    EXPECT_EQ(grid().GetItemText(0, 5), QStringLiteral("BW"));
    EXPECT_EQ(grid().GetItemText(3, 0), QStringLiteral("CH03"));
    EXPECT_EQ(grid().GetItemText(20, 0), QStringLiteral("CH00(20)"));
    EXPECT_EQ(grid().GetItemText(1, 1), QStringLiteral("446.00625"));
    EXPECT_EQ(grid().GetItemText(1, 3), QStringLiteral("OFF"));
    EXPECT_EQ(grid().GetItemText(1, 5), QStringLiteral("12.5K"));
    EXPECT_EQ(grid().GetItemText(2, 1), QString());  // erased channel
    EXPECT_EQ(grid().GetItemText(2, 4), QString());
}

TEST_F(ChannelGridView, EditorOpensExactlyOverTheClickedCellAndIsNamedAfterIt) {
    ClickCell(3, 2);
    QRect cell;
    ASSERT_TRUE(grid().GetCellRect(3, 2, cell));
    const QRect expected(grid().viewport()->mapTo(view.get(), cell.topLeft()), cell.size());
    EXPECT_EQ(QRect(frequencyEditor().mapTo(view.get(), QPoint(0, 0)), frequencyEditor().size()),
              expected);
    EXPECT_EQ(frequencyEditor().text(), QStringLiteral("446.10000"));
    EXPECT_EQ(frequencyEditor().selectedText(), frequencyEditor().text());
    EXPECT_TRUE(frequencyEditor().hasFocus());
    EXPECT_EQ(frequencyEditor().accessibleName(), QStringLiteral("TX Freq (MHz) CH03"));
}

TEST_F(ChannelGridView, TypedFrequencyOnStepIsStoredInBothFrequencies) {
    const RadioImage before = context->image();
    TypeFrequency(2, 1, QStringLiteral("446.00625"));
    EXPECT_EQ(rxFrequency(2), (FrequencyBytes{0x44, 0x60, 0x06, 0x25}));
    EXPECT_EQ(txFrequency(2), (FrequencyBytes{0x44, 0x60, 0x06, 0x25}));
    EXPECT_THAT(ChangedOffsets(before), IsSubsetOf(FrequencyFields(2)));
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_EQ(grid().GetItemText(2, 1), QStringLiteral("446.00625"));
    EXPECT_EQ(grid().GetItemText(2, 2), QStringLiteral("446.00625"));
    // The record's other bytes, untouched, now show as its tones and bandwidth.
    EXPECT_FALSE(grid().GetItemText(2, 3).isEmpty());
    EXPECT_FALSE(grid().GetItemText(2, 5).isEmpty());
}

TEST_F(ChannelGridView, TypedFrequenciesAreSnappedAndClampedToTheUpperBand) {
    TypeFrequency(3, 1, QStringLiteral("446.0123"));
    EXPECT_EQ(grid().GetItemText(3, 1), QStringLiteral("446.01000"));
    EXPECT_EQ(rxFrequency(3), (FrequencyBytes{0x44, 0x60, 0x10, 0x00}));
    TypeFrequency(3, 1, QStringLiteral("400"));
    EXPECT_EQ(grid().GetItemText(3, 1), QStringLiteral("406.10000"));
    TypeFrequency(3, 1, QStringLiteral("480"));
    EXPECT_EQ(grid().GetItemText(3, 1), QStringLiteral("470.00000"));
    EXPECT_EQ(txFrequency(3), (FrequencyBytes{0x47, 0x00, 0x00, 0x00}));
}

TEST_F(ChannelGridView, PastedLettersBecomeTheLowerBandLimit) {
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    ClickCell(3, 2);
    QTest::keyClick(&frequencyEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frequencyEditor().text(), QStringLiteral("abc"));  // pasting is not filtered
    ClickBackground();
    EXPECT_EQ(txFrequency(3), (FrequencyBytes{0x40, 0x61, 0x00, 0x00}));
    EXPECT_EQ(rxFrequency(3), (FrequencyBytes{0x44, 0x61, 0x00, 0x00}));  // transmit only
}

TEST_F(ChannelGridView, EmptiedReceiveCellClearsBothFrequenciesAndBlanksTheRow) {
    const RadioImage before = context->image();
    ClickCell(1, 1);
    QTest::keyClick(&frequencyEditor(), Qt::Key_Backspace);  // the whole text is selected
    ClickBackground();
    EXPECT_EQ(rxFrequency(1), kZero);
    EXPECT_EQ(txFrequency(1), kZero);
    EXPECT_THAT(ChangedOffsets(before), IsSubsetOf(FrequencyFields(1)));
    for (int column = 1; column <= 5; ++column) {
        EXPECT_EQ(grid().GetItemText(1, column), QString()) << column;
    }
}

TEST_F(ChannelGridView, KeystrokeFilterKeepsDigitsOnePointAndNineCharacters) {
    ClickCell(3, 1);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("4a4-6.0.1 2,5"));
    EXPECT_EQ(frequencyEditor().text(), QStringLiteral("446.0125"));
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("6789"));
    EXPECT_EQ(frequencyEditor().text(), QStringLiteral("446.01256"));
}

TEST_F(ChannelGridView, ClickingAnotherCellCommitsTheOpenCellFirst) {
    ClickCell(3, 1);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("450"));
    ClickCell(5, 2);
    EXPECT_EQ(rxFrequency(3), (FrequencyBytes{0x45, 0x00, 0x00, 0x00}));
    EXPECT_EQ(txFrequency(3), (FrequencyBytes{0x45, 0x00, 0x00, 0x00}));
    EXPECT_EQ(txFrequency(5), (FrequencyBytes{0x44, 0x62, 0x00, 0x00}));
    EXPECT_EQ(view->editors().target(), CCellID(5, 2));
    EXPECT_TRUE(frequencyEditor().isVisible());
    EXPECT_EQ(frequencyEditor().text(), QStringLiteral("446.20000"));
}

TEST_F(ChannelGridView, LeavingAnUntouchedEditorStoresNothing) {
    // Re-reading an erased channel's blank cell would otherwise write zeros over its FF bytes.
    const RadioImage before = context->image();
    ClickCell(2, 1);
    ClickCell(2, 2);
    ClickBackground();
    EXPECT_THAT(ChangedOffsets(before), IsEmpty());
}

TEST_F(ChannelGridView, HeaderClicksOpenNoEditor) {
    ClickCell(0, 2);
    EXPECT_FALSE(frequencyEditor().isVisible());
    ClickCell(4, 0);
    ClickCell(0, 4);
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_FALSE(choiceEditor().isVisible());
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 4));  // the header's column, first channel
}

TEST_F(ChannelGridView, ReceiveToneSetsTransmitToneAndTransmitToneOnlyItself) {
    const RadioImage before = context->image();
    ClickCell(1, 3);
    ASSERT_TRUE(choiceEditor().isVisible());
    EXPECT_EQ(choiceEditor().count(), 155);
    EXPECT_EQ(choiceEditor().currentIndex(), 0);  // "OFF", found after wrapping round
    Choose(choiceEditor(), 13);
    EXPECT_EQ(recordByte(1, record::kRxTone), 13);
    EXPECT_EQ(recordByte(1, record::kTxTone), 13);
    EXPECT_EQ(grid().GetItemText(1, 4), QStringLiteral("100.0"));
    ClickCell(1, 4);
    Choose(choiceEditor(), 60);
    EXPECT_EQ(recordByte(1, record::kRxTone), 13);
    EXPECT_EQ(recordByte(1, record::kTxTone), 60);
    EXPECT_THAT(ChangedOffsets(before),
                ElementsAre(RecordOffset(1) + record::kRxTone, RecordOffset(1) + record::kTxTone));
}

TEST_F(ChannelGridView, BlankToneCellPreselectsTheSecondEntryAndStoresNothing) {
    const RadioImage before = context->image();
    ClickCell(2, 3);
    EXPECT_EQ(choiceEditor().currentIndex(), 1);
    EXPECT_EQ(choiceEditor().currentText(), QStringLiteral("67.0"));
    ClickBackground();
    EXPECT_FALSE(choiceEditor().isVisible());
    EXPECT_THAT(ChangedOffsets(before), IsEmpty());
}

TEST_F(ChannelGridView, DropDownStaysOpenWhileItsOwnListHasTheFocus) {
    ClickCell(1, 4);
    choiceEditor().showPopup();
    // Some window systems report the list's opening as an ordinary focus loss.
    QFocusEvent focusLoss(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&choiceEditor(), &focusLoss);
    EXPECT_TRUE(choiceEditor().isVisible());
    choiceEditor().hidePopup();
    ClickBackground();
    EXPECT_FALSE(choiceEditor().isVisible());
}

TEST_F(ChannelGridView, BandwidthChoiceStoresItsPosition) {
    ClickCell(3, 5);
    EXPECT_EQ(choiceEditor().count(), 2);
    EXPECT_EQ(choiceEditor().currentText(), QStringLiteral("12.5K"));
    Choose(choiceEditor(), 1);
    EXPECT_EQ(recordByte(3, record::kBandwidth), 1);
    EXPECT_EQ(grid().GetItemText(3, 5), QStringLiteral("25K"));
}

TEST_F(ChannelGridView, ToneByteBeyondTheTableShowsNoToneAndIsKept) {
    context->ChangeImage(
        [](RadioImage& image) { image.bytes[RecordOffset(3) + record::kTxTone] = 200; });
    view->OnRefreshImage();
    EXPECT_EQ(grid().GetItemText(3, 4), QStringLiteral("OFF"));
    ClickCell(3, 4);
    ClickBackground();
    EXPECT_EQ(recordByte(3, record::kTxTone), 200);
}

TEST_F(ChannelGridView, ShowsEveryDocumentChangeWhoeverMadeItAndItsUndo) {
    // Another face (the command line's set, an import) edits the same document: the grid and
    // the panel follow without being told, and so do undo and redo.
    const QStringList before = RowTexts(4);
    ASSERT_TRUE(context->document.EditChannel(4, [](Channel& channel) {
        channel.SetRxFrequency("446.33");
        channel.SetRxTone(13);
        channel.SetBandwidth(Channel::kWide);
    }));
    ASSERT_TRUE(context->document.EditSettings(
        [](CommonSettings& settings) { settings.SetSquelchLevel(9); }));
    EXPECT_EQ(RowTexts(4),
              (QStringList{"CH04", "446.33000", "446.33000", "100.0", "100.0", "25K"}));
    EXPECT_EQ(control<QComboBox>(1011)->currentText(), QStringLiteral("9"));

    ASSERT_TRUE(view->Undo());
    EXPECT_EQ(control<QComboBox>(1011)->currentText(), QStringLiteral("5"));
    ASSERT_TRUE(view->Undo());
    EXPECT_EQ(RowTexts(4), before);
    ASSERT_TRUE(view->Redo());
    EXPECT_EQ(grid().GetItemText(4, 1), QStringLiteral("446.33000"));

    // An edit made in the grid is the document's too, with the correction it applied.
    TypeFrequency(4, 2, QStringLiteral("446.0123"));
    EXPECT_EQ(context->document.channel(4).TxText(), "446.01000");
    ASSERT_TRUE(view->channelModel().lastCorrection().has_value());
    EXPECT_EQ(view->channelModel().lastCorrection()->stored, "446.01000");
    EXPECT_TRUE(context->document.IsChanged());
}

TEST_F(ChannelGridView, RefreshShowsANewImageAndDropsAnOpenEditor) {
    ClickCell(3, 1);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("455"));
    RadioImage replacement = PatternImage();
    std::copy_n(std::array<std::uint8_t, 4>{0x43, 0x00, 0x00, 0x00}.begin(), 4,
                replacement.bytes.begin() + RecordOffset(2) + record::kRxFrequency);
    replacement.bytes[header::kSquelchLevel] = 8;
    context->document.Replace(replacement);
    EXPECT_EQ(view->OnRefreshImage(), 1);
    EXPECT_FALSE(frequencyEditor().isVisible());
    EXPECT_EQ(grid().GetItemText(2, 1), QStringLiteral("430.00000"));
    EXPECT_EQ(control<QComboBox>(1011)->currentText(), QStringLiteral("8"));
    ClickBackground();
    EXPECT_EQ(rxFrequency(3), (FrequencyBytes{0x44, 0x61, 0x00, 0x00}));  // typed text dropped
}

TEST_F(ChannelGridView, ReplacedDocumentDropsAnOpenEditorWithoutBeingTold) {
    // New, Open or a radio read replace the document; typing left in an editor must not land in
    // the image that replaced the one it was typed against.
    ClickCell(3, 1);
    QTest::keyClicks(&frequencyEditor(), QStringLiteral("455"));
    const RadioImage replacement = PatternImage();
    context->document.Replace(replacement);
    EXPECT_FALSE(frequencyEditor().isVisible());
    ClickBackground();
    EXPECT_EQ(context->image().bytes, replacement.bytes);
    EXPECT_FALSE(context->document.IsChanged());
}

TEST_F(ChannelGridView, InitialUpdateAfterARadioReadShowsTheReadImage) {
    RadioImage read = PatternImage();
    read.bytes[RecordOffset(20) + record::kRxFrequency] = 0x46;
    read.bytes[RecordOffset(20) + record::kRxFrequency + 1] = 0x25;
    read.bytes[RecordOffset(20) + record::kRxFrequency + 2] = 0x00;
    read.bytes[RecordOffset(20) + record::kRxFrequency + 3] = 0x00;
    read.bytes[header::kTxPower] = 0;
    context->document.Replace(read);
    view->OnInitialUpdate();
    EXPECT_EQ(grid().GetItemText(20, 1), QStringLiteral("462.50000"));
    EXPECT_EQ(control<QComboBox>(1015)->currentIndex(), 0);
    EXPECT_EQ(grid().GetRowCount(), 21);  // set up again, not grown
}

TEST(ChoicePosition, SearchStartsAtTheSecondEntryAndWraps) {
    const QStringList entries{QStringLiteral("OFF"), QStringLiteral("67.0"), QStringLiteral("69.3"),
                              QStringLiteral("D023N")};
    EXPECT_EQ(ChoicePositionFor(entries, QString()), 1);
    EXPECT_EQ(ChoicePositionFor(entries, QStringLiteral("off")), 0);
    EXPECT_EQ(ChoicePositionFor(entries, QStringLiteral("d0")), 3);
    EXPECT_EQ(ChoicePositionFor(entries, QStringLiteral("9")), -1);
}

}  // namespace
}  // namespace halyx::test
