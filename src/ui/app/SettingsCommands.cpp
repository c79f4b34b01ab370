#include "ui/app/SettingsCommands.h"

#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "ui/app/AppWiring.h"
#include "ui/common/CommandIds.h"
#include "ui/common/Look.h"
#include "ui/common/Resources.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/AddDictionaryDialog.h"
#include "ui/settings/SettingsDialog.h"
#include "ui/settings/SettingsHost.h"

namespace mirudex::ui {

void ConnectSettingsCommands(MainWindow& main, search::AppState& state, Resources& resources,
                             const AppPaneFactory& panes)
{
    main.SetCommandHandler(ID_SETTINGS, [&main, &state, &resources, &panes] {
        // The menu stays live during a search's wait; the pages write the
        // options and the dictionary list, which the worker reads unlocked.
        if (search::WorkerRunning(state) || state.SEARCH_LOCK) {
            platform::Get().MessageBox(
                u"Please finish any searches or dictionary-loads before changing the settings.\n", u"Note",
                platform::Buttons::Ok, platform::Owner::MainWindow);
            return;
        }
        PaneSettingsHost::Panes p;
        p.mainWindow = &main;
        p.search = panes.searchWindow();
        p.results = {panes.resultWindow(0), panes.resultWindow(1)};
        p.kanji = panes.kanjiWindow();
        p.radical = panes.radicalWindow();
        PaneSettingsHost host(state.options, resources, p);
        SettingsContext context{
            state.options, resources, state.store, host, [&state] { return search::WorkerRunning(state); },
            ScreenDpiY()};
        RunSettingsDialog(context, &main);
    });
    main.SetCommandHandler(ID_ADD_DICT, [&main, &state] {
        AddDictionaryDialog dialog(state, &main);
        dialog.exec();
    });
}

}  // namespace mirudex::ui
