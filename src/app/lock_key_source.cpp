#include "app/lock_key_source.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_MACOS)
#include <ApplicationServices/ApplicationServices.h>
#endif

namespace halyx {

#if defined(Q_OS_WIN)

namespace {

class WindowsLockKeySource : public LockKeySource {
public:
    // The low bit of GetKeyState is the toggle state of a lock key.
    LockKeyStates Read() const override {
        return {.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0,
                .numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0,
                .scrollLock = (GetKeyState(VK_SCROLL) & 1) != 0};
    }
};

}  // namespace

std::unique_ptr<LockKeySource> MakePlatformLockKeySource() {
    return std::make_unique<WindowsLockKeySource>();
}

#elif defined(Q_OS_MACOS)

namespace {

class MacLockKeySource : public LockKeySource {
public:
    // A Mac keyboard has Caps Lock only; Num Lock and Scroll Lock always read as off.
    LockKeyStates Read() const override {
        const CGEventFlags flags = CGEventSourceFlagsState(kCGEventSourceStateCombinedSessionState);
        return {.capsLock = (flags & kCGEventFlagMaskAlphaShift) != 0};
    }
};

}  // namespace

std::unique_ptr<LockKeySource> MakePlatformLockKeySource() {
    return std::make_unique<MacLockKeySource>();
}

#else

#if defined(HALYX_HAVE_X11_LOCK_KEYS)
// The X11 source lives apart, so that Xlib's macros stay out of every Qt header.
std::unique_ptr<LockKeySource> MakeX11LockKeySource();
#endif

namespace {

// Wayland tells a client the modifiers only while it has the keyboard focus and Qt does not
// pass the lock states on; the offscreen and minimal platforms have no keyboard at all. There
// the panes stay blank.
class NoLockKeySource : public LockKeySource {
public:
    LockKeyStates Read() const override { return {}; }
};

}  // namespace

std::unique_ptr<LockKeySource> MakePlatformLockKeySource() {
#if defined(HALYX_HAVE_X11_LOCK_KEYS)
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto source = MakeX11LockKeySource()) {
            return source;
        }
    }
#endif
    return std::make_unique<NoLockKeySource>();
}

#endif

}  // namespace halyx
