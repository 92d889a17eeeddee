#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace halyx::cli {

// "--name value" options and positional arguments, for the radio commands.
struct ParsedOptions {
    std::map<std::string, std::string> values;
    std::vector<std::string> positionals;

    std::string value(const std::string& name) const {
        const auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    }
    bool has(const std::string& name) const { return values.count(name) != 0; }
};

// Nothing (after printing what is wrong) when an option is unknown or lacks its value.
std::optional<ParsedOptions> ParseOptions(const Arguments& args, const std::set<std::string>& known,
                                          const std::string& usage);

}  // namespace halyx::cli
