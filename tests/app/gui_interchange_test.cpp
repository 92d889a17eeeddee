// The File menu's channel interchange as a user drives it: import with its report, the exports,
// the comparison and printing the channel sheet.
#include <QApplication>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <fstream>

#include "app/dialogs/report_dialog.h"
#include "files/image_file.h"
#include "gui_app_fixture.h"
#include "image/working_copies.h"
#include "support/temp_dir.h"
#include "ui/form/halyx_view.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx::test {
namespace {

struct SeenDialog {
    QString name;
    QString title;
    QStringList rows;
};

// Closes the next modal dialog once it is up, remembering what it listed.
void CloseNextDialog(SeenDialog& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* dialog = dynamic_cast<ReportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen.name = dialog->objectName();
        seen.title = dialog->windowTitle();
        for (int row = 0; row < dialog->table()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < dialog->table()->columnCount(); ++column) {
                cells << dialog->table()->item(row, column)->text();
            }
            seen.rows << cells.join(QStringLiteral(" | "));
        }
        dialog->accept();
    });
}

class InterchangeMenu : public RunningApp {
protected:
    void SetUp() override {
        RunningApp::SetUp();
        StartWith("[setup]\nlanguage=english\n");
        prompts.messages.clear();
    }
    QString PathOf(const char* name) const {
        return QString::fromStdString((work() / name).string());
    }
};

TEST_F(InterchangeMenu, AppendedFileItemsShowBuiltInEnglishWhenTheLanguageFileLacksThem) {
    EXPECT_EQ(frame->commandAction(32786)->text(), QStringLiteral("&Import Channels (CSV)..."));
    EXPECT_EQ(frame->commandAction(32790)->text(), QStringLiteral("Co&mpare with File..."));
}

TEST_F(InterchangeMenu, CancellingTheImportQuestionImportsNothing) {
    std::ofstream(work() / "list.csv") << "Location,Frequency\n2,446.10000\n";
    const RadioImage before = app->radioDocument().image();
    prompts.openPaths = {PathOf("list.csv")};
    prompts.answers = {PromptAnswer::Cancel};
    frame->commandAction(32786)->trigger();
    ASSERT_EQ(prompts.messages.size(), 1u);  // the question, and no report after it
    EXPECT_EQ(app->radioDocument().image().bytes, before.bytes);
    EXPECT_FALSE(app->radioDocument().CanUndo());
}

TEST_F(InterchangeMenu, ImportStoresTheChannelsRefreshesTheGridAndReportsWhatItDid) {
    std::ofstream(work() / "list.csv") << "Location,Frequency,Tone,rToneFreq,Power\n"
                                          "2,446.10000,Tone,88.5,High\n"
                                          "30,446.2,,,\n";
    const int refreshes = frame->view()->refreshCount();
    prompts.openPaths = {PathOf("list.csv")};
    prompts.answers = {PromptAnswer::No};
    SeenDialog report;
    CloseNextDialog(report);
    frame->commandAction(32786)->trigger();

    EXPECT_EQ(frame->view()->refreshCount(), refreshes + 1);
    EXPECT_EQ(frame->view()->grid()->GetItemText(2, 1), QStringLiteral("446.10000"));
    EXPECT_EQ(frame->view()->grid()->GetItemText(2, 4), QStringLiteral("88.5"));
    ASSERT_EQ(prompts.messages.size(), 1u);  // the question whether to empty the channels first
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(report.name, QStringLiteral("ImportReportDialog"));
    ASSERT_EQ(report.rows.size(), 2);
    EXPECT_TRUE(report.rows[0].startsWith(QStringLiteral("2 | Power | not stored")));
    EXPECT_TRUE(report.rows[1].startsWith(QStringLiteral("3 | Location | ")));

    // A file that cannot be read changes nothing and says which line.
    std::ofstream(work() / "bad.csv") << "Location,Frequency\n1,\"446\n";
    const RadioImage before = app->radioDocument().image();
    prompts.openPaths = {PathOf("bad.csv")};
    frame->commandAction(32786)->trigger();
    EXPECT_EQ(app->radioDocument().image().bytes, before.bytes);
    // The first import left unsaved edits: they are asked about (and discarded) first.
    ASSERT_EQ(prompts.messages.size(), 4u);
    EXPECT_EQ(prompts.messages[1].buttons, PromptButtons::SaveDiscardCancel);
    EXPECT_EQ(prompts.messages[3].icon, PromptIcon::Stop);
    EXPECT_TRUE(prompts.messages[3].text.contains(QStringLiteral("line 2")));
}

TEST_F(InterchangeMenu, ExportsCompareAndPrintUseTheChannelSheetAndTheImageBeingEdited) {
    prompts.savePaths = {PathOf("out.csv"), PathOf("sheet.pdf"), PathOf("sheet.html")};
    frame->commandAction(32787)->trigger();
    frame->commandAction(32788)->trigger();
    frame->commandAction(32789)->trigger();
    EXPECT_EQ(testing::ReadText(work() / "out.csv").rfind("Location,Name,Frequency,", 0), 0u);
    EXPECT_EQ(testing::ReadText(work() / "sheet.pdf").rfind("%PDF-", 0), 0u);
    EXPECT_NE(testing::ReadText(work() / "sheet.html").find("<h1>Channel Sheet</h1>"),
              std::string::npos);

    RadioImage other = app->radioDocument().image();
    other.bytes[header::kSquelchLevel] = 9;
    WriteFile(work() / "other.kda", {other.bytes.begin(), other.bytes.begin() + other.length});
    prompts.openPaths = {PathOf("other.kda")};
    SeenDialog compare;
    CloseNextDialog(compare);
    frame->commandAction(32790)->trigger();
    EXPECT_EQ(compare.name, QStringLiteral("CompareDialog"));
    ASSERT_EQ(compare.rows.size(), 1);
    EXPECT_EQ(compare.rows[0],
              English("S0105") + QStringLiteral(": ") +
                  QString::number(app->radioDocument().image().bytes[header::kSquelchLevel]) +
                  QStringLiteral(" -> 9"));
    EXPECT_TRUE(prompts.messages.empty());
}

// With the shipped Chinese file every line of the import report and of the comparison is built
// from its texts: the only ASCII letters left are the file's own values.
TEST_F(InterchangeMenu, InChineseEveryImportAndCompareLineComesFromTheChineseFile) {
    const std::filesystem::path data =
        std::filesystem::path(std::getenv("HALYX_SOURCE_DIR")) / "data";
    for (const char* file : {"english.lang", "chinese.lang"}) {
        std::filesystem::copy_file(data / file, home() / file,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    RadioImage shipped;
    ASSERT_TRUE(LoadImageFile(data / "default.kda", shipped).ok());
    app->radioDocument().Replace(shipped);
    frame->OnCommand(32783);  // Chinese

    // One row for each thing the import can say, then a hundred rows past the note limit.
    std::ofstream csv(work() / "notes.csv");
    csv << "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
           "RxDtcsCode,CrossMode,Mode\n"
           "1,Base,446.1,,,,,,,,,,\n"
           "2,,abc,,,,,,,,,,\n"
           "3,,500,,,,,,,,,,\n"
           "4,,446.103,,,,,,,,,,\n"
           "5,,446.1,,,Tone,89.0,,,,,,\n"
           "6,,446.1,,,DTCS,,,023,RN,,,\n"
           "7,,446.1,,,DTCS,,,999,NN,,,\n"
           "8,,446.1,,,Cross,,,,,,Bogus,\n"
           "9,,446.1,,,Weird,,,,,,,\n"
           "10,,446.1,off,,,,,,,,,\n"
           "11,,446.1,?,,,,,,,,,\n"
           "12,,446.1,,,,,,,,,,AM\n"
           "1,,446.2,,,,,,,,,,\n";
    for (int row = 0; row < 100; ++row) {
        csv << "99,,446.1,,,,,,,,,,\n";
    }
    csv.close();
    prompts.openPaths = {PathOf("notes.csv")};
    prompts.answers = {PromptAnswer::No};
    SeenDialog report;
    CloseNextDialog(report);
    frame->commandAction(32786)->trigger();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].yesText, QStringLiteral("先清空所有信道"));

    const auto chinese = [this](const char* key) {
        return QString::fromStdString(app->settings().language.textOr(key, ""));
    };
    // The letters a line may still hold: the file's values, and the modes the radio takes.
    const QStringList values = {QStringLiteral("NFM"),   QStringLiteral("FM"),
                                QStringLiteral("abc"),   QStringLiteral("RN"),
                                QStringLiteral("Bogus"), QStringLiteral("Weird"),
                                QStringLiteral("off"),   QStringLiteral("AM")};
    const QRegularExpression letters(QStringLiteral("[A-Za-z]"));
    const QRegularExpression han(QStringLiteral("\\p{Han}"));
    ASSERT_EQ(report.rows.size(), 101);
    QString all;
    for (const QString& row : report.rows) {
        QString words = row.section(QStringLiteral(" | "), 2);
        all += words + QLatin1Char('\n');
        EXPECT_TRUE(words.contains(han)) << row.toStdString();
        for (const QString& value : values) {
            words.remove(value);
        }
        EXPECT_FALSE(words.contains(letters)) << row.toStdString();
    }
    // Every kind of note was said, each in the Chinese file's own words.
    for (int number = 379; number <= 389; ++number) {
        const QString key = QStringLiteral("S0%1").arg(number);
        QString longest;
        for (const QString& piece : chinese(key.toLatin1().constData())
                                        .split(QRegularExpression(QStringLiteral("%\\d")))) {
            longest = piece.size() > longest.size() ? piece : longest;
        }
        ASSERT_GE(longest.size(), 2) << key.toStdString();
        EXPECT_TRUE(all.contains(longest)) << key.toStdString() << " " << longest.toStdString();
    }
    EXPECT_TRUE(report.rows[1].contains(QStringLiteral("“abc”"))) << "the value itself, as typed";
    EXPECT_TRUE(report.rows.back().startsWith(QStringLiteral("102 |  | ")));

    // The comparison shows labels and values as the panel and the grid show them in Chinese.
    RadioImage other = app->radioDocument().image();
    other.bytes[header::kSquelchLevel] ^= 1;
    other.bytes[header::kLanguage] ^= 1;
    other.bytes[RecordOffset(2) + record::kRxTone] = 5;
    other.bytes[header::kSerialNumber - 1] ^= 0xff;  // a byte no field accounts for
    WriteFile(work() / "other.kda", {other.bytes.begin(), other.bytes.begin() + other.length});
    prompts.openPaths = {PathOf("other.kda")};
    SeenDialog compare;
    CloseNextDialog(compare);
    frame->commandAction(32790)->trigger();
    ASSERT_EQ(compare.rows.size(), 4) << compare.rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(compare.rows.join(QLatin1Char('\n')).contains(chinese("S0112")))
        << "the radio's language named in the chosen one";
    for (QString row : compare.rows) {
        EXPECT_TRUE(row.contains(han)) << row.toStdString();
        // Values: the channel's label, byte positions and bytes in hexadecimal.
        row.remove(QRegularExpression(QStringLiteral("CH\\d\\d|0x[0-9A-F]+|\\b[0-9a-f]{2}\\b")));
        EXPECT_FALSE(row.contains(letters)) << row.toStdString();
    }
}

}  // namespace
}  // namespace halyx::test
