#pragma once
// GUI test helpers: a working directory with the default options loaded.
// The test program's one QApplication comes from QtTestEnvironment.cpp.

#include <QApplication>
#include <QPoint>
#include <QString>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAccessible>

#include "core/Registry.h"
#include "support/TestSupport.h"

namespace mirudex::test {

// A working directory with the default options in a store; the log open at level 1.
class UiTest : public WorkDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    Registry registry_;
};

// Saves a picture of the widget under $MIRUDEX_SCREENSHOT_DIR/name.png when
// that variable is set (for looking at the windows).
void SaveShot(QWidget* widget, const char* name);

// Polls, processing events, until cond holds or ms milliseconds have passed.
// Use it through MIRUDEX_WAIT_FOR: QTest's QTRY_ macros return from a gtest
// test without failing it when they time out.
bool WaitUntil(const std::function<bool()>& cond, int ms = 5000);
#define MIRUDEX_WAIT_FOR(cond) \
    ASSERT_TRUE(::mirudex::test::WaitUntil([&] { return static_cast<bool>(cond); })) << "waited for: " #cond

// Tests of what only a real window system does (the pointer entering and
// leaving windows, pop-ups over panes, focus) run on an X server: their suite
// names end in X11, ctest runs them under xvfb-run with QT_QPA_PLATFORM=xcb
// (bare and with a window manager) and sets MIRUDEX_REQUIRE_X11, so that
// there they fail instead of skipping when no X server answers. Elsewhere
// (the offscreen run) they skip.
bool OnX11();
// Why the test cannot run here, or empty when it can (or must: then the
// missing X server is reported as a failure by the macro below).
std::string X11Missing();
#define MIRUDEX_SKIP_UNLESS_X11()                                      \
    do {                                                               \
        const std::string missing = ::mirudex::test::X11Missing();     \
        if (!missing.empty()) {                                        \
            if (std::getenv("MIRUDEX_REQUIRE_X11"))                    \
                FAIL() << "an X server is required here: " << missing; \
            GTEST_SKIP() << missing;                                   \
        }                                                              \
    } while (false)

// Moves the real pointer (the X server's) to a global position and lets the
// program see what that does.
void MovePointer(QPoint global);

// The program's translation for a locale ("ja_JP"), installed while it
// lives; English again afterwards.
class LanguageScope {
public:
    explicit LanguageScope(const char* locale);
    ~LanguageScope();
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;
    bool loaded() const { return loaded_; }

private:
    bool loaded_ = false;
};

// The texts a window shows, visible now or not: its title, its menus' and
// actions' texts (a menu bar's, each menu's), labels, buttons, group boxes and
// tree items.
std::vector<QString> ShownTexts(QWidget* window);

// What is wrong with the mnemonics (&) of the controls a dialog shows now:
// a check box or radio button without one, a button without one although its
// text is its own on the page, a label whose mnemonic leads nowhere (no
// buddy), and two controls with the same one. Empty when all is well.
std::vector<std::string> MnemonicProblems(QWidget* dialog);

// The controls of a window that Tab reaches (shown, enabled, taking Tab)
// whose accessible name is empty, as "class objectName" texts: a screen
// reader could say nothing of them.
std::vector<std::string> UnnamedControls(QWidget* window);

// Records the accessibility events the panes send while it lives (one at a
// time), as a screen reader would hear them: the offscreen platform has no
// accessibility of its own to send them to.
class AccessibleEvents {
public:
    struct Event {
        QAccessible::Event type;
        QObject* object;
        int child;
    };
    AccessibleEvents();
    ~AccessibleEvents();
    AccessibleEvents(const AccessibleEvents&) = delete;
    AccessibleEvents& operator=(const AccessibleEvents&) = delete;

    const std::vector<Event>& events() const;
    // The events of one type sent for one object.
    std::vector<Event> Of(QAccessible::Event type, const QObject* object) const;
    void Clear();

private:
    void (*previous_)(QAccessibleEvent*) = nullptr;
};

}  // namespace mirudex::test
