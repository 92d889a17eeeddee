#pragma once

#include <map>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace halyx::cli {

// "--name value" options and positional arguments of a radio command, as given.
struct ParsedOptions {
    std::map<std::string, std::string> values;
    std::vector<std::string> positionals;

    std::string value(const std::string& name) const {
        const auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    }
    bool has(const std::string& name) const { return values.count(name) != 0; }
};

// Registers `names` (each taking one value) and a list of positionals on `command`; `Collect`
// keeps only the options that were given, so `has` tells given from left out.
class OptionCollector {
public:
    OptionCollector(CLI::App& command, const std::vector<std::string>& names,
                    const std::string& positionalsName);
    ParsedOptions Collect() const;

private:
    CLI::App& command_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> positionals_;
};

}  // namespace halyx::cli
