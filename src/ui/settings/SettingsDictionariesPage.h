#pragma once
// The "Dictionaries" page (130): index files on or off, the list of
// configured dictionaries by description, renaming one (Change Description)
// and removing one from the options and the loaded list. The dictionary
// file itself is never touched. Under the list, the header line the selected
// dictionary's file and the kanji dictionary's file carry (their makers,
// copyright and date).
//
// While a worker runs (it may be searching the dictionary list) the page
// refuses to remove or rename a dictionary.

#include <optional>
#include <string_view>

#include "ui/settings/SettingsPage.h"

class QLabel;
class QListWidget;

namespace mirudex::ui {

class SettingsDictionariesPage : public SettingsPage {
    Q_OBJECT
public:
    SettingsDictionariesPage(SettingsContext& context, QWidget* parent);
    void OnCommand(int controlId) override;

    // Runs Change Description for dictionary index with its path and name;
    // answers the new description, or nothing when cancelled. By default the
    // modal dialog; tests may replace it.
    std::function<std::optional<QString>(int index)> askDescription;

private:
    // True (after a note to the user) while a worker runs.
    bool RefusedWhileWorking(std::u16string_view text);
    void ChangeDescription(int index);
    void Delete(int index);
    void ShowHeaders();
    QListWidget* list_;
    QLabel* headers_;
    QString kanjiHeader_;
};

}  // namespace mirudex::ui
