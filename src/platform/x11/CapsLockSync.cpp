#include "platform/x11/CapsLockSync.h"

#include <QGuiApplication>

#include "core/DebugLog.h"

#if MIRUDEX_HAVE_XTEST
#include <QtGui/qguiapplication_platform.h>
// X11 after Qt: its macros (None, Bool, KeyPress) must not reach Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

namespace mirudex::platform {

namespace {

bool reportedUnavailable = false;

bool Unavailable(const char16_t* why)
{
    if (!reportedUnavailable) {
        reportedUnavailable = true;
        dlog::Write(u"WARNING: CAPS LOCK cannot be restored after switching the IME (%s).\n", why);
    }
    return false;
}

#if MIRUDEX_HAVE_XTEST
constexpr uint32_t kLockMask = 1u << 1;  // the X11 modifier bit of Caps Lock

Display* X11Display()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}
#endif

}  // namespace

void CapsLockSync::Pressed(uint32_t nativeModifiers)
{
    pressSeen_ = true;
#if MIRUDEX_HAVE_XTEST
    lockedBefore_ = (nativeModifiers & kLockMask) != 0;
#else
    (void)nativeModifiers;
#endif
}

bool CapsLockSync::Released()
{
    if (!pressSeen_)
        return false;
    pressSeen_ = false;
#if MIRUDEX_HAVE_XTEST
    Display* display = X11Display();
    if (!display)
        return Unavailable(u"not an X11 display");
    static const bool hasXTest = [display] {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != 0;
    }();
    if (!hasXTest)
        return Unavailable(u"the X server has no XTest extension");
    const KeyCode code = XKeysymToKeycode(display, XK_Caps_Lock);
    if (code == 0)
        return Unavailable(u"the keyboard has no CAPS LOCK key");
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return Unavailable(u"the keyboard state cannot be read");
    const bool lockedNow = (state.locked_mods & LockMask) != 0;
    if (lockedNow == lockedBefore_)
        return false;
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
    return true;
#else
    return Unavailable(u"built without XTest");
#endif
}

}  // namespace mirudex::platform
