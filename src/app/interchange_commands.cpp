#include "app/interchange_commands.h"

#include <QDate>
#include <QLocale>
#include <QPrinter>
#include <filesystem>

#include "app/dialogs/report_dialog.h"
#include "app/file_commands.h"
#include "app/report_texts.h"
#include "editing/radio_document.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "interchange/channel_sheet.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"
#include "interchange/difference_text.h"
#include "interchange/sheet_render.h"
#include "ui/common/file_paths.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

constexpr std::uintmax_t kCsvSizeLimit = 16 * 1024 * 1024;

// The import question's buttons.
namespace import_text {
constexpr TextKey kEmptyFirst{"S0368", "Empty all channels first"};
constexpr TextKey kKeepOthers{"S0369", "Keep the other channels"};
}  // namespace import_text

const FileDialogSpec kCsvDialog{QStringLiteral("CSV File(*.csv)"), QStringLiteral("*.csv;"),
                                QStringLiteral("channels"), QStringLiteral("csv")};
const FileDialogSpec kPdfDialog{QStringLiteral("PDF File(*.pdf)"), QStringLiteral("*.pdf;"),
                                QStringLiteral("channels"), QStringLiteral("pdf")};
const FileDialogSpec kHtmlDialog{QStringLiteral("HTML File(*.html)"), QStringLiteral("*.html;"),
                                 QStringLiteral("channels"), QStringLiteral("html")};

// US and Canadian users print on Letter, everyone else on A4.
QPageSize::PageSizeId LocalPageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4;
}

}  // namespace

InterchangeCommands::InterchangeCommands(RadioDocument& document, const TextSource& texts,
                                         UiPrompts& prompts, QWidget* window,
                                         std::function<void()> refreshView)
    : document_(document),
      texts_(texts),
      prompts_(prompts),
      window_(window),
      refreshView_(std::move(refreshView)) {}

TextOrLookup InterchangeCommands::Texts() const {
    return [this](const TextKey& key) { return texts_.textOr(key.key, key.english); };
}

QString InterchangeCommands::Text(const TextKey& key) const {
    return QString::fromStdString(texts_.textOr(key.key, key.english));
}

std::string InterchangeCommands::SheetHtml() const {
    return ChannelSheetHtml(
        document_.image(),
        {document_.fileName(), QDate::currentDate().toString(Qt::ISODate).toStdString()}, Texts());
}

void InterchangeCommands::ImportCsv() {
    const std::optional<QString> path = prompts_.openFile(window_, kCsvDialog);
    if (!path) {
        return;
    }
    ReadResult read = ReadSmallFile(ToPath(*path), kCsvSizeLimit);
    if (!read.result.ok()) {
        read.result.path = path->toStdString();
        FileCommands::ReportFileError(prompts_, window_, read.result);
        return;
    }
    // The buttons say what each answer does; Cancel imports nothing.
    const PromptAnswer answer = prompts_.ask(
        window_, PromptIcon::Question, QString::fromUtf8(captions::kCps),
        Text(text::kClearQuestion), Text(import_text::kEmptyFirst), Text(import_text::kKeepOthers));
    if (answer == PromptAnswer::Cancel) {
        return;
    }
    const bool clear = answer == PromptAnswer::Yes;
    const CsvImport imported = ImportChannelsCsv(
        document_.image(),
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
        {.clearFirst = clear});
    if (imported.error) {
        prompts_.inform(window_, PromptIcon::Stop, QString::fromUtf8(captions::kFileError),
                        *path + QStringLiteral(": line %1: %2")
                                    .arg(imported.error->line)
                                    .arg(QString::fromStdString(imported.error->what)));
        return;
    }
    // The whole import lands as one undo step.
    document_.Edit([&imported](RadioImage& image) { image = imported.image; });
    refreshView_();
    std::vector<QStringList> rows;
    for (const ImportNote& note : imported.notes) {
        rows.push_back({QString::number(note.line), QString::fromStdString(note.column),
                        ImportNoteText(note, Texts())});
    }
    ReportDialog report(
        Text(text::kImportReportTitle),
        QString::fromStdString(
            FillIn(Texts()(text::kImportDone), std::to_string(imported.channels.size()))),
        {Text(text::kReportLine), Text(text::kReportColumn), Text(text::kReportAction)}, rows,
        window_);
    report.setObjectName(QStringLiteral("ImportReportDialog"));
    report.exec();
}

void InterchangeCommands::ExportCsv() {
    const std::optional<QString> path = prompts_.saveFile(window_, kCsvDialog);
    if (!path) {
        return;
    }
    FileResult result = WriteFileAtomically(ToPath(*path), ExportChannelsCsv(document_.image()));
    if (!result.ok()) {
        result.path = path->toStdString();
        FileCommands::ReportFileError(prompts_, window_, result);
    }
}

void InterchangeCommands::ExportPdf() {
    const std::optional<QString> path = prompts_.saveFile(window_, kPdfDialog);
    if (!path) {
        return;
    }
    FileResult result =
        WriteSheetPdf(QString::fromStdString(SheetHtml()), ToPath(*path), LocalPageSize());
    if (!result.ok()) {
        result.path = path->toStdString();
        FileCommands::ReportFileError(prompts_, window_, result);
    }
}

void InterchangeCommands::ExportHtml() {
    const std::optional<QString> path = prompts_.saveFile(window_, kHtmlDialog);
    if (!path) {
        return;
    }
    FileResult result = WriteFileAtomically(ToPath(*path), SheetHtml());
    if (!result.ok()) {
        result.path = path->toStdString();
        FileCommands::ReportFileError(prompts_, window_, result);
    }
}

void InterchangeCommands::CompareWithFile() {
    const std::optional<QString> path = prompts_.openFile(window_, ImageFileDialog());
    if (!path) {
        return;
    }
    RadioImage other;
    FileResult loaded = LoadImageFile(ToPath(*path), other);
    if (!loaded.ok()) {
        loaded.path = path->toStdString();
        FileCommands::ReportFileError(prompts_, window_, loaded);
        return;
    }
    std::vector<QStringList> rows;
    for (const std::string& line : ShownDifferenceLines(document_.image(), other, Texts())) {
        rows.push_back({QString::fromStdString(line)});
    }
    ReportDialog dialog(
        Text(text::kCompareTitle),
        QString::fromStdString(document_.fileName()) + QStringLiteral(" -> ") + *path,
        {Text(text::kCompareTitle)}, rows, window_);
    dialog.setObjectName(QStringLiteral("CompareDialog"));
    dialog.exec();
}

void InterchangeCommands::Print() {
    QPrinter printer;
    printer.setPageSize(QPageSize(LocalPageSize()));
    const QString html = QString::fromStdString(SheetHtml());
    prompts_.previewAndPrint(window_, printer,
                             [&html](QPrinter& target) { PaintSheet(html, target); });
}

void InterchangeCommands::PrintWithoutPreview() {
    QPrinter printer;
    printer.setPageSize(QPageSize(LocalPageSize()));
    if (prompts_.choosePrinter(window_, printer)) {
        PaintSheet(QString::fromStdString(SheetHtml()), printer);
    }
}

}  // namespace halyx
