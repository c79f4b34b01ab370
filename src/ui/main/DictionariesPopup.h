#pragma once
// The Dictionaries pop-up: built fresh from the dictionary list each time it
// opens. A right-click on a dictionary, or Enter or Space on the one the arrow
// keys highlight, toggles it (and writes its On option) while the pop-up stays
// open; its check mark shows its state; "(All)" and "(None)" switch every dictionary. A
// left click on an enabled item only closes it. Only dictionaries 0..50 can
// be toggled here. Below the list, "Import JMdict..." and "Download Current
// Dictionary..." close the pop-up and run their command.
//
// Threads: user-interface thread only. The dictionary list is read and
// switched only while no worker runs: the main window does not open the
// pop-up then, and right-clicks in a pop-up left open when a search started
// change nothing.

#include <QMenu>
#include <QPointer>
#include <functional>

#include "core/Registry.h"
#include "ui/main/AppServices.h"

namespace mirudex::ui {

class DictionariesPopup : public QObject {
    Q_OBJECT
public:
    DictionariesPopup(AppServices& services, Registry& registry, QWidget* owner);

    // Builds the pop-up and shows it at pos (global); returns at once.
    void Open(const QPoint& pos);
    // The pop-up while it is shown, else nullptr.
    QMenu* menu() const { return menu_; }
    // The item with this id in the open pop-up.
    QAction* item(int id) const;
    // Runs a command of the pop-up's foot (the main window's command handler).
    std::function<void(int)> onCommand;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RightClicked(QAction* action);
    // Whether the item with this id switches dictionaries (a right-click, Enter or Space).
    bool Switches(int id) const;
    void SetDictionary(int index, bool on);

    AppServices& services_;
    Registry& registry_;
    QWidget* owner_;
    QPointer<QMenu> menu_;
    QObject* menuObject_ = nullptr;  // the same menu, only ever compared
};

}  // namespace mirudex::ui
