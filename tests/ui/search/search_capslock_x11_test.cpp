// CAPS LOCK on a real X server (ctest runs it under xvfb-run): the key
// switches the search box's input method and the keyboard's Caps Lock state
// ends as it was. Skipped elsewhere.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>

#include "platform/recording/RecordingPlatform.h"
#include "text/Romaji.h"
#include "ui/search/SearchEdit.h"
#include "ui/support/UiTestSupport.h"

#if MIRUDEX_HAVE_XTEST
#include <QtGui/qguiapplication_platform.h>
// X11 after Qt: its macros must not reach Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

namespace {

#if MIRUDEX_HAVE_XTEST
Display* X11Display()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

bool CapsLocked(Display* display)
{
    XkbStateRec state;
    XkbGetState(display, XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

// What the user's finger does: a press, then (later) a release.
void UserKey(Display* display, bool press)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Caps_Lock), press ? True : False, CurrentTime);
    XFlush(display);
}
#endif

TEST(SearchBoxCapsLockX11, TheImeTogglesAndCapsLockStaysAsItWas)
{
#if MIRUDEX_HAVE_XTEST
    MIRUDEX_SKIP_UNLESS_X11();
    Display* display = X11Display();
    ASSERT_NE(display, nullptr);
    mirudex::platform::RecordingPlatform platform;
    mirudex::ui::SearchEdit edit(&mirudex::text::RomajiToKana);
    edit.resize(200, 60);
    edit.show();
    edit.activateWindow();
    MIRUDEX_WAIT_FOR(edit.hasFocus());

    for (bool capsBefore : {false, true}) {
        // The starting state, set behind the box's back.
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, capsBefore ? LockMask : 0);
        XFlush(display);
        MIRUDEX_WAIT_FOR(CapsLocked(display) == capsBefore);
        for (bool imeAfter : {true, false}) {
            UserKey(display, true);
            MIRUDEX_WAIT_FOR(edit.ImeOn() == imeAfter);
            UserKey(display, false);
            MIRUDEX_WAIT_FOR(CapsLocked(display) == capsBefore);
            QTest::qWait(100);  // the restoring stroke comes back to the box and is ignored
            EXPECT_EQ(edit.ImeOn(), imeAfter);
            EXPECT_EQ(CapsLocked(display), capsBefore);
        }
    }
#else
    GTEST_SKIP() << "built without XTest";
#endif
}

}  // namespace
