// halyx-cli log: what was done to radios, from the audit log every radio operation appends to.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "files/raw_file.h"
#include "history/history_places.h"
#include "image/visible_text.h"

namespace halyx::cli {
namespace {

// Years of a busy fleet station are well under this; anything larger is not our log.
constexpr std::uintmax_t kMaxLogBytes = 256u << 20;

struct LogOptions {
    std::string since;
    bool json = false;
};

bool Digits(const std::string& text, std::size_t at, std::size_t count) {
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

int Number(const std::string& text, std::size_t at, std::size_t count) {
    return std::stoi(text.substr(at, count));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Whether the digits name a day the calendar has and a time the clock shows: a date that names
// none would silently select everything or nothing.
bool IsRealTime(const std::string& text) {
    static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = Number(text, 0, 4);
    const int month = Number(text, 5, 2);
    const int day = Number(text, 8, 2);
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    const int days = kDaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    if (day > days) {
        return false;
    }
    if (text.size() >= 16 && (Number(text, 11, 2) > 23 || Number(text, 14, 2) > 59)) {
        return false;
    }
    return text.size() < 19 || Number(text, 17, 2) <= 59;
}

// YYYY-MM-DD, optionally followed by THH:MM or THH:MM:SS (UTC, as the log's times are). Such
// texts order as the times they name, so comparing them with the log's times needs no clock.
bool IsSinceText(const std::string& text) {
    const bool day = text.size() >= 10 && Digits(text, 0, 4) && text[4] == '-' &&
                     Digits(text, 5, 2) && text[7] == '-' && Digits(text, 8, 2);
    bool form = day && text.size() == 10;
    if (day && text.size() > 10) {
        const bool minutes = text.size() >= 16 && (text[10] == 'T' || text[10] == ' ') &&
                             Digits(text, 11, 2) && text[13] == ':' && Digits(text, 14, 2);
        form = minutes &&
               (text.size() == 16 || (text.size() == 19 && text[16] == ':' && Digits(text, 17, 2)));
    }
    return form && IsRealTime(text);
}

std::string Field(const nlohmann::json& entry, const char* name) {
    const auto found = entry.find(name);
    if (found == entry.end() || found->is_null()) {
        return "-";
    }
    return found->is_string() ? found->get<std::string>() : found->dump();
}

void PrintRow(const std::vector<std::string>& cells) {
    static constexpr int kWidths[] = {20, 10, 13, 14, 11, 18, 8};
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        std::string cell = cells[i];
        if (i < std::size(kWidths)) {
            cell.resize(std::max<std::size_t>(cell.size() + 1, kWidths[i]), ' ');
        }
        line += cell;
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    PrintOut(line + "\n");
}

int RunLog(const LogOptions& options) {
    std::string since = options.since;
    if (!since.empty() && !IsSinceText(since)) {
        PrintError("--since: '" + since + "' is not a date; use YYYY-MM-DD or YYYY-MM-DDTHH:MM");
        return kUsage;
    }
    if (since.size() > 10) {
        since[10] = 'T';
    }
    const HistoryPlaces places = ResolveHistoryPlaces(CurrentFileLayout());
    std::error_code error;
    if (!places.known() || !std::filesystem::exists(places.auditPath, error)) {
        std::cerr << "halyx-cli: no radio operation has been recorded yet\n";
        return kDone;
    }
    const ReadResult read = ReadSmallFile(places.auditPath, kMaxLogBytes);
    if (!read.result.ok()) {
        PrintError(FileErrorTextEnglish(read.result));
        return kFileError;
    }
    const std::string text(read.bytes.begin(), read.bytes.end());
    if (!options.json) {
        PrintRow(
            {"time (UTC)", "program", "operation", "port", "serial", "result", "ms", "backup"});
    }
    std::size_t damaged = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        // A line cut short by a crash spoils only itself.
        const nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
        if (entry.is_discarded() || !entry.is_object()) {
            ++damaged;
            continue;
        }
        const std::string time = Field(entry, "time");
        if (!since.empty() && time < since) {
            continue;
        }
        if (options.json) {
            // A line parsed as JSON may still hold a carriage return between its tokens, or a
            // C1 control character in a text: such a line is written anew, members in their
            // order, every character past ASCII escaped.
            const bool plain = VisibleText(line) == line;
            std::cout << (plain ? line : nlohmann::ordered_json::parse(line).dump(-1, ' ', true))
                      << "\n";
            continue;
        }
        std::string shown = time.substr(0, 19);
        if (shown.size() > 10) {
            shown[10] = ' ';
        }
        PrintRow({shown, Field(entry, "program"), Field(entry, "operation"), Field(entry, "port"),
                  Field(entry, "serialNumber"), Field(entry, "result"), Field(entry, "durationMs"),
                  Field(entry, "backup")});
    }
    if (damaged > 0) {
        PrintError(std::to_string(damaged) + " damaged line(s) of " + places.auditPath.string() +
                   " skipped");
    }
    return kDone;
}

}  // namespace

void AddLogCommand(CLI::App& app, CommandContext& context) {
    static LogOptions options;
    CLI::App* log = app.add_subcommand(
        "log", "what was done to radios: every read, write, fleet run and tuning, oldest first");
    log->add_option("--since", options.since, "only from this UTC date or time on (YYYY-MM-DD)");
    log->add_flag("--json", options.json, "the log's own lines, one JSON object each");
    log->callback([&context] { context.status = RunLog(options); });
}

}  // namespace halyx::cli
