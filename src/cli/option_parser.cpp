#include "cli/option_parser.h"

#include <CLI/CLI.hpp>

namespace halyx::cli {

OptionCollector::OptionCollector(CLI::App& command, const std::vector<std::string>& names,
                                 const std::string& positionalsName)
    : command_(command) {
    for (const std::string& name : names) {
        command.add_option(name, values_[name]);
    }
    if (!positionalsName.empty()) {
        command.add_option(positionalsName, positionals_);
    }
}

ParsedOptions OptionCollector::Collect() const {
    ParsedOptions parsed;
    for (const auto& [name, value] : values_) {
        if (command_.count(name) > 0) {
            parsed.values[name] = value;
        }
    }
    parsed.positionals = positionals_;
    return parsed;
}

}  // namespace halyx::cli
