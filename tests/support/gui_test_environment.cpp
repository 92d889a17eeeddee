// Linked into every program with widget tests: they run on the headless platform unless the
// environment names another, and without one a Qt widget program aborts on a machine with no
// display.
#include <cstdlib>

namespace {

const bool kPlatformSet = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

}  // namespace
