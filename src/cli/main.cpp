// halyx-cli: the radio image on the command line, with the same codecs and rules as the window.
#include "cli/command_line.h"

int main(int argc, char** argv) {
    return halyx::cli::RunCommandLine(argc, argv);
}
