// The desktop program's start up to ready: its whole run as main() runs it
// (working folder, the one running copy, options, log, windows, tray icon),
// in the working folder MIRUDEX_HOME names; the process ends once the start
// is over and the main window is on screen and painted (no shutdown: nothing
// is saved). Timed as a whole process against minimal_window by
// bench/compare-start.py.
#include <cstdio>
#include <cstdlib>

#include "WaitShown.h"
#include "app/DesktopMain.h"
#include "ui/main/MainWindow.h"

int main(int argc, char** argv)
{
    mirudex::DesktopHooks hooks;
    hooks.ready = [](mirudex::ui::MainWindow& window) { EndOnceShown(window); };
    const int status = mirudex::RunDesktopProgram(argc, argv, hooks);
    return status == 0 ? 2 : status;  // the start ended before it was ready
}
