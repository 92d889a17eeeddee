// The File menu's channel interchange as a user drives it: import with its report, the exports,
// the comparison and printing the channel sheet.
#include <QApplication>
#include <QMenuBar>
#include <QTableWidget>
#include <QTimer>
#include <fstream>

#include "app/dialogs/report_dialog.h"
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
    const RadioImage before = context->document.image();
    prompts.openPaths = {PathOf("list.csv")};
    prompts.answers = {PromptAnswer::Cancel};
    frame->commandAction(32786)->trigger();
    ASSERT_EQ(prompts.messages.size(), 1u);  // the question, and no report after it
    EXPECT_EQ(context->document.image().bytes, before.bytes);
    EXPECT_FALSE(context->document.CanUndo());
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
    const RadioImage before = context->document.image();
    prompts.openPaths = {PathOf("bad.csv")};
    frame->commandAction(32786)->trigger();
    EXPECT_EQ(context->document.image().bytes, before.bytes);
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

    RadioImage other = context->document.image();
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
                  QString::number(context->document.image().bytes[header::kSquelchLevel]) +
                  QStringLiteral(" -> 9"));
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace halyx::test
