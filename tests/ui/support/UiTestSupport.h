#pragma once
// GUI test helpers: a working directory with the default options loaded.
// The test program's one QApplication comes from QtTestEnvironment.cpp.

#include <QApplication>
#include <memory>

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

}  // namespace mirudex::test
