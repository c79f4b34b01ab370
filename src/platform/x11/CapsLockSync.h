#pragma once
// Keeps the keyboard's Caps Lock state as it was when the CAPS LOCK key is
// used to switch the search box's input method.
//
// The box tells Pressed() about the user's press (with the event's native
// modifier state, which holds the lock state from before the press) and
// Released() about the release. Once the key is up, if the lock state differs
// from what it was, one CAPS LOCK stroke (press and release) is synthesised,
// which toggles it back; that stroke comes back to the box as one more press
// and release, which the box ignores. The stroke is sent after the user's
// release because on X11 a synthetic key belongs to a device of its own: a
// synthetic release of the key the user holds down would be dropped.
//
// On X11 the keys go through the XTest extension. Elsewhere (other display
// servers, no XTest, the offscreen platform of the tests) nothing can be
// synthesised: Released() returns false and says so once in the debug log.
// User-interface thread only.

#include <cstdint>

namespace mirudex::platform {

class CapsLockSync {
public:
    void Pressed(uint32_t nativeModifiers);
    // True when a stroke was sent (its press and release will come back).
    bool Released();

private:
    bool lockedBefore_ = false;
    bool pressSeen_ = false;
};

}  // namespace mirudex::platform
