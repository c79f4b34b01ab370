#pragma once
// The main window's menu bar (menu 101): texts with their & mnemonics, each
// command a QAction whose data() and objectName are its id.

#include <QMenuBar>
#include <functional>
#include <map>

namespace mirudex::ui {

// Fills the bar; every action reports its id to onCommand when triggered.
// Returns the actions by id.
std::map<int, QAction*> BuildMainMenu(QMenuBar* bar, const std::function<void(int)>& onCommand);

}  // namespace mirudex::ui
