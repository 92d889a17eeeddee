#include <iostream>

#include "cli/commands.h"
#include "image/visible_text.h"

namespace halyx::cli {

// Messages quote file names, CSV cells and what radios hold: none of it may reach the terminal as
// a control sequence.
void PrintError(const std::string& message) {
    std::cerr << "halyx-cli: " << TerminalText(message) << "\n";
}

void PrintOut(const std::string& text) {
    std::cout << TerminalText(text);
}

}  // namespace halyx::cli
