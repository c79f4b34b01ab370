#pragma once
// The whole program as main() wires it, over a test's options: the
// dictionaries, the shared search state, its services, the main window and
// the real panes. Start() and the test's own steps follow; Exit() ends it as
// File > Exit does.

#include <QTimer>

#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/common/CommandIds.h"

namespace mirudex::ui {

struct WholeProgram {
    explicit WholeProgram(Registry& options)
        : state(options, store, &rules),
          services(state),
          program(options, &services),
          panes(state, program.resources(), services)
    {
        program.SetPaneFactory(&panes);
        panes.WireProgram(program, rules);
    }

    // File > Exit from inside the event loop, then the shutdown: its exit code.
    int Exit()
    {
        QTimer::singleShot(0, [this] { program.mainWindow()->OnCommand(ID_EXIT); });
        program.RunLoop();
        return program.Shutdown();
    }

    dict::DictionaryStore store;
    text::FuzzyRules rules;
    search::AppState state;
    AppStateServices services;
    Program program;
    AppPaneFactory panes;
};

}  // namespace mirudex::ui
