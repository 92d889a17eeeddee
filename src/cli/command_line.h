#pragma once

namespace halyx::cli {

// Parses halyx-cli's command line and runs the command it names; gives the exit status.
int RunCommandLine(int argc, char** argv);

}  // namespace halyx::cli
