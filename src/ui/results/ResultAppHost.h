#pragma once
// The result windows' host in the program: lists, flags and sort state from
// the search state object, copying and the study list from the user-data
// routines, and hooks to the panes that the main window fills in (kanji
// window, search window, study list window). A hook left empty does nothing.
//
// Threads: user-interface thread only.

#include <functional>
#include <string_view>

#include "ui/results/ResultHost.h"

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class AppResultHost : public ResultHost {
public:
    explicit AppResultHost(search::AppState& state) : state_(state) {}

    std::vector<dict::Entry>& Results(int index) override;
    bool ThreadSearching() const override;
    bool SearchLock() const override;
    ResultSortView SortView() const override;
    bool ClickSortKey(int t) override;
    void SortList(int index) override;
    // Clears kanji_results, collects the kanji of every word, then kanjiSetUp.
    void ShowKanjiOf(const std::vector<std::u16string>& words) override;
    void SetSearchText(std::u16string_view text, bool search) override;
    void FocusSearchBox() override;
    // Copies in the encoding row the encoding list shows (encodingPosition;
    // without that hook, .\Search\Toolbars\Encoding).
    void CopyEntries(int index, int kind) override;
    // Appends the selected entries to list 1, then studySetUp.
    void AddToStudyList(int index) override;

    // The kanji window's set-up for new results.
    std::function<void()> kanjiSetUp;
    // Replace the search box text (undoable), select it, and with search send ID_SEARCH_GO.
    std::function<void(std::u16string_view, bool)> searchText;
    std::function<void()> focusSearchBox;
    std::function<int()> encodingPosition;
    // The study list window's set-up for new results.
    std::function<void()> studySetUp;

private:
    search::AppState& state_;
};

}  // namespace mirudex::ui
