#pragma once

#include <QString>
#include <functional>

#include "interchange/interchange_texts.h"

class QWidget;

namespace halyx {

class RadioDocument;
class TextSource;
class UiPrompts;

// The File menu's channel interchange: CSV import and export, the channel sheet as PDF and
// HTML and on paper, and the comparison with another image file.
class InterchangeCommands {
public:
    InterchangeCommands(RadioDocument& document, const TextSource& texts, UiPrompts& prompts,
                        QWidget* window, std::function<void()> refreshView);

    // Picks a CSV file, asks whether to empty the channels first, stores the file's channels
    // as one change of the image, refreshes the view and shows the report.
    void ImportCsv();
    void ExportCsv();
    void ExportPdf();
    void ExportHtml();
    // Picks an image file and lists what differs from the image being edited.
    void CompareWithFile();
    // Print preview: the channel sheet in a print preview, from which it is printed.
    void Print();
    // Print and Ctrl+P: the print dialog, then the channel sheet to the printer chosen.
    void PrintWithoutPreview();

private:
    std::string SheetHtml() const;
    TextOrLookup Texts() const;
    QString Text(const TextKey& key) const;

    RadioDocument& document_;
    const TextSource& texts_;
    UiPrompts& prompts_;
    QWidget* window_;
    std::function<void()> refreshView_;
};

}  // namespace halyx
