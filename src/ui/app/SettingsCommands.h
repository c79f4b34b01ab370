#pragma once
// The main window's commands that open the settings dialog and Add Dictionary.

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class AppPaneFactory;
class MainWindow;
struct Resources;

// Opens the settings dialog (Options > Settings..., 40002) and Add Dictionary
// (File > Add Dictionary..., 40015) from the main window's commands, over the
// program's state, its shared fonts and colours, and its panes.
void ConnectSettingsCommands(MainWindow& main, search::AppState& state, Resources& resources,
                             const AppPaneFactory& panes);

}  // namespace mirudex::ui
