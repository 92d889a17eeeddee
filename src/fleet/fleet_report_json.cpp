#include "fleet/fleet_report_json.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "image/visible_text.h"

namespace halyx {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kIndent = 2;

// Paths, port names and what radios hold, made valid UTF-8 by the one rule every JSON output of
// Halyx follows, so a radio's raw bytes survive into the report instead of becoming U+FFFD.
Json Text(const std::string& text) {
    return Json(JsonSafeText(text));
}

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Text(text);
}

Json Entry(const FleetRadioReport& r) {
    Json entry;
    entry["port"] = Text(r.portName);
    entry["device"] = Text(r.devicePath);
    entry["serialBefore"] = TextOrNull(r.serialBefore);
    entry["serialAfter"] = TextOrNull(r.serialAfter);
    entry["userIdBefore"] = TextOrNull(r.userIdBefore);
    entry["userIdAfter"] = TextOrNull(r.userIdAfter);
    entry["result"] = std::string(FleetResultName(r.result));
    entry["message"] = TextOrNull(r.message);
    entry["timesMs"] = Json{{"open", r.times.open},
                            {"read", r.times.read},
                            {"backup", r.times.backup},
                            {"write", r.times.write},
                            {"verify", r.times.verify}};
    entry["durationMs"] = r.durationMs;
    entry["backup"] = TextOrNull(r.backupPath);
    return entry;
}

std::size_t Succeeded(const std::vector<FleetRadioReport>& radios) {
    return static_cast<std::size_t>(std::count_if(radios.begin(), radios.end(), [](const auto& r) {
        return r.result == FleetResult::Success;
    }));
}

std::string Seconds(std::int64_t ms) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.resize(width, ' ');
    }
    return text;
}

std::string Change(const std::string& before, const std::string& after) {
    // Nothing written, or written unchanged: one value says it all.
    if (after.empty() || after == before) {
        return before.empty() ? "-" : before;
    }
    return (before.empty() ? "-" : before) + " -> " + after;
}

}  // namespace

std::string FleetReportJson(const FleetRunInfo& info, const std::vector<FleetRadioReport>& radios) {
    Json report;
    report["program"] = Text(info.program);
    report["operation"] = Text(info.operation);
    report["image"] = TextOrNull(info.imagePath);
    report["overrides"] = TextOrNull(info.overridesPath);
    report["succeeded"] = Succeeded(radios);
    report["failed"] = radios.size() - Succeeded(radios);
    Json entries = Json::array();
    for (const FleetRadioReport& radio : radios) {
        entries.push_back(Entry(radio));
    }
    report["radios"] = std::move(entries);
    // Every text went through Text(), so the library never meets bytes that are not UTF-8.
    return report.dump(kIndent, ' ', false) + "\n";
}

std::string FleetReportTable(const std::vector<FleetRadioReport>& radios) {
    const std::vector<std::string> headings = {"Port", "Serial", "User ID", "Result", "Time"};
    std::vector<std::vector<std::string>> rows = {headings};
    for (const FleetRadioReport& r : radios) {
        // A radio's identity and a port's name go to a terminal: no byte of them may drive it.
        rows.push_back({VisibleText(r.portName), VisibleText(Change(r.serialBefore, r.serialAfter)),
                        VisibleText(Change(r.userIdBefore, r.userIdAfter)),
                        std::string(FleetResultName(r.result)), Seconds(r.durationMs) + " s"});
    }
    std::vector<std::size_t> widths(headings.size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    std::string table;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string line;
        for (std::size_t c = 0; c < rows[i].size(); ++c) {
            line += Padded(rows[i][c], c + 1 < rows[i].size() ? widths[c] + 2 : 0);
        }
        // The message and the backup go on the radio's line after the columns.
        if (i > 0) {
            const FleetRadioReport& r = radios[i - 1];
            if (!r.message.empty()) {
                line += "  " + VisibleText(r.message);
            }
            if (!r.backupPath.empty()) {
                line += "  backup: " + VisibleText(r.backupPath);
            }
        }
        table += line + "\n";
    }
    table += std::to_string(Succeeded(radios)) + " of " + std::to_string(radios.size()) +
             " radios succeeded\n";
    return table;
}

}  // namespace halyx
