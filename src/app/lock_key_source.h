#pragma once

#include <memory>

namespace halyx {

// Which lock keys are on.
struct LockKeyStates {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;

    bool operator==(const LockKeyStates&) const = default;
};

// Where the status bar learns the lock keys' states. Qt has no portable way to ask, so each
// platform that can tell gets a small source of its own; tests put in a state of their choice.
class LockKeySource {
public:
    virtual ~LockKeySource() = default;
    virtual LockKeyStates Read() const = 0;
};

// The source for the platform the application runs on (call once the QGuiApplication exists).
// Where the platform cannot tell (Wayland, the offscreen and minimal platforms) every key
// reads as off, so the lock panes stay blank.
std::unique_ptr<LockKeySource> MakePlatformLockKeySource();

}  // namespace halyx
