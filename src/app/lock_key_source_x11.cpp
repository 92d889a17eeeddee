// The lock keys under X11: the XKB indicator state of the core keyboard, on the display
// connection Qt's xcb platform already holds. Built only where libX11 with XKB is found.
#include <QGuiApplication>

#include "app/lock_key_source.h"

// Xlib last: its macros (None, Bool, Status) would clash with the Qt headers.
#include <X11/XKBlib.h>

namespace halyx {
namespace {

// The conventional indicator bits, for a server whose indicators carry no names.
constexpr unsigned kCapsLockBit = 0x1;
constexpr unsigned kNumLockBit = 0x2;
constexpr unsigned kScrollLockBit = 0x4;

class X11LockKeySource : public LockKeySource {
public:
    explicit X11LockKeySource(Display* display)
        : display_(display),
          capsMask_(IndicatorMask("Caps Lock", kCapsLockBit)),
          numMask_(IndicatorMask("Num Lock", kNumLockBit)),
          scrollMask_(IndicatorMask("Scroll Lock", kScrollLockBit)) {}

    LockKeyStates Read() const override {
        unsigned state = 0;
        if (XkbGetIndicatorState(display_, XkbUseCoreKbd, &state) != Success) {
            return {};
        }
        return {.capsLock = (state & capsMask_) != 0,
                .numLock = (state & numMask_) != 0,
                .scrollLock = (state & scrollMask_) != 0};
    }

private:
    // Keyboard maps may put an indicator on any bit; its name says which.
    unsigned IndicatorMask(const char* name, unsigned fallback) const {
        const Atom atom = XInternAtom(display_, name, True);
        int index = -1;
        Bool on = False;
        if (atom != 0 &&
            XkbGetNamedIndicator(display_, atom, &index, &on, nullptr, nullptr) == True &&
            index >= 0 && index < XkbNumIndicators) {
            return 1u << static_cast<unsigned>(index);
        }
        return fallback;
    }

    Display* display_;
    unsigned capsMask_;
    unsigned numMask_;
    unsigned scrollMask_;
};

}  // namespace

std::unique_ptr<LockKeySource> MakeX11LockKeySource() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) {
        return nullptr;
    }
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(x11->display(), &opcode, &event, &error, &major, &minor)) {
        return nullptr;
    }
    return std::make_unique<X11LockKeySource>(x11->display());
}

}  // namespace halyx
