#pragma once

#include <string>
#include <vector>

namespace halyx::cli {

// Each subcommand takes the arguments after its name and returns the process exit status.
using Arguments = std::vector<std::string>;

int RunShow(const Arguments& args);
int RunSet(const Arguments& args);
// read, write and tuning: talk to a radio (needs a QCoreApplication).
int RunRadioCommand(const std::string& name, const Arguments& args);

// Prints "halyx-cli: <message>" on standard error.
void PrintError(const std::string& message);

}  // namespace halyx::cli
