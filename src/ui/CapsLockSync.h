#pragma once
// Keeps the keyboard's Caps Lock state as it was when the CAPS LOCK key is
// used to switch the search box's input method: a release and a press of the
// key are synthesised after the user's press, which toggles the state back.
// The synthetic press comes back to the box as one more CAPS LOCK key press,
// which the box ignores.
//
// On X11 the keys go through the XTest extension. Elsewhere (other display
// servers, no XTest, the offscreen platform of the tests) nothing can be
// synthesised: Synthesise() returns false and says so once in the debug log.
// User-interface thread only.

namespace mirudex::ui {

class CapsLockSync {
public:
    // True when a release and a press of CAPS LOCK were sent (an echo follows).
    static bool Synthesise();
};

}  // namespace mirudex::ui
