#include "ui/main/MainMenu.h"

#include <QCoreApplication>
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
    auto* action = new QAction(QCoreApplication::translate("Mirudex", item.text), owner);
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
        QMenu* menu = bar->addMenu(QCoreApplication::translate("Mirudex", title));
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
    addMenu(QT_TRANSLATE_NOOP("Mirudex", "&File"),
            {{ID_ADD_DICT, QT_TRANSLATE_NOOP("Mirudex", "&Add Dictionary...")},
             {0, ""},
             {ID_STUDYLIST_OPEN, QT_TRANSLATE_NOOP("Mirudex", "&Open Study List...")},
             {ID_STUDYLIST_IMPORT, QT_TRANSLATE_NOOP("Mirudex", "Import Study List...")},
             {ID_STUDYLIST_SAVE, QT_TRANSLATE_NOOP("Mirudex", "&Save Study List")},
             {ID_STUDYLIST_SAVE_AS, QT_TRANSLATE_NOOP("Mirudex", "Save Study List &As...")},
             {ID_STUDYLIST_CLOSE, QT_TRANSLATE_NOOP("Mirudex", "Close Study List")},
             {0, ""},
             {ID_EXIT, QT_TRANSLATE_NOOP("Mirudex", "E&xit")}});
    // A plain command on the bar itself, not a drop-down.
    QAction* dictionaries =
        MakeAction(bar, {ID_DICTIONARIES, QT_TRANSLATE_NOOP("Mirudex", "&Dictionaries")}, onCommand);
    bar->addAction(dictionaries);
    actions[ID_DICTIONARIES] = dictionaries;
    addMenu(QT_TRANSLATE_NOOP("Mirudex", "&Options"),
            {{ID_SETTINGS, QT_TRANSLATE_NOOP("Mirudex", "&Settings...")},
             {ID_ALWAYS_ON_TOP, QT_TRANSLATE_NOOP("Mirudex", "Always on &Top"), true},
             {0, ""},
             {ID_CHECK_UPDATES, QT_TRANSLATE_NOOP("Mirudex", "Check for &Updates...")}});
    addMenu(QT_TRANSLATE_NOOP("Mirudex", "&Window"),
            {{ID_WINDOW_RADICALLOOKUP, QT_TRANSLATE_NOOP("Mirudex", "&Radical Lookup"), true},
             {ID_WINDOW_STUDYLIST, QT_TRANSLATE_NOOP("Mirudex", "&Study List"), true},
             {ID_WINDOW_READER, QT_TRANSLATE_NOOP("Mirudex", "Reading &View"), true}});
    addMenu(QT_TRANSLATE_NOOP("Mirudex", "&Help"), {{ID_USER_GUIDE, QT_TRANSLATE_NOOP("Mirudex", "&User Guide")},
                                                    {0, ""},
                                                    {ID_ABOUT, QT_TRANSLATE_NOOP("Mirudex", "&About...")}});
    // The desktop's usual keys; Ctrl+Q also where the desktop has no key to quit.
    QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quit.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quit.prepend(QKeySequence(Qt::CTRL | Qt::Key_Q));
    actions[ID_EXIT]->setShortcuts(quit);
    actions[ID_USER_GUIDE]->setShortcuts(QKeySequence::HelpContents);
    return actions;
}

}  // namespace mirudex::ui
