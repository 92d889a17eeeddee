#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halyx {

// One record of a CSV file with the line it starts on (1-based), so reports can point at it.
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

struct CsvError {
    int line = 0;
    std::string what;
};

struct CsvTable {
    std::vector<CsvRow> rows;  // the header row first
    std::optional<CsvError> error;
};

// Reads comma-separated text as spreadsheets write it: quoted fields may hold commas, doubled
// quotes and line breaks; lines end in CRLF or LF; a UTF-8 byte-order mark is skipped. Blank
// lines are dropped. An unterminated quote or text after a closing quote is an error naming the
// line, since everything after it would be misread.
CsvTable ParseCsv(std::string_view text);

// A field as it must be written: quoted when it holds a comma, quote or line break.
std::string CsvField(std::string_view text);
// Fields joined by commas, ended with CRLF as spreadsheet programs expect.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace halyx
