#pragma once
// The desktop program from its command line to its exit status: the working
// folder and the one running copy, Qt, the options, the program's start,
// its event loop and its shutdown.

#include <functional>

namespace mirudex {

namespace ui {
class MainWindow;
}

struct DesktopHooks {
    // Called once the start is over (dictionaries loaded, the main window
    // shown), before the event loop runs.
    std::function<void(ui::MainWindow&)> ready;
};

int RunDesktopProgram(int argc, char** argv, const DesktopHooks& hooks = {});

}  // namespace mirudex
