#include <iostream>

#include "cli/commands.h"

namespace halyx::cli {

void PrintError(const std::string& message) {
    std::cerr << "halyx-cli: " << message << "\n";
}

}  // namespace halyx::cli
