#pragma once
// "Mirudex Options" (125): the settings dialog. A tree (1007) on the left
// chooses one of nine pages; every change takes effect at once and there is
// no undo, as the dialog's note tells the user. "All Done" (1) or closing
// ends it.
//
// Tree index -> page: 0 "Mirudex Options" (131), 1 "Misc. Options" (136),
// 2 "Dictionaries" (130), 3 "Search Window" (134), 4 "Recent History" (146,
// under 3), 5 "Kanji Window" (132), 6 "Result Window" (101), 7 "Radical
// Lookup" (141), 8 "EDICT Copy" (142, under 6).
//
// Threads: user-interface thread only.

#include <QDialog>
#include <array>

#include "ui/settings/SettingsPage.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace mirudex::ui {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 9;

    // context must outlive the dialog.
    SettingsDialog(SettingsContext& context, QWidget* owner);

    QTreeWidget* tree() const { return tree_; }
    // The page of a tree index, and the one shown.
    SettingsPage* page(int index) const { return pages_[static_cast<size_t>(index)]; }
    int currentPage() const { return current_; }
    // Selects the tree item of this index (as a click on it does).
    void SelectPage(int index);

private:
    QTreeWidget* tree_;
    std::array<SettingsPage*, kPageCount> pages_{};
    std::array<QTreeWidgetItem*, kPageCount> items_{};
    int current_ = -1;
};

// Runs the settings dialog modally over owner.
void RunSettingsDialog(SettingsContext& context, QWidget* owner);

}  // namespace mirudex::ui
