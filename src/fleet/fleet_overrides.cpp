#include "fleet/fleet_overrides.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "image/header_values.h"
#include "image/visible_text.h"
#include "interchange/csv_table.h"

namespace halyx {
namespace {

enum class Column { Key, SerialNumber, UserId, Squelch, TimeOut, Vox, Power };

struct ColumnName {
    std::string_view name;
    Column column;
};

constexpr std::array<ColumnName, 6> kValueColumns = {{
    {"serialNumber", Column::SerialNumber},
    {"userId", Column::UserId},
    {"squelch", Column::Squelch},
    {"tot", Column::TimeOut},
    {"vox", Column::Vox},
    {"power", Column::Power},
}};

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// Header names are matched without regard to case or surrounding spaces, as spreadsheets
// are loose about both; values are taken exactly as `halyx-cli set` takes them.
std::optional<Column> ColumnNamed(std::string_view header, std::optional<OverridesKey>& key) {
    const std::string name = LowerAscii(Trimmed(header));
    if (name == "port" || name == "radio") {
        key = name == "port" ? OverridesKey::Port : OverridesKey::Radio;
        return Column::Key;
    }
    for (const ColumnName& known : kValueColumns) {
        if (name == LowerAscii(known.name)) {
            return known.column;
        }
    }
    return std::nullopt;
}

std::string_view NameOf(Column column) {
    for (const ColumnName& known : kValueColumns) {
        if (known.column == column) {
            return known.name;
        }
    }
    return "key";
}

std::string Refusal(Column column, const std::string& value, std::string_view allowed) {
    return std::string(NameOf(column)) + ": '" + VisibleText(value) + "' is not allowed; use " +
           std::string(allowed);
}

// Stores one cell's value; the refusal text when the value is not allowed.
std::optional<std::string> PutValue(Column column, const std::string& value,
                                    RadioOverrides& overrides) {
    const auto number = [&](std::optional<std::uint8_t>& field, std::optional<std::uint8_t> parsed,
                            std::string_view allowed) -> std::optional<std::string> {
        if (!parsed) {
            return Refusal(column, value, allowed);
        }
        field = parsed;
        return std::nullopt;
    };
    switch (column) {
        case Column::SerialNumber:
            if (!IsSerialNumberValue(value)) {
                return Refusal(column, value, SerialNumberAllowed());
            }
            overrides.serialNumber = value;
            return std::nullopt;
        case Column::UserId: {
            // The settings' own setter judges it, as it will when the value is written.
            CommonSettings scratch(HeaderBytes{});
            if (const SetResult set = scratch.SetUserId(value); !set) {
                return Refusal(column, value, set.allowed);
            }
            overrides.userId = value;
            return std::nullopt;
        }
        case Column::Squelch:
            return number(overrides.squelchLevel, ParseSquelchValue(value), kSquelchAllowed);
        case Column::TimeOut:
            return number(overrides.timeOut, ParseTimeOutValue(value), kTimeOutAllowed);
        case Column::Vox:
            return number(overrides.voxLevel, ParseVoxValue(value), kVoxAllowed);
        case Column::Power:
            return number(overrides.txPower, ParsePowerValue(value), kPowerAllowed);
        case Column::Key:
            break;
    }
    return std::nullopt;
}

struct Header {
    std::optional<OverridesKey> key;
    std::vector<Column> columns;
};

Header ReadHeader(const CsvRow& row, std::vector<OverridesProblem>& problems) {
    Header header;
    std::optional<OverridesKey> key;
    for (const std::string& field : row.fields) {
        const auto column = ColumnNamed(field, key);
        if (!column) {
            problems.push_back({row.line, "unknown column '" + VisibleText(field) +
                                              "'; use port or radio, and serialNumber, userId, "
                                              "squelch, tot, vox, power"});
            continue;
        }
        const bool twice = std::find(header.columns.begin(), header.columns.end(), *column) !=
                           header.columns.end();
        if (twice) {
            problems.push_back(
                {row.line, *column == Column::Key
                               ? std::string("more than one key column")
                               : "column '" + VisibleText(Trimmed(field)) + "' appears twice"});
            continue;
        }
        header.columns.push_back(*column);
        if (*column == Column::Key) {
            header.key = key;
        }
    }
    if (!header.key) {
        problems.push_back({row.line, "the header row names no key column (port or radio)"});
    }
    return header;
}

// The file's rows that were fine are kept even when others were not, so that a whole check can
// also match them against the radios and report everything at once.
OverridesParse ParseKeepingGoodRows(std::string_view csvText) {
    OverridesParse parse;
    const CsvTable table = ParseCsv(csvText);
    if (table.error) {
        parse.problems.push_back({table.error->line, table.error->what});
        return parse;
    }
    if (table.rows.empty()) {
        parse.problems.push_back({0, "the file holds no header row"});
        return parse;
    }
    const Header header = ReadHeader(table.rows[0], parse.problems);
    if (!parse.problems.empty()) {
        return parse;
    }
    parse.overrides.key = *header.key;
    std::map<std::string, int> keyLines;
    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const CsvRow& row = table.rows[r];
        const std::size_t before = parse.problems.size();
        if (row.fields.size() > header.columns.size()) {
            parse.problems.push_back({row.line, "more fields than the header row names"});
            continue;
        }
        OverridesRow entry{row.line, {}, {}};
        // A row may stop short: the columns it leaves out are empty cells.
        for (std::size_t c = 0; c < row.fields.size(); ++c) {
            const std::string& value = row.fields[c];
            if (header.columns[c] == Column::Key) {
                entry.key = value;
            } else if (!value.empty()) {
                if (auto refused = PutValue(header.columns[c], value, entry.overrides)) {
                    parse.problems.push_back({row.line, std::move(*refused)});
                }
            }
        }
        if (entry.key.empty()) {
            parse.problems.push_back({row.line, "the key column is empty"});
        } else if (const auto [at, added] = keyLines.emplace(entry.key, row.line); !added) {
            parse.problems.push_back(
                {row.line,
                 "'" + VisibleText(entry.key) + "' is also on line " + std::to_string(at->second)});
        }
        if (parse.problems.size() == before) {
            parse.overrides.rows.push_back(std::move(entry));
        }
    }
    return parse;
}

}  // namespace

OverridesParse ParseFleetOverrides(std::string_view csvText) {
    OverridesParse parse = ParseKeepingGoodRows(csvText);
    if (!parse.ok()) {
        parse.overrides.rows.clear();
    }
    return parse;
}

OverridesPlan PlanFleetOverrides(std::string_view csvText,
                                 const std::vector<std::string>& portNames,
                                 const std::function<std::string(std::string_view)>& portKey) {
    OverridesParse parse = ParseKeepingGoodRows(csvText);
    OverridesPlan plan;
    plan.key = parse.overrides.key;
    plan.problems = std::move(parse.problems);
    if (plan.key == OverridesKey::Radio) {
        plan.serialRows = std::move(parse.overrides.rows);
    } else {
        for (OverridesRow& row : parse.overrides.rows) {
            row.key = portKey(row.key);
        }
        OverridesMatch match = MatchOverrides(parse.overrides, portNames);
        plan.problems.insert(plan.problems.end(), match.problems.begin(), match.problems.end());
        plan.perRadio = std::move(match.perRadio);
    }
    std::stable_sort(
        plan.problems.begin(), plan.problems.end(),
        [](const OverridesProblem& a, const OverridesProblem& b) { return a.line < b.line; });
    if (!plan.ok()) {
        plan.perRadio.assign(portNames.size(), RadioOverrides{});
        plan.serialRows.clear();
    }
    return plan;
}

std::string DescribeOverridesProblem(const OverridesProblem& problem) {
    return problem.line > 0 ? "line " + std::to_string(problem.line) + ": " + problem.message
                            : problem.message;
}

std::string DescribeOverridesProblems(const std::vector<OverridesProblem>& problems) {
    std::string text;
    for (const OverridesProblem& problem : problems) {
        text += DescribeOverridesProblem(problem) + "\n";
    }
    return text;
}

void ApplyOverrides(const RadioOverrides& overrides, CommonSettings& settings) {
    if (overrides.serialNumber) {
        settings.SetSerialNumber(*overrides.serialNumber);
    }
    if (overrides.userId) {
        settings.SetUserId(*overrides.userId);
    }
    if (overrides.squelchLevel) {
        settings.SetSquelchLevel(*overrides.squelchLevel);
    }
    if (overrides.timeOut) {
        settings.SetTimeOut(*overrides.timeOut);
    }
    if (overrides.voxLevel) {
        settings.SetVoxLevel(*overrides.voxLevel);
    }
    if (overrides.txPower) {
        settings.SetTxPower(*overrides.txPower);
    }
}

OverridesMatch MatchOverrides(const FleetOverrides& overrides,
                              const std::vector<std::string>& radioKeys) {
    OverridesMatch match;
    match.perRadio.resize(radioKeys.size());
    std::map<std::size_t, int> lineOf;  // radio -> the line of the row that named it
    const bool byPort = overrides.key == OverridesKey::Port;
    for (const OverridesRow& row : overrides.rows) {
        const auto count = std::count(radioKeys.begin(), radioKeys.end(), row.key);
        if (count == 0) {
            match.problems.push_back(
                {row.line, byPort
                               ? "no radio is on port '" + VisibleText(row.key) + "'"
                               : "no radio read has serial number '" + VisibleText(row.key) + "'"});
            continue;
        }
        if (count > 1) {
            const std::string radios = std::to_string(count) + " radios ";
            match.problems.push_back(
                {row.line, (byPort ? radios + "are on port '" : radios + "have serial number '") +
                               VisibleText(row.key) + "'; the row cannot tell them apart"});
            continue;
        }
        // Two spellings of one key (com2 and COM2, once normalised) would otherwise let the
        // later row win without a word.
        const auto at = static_cast<std::size_t>(
            std::find(radioKeys.begin(), radioKeys.end(), row.key) - radioKeys.begin());
        if (const auto [first, added] = lineOf.emplace(at, row.line); !added) {
            match.problems.push_back({row.line, "'" + VisibleText(row.key) + "' is also on line " +
                                                    std::to_string(first->second)});
            continue;
        }
        match.perRadio[at] = row.overrides;
    }
    return match;
}

}  // namespace halyx
