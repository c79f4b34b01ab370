#pragma once
// The result windows' host in the program: lists, flags and sort state from
// the search state object, copying and the study list from the user-data
// routines, and hooks to the panes that the main window fills in (kanji
// window, search window, study list window). A hook left empty does nothing.
//
// Threads: user-interface thread only.

#include <array>
#include <functional>
#include <string_view>

#include <QWidget>

#include "ui/ResultHost.h"

namespace mirudex {
class Registry;
}
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

struct Resources;
class ResultWindow;

// The program's two result windows and their host, as the main window's pane
// factory makes them, with what start-up and shutdown ask of them.
class ResultPanes {
public:
    ResultPanes(search::AppState& state, Registry& options, const Resources& resources);

    AppResultHost& host() { return host_; }
    // Makes the window of slot 0 (results) or 1 (study list); the study list
    // window is the one "Add to study list" sets up.
    ResultWindow* Create(int slot, QWidget* parent);
    ResultWindow* window(int slot) const { return windows_[slot == 1 ? 1 : 0]; }

    // Start-up: both sort levels unset, then the stored columns replayed as
    // header clicks on the result window (a second click for descending).
    void ClearSorts();
    void RestoreSort(int column, bool ascending);
    // Shutdown: the header items of both windows back into the options.
    void SaveHeaderItems();

private:
    search::AppState& state_;
    Registry& options_;
    const Resources& resources_;
    AppResultHost host_;
    std::array<ResultWindow*, 2> windows_{};
};

}  // namespace mirudex::ui
