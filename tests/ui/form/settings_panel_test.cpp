// The common settings panel: what each control shows, what it stores, and its names.
#include <gmock/gmock.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include "form_test_fixture.h"
#include "ui/form/form_ids.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class SettingsPanel : public FormTest {
protected:
    QComboBox* list(int id) const { return control<QComboBox>(id); }
    QLineEdit* box(int id) const { return control<QLineEdit>(id); }
    std::uint8_t headerByte(std::size_t offset) const { return context->image().bytes[offset]; }

    QStringList GridTexts() const {
        QStringList texts;
        for (int row = 0; row < grid().GetRowCount(); ++row) {
            for (int column = 0; column < grid().GetColumnCount(); ++column) {
                texts << grid().GetItemText(row, column);
            }
        }
        return texts;
    }

    void TypeInto(QLineEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        ClickBackground();
    }

    static QString AccessibleName(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    // The text of the label assistive technology finds for `widget` (the buddy relation).
    static QString LabelledBy(QWidget* widget) {
        const auto relations = QAccessible::queryAccessibleInterface(widget)->relations();
        for (const auto& [other, relation] : relations) {
            if (relation.testFlag(QAccessible::Label)) {
                return other->text(QAccessible::Name);
            }
        }
        return {};
    }
};

TEST_F(SettingsPanel, ShowsTheHeaderFields) {
    EXPECT_EQ(list(form::kTimeOutList)->currentText(), QStringLiteral("60s"));
    EXPECT_EQ(list(form::kVoxList)->currentIndex(), 2);
    EXPECT_EQ(list(form::kSquelchList)->currentText(), QStringLiteral("5"));
    EXPECT_EQ(list(form::kChannelList)->currentText(), QStringLiteral("CH03"));
    EXPECT_EQ(list(form::kLanguageList)->currentIndex(), 1);
    EXPECT_EQ(list(form::kTxPowerList)->currentIndex(), 2);
    EXPECT_FALSE(control<QCheckBox>(form::kScrambleCheck)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(form::kCompandCheck)->isChecked());
    EXPECT_EQ(list(form::kTimeOutList)->count(), 17);
    EXPECT_EQ(list(form::kChannelList)->count(), 20);
}

TEST_F(SettingsPanel, BandListShowsItsOneEntryDisabledWhateverTheByte) {
    context->ChangeImage([](RadioImage& image) { image.bytes[header::kBand] = 0; });
    view->OnRefreshImage();
    QComboBox* band = list(form::kBandList);
    EXPECT_EQ(band->count(), 1);
    EXPECT_EQ(band->currentText(), QStringLiteral("406.1-470 MHz"));
    EXPECT_FALSE(band->isEnabled());
    EXPECT_EQ(headerByte(header::kBand), 0);
}

TEST_F(SettingsPanel, ListChoicesStoreTheirFieldAndNothingElse) {
    const RadioImage before = context->image();
    Choose(*list(form::kTimeOutList), 10);  // 120s
    EXPECT_EQ(headerByte(header::kTimeOut), 120);
    Choose(*list(form::kSquelchList), 8);  // the ninth entry
    EXPECT_EQ(headerByte(header::kSquelchLevel), 9);
    Choose(*list(form::kChannelList), 19);  // "CH00(20)"
    EXPECT_EQ(headerByte(header::kSettingsChannel), 20);
    Choose(*list(form::kVoxList), 3);
    EXPECT_EQ(headerByte(header::kVoxLevel), 3);
    Choose(*list(form::kTxPowerList), 0);
    EXPECT_EQ(headerByte(header::kTxPower), 0);
    EXPECT_THAT(ChangedOffsets(before),
                ElementsAre(header::kTimeOut, header::kVoxLevel, header::kSettingsChannel,
                            header::kSquelchLevel, header::kTxPower));
    Choose(*list(form::kTimeOutList), 0);  // off
    EXPECT_EQ(headerByte(header::kTimeOut), 0);
}

TEST_F(SettingsPanel, TimeOutTheListDoesNotOfferLeavesTheSelection) {
    context->ChangeImage([](RadioImage& image) { image.bytes[header::kTimeOut] = 35; });
    view->OnRefreshImage();
    EXPECT_EQ(list(form::kTimeOutList)->currentText(), QStringLiteral("60s"));
    EXPECT_EQ(headerByte(header::kTimeOut), 35);
}

TEST_F(SettingsPanel, ListsWhoseByteMatchesNoEntryShowNoneAfterEachInitialUpdate) {
    // A radio read or a language switch refills the lists; none may then pass for a value
    // the radio does not hold, and nothing is written back.
    context->ChangeImage([](RadioImage& image) {
        image.bytes[header::kTimeOut] = 35;
        image.bytes[header::kVoxLevel] = 10;
        image.bytes[header::kSquelchLevel] = 0;
        image.bytes[header::kSettingsChannel] = 21;
        image.bytes[header::kLanguage] = 2;
        image.bytes[header::kTxPower] = 3;
    });
    const RadioImage before = context->image();
    const int lists[] = {form::kTimeOutList, form::kVoxList,      form::kSquelchList,
                         form::kChannelList, form::kLanguageList, form::kTxPowerList};
    for (const char* language : {"english.lang", "chinese.lang", "english.lang"}) {
        UseLanguage(language);
        view->OnInitialUpdate();
        for (int id : lists) {
            EXPECT_EQ(list(id)->currentIndex(), -1) << language << " " << id;
            EXPECT_EQ(list(id)->currentText(), QString()) << language << " " << id;
        }
        EXPECT_GT(list(form::kTimeOutList)->count(), 0);
        view->OnRefreshImage();
        EXPECT_EQ(list(form::kTimeOutList)->currentIndex(), -1) << language;
        EXPECT_EQ(context->image().bytes, before.bytes) << language;
    }
}

TEST_F(SettingsPanel, SquelchByteOutsideTheListSelectsNothing) {
    context->ChangeImage([](RadioImage& image) { image.bytes[header::kSquelchLevel] = 0; });
    view->OnRefreshImage();
    EXPECT_EQ(list(form::kSquelchList)->currentIndex(), -1);
}

TEST_F(SettingsPanel, ScrambleStoresItsByteAndLeavesGridAndPanelAlone) {
    const RadioImage before = context->image();
    const QStringList gridBefore = GridTexts();
    const QString timeOutBefore = list(form::kTimeOutList)->currentText();
    QTest::mouseClick(control<QCheckBox>(form::kScrambleCheck), Qt::LeftButton);
    EXPECT_EQ(headerByte(header::kScramble), 1);
    EXPECT_THAT(ChangedOffsets(before), ElementsAre(header::kScramble));
    EXPECT_EQ(GridTexts(), gridBefore);
    EXPECT_EQ(list(form::kTimeOutList)->currentText(), timeOutBefore);
    QTest::mouseClick(control<QCheckBox>(form::kCompandCheck), Qt::LeftButton);
    EXPECT_EQ(headerByte(header::kCompand), 0);
}

TEST_F(SettingsPanel, SerialNumberTakesLettersDigitsAndSpacesOnly) {
    const RadioImage before = context->image();
    TypeInto(box(form::kSerialNumberBox), QStringLiteral("A-B_1.2"));
    const auto stored = std::vector<std::uint8_t>(
        context->image().bytes.begin() + header::kSerialNumber,
        context->image().bytes.begin() + header::kSerialNumber + header::kSerialNumberSize);
    EXPECT_THAT(stored, ElementsAre(0x41, 0x42, 0x31, 0x32, 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(ChangedOffsets(before),
                ::testing::IsSubsetOf(Range(header::kSerialNumber, header::kSerialNumberSize)));
}

TEST_F(SettingsPanel, SerialNumberRefusesTheClipboardKeysAndStopsAtTen) {
    QLineEdit* serial = box(form::kSerialNumberBox);
    serial->clear();
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    QTest::keyClick(serial, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(serial->text(), QString());
    QTest::keyClicks(serial, QStringLiteral("abc DEF 0123"));
    EXPECT_EQ(serial->text(), QStringLiteral("abc DEF 01"));
}

TEST_F(SettingsPanel, UserIdIsStoredWithZeroPadding) {
    TypeInto(box(form::kUserIdBox), QStringLiteral("K7Q"));
    const auto stored = std::vector<std::uint8_t>(
        context->image().bytes.begin() + header::kUserId,
        context->image().bytes.begin() + header::kUserId + header::kUserIdSize);
    EXPECT_THAT(stored, ElementsAre('K', '7', 'Q', 0, 0, 0));
    EXPECT_EQ(box(form::kUserIdBox)->maxLength(), 6);
}

TEST_F(SettingsPanel, PassingThroughTheBoxesStoresNothing) {
    // The user ID's bytes after the pattern's first zero are not shown, so rewriting the
    // shown text would lose them.
    const RadioImage before = context->image();
    QTest::mouseClick(box(form::kSerialNumberBox), Qt::LeftButton);
    QTest::mouseClick(box(form::kUserIdBox), Qt::LeftButton);
    ClickBackground();
    EXPECT_THAT(ChangedOffsets(before), IsEmpty());
}

TEST_F(SettingsPanel, ControlsAreNamedByTheirLabelsInEitherLanguage) {
    const std::vector<std::pair<int, const char*>> named{
        {form::kBandList, "S0017"},        {form::kVoxList, "S0019"},
        {form::kSquelchList, "S0105"},     {form::kChannelList, "S0081"},
        {form::kSerialNumberBox, "S0080"}, {form::kUserIdBox, "S0016"},
        {form::kLanguageList, "S0111"},    {form::kTxPowerList, "S0116"}};
    for (const char* language : {"english.lang", "chinese.lang"}) {
        UseLanguage(language);
        view->OnInitialUpdate();
        for (const auto& [id, key] : named) {
            const QString expected = QString::fromStdString(context->text(key));
            ASSERT_FALSE(expected.isEmpty()) << key;
            QWidget* widget = control<QWidget>(id);
            EXPECT_EQ(LabelledBy(widget), expected) << language << " " << id;
            // Lists on Unix take their name from the label relation and report the entry as
            // their name; elsewhere, and for the boxes everywhere, the name is the label's.
            EXPECT_EQ(widget->accessibleName(), expected) << language << " " << id;
            if (qobject_cast<QLineEdit*>(widget) != nullptr) {
                EXPECT_EQ(AccessibleName(widget), expected) << language << " " << id;
            }
        }
        EXPECT_EQ(LabelledBy(list(form::kTimeOutList)), QStringLiteral("TOT"));
        EXPECT_EQ(control<QGroupBox>(form::kSettingsGroup)->title(),
                  QString::fromStdString(context->text("S0014")));
        EXPECT_EQ(control<QCheckBox>(form::kScrambleCheck)->text(),
                  QString::fromStdString(context->text("S0114")));
        EXPECT_EQ(grid().GetItemText(0, 2), QString::fromStdString(context->text("S0023")));
    }
    EXPECT_EQ(list(form::kLanguageList)->itemText(0),
              QString::fromStdString(context->text("S0112")));
}

TEST_F(SettingsPanel, TabOrderRunsFromTheGridDownThePanel) {
    std::vector<QString> order;
    QWidget* widget = &grid();
    for (int step = 0; step < 11; ++step) {
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isEnabled()) {
            widget = widget->nextInFocusChain();
        }
        order.push_back(widget->objectName());
    }
    EXPECT_THAT(order, ElementsAreArray({"1008", "1010", "1011", "1012", "1007", "1009", "1013",
                                         "1015", "1034", "1035", "1029"}));
}

}  // namespace
}  // namespace halyx::test
