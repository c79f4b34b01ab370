#pragma once
// The program's icon in the desktop's tray (where the desktop has one): a
// click shows or hides the main window; its menu has "Show"/"Hide", the
// clipboard watching (.\Misc\GrabClipboard) and "Exit". While it is shown,
// closing the main window with .\Misc\CloseToTray on keeps the program here.
//
// Threads: user-interface thread only.

#include <QObject>
#include <QPointer>
#include <functional>

#include "core/Registry.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace mirudex::ui {

class MainWindow;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // available: whether the desktop has a tray (asked of Qt by default).
    TrayIcon(MainWindow& window, Registry& registry, std::function<bool()> available = {});
    ~TrayIcon() override;

    // The icon is in the tray.
    bool shown() const;
    QMenu* menu() const { return menu_; }
    QAction* showHideAction() const { return showHide_; }
    QAction* clipboardAction() const { return clipboard_; }
    QAction* exitAction() const { return exit_; }
    // Brings the menu's texts and checks up to date (before it opens).
    void UpdateMenu();
    void ToggleWindow();

private:
    QPointer<MainWindow> window_;
    Registry& registry_;
    QMenu* menu_;
    QAction* showHide_;
    QAction* clipboard_;
    QAction* exit_;
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace mirudex::ui
