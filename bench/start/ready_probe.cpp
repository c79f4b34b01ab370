// The desktop program's start up to ready, wired as main() wires it, in the
// current folder; the process ends once the program said it is ready and its
// main window is on screen and painted (no shutdown: nothing is saved). Timed as a
// whole process against minimal_window by bench/compare-start.py.
#include <QApplication>
#include <cstdio>

#include "WaitShown.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/Program.h"
#include "ui/app/WholeProgram.h"
#include "ui/main/MainWindow.h"

using namespace mirudex;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Registry registry;
    LoadOptionsAtStartup(registry);
    ui::WholeProgram whole(registry);
    whole.program.Start();
    const bool shown = WaitUntilShown(*whole.program.mainWindow());
    std::fflush(nullptr);
    std::_Exit(shown && !whole.store.edict_dictionaries.empty() ? 0 : 1);
}
