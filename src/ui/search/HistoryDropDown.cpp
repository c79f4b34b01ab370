#include "ui/search/HistoryDropDown.h"

#include <QAbstractItemView>

#include "ui/search/SearchCommands.h"

namespace mirudex::ui {

HistoryListModel::HistoryListModel(userdata::HistoryList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list)
{
    list_.SetObserver(this);
}

HistoryListModel::~HistoryListModel() { list_.SetObserver(nullptr); }

int HistoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || static_cast<size_t>(index.row()) >= list_.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const std::u16string& text = list_.at(static_cast<size_t>(index.row()));
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void HistoryListModel::BeforeInsert(size_t row) { beginInsertRows({}, static_cast<int>(row), static_cast<int>(row)); }
void HistoryListModel::AfterInsert() { endInsertRows(); }
void HistoryListModel::BeforeRemove(size_t row) { beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row)); }
void HistoryListModel::AfterRemove() { endRemoveRows(); }
void HistoryListModel::BeforeReset() { beginResetModel(); }
void HistoryListModel::AfterReset() { endResetModel(); }

HistoryDropDown::HistoryDropDown(userdata::HistoryList& list, QWidget* parent) : QComboBox(parent)
{
    setObjectName(QString::number(kHistoryListId));
    setModel(new HistoryListModel(list, this));
    setFixedWidth(100);
    connect(this, &QComboBox::activated, this, [this](int row) { emit chosen(itemText(row)); });
}

void HistoryDropDown::hidePopup()
{
    QComboBox::hidePopup();
    emit closed();
}

}  // namespace mirudex::ui
