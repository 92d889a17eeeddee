// What the main window tells the user: corrections in the status bar and on the cell, the file,
// port and last radio operation, the Edit menu, Qt's own texts in the chosen language, and
// readable colours in a dark theme.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/qt_translations.h"
#include "app/status_pane_updater.h"
#include "app/status_panes.h"
#include "editing/channel_rows.h"
#include "files/image_file.h"
#include "gui_app_fixture.h"
#include "image/frequency_codec.h"
#include "image/header_text.h"
#include "image/radio_image.h"
#include "image/working_copies.h"
#include "support/contrast_probe.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/bulk_edit_dialog.h"
#include "ui/form/channel_editors.h"
#include "ui/form/channel_table_model.h"
#include "ui/form/form_ids.h"
#include "ui/form/frequency_edit.h"
#include "ui/form/halyx_view.h"
#include "ui/grid/grid_colours.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

class ShownWindow : public RunningApp {
protected:
    void Show(const std::string& settings) {
        StartWith(settings);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }

    CGridCtrl& grid() const { return *frame->view()->grid(); }
    ChannelTableModel& model() const { return frame->view()->channelModel(); }
    CStatusPanes& panes() const { return frame->statusPanes().panes(); }
    QString Mark(int row, int column) const {
        return model().data(model().index(row, column), kCellMarkRole).toString();
    }
    QMenu* EditMenu() const { return frame->menuBar()->actions().at(1)->menu(); }
    std::uint8_t Band() const { return app->radioDocument().image().bytes[header::kBand]; }

    // A click opens the cell's editor; Escape leaves it and keeps the grid's focus on the cell.
    void FocusCell(int row) {
        QRect cell;
        ASSERT_TRUE(grid().GetCellRect(row, 1, cell));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_TRUE(grid().hasFocus());
        QApplication::processEvents();
    }

    void TypeReceive(int row, const QString& text) {
        QRect cell;
        ASSERT_TRUE(grid().GetCellRect(row, 1, cell));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
        QLineEdit& box = *frame->view()->editors().frequencyEdit();
        ASSERT_TRUE(box.hasFocus());
        box.selectAll();
        QTest::keyClicks(&box, text);
        QTest::keyClick(&box, Qt::Key_Return);
    }
};

TEST_F(ShownWindow, ACorrectionIsSaidHeardAndMarkedOnItsCellUntilThatCellIsEditedAgain) {
    Show("[setup]\nlanguage=english\n");
    const std::string stored = CorrectFrequency("500", Band()).stored;
    TypeReceive(3, QStringLiteral("500"));
    const QString said = QStringLiteral("CH03 en S0022: 500 → %1, above the band")
                             .arg(QString::fromStdString(stored));
    EXPECT_EQ(panes().noticePane()->text(), said);
    // Screen readers read the pane by its accessible name.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(panes().noticePane())->text(QAccessible::Name),
              said);
    EXPECT_EQ(Mark(3, 1), said);
    EXPECT_EQ(model().data(model().index(3, 1), Qt::ToolTipRole).toString(), said);
    EXPECT_TRUE(Mark(3, 2).isEmpty());  // the transmit frequency followed, as asked

    // The mark is drawn: a flag in the cell's top right corner in the palette's mark colour.
    QRect cell;
    ASSERT_TRUE(grid().GetCellRect(3, 1, cell));
    QApplication::processEvents();
    const QImage drawn = grid().viewport()->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(cell.right() - 4, cell.top() + 4), MarkColour(grid().palette()));
    EXPECT_NE(drawn.pixelColor(cell.left() + 2, cell.center().y()),
              grid().palette().color(QPalette::Base));  // tinted

    // Another cell's correction names its own reason and leaves the first mark alone.
    TypeReceive(4, QStringLiteral("446.001"));
    EXPECT_TRUE(
        panes().noticePane()->text().endsWith(QStringLiteral("moved onto the channel step")));
    EXPECT_EQ(Mark(3, 1), said);
    EXPECT_FALSE(Mark(4, 1).isEmpty());

    // Edited again and stored as typed: the mark and the notice go.
    TypeReceive(3, QStringLiteral("446.00625"));
    EXPECT_TRUE(Mark(3, 1).isEmpty());
    EXPECT_TRUE(panes().noticePane()->text().isEmpty());
    // Undone, the corrected value is gone too, and with it its mark.
    frame->OnCommand(57643);
    frame->OnCommand(57643);
    EXPECT_TRUE(Mark(4, 1).isEmpty());
}

TEST_F(ShownWindow, StatusPanesNameTheFileThePortAndTheLastRadioOperationWithItsBackup) {
    Show("[setup]\nlanguage=english\n[port]\ncom=3\n");
    EXPECT_EQ(panes().filePane()->text(), QStringLiteral("default.kda"));
    EXPECT_EQ(panes().portPane()->text(), QStringLiteral("COM3"));
    EXPECT_EQ(panes().portPane()->isEnabled(), app->radioLine().IsOpen());
    EXPECT_FALSE(panes().resultPane()->isVisible());

    GuiRadioOperation read{"read", "success", nullptr, nullptr, 0, std::nullopt};
    OperationRecord record;
    record.backupPath =
        (HistoryPlacesOf(app->settings().layout).backupFolder / "2026-12-09" / "101530-SIM1.kda")
            .string();
    frame->statusPanes().ShowOperation(read, record);
    EXPECT_EQ(panes().resultPane()->toolTip(),
              QStringLiteral("en S0058 on COM3: Succeeded, 20 channels, backup "
                             "2026-12-09/101530-SIM1.kda"));
    EXPECT_TRUE(panes().resultPane()->isVisible());
    EXPECT_EQ(panes().resultPane()->accessibleName(), panes().resultPane()->toolTip());
    EXPECT_TRUE(panes().filePane()->text().startsWith(QStringLiteral("Read from COM3 at ")));

    frame->statusPanes().ShowOperation(
        {"write", "read-back-differs", nullptr, nullptr, 0, std::nullopt}, {});
    EXPECT_EQ(panes().resultPane()->toolTip(),
              QStringLiteral("en S0059 on COM3: Read-back differs"));
    frame->statusPanes().ShowOperation({"read", "port-error", nullptr, nullptr, 0, std::nullopt},
                                       {"", "no room", ""});
    EXPECT_EQ(panes().resultPane()->toolTip(),
              QStringLiteral("en S0058 on COM3: The port could not be opened, Backup failed"));

    // Another image replaces the radio's: the pane names its file again.
    app->radioDocument().SetFileName("fleet.kda");
    app->radioDocument().Replace(app->radioDocument().image());
    EXPECT_EQ(panes().filePane()->text(), QStringLiteral("fleet.kda"));
}

// A radio or file whose serial number and user ID hold terminal escapes: the boxes show them
// escaped, an untouched save keeps the bytes, and a control character pasted into a box is
// refused aloud, the box going back to what is stored.
TEST_F(ShownWindow, ControlBytesInTheIdentityShowEscapedSurviveASaveAndCannotBeTypedIn) {
    Show("[setup]\nlanguage=english\n");
    std::vector<std::uint8_t> hostile(kImageSize, 0x11);
    const std::string serial = "AB\x1b]0;pwn\x07";  // a window title, ended by BEL
    const std::string userId = "\x1b[2J\x07Z";      // clear the screen, ring the bell
    std::copy(serial.begin(), serial.end(), hostile.begin() + header::kSerialNumber);
    std::copy(userId.begin(), userId.end(), hostile.begin() + header::kUserId);
    WriteFile(work() / "hostile.kda", hostile);
    prompts.openPaths = {QString::fromStdString((work() / "hostile.kda").string())};
    frame->OnCommand(57601);
    ASSERT_TRUE(prompts.messages.empty());

    const auto box = [this](int id) {
        return frame->view()->findChild<QLineEdit*>(QString::number(id));
    };
    QLineEdit* serialBox = box(form::kSerialNumberBox);
    QLineEdit* userIdBox = box(form::kUserIdBox);
    EXPECT_EQ(serialBox->text(), QStringLiteral("AB\\x1b]0;pwn\\x07"));
    EXPECT_EQ(userIdBox->text(), QStringLiteral("\\x1b[2J\\x07Z"));

    // Passing through both boxes and saving keeps every byte as the file gave it.
    serialBox->setFocus();
    userIdBox->setFocus();
    frame->view()->grid()->setFocus();
    QApplication::processEvents();
    prompts.savePaths = {QString::fromStdString((work() / "saved.kda").string())};
    frame->OnCommand(32780);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadFile(work() / "saved.kda"), hostile);

    // A control character pasted into the user ID is refused with a notice; the box shows what
    // the image holds again.
    userIdBox->setFocus();
    userIdBox->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("K\u0007Q"));
    userIdBox->paste();
    ASSERT_EQ(userIdBox->text(), QStringLiteral("K\u0007Q"));
    serialBox->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(panes().noticePane()->text(),
              QStringLiteral("en S0016 was not changed: it cannot hold control characters."));
    EXPECT_EQ(userIdBox->text(), QStringLiteral("\\x1b[2J\\x07Z"));
    EXPECT_TRUE(
        std::equal(hostile.begin(), hostile.end(), app->radioDocument().image().bytes.begin()));

    // What is left of the escaped text after an edit is longer than the field holds: refused
    // too, never cut into half an escape.
    userIdBox->setFocus();
    userIdBox->end(false);
    QTest::keyClick(userIdBox, Qt::Key_Backspace);
    serialBox->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(panes().noticePane()->text(),
              QStringLiteral("en S0016 was not changed: it holds at most 6 characters."));
    EXPECT_TRUE(
        std::equal(hostile.begin(), hostile.end(), app->radioDocument().image().bytes.begin()));

    // Replaced whole by plain text, the field is stored as typed.
    userIdBox->setFocus();
    userIdBox->selectAll();
    QTest::keyClicks(userIdBox, QStringLiteral("K7Q"));
    EXPECT_EQ(userIdBox->maxLength(), 6);  // widened only while it showed the escapes
    serialBox->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(HeaderText(app->radioDocument().image(), header::kUserId, header::kUserIdSize),
              "K7Q");
    EXPECT_EQ(userIdBox->text(), QStringLiteral("K7Q"));
}

TEST_F(ShownWindow, EditMenuShowsShortcutsEnablesWhatAppliesAndLeavesEditBoxesTheirKeys) {
    Show("[setup]\nlanguage=english\n");
    const std::vector<std::pair<int, QString>> shortcuts = {
        {57643, "Ctrl+Z"}, {57644, "Ctrl+Y"}, {57635, "Ctrl+X"}, {57634, "Ctrl+C"},
        {57637, "Ctrl+V"}, {32800, "Del"},    {32801, "Ctrl+B"},
    };
    for (const auto& [id, keys] : shortcuts) {
        EXPECT_EQ(frame->commandAction(id)->shortcut().toString(), keys) << id;
        EXPECT_TRUE(EditMenu()->actions().contains(frame->commandAction(id))) << id;
    }
    EXPECT_EQ(frame->commandAction(32800)->text(), QStringLiteral("Clear"));
    // Nothing to work on and nothing to undo yet.
    emit EditMenu()->aboutToShow();
    for (int id : {57643, 57644, 57635, 57634, 32800, 32801}) {
        EXPECT_FALSE(frame->commandAction(id)->isEnabled()) << id;
    }

    // Copy and paste through the window's keys, on the focus row of the grid.
    TypeReceive(2, QStringLiteral("446.00625"));
    const RadioImage before = app->radioDocument().image();
    ASSERT_NE(ReadRecord(before, 5), ReadRecord(before, 2));
    FocusCell(2);
    EXPECT_TRUE(frame->commandAction(57634)->isEnabled());
    QTest::keyClick(&grid(), Qt::Key_C, Qt::ControlModifier);
    FocusCell(5);
    QTest::keyClick(&grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ReadRecord(app->radioDocument().image(), 5), ReadRecord(before, 2));
    // Delete clears the focus channel from the grid; undo brings back what was pasted over.
    QTest::keyClick(&grid(), Qt::Key_Delete);
    EXPECT_TRUE(IsChannelEmpty(app->radioDocument().image(), 5));
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app->radioDocument().image().bytes, before.bytes);

    // In the user ID box the same keys work on its text and leave the channels alone.
    const RadioImage edited = app->radioDocument().image();
    auto* userId = frame->view()->findChild<QLineEdit*>(QString::number(form::kUserIdBox));
    ASSERT_NE(userId, nullptr);
    userId->setFocus();
    userId->setText(QStringLiteral("K7Q"));
    userId->selectAll();
    QTest::keyClick(userId, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("K7Q"));
    QTest::keyClick(userId, Qt::Key_End);
    QTest::keyClick(userId, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(userId->text(), QStringLiteral("K7QK7Q"));
    QTest::keyClick(userId, Qt::Key_Delete);
    EXPECT_EQ(app->radioDocument().image().bytes, edited.bytes);

    // Set for the chosen channels from the menu: a receive tone with a transmit tone keeps the
    // transmit tone chosen.
    FocusCell(1);
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = dynamic_cast<BulkEditDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        dialog->rxToneList()->setCurrentIndex(3);
        dialog->txToneList()->setCurrentIndex(6);
        dialog->accept();
    });
    frame->commandAction(32801)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(seen, 5000);
    EXPECT_EQ(app->radioDocument().image().bytes[RecordOffset(1) + record::kRxTone], 2);
    EXPECT_EQ(app->radioDocument().image().bytes[RecordOffset(1) + record::kTxTone], 5);
}

// Qt's own words (standard buttons, file dialogs) with no English left in Chinese.
bool HasEnglishWord(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));  // the access key, "(&Y)"
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

TEST_F(ShownWindow, QtsOwnButtonsAndFileDialogFollowTheChosenLanguage) {
    Show("[setup]\nlanguage=english\n");
    const auto buttonTexts = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes |
                               QMessageBox::No | QMessageBox::Save | QMessageBox::Discard |
                               QMessageBox::Close | QMessageBox::Retry);
        QStringList texts;
        for (QAbstractButton* button : box.buttons()) {
            texts.append(button->text());
        }
        return texts;
    };
    EXPECT_TRUE(buttonTexts().contains(QStringLiteral("&Yes")));

    frame->OnCommand(32783);  // Chinese
    for (const QString& text : buttonTexts()) {
        EXPECT_FALSE(HasEnglishWord(text)) << text.toStdString();
    }
    QFileDialog files(frame);
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.show();
    int labels = 0;
    for (const QLabel* label : files.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            ++labels;
            EXPECT_FALSE(HasEnglishWord(label->text())) << label->text().toStdString();
        }
    }
    for (const QPushButton* button : files.findChildren<QPushButton*>()) {
        EXPECT_FALSE(HasEnglishWord(button->text())) << button->text().toStdString();
    }
    EXPECT_GE(labels, 3);  // look in, file name, files of type
    files.hide();

    frame->OnCommand(32784);  // back to English, and Qt's words with it
    EXPECT_TRUE(buttonTexts().contains(QStringLiteral("&Yes")));
}

// The import question's box names what each button does, with Cancel beside them, all in the
// chosen language.
TEST_F(ShownWindow, TheImportQuestionsButtonsSayWhatTheyDoAndCancelIsOneOfThem) {
    Show("[setup]\nlanguage=english\n");
    frame->OnCommand(32783);  // Chinese
    QtUiPrompts real;
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) {
            texts.append(button->text());
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const PromptAnswer answer =
        real.ask(frame, PromptIcon::Question, QStringLiteral("CPS"), QStringLiteral("?"),
                 QStringLiteral("先清空所有信道"), QStringLiteral("保留其他信道"));
    EXPECT_EQ(answer, PromptAnswer::Cancel);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts.contains(QStringLiteral("先清空所有信道")));
    EXPECT_TRUE(texts.contains(QStringLiteral("保留其他信道")));
    for (const QString& text : texts) {
        EXPECT_FALSE(HasEnglishWord(text)) << text.toStdString();
    }
    frame->OnCommand(32784);
}

TEST_F(ShownWindow, AboutTellsTheVersionAndWhereTheSettingsBackupsAndAuditLogAre) {
    Show("[setup]\nlanguage=english\n");
    QString facts;
    QTimer::singleShot(0, [&facts] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        facts = about->findChild<QLabel*>(QStringLiteral("facts"))->text();
        about->close();
    });
    frame->OnCommand(57664);
    const HistoryPlaces places = HistoryPlacesOf(app->settings().layout);
    EXPECT_TRUE(facts.startsWith(QStringLiteral("Halyx "))) << facts.toStdString();
    for (const std::filesystem::path& path :
         {app->settings().settingFile.path(), places.backupFolder, places.auditPath}) {
        EXPECT_TRUE(facts.contains(QString::fromStdString(path.string()))) << path;
    }
}

TEST_F(ShownWindow, PrintPreviewAndPrintAreOnTheFileMenu) {
    Show("[setup]\nlanguage=english\n");
    QMenu* file = frame->menuBar()->actions().at(0)->menu();
    EXPECT_TRUE(file->actions().contains(frame->commandAction(32802)));
    EXPECT_TRUE(file->actions().contains(frame->commandAction(57607)));
    EXPECT_EQ(frame->commandAction(32802)->text(), QStringLiteral("Print pre&view..."));
    prompts.pdfPath = QString::fromStdString((work() / "sheet.pdf").string());
    frame->OnCommand(32802);
    EXPECT_TRUE(std::filesystem::exists(work() / "sheet.pdf"));
}

// In a dark theme whose highlight is light with white text, every kind of cell stays readable.
TEST_F(ShownWindow, ADarkThemeKeepsEveryKindOfCellReadable) {
    QApplication::setPalette(DarkPalette());
    Show("[setup]\nlanguage=english\n");
    TypeReceive(6, QStringLiteral("500"));  // marked
    grid().ChooseRows(8, 9);                // chosen
    grid().SetFocusCell(2, 3);              // focused
    grid().setFocus();
    QApplication::processEvents();
    const QImage drawn = grid().viewport()->grab().toImage();
    const std::vector<std::pair<const char*, CCellID>> cells = {
        {"normal", {1, 1}},       {"focused", {2, 3}}, {"chosen", {8, 1}},
        {"chosen label", {8, 0}}, {"marked", {6, 1}},
    };
    for (const auto& [kind, id] : cells) {
        QRect rect;
        ASSERT_TRUE(grid().GetCellRect(id.row, id.col, rect)) << kind;
        EXPECT_GE(DrawnTextContrast(drawn, rect.adjusted(4, 4, -4, -4)), kReadableContrast) << kind;
    }
    QApplication::setPalette(QPalette());
}

// Not a check: with HALYX_STATUS_SCREENSHOTS=FOLDER saves pictures of the main window with the
// shipped language files after a corrected entry, in English (status-en.png), in Chinese
// (status-zh.png) and in a dark theme with chosen rows (dark-en.png).
TEST_F(ShownWindow, PicturesOfACorrection) {
    const char* folder = std::getenv("HALYX_STATUS_SCREENSHOTS");
    if (folder == nullptr) {
        GTEST_SKIP() << "HALYX_STATUS_SCREENSHOTS names no folder for the pictures";
    }
    const std::filesystem::path data =
        std::filesystem::path(std::getenv("HALYX_SOURCE_DIR")) / "data";
    const auto picture = [&](const char* name, bool chinese, bool dark) {
        QApplication::setPalette(dark ? DarkPalette() : QPalette());
        Show("[setup]\nlanguage=english\n[port]\ncom=1\n");
        RadioImage shipped;
        ASSERT_TRUE(LoadImageFile(data / "default.kda", shipped).ok());
        app->radioDocument().Replace(shipped);
        for (const char* file : {"english.lang", "chinese.lang"}) {
            std::filesystem::copy_file(data / file, home() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        frame->OnCommand(chinese ? 32783 : 32784);
        frame->resize(frame->sizeHint().expandedTo(QSize(1024, 0)));
        TypeReceive(3, QStringLiteral("500"));
        frame->statusPanes().ShowOperation({"read", "success", nullptr, nullptr, 0, std::nullopt},
                                           {(HistoryPlacesOf(app->settings().layout).backupFolder /
                                             "2026-12-09" / "101530-SIM1.kda")
                                                .string(),
                                            "", ""});
        TypeReceive(3, QStringLiteral("500"));
        if (dark) {
            grid().ChooseRows(5, 7);
        }
        QApplication::processEvents();
        frame->grab().save(QString::fromStdString((std::filesystem::path(folder) / name).string()));
        app.reset();
    };
    picture("status-en.png", false, false);
    picture("status-zh.png", true, false);
    picture("dark-en.png", false, true);
    QApplication::setPalette(QPalette());
}

}  // namespace
}  // namespace halyx::test
