#include "ui/CapsLockSync.h"

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

namespace mirudex::ui {

namespace {

bool ReportedUnavailable = false;

bool Unavailable(const char16_t* why)
{
    if (!ReportedUnavailable) {
        ReportedUnavailable = true;
        dlog::Write(u"WARNING: CAPS LOCK cannot be restored after switching the IME (%s).\n", why);
    }
    return false;
}

}  // namespace

bool CapsLockSync::Synthesise()
{
#if MIRUDEX_HAVE_XTEST
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
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
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XFlush(display);
    return true;
#else
    return Unavailable(u"built without XTest");
#endif
}

}  // namespace mirudex::ui
