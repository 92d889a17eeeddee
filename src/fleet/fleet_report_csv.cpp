#include "fleet/fleet_report_csv.h"

#include <array>
#include <string_view>
#include <utility>

#include "interchange/csv_table.h"

namespace halyx {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::array<const char*, 15> kHeader{
    "port",        "device",  "serialBefore", "serialAfter", "userIdBefore",
    "userIdAfter", "result",  "message",      "openMs",      "readMs",
    "backupMs",    "writeMs", "verifyMs",     "durationMs",  "backup"};

// A spreadsheet runs a text that starts with =, +, - or @ as a formula; a quote keeps it text.
std::string NotAFormula(std::string text) {
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos) {
        text.insert(text.begin(), '\'');
    }
    return text;
}

// A radio's text fields hold whatever bytes it sent.
std::string RadioText(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        printable += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    return NotAFormula(std::move(printable));
}

}  // namespace

std::string FleetReportCsv(const std::vector<FleetRadioReport>& radios) {
    std::string csv(kByteOrderMark);
    csv += CsvLine(std::vector<std::string>(kHeader.begin(), kHeader.end()));
    for (const FleetRadioReport& r : radios) {
        // Paths and port names are the computer's own, in any language: kept as they are.
        csv +=
            CsvLine({NotAFormula(r.portName), NotAFormula(r.devicePath), RadioText(r.serialBefore),
                     RadioText(r.serialAfter), RadioText(r.userIdBefore), RadioText(r.userIdAfter),
                     std::string(FleetResultName(r.result)), NotAFormula(r.message),
                     std::to_string(r.times.open), std::to_string(r.times.read),
                     std::to_string(r.times.backup), std::to_string(r.times.write),
                     std::to_string(r.times.verify), std::to_string(r.durationMs),
                     NotAFormula(r.backupPath)});
    }
    return csv;
}

std::filesystem::path FleetReportCsvPath(const std::filesystem::path& jsonReport) {
    std::filesystem::path csv = jsonReport;
    csv.replace_extension(".csv");
    return csv;
}

}  // namespace halyx
