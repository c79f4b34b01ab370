#include "ui/main/DictionariesPopup.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <string>

#include "platform/qt/QtText.h"
#include "ui/common/CommandIds.h"

namespace mirudex::ui {

DictionariesPopup::DictionariesPopup(AppServices& services, Registry& registry, QWidget* owner)
    : QObject(owner), services_(services), registry_(registry), owner_(owner)
{
}

void DictionariesPopup::Open(const QPoint& pos)
{
    if (menu_)
        menu_->close();
    auto* menu = new QMenu(owner_);
    menu->setObjectName(QStringLiteral("DictionariesPopup"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto add = [menu](const QString& text, int id, bool enabled) {
        QAction* a = menu->addAction(text);
        a->setData(id);
        a->setEnabled(enabled);
        return a;
    };
    add(QCoreApplication::translate("Mirudex", "Right-click the dictionaries to use."), 0, false);
    menu->addSeparator();
    for (int i = 0; i < services_.DictionaryCount(); ++i) {
        // Enabled, so that the arrow keys reach it; its check mark shows whether it is on.
        QAction* a = add(Q(services_.DictionaryName(i)), kPopupFirstDictionary + i, true);
        a->setCheckable(true);
        a->setChecked(services_.DictionaryOn(i));
    }
    menu->addSeparator();
    add(QCoreApplication::translate("Mirudex", "(All)"), kPopupAll, true);
    add(QCoreApplication::translate("Mirudex", "(None)"), kPopupNone, true);
    menu->addSeparator();
    add(QCoreApplication::translate("Mirudex", "-done-"), kPopupDone, true);
    menu->addSeparator();
    for (const auto& [id, text] :
         {std::pair{ID_IMPORT_JMDICT, QT_TRANSLATE_NOOP("Mirudex", "Import JMdict...")},
          std::pair{ID_DOWNLOAD_DICTIONARY, QT_TRANSLATE_NOOP("Mirudex", "Download Current Dictionary...")}}) {
        QAction* a = add(QCoreApplication::translate("Mirudex", text), id, true);
        a->setObjectName(QString::number(id));
        // Queued: the pop-up closes before the command's own windows open.
        connect(a, &QAction::triggered, this, [this, id = id] {
            if (onCommand)
                QMetaObject::invokeMethod(
                    this, [this, id] { onCommand(id); }, Qt::QueuedConnection);
        });
    }
    menu->installEventFilter(this);
    menu_ = menu;
    menuObject_ = menu;
    menu->popup(pos);
}

QAction* DictionariesPopup::item(int id) const
{
    if (!menu_)
        return nullptr;
    for (QAction* a : menu_->actions())
        if (!a->isSeparator() && a->data().toInt() == id)
            return a;
    return nullptr;
}

bool DictionariesPopup::eventFilter(QObject* watched, QEvent* event)
{
    // Compared as objects: the menu may be on its way out (no QMenu any more).
    if (watched != static_cast<QObject*>(menuObject_))
        return false;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick ||
        event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            if (QAction* a = menu_->actionAt(mouse->position().toPoint()))
                RightClicked(a);
        }
        return true;  // right-clicks never close the pop-up
    }
    if (event->type() == QEvent::KeyPress) {
        // Enter and Space switch the highlighted dictionary as a right-click
        // does, and the pop-up stays open; on other items they act as usual.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        QAction* a = menu_ ? menu_->activeAction() : nullptr;
        if (!a || !Switches(a->data().toInt()))
            return false;
        RightClicked(a);
        return true;
    }
    return false;
}

void DictionariesPopup::SetDictionary(int index, bool on)
{
    services_.SetDictionaryOn(index, on);
    if (QAction* a = item(kPopupFirstDictionary + index)) {
        a->setChecked(on);
        a->setEnabled(true);
    }
    registry_.CD(opt::dictionaries::edict::kKey);
    registry_.CD(std::to_string(index));
    registry_.SetBOOL(opt::dictionaries::edict::entry::kOn, on);
    registry_.CD(opt::kParent);
    registry_.CD(opt::kParent);
}

bool DictionariesPopup::Switches(int id) const
{
    return (id >= kPopupFirstDictionary && id <= kPopupLastToggleable &&
            id - kPopupFirstDictionary < services_.DictionaryCount()) ||
           id == kPopupAll || id == kPopupNone;
}

void DictionariesPopup::RightClicked(QAction* action)
{
    // Opened before a search began (the clipboard grab): the switches wait for it.
    if (services_.ThreadSearching())
        return;
    const int id = action->data().toInt();
    const int count = services_.DictionaryCount();
    if (id >= kPopupFirstDictionary && id <= kPopupLastToggleable && id - kPopupFirstDictionary < count) {
        SetDictionary(id - kPopupFirstDictionary, !action->isChecked());
    } else if (id == kPopupAll || id == kPopupNone) {
        for (int i = 0; i < count; ++i)
            SetDictionary(i, id == kPopupAll);
    }
}

}  // namespace mirudex::ui
