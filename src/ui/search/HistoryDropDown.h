#pragma once
// The search history as the search window shows it: a drop-down list (control
// id 1121) whose items are the history list itself, through a list model that
// the list tells of every change. Choosing an item reports its text; closing
// the list, with or without a choice, reports that too, so that the keyboard
// can go back to the search box. User-interface thread only.

#include <QAbstractListModel>
#include <QComboBox>

#include "userdata/History.h"

namespace mirudex::ui {

class HistoryListModel : public QAbstractListModel, public userdata::HistoryObserver {
    Q_OBJECT
public:
    // Observes list until destroyed; list must outlive the model.
    explicit HistoryListModel(userdata::HistoryList& list, QObject* parent = nullptr);
    ~HistoryListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void BeforeInsert(size_t row) override;
    void AfterInsert() override;
    void BeforeRemove(size_t row) override;
    void AfterRemove() override;
    void BeforeReset() override;
    void AfterReset() override;

private:
    userdata::HistoryList& list_;
};

class HistoryDropDown : public QComboBox {
    Q_OBJECT
public:
    HistoryDropDown(userdata::HistoryList& list, QWidget* parent = nullptr);

    void hidePopup() override;

protected:
    // The box lies under the text box, which covers it: only its dropped
    // list is ever seen, so the box itself is not drawn.
    void paintEvent(QPaintEvent*) override {}

signals:
    void chosen(const QString& text);
    void closed();
};

}  // namespace mirudex::ui
