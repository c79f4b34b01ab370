#include "ui/main/MainMenu.h"

#include <QKeySequence>

#include "ui/common/CommandIds.h"

namespace mirudex::ui {

namespace {

struct Item {
    int id;  // 0 for a separator
    const char* text;
    bool checkable = false;
};

QAction* MakeAction(QObject* owner, const Item& item, const std::function<void(int)>& onCommand)
{
    auto* action = new QAction(QString::fromUtf8(item.text), owner);
    action->setData(item.id);
    action->setObjectName(QString::number(item.id));
    action->setCheckable(item.checkable);
    const int id = item.id;
    QObject::connect(action, &QAction::triggered, owner, [onCommand, id] { onCommand(id); });
    return action;
}

}  // namespace

std::map<int, QAction*> BuildMainMenu(QMenuBar* bar, const std::function<void(int)>& onCommand)
{
    bar->setObjectName(QStringLiteral("101"));
    std::map<int, QAction*> actions;
    auto addMenu = [&](const char* title, std::initializer_list<Item> items) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(title));
        for (const Item& item : items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = MakeAction(menu, item, onCommand);
            menu->addAction(action);
            actions[item.id] = action;
        }
    };
    addMenu("&File", {{ID_ADD_DICT, "&Add Dictionary..."},
                      {0, ""},
                      {ID_STUDYLIST_OPEN, "&Open Study List..."},
                      {ID_STUDYLIST_IMPORT, "Import Study List..."},
                      {ID_STUDYLIST_SAVE, "&Save Study List"},
                      {ID_STUDYLIST_SAVE_AS, "Save Study List &As..."},
                      {ID_STUDYLIST_CLOSE, "Close Study List"},
                      {0, ""},
                      {ID_EXIT, "E&xit"}});
    // A plain command on the bar itself, not a drop-down.
    QAction* dictionaries = MakeAction(bar, {ID_DICTIONARIES, "&Dictionaries"}, onCommand);
    bar->addAction(dictionaries);
    actions[ID_DICTIONARIES] = dictionaries;
    addMenu("&Options", {{ID_SETTINGS, "&Settings..."},
                         {ID_ALWAYS_ON_TOP, "Always on &Top", true},
                         {0, ""},
                         {ID_CHECK_UPDATES, "Check for &Updates..."}});
    addMenu("&Window", {{ID_WINDOW_RADICALLOOKUP, "&Radical Lookup", true},
                        {ID_WINDOW_STUDYLIST, "&Study List", true},
                        {ID_WINDOW_READER, "Reading &View", true}});
    addMenu("&Help", {{ID_USER_GUIDE, "&User Guide"}, {0, ""}, {ID_ABOUT, "&About..."}});
    // The desktop's usual keys; Ctrl+Q also where the desktop has no key to quit.
    QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quit.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quit.prepend(QKeySequence(Qt::CTRL | Qt::Key_Q));
    actions[ID_EXIT]->setShortcuts(quit);
    actions[ID_USER_GUIDE]->setShortcuts(QKeySequence::HelpContents);
    return actions;
}

}  // namespace mirudex::ui
