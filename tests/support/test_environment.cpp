// Linked into every test program: sets the variables tests use to find the checkout and the built
// programs before main() runs. Values already in the environment win, so a developer can still
// point a test elsewhere.
#include <cstdlib>

namespace {

bool SetTestEnvironment() {
    setenv("HALYX_SOURCE_DIR", HALYX_TEST_SOURCE_DIR, 0);
    setenv("HALYX_BINARY_DIR", HALYX_TEST_BINARY_DIR, 0);
    // Backups and audit lines of test radios never land among the developer's own: this one is
    // set even when the environment has it. Tests that look at them use a folder of their own.
    setenv("XDG_DATA_HOME", HALYX_TEST_BINARY_DIR "/test-data-home", 1);
    return true;
}

const bool kEnvironmentSet = SetTestEnvironment();

}  // namespace
