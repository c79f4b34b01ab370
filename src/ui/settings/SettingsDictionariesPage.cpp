#include "ui/settings/SettingsDictionariesPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Platform.h"
#include "platform/qt/QtText.h"
#include "ui/settings/ChangeDescriptionDialog.h"

namespace mirudex::ui {

SettingsDictionariesPage::SettingsDictionariesPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 130, QCoreApplication::translate("Mirudex", "Dictionaries"), parent)
{
    auto* column = static_cast<QVBoxLayout*>(group_->layout());
    column->addWidget(BoolCheck(
        1008, QCoreApplication::translate("Mirudex", "Use &index files (.mxi) to load the dictionaries quickly"),
        opt::dictionaries::kIndexing));
    auto* indexNote =
        new QLabel(QCoreApplication::translate("Mirudex",
                                               "This takes effect the next time the dictionaries are loaded. Without "
                                               "index files, the .mxi files beside the dictionaries may be deleted."),
                   group_);
    indexNote->setWordWrap(true);
    column->addWidget(indexNote);

    list_ = new QListWidget(group_);
    list_->setObjectName(QStringLiteral("1036"));
    list_->setAccessibleName(tr("Dictionaries"));
    for (const auto& dictionary : ctx_.store.edict_dictionaries)
        list_->addItem(QString::fromStdString(dictionary->name));
    column->addWidget(list_, 1);
    // Each dictionary file's own description of itself, read once here.
    for (int i = 0; i < list_->count(); ++i) {
        const dict::Dictionary& d = *ctx_.store.edict_dictionaries[static_cast<size_t>(i)];
        list_->item(i)->setData(Qt::UserRole, Q(dict::ReadDictionaryHeader(platform::FilePath(d.path), d.encoding)));
    }
    kanjiHeader_ = Q(dict::ReadDictionaryHeader(
        platform::FilePath(options_.GetString(opt::dictionaries::kanjidic::kPath)), "EUC-JP"));
    headers_ = new QLabel(group_);
    headers_->setObjectName(QStringLiteral("headers"));
    headers_->setWordWrap(true);
    headers_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(headers_);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowHeaders(); });
    ShowHeaders();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button(1001, QCoreApplication::translate("Mirudex", "&Change Description")));
    buttons->addWidget(Button(1002, QCoreApplication::translate("Mirudex", "&Delete")));
    buttons->addStretch();
    column->addLayout(buttons);
    auto* deleteNote =
        new QLabel(QCoreApplication::translate("Mirudex",
                                               "Delete removes a dictionary from this list only: its file is not "
                                               "deleted."),
                   group_);
    deleteNote->setWordWrap(true);
    column->addWidget(deleteNote);

    askDescription = [this](int index) -> std::optional<QString> {
        const dict::Dictionary& d = *ctx_.store.edict_dictionaries[static_cast<size_t>(index)];
        ChangeDescriptionDialog dialog(QString::fromStdString(d.path), QString::fromStdString(d.name), window());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.description();
    };
}

void SettingsDictionariesPage::ShowHeaders()
{
    QStringList lines;
    if (QListWidgetItem* item = list_->currentItem()) {
        const QString header = item->data(Qt::UserRole).toString();
        lines << (header.isEmpty()
                      ? QCoreApplication::translate("Mirudex", "%1: the file has no header line.").arg(item->text())
                      : QStringLiteral("%1: %2").arg(item->text(), header));
    }
    if (!kanjiHeader_.isEmpty())
        lines << QCoreApplication::translate("Mirudex", "Kanji: %1").arg(kanjiHeader_);
    headers_->setText(lines.join(QLatin1Char('\n')));
}

void SettingsDictionariesPage::OnCommand(int controlId)
{
    const int selected = list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
    const int count = static_cast<int>(ctx_.store.edict_dictionaries.size());
    switch (controlId) {
    case 1008: StoreCheck(1008, opt::dictionaries::kIndexing); break;
    case 1001:
        if (selected >= 0 && selected < count)
            ChangeDescription(selected);
        break;
    case 1002:
        if (selected >= 0 && selected < count)
            Delete(selected);
        break;
    default: break;
    }
}

bool SettingsDictionariesPage::RefusedWhileWorking(std::u16string_view text)
{
    // A running search reads the dictionary list, names included (its status
    // texts); changing a record under it would pull the data from under it.
    if (!ctx_.thread_searching || !ctx_.thread_searching())
        return false;
    platform::Get().MessageBox(text, u"Note", platform::Buttons::Ok, platform::Owner::MainWindow);
    return true;
}

void SettingsDictionariesPage::ChangeDescription(int index)
{
    if (RefusedWhileWorking(u"Please finish any searches or dictionary-loads before changing a description.\n"))
        return;
    const std::optional<QString> typed = askDescription(index);
    if (!typed)
        return;
    const std::string name = OptionText(*typed);
    ctx_.store.edict_dictionaries[static_cast<size_t>(index)]->name = name;
    list_->item(index)->setText(QString::fromStdString(name));
    list_->setCurrentRow(index);
    ShowHeaders();
    options_.SetSTRING(opt::dictionaries::edict::Name(index), name);
}

void SettingsDictionariesPage::Delete(int index)
{
    if (RefusedWhileWorking(u"Please finish any searches or dictionary-loads before deleting a dictionary.\n"))
        return;
    if (platform::Get().MessageBox(u"Are you sure that you want to delete this dictionary?", u"Warning",
                                   platform::Buttons::YesNo, platform::Owner::MainWindow) != platform::Answer::Yes)
        return;

    auto& dictionaries = ctx_.store.edict_dictionaries;
    const int count = static_cast<int>(dictionaries.size());
    // Each later dictionary moves down one key, so the keys stay 0 .. Number-1.
    namespace edict = opt::dictionaries::edict;
    for (int i = index; i <= count - 2; ++i) {
        options_.SetSTRING(edict::Path(i), options_.GetString(edict::Path(i + 1)));
        options_.SetSTRING(edict::Name(i), options_.GetString(edict::Name(i + 1)));
        options_.SetSTRING(edict::Encoding(i), options_.GetString(edict::Encoding(i + 1)));
        options_.SetBOOL(edict::On(i), options_.GetBOOL(edict::On(i + 1)));
    }
    options_.DeleteKey(edict::Entry(count - 1));
    dictionaries.erase(dictionaries.begin() + index);
    options_.SetINT(edict::kNumber, count - 1);
    delete list_->takeItem(index);
}

}  // namespace mirudex::ui
