#include "cli/option_parser.h"

namespace halyx::cli {

std::optional<ParsedOptions> ParseOptions(const Arguments& args, const std::set<std::string>& known,
                                          const std::string& usage) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (known.count(arg) != 0) {
            if (i + 1 >= args.size()) {
                PrintError(arg + " needs a value; " + usage);
                return std::nullopt;
            }
            parsed.values[arg] = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            PrintError("unknown option '" + arg + "'; " + usage);
            return std::nullopt;
        } else {
            parsed.positionals.push_back(arg);
        }
    }
    return parsed;
}

}  // namespace halyx::cli
