// The row menu and channel interchange on the page: row operations, CSV, compare and the
// channel sheet, each through the core function the desktop's commands use.
#include <emscripten/bind.h>

#include <string>

#include "editing/channel_rows.h"
#include "image/working_copies.h"
#include "interchange/channel_sheet.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"
#include "interchange/difference_text.h"
#include "interchange/image_compare.h"
#include "web/core/bindings.h"
#include "web/core/js_values.h"
#include "web/core/web_session.h"

namespace halyx::web {
namespace {

using emscripten::val;

// Row menu. Every operation is one undo step and leaves the image alone when it refuses.
bool RowCommand(WebSession& s, const std::string& command, int first, int last) {
    const ChannelRange range{first, last};
    if (!range.IsValid()) {
        return false;
    }
    if (command == "copy") {
        s.clipboard() = CopyChannels(s.image(), range);
        return true;
    }
    bool done = false;
    s.Edit([&](RadioImage& image) {
        if (command == "cut") {
            s.clipboard() = CopyChannels(image, range);
            ClearChannels(image, range);
            done = true;
        } else if (command == "clear") {
            ClearChannels(image, range);
            done = true;
        } else if (command == "paste") {
            done = PasteChannels(image, first, s.clipboard(), PasteForm::WholeRecords).IsValid();
        } else if (command == "moveUp") {
            done = MoveChannelsUp(image, range);
        } else if (command == "moveDown") {
            done = MoveChannelsDown(image, range);
        } else if (command == "insert") {
            done = InsertEmptyChannel(image, first) == InsertResult::Inserted;
        } else if (command == "delete") {
            done = DeleteChannels(image, range);
        }
    });
    return done;
}

bool ClipboardHasRows(WebSession& s) {
    return !s.clipboard().empty();
}

bool LastChannelInUse(const WebSession& s) {
    return !IsChannelEmpty(s.image(), kChannelCount);
}

std::string ExportCsv(const WebSession& s) {
    return ExportChannelsCsv(s.image());
}

val ImportCsv(WebSession& s, const std::string& text, bool clearFirst) {
    const CsvImport result = ImportChannelsCsv(s.image(), text, {.clearFirst = clearFirst});
    val report = val::object();
    if (result.error) {
        report.set("error",
                   "line " + std::to_string(result.error->line) + ": " + result.error->what);
        return report;
    }
    s.Edit([&](RadioImage& image) { image = result.image; });
    report.set("imported", static_cast<int>(result.channels.size()));
    val notes = val::array();
    for (const ImportNote& note : result.notes) {
        val n = val::object();
        n.set("line", note.line);
        n.set("column", note.column);
        n.set("message", note.message);
        notes.call<void>("push", n);
    }
    report.set("notes", notes);
    return report;
}

// The differences between the document and an image file, one readable line each.
val CompareWith(const WebSession& s, const val& bytes, const std::string& name) {
    RadioImage other;
    val result = val::object();
    const std::string message = s.LoadOther(BytesFrom(bytes), name, other);
    if (!message.empty()) {
        result.set("error", message);
        return result;
    }
    result.set("lines", ToStringArray(DifferenceLines(CompareImages(s.image(), other), s.Texts())));
    return result;
}

std::string SheetHtml(const WebSession& s, const std::string& fileName, const std::string& date) {
    return ChannelSheetHtml(s.image(), {fileName, date}, s.Texts());
}

}  // namespace

void AddRowAndInterchangeFunctions(emscripten::class_<WebSession>& session) {
    session.function("rowCommand", &RowCommand)
        .function("clipboardHasRows", &ClipboardHasRows)
        .function("lastChannelInUse", &LastChannelInUse)
        .function("exportCsv", &ExportCsv)
        .function("importCsv", &ImportCsv)
        .function("compareWith", &CompareWith)
        .function("sheetHtml", &SheetHtml);
}

}  // namespace halyx::web
