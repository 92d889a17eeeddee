#include "interchange/csv_table.h"

namespace halyx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(const CsvRow& row) {
    return row.fields.size() == 1 && row.fields[0].empty();
}

}  // namespace

CsvTable ParseCsv(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    CsvTable table;
    CsvRow row{1, {}};
    std::string field;
    int line = 1;
    bool quoted = false;      // inside a quoted field
    bool afterQuote = false;  // a quoted field has just closed
    int quoteLine = 0;
    const auto endRow = [&] {
        row.fields.push_back(std::move(field));
        field.clear();
        if (!IsBlank(row)) {
            table.rows.push_back(std::move(row));
        }
        row = CsvRow{line, {}};
        afterQuote = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
                afterQuote = true;
            } else {
                if (c == '\n') {
                    ++line;
                }
                field += c;
            }
            continue;
        }
        if (c == ',') {
            row.fields.push_back(std::move(field));
            field.clear();
            afterQuote = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            ++line;
            endRow();
        } else if (afterQuote) {
            if (c != ' ' && c != '\t') {
                table.error = CsvError{line, "text after a closing quote"};
                return table;
            }
        } else if (c == '"' && field.find_first_not_of(" \t") == std::string::npos) {
            field.clear();
            quoted = true;
            quoteLine = line;
        } else {
            field += c;
        }
    }
    if (quoted) {
        table.error = CsvError{quoteLine, "a quoted field is never closed"};
        return table;
    }
    if (!field.empty() || !row.fields.empty() || afterQuote) {
        endRow();
    }
    return table;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out += (i == 0 ? "" : ",") + CsvField(fields[i]);
    }
    return out + "\r\n";
}

}  // namespace halyx
