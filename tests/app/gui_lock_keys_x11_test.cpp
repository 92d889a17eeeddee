// The Caps Lock pane on a real X server: a key pressed through XTest toggles the server's
// indicator as a keyboard would, and the pane follows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "app/status_panes.h"
#include "gui_app_fixture.h"
#include "xvfb_server.h"

// Xlib last: its macros would clash with the Qt headers.
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace halyx::test {
namespace {

using LockKeysUnderX11 = RunningApp;

Display* XDisplay() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->display();
}

void PressAndRelease(Display* display, KeySym key) {
    const KeyCode code = XKeysymToKeycode(display, key);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
}

TEST_F(LockKeysUnderX11, ACapsLockPressShowsTheCapsPaneUntilItIsPressedAgain) {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || XDisplay() == nullptr) {
        GTEST_SKIP() << "no X server could be started (is Xvfb installed?)";
    }
    StartWith("[setup]\nlanguage=english\n");
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    LockIndicatorPane* caps = frame->indicatorPane(0);
    ASSERT_EQ(caps->text(), QString());

    PressAndRelease(XDisplay(), XK_Caps_Lock);
    const bool shown = QTest::qWaitFor([&] { return caps->text() == QStringLiteral("大写"); });
    // The server keeps the lock on: turn it off again whatever happened.
    PressAndRelease(XDisplay(), XK_Caps_Lock);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return caps->text().isEmpty(); }));
    EXPECT_EQ(frame->indicatorPane(2)->text(), QString());
}

}  // namespace
}  // namespace halyx::test

// The server has to be up before the QApplication connects to it. Listing the tests (as CMake
// does to find them) needs neither.
int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    halyx::test::XvfbServer server;
    if (server.Start()) {
        setenv("DISPLAY", server.display().c_str(), 1);
        // Without the xcb plugin Qt falls back to offscreen and the test skips.
        setenv("QT_QPA_PLATFORM", "xcb;offscreen", 1);
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}

// Xlib, D-Bus and the xcb platform plugin keep connection state until process exit; not our leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libX11\nleak:libxcb\nleak:libQt6XcbQpa\nleak:libxkbcommon\nleak:libdbus-1\n";
}
