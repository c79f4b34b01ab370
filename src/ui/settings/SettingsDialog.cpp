#include "ui/settings/SettingsDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/settings/SettingsDictionariesPage.h"
#include "ui/settings/SettingsFontsPage.h"
#include "ui/settings/SettingsPages.h"

namespace mirudex::ui {

namespace {

struct TreeItem {
    const char* text;
    int parent;  // tree index of the parent item, -1 for the root
};

constexpr std::array<TreeItem, SettingsDialog::kPageCount> kTree{{
    {QT_TRANSLATE_NOOP("Mirudex", "Mirudex Options"), -1},
    {QT_TRANSLATE_NOOP("Mirudex", "Misc. Options"), 0},
    {QT_TRANSLATE_NOOP("Mirudex", "Dictionaries"), 0},
    {QT_TRANSLATE_NOOP("Mirudex", "Search Window"), 0},
    {QT_TRANSLATE_NOOP("Mirudex", "Recent History"), 3},
    {QT_TRANSLATE_NOOP("Mirudex", "Kanji Window"), 0},
    {QT_TRANSLATE_NOOP("Mirudex", "Result Window"), 0},
    {QT_TRANSLATE_NOOP("Mirudex", "Radical Lookup"), 0},
    {QT_TRANSLATE_NOOP("Mirudex", "EDICT Copy"), 6},
}};

}  // namespace

SettingsDialog::SettingsDialog(SettingsContext& context, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("125"));
    setWindowTitle(QCoreApplication::translate("Mirudex", "Mirudex Options"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("1007"));
    tree_->setAccessibleName(tr("Pages"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setFixedWidth(170);
    for (int i = 0; i < kPageCount; ++i) {
        const TreeItem& t = kTree[static_cast<size_t>(i)];
        auto* item =
            t.parent < 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(items_[static_cast<size_t>(t.parent)]);
        item->setText(0, QCoreApplication::translate("Mirudex", t.text));
        item->setData(0, Qt::UserRole, i);
        items_[static_cast<size_t>(i)] = item;
    }
    items_[0]->setExpanded(true);
    items_[3]->setExpanded(true);
    items_[6]->setExpanded(true);

    auto* stack = new QStackedWidget(this);
    pages_ = {
        new SettingsMainPage(context, stack),
        new SettingsMiscPage(context, stack),
        new SettingsDictionariesPage(context, stack),
        new SettingsSearchPage(context, stack),
        new SettingsHistoryPage(context, stack),
        new SettingsFontsPage(context, kKanjiPageLayout, stack),
        new SettingsFontsPage(context, kResultPageLayout, stack),
        new SettingsRadicalPage(context, stack),
        new SettingsCopyPage(context, stack),
    };
    for (SettingsPage* page : pages_)
        stack->addWidget(page);

    auto* note = new QLabel(
        QCoreApplication::translate("Mirudex",
                                    "Note: Any changes made here immediately take effect.  There is no 'undo' "
                                    "button, so if you want to change something back, you must manually do it."),
        this);
    note->setWordWrap(true);
    auto* done = new QPushButton(QCoreApplication::translate("Mirudex", "&All Done"), this);
    done->setObjectName(QStringLiteral("1"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(tree_);
    top->addWidget(stack, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(note, 1);
    bottom->addWidget(done);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top, 1);
    column->addLayout(bottom);
    resize(640, 420);

    connect(tree_, &QTreeWidget::currentItemChanged, this, [this, stack](QTreeWidgetItem* item) {
        if (!item)
            return;
        const int index = item->data(0, Qt::UserRole).toInt();
        stack->setCurrentWidget(pages_[static_cast<size_t>(index)]);
        current_ = index;
    });
    tree_->setCurrentItem(items_[0]);
    stack->setCurrentWidget(pages_[0]);
    current_ = 0;
}

void SettingsDialog::SelectPage(int index)
{
    if (index >= 0 && index < kPageCount)
        tree_->setCurrentItem(items_[static_cast<size_t>(index)]);
}

void RunSettingsDialog(SettingsContext& context, QWidget* owner)
{
    SettingsDialog dialog(context, owner);
    dialog.exec();
}

}  // namespace mirudex::ui
