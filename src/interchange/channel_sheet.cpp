#include "interchange/channel_sheet.h"

#include "image/working_copies.h"
#include "interchange/image_texts.h"

namespace halyx {
namespace {

// Qt's rich-text engine understands this much CSS, and browsers render it the same way.
constexpr std::string_view kStyle =
    "body{font-family:'DejaVu Sans','WenQuanYi Micro Hei',sans-serif;font-size:10pt}"
    "h1{font-size:16pt;margin:0 0 4pt 0}"
    "table{border-collapse:collapse;margin-top:8pt}"
    "th,td{border:1px solid #777;padding:3px 5px;text-align:left;white-space:nowrap}"
    "th{background-color:#e4e4e4}"
    "p.meta{margin:0}";

std::string Cell(std::string_view tag, std::string_view text) {
    return "<" + std::string(tag) + ">" + EscapeHtml(text) + "</" + std::string(tag) + ">";
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string ChannelSheetHtml(const RadioImage& image, const SheetSource& source,
                             const TextOrLookup& texts) {
    const std::vector<LabeledValue> settings = SettingLines(image, texts);
    std::string serial;
    for (const LabeledValue& line : settings) {
        if (line.name == "serialNumber") {
            serial = line.value;
        }
    }
    const std::string title = texts(text::kSheetTitle);
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                       EscapeHtml(title) + "</title><style>" + std::string(kStyle) +
                       "</style></head><body>\n";
    html += Cell("h1", title) + "\n";
    html += "<p class=\"meta\">" + EscapeHtml(texts(text::kFileLabel)) + ": " +
            EscapeHtml(source.fileName) + " &nbsp; " + EscapeHtml(texts(text::kDateLabel)) + ": " +
            EscapeHtml(source.date) + " &nbsp; " + EscapeHtml(texts(text::kSerialNumber)) + ": " +
            EscapeHtml(serial) + "</p>\n";

    // Settings as label/value pairs, three pairs to a row, so the sheet keeps to one page.
    constexpr std::size_t kPairsPerRow = 3;
    html += "<table width=\"100%\">\n";
    for (std::size_t i = 0; i < settings.size(); i += kPairsPerRow) {
        html += "<tr>";
        for (std::size_t j = i; j < i + kPairsPerRow && j < settings.size(); ++j) {
            html += Cell("th", settings[j].label) + Cell("td", settings[j].value);
        }
        html += "</tr>\n";
    }
    html += "</table>\n<table width=\"100%\">\n<tr>";
    for (const std::string& heading : ChannelHeadings(texts)) {
        html += Cell("th", heading);
    }
    html += "</tr>\n";
    for (const ChannelCells& row : ChannelRows(image, texts)) {
        html += "<tr>";
        for (const std::string& cell : row) {
            html += Cell("td", cell);
        }
        html += "</tr>\n";
    }
    html += "</table>\n</body></html>\n";
    return html;
}

}  // namespace halyx
