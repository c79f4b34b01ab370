#include "ui/ResultAppHost.h"

#include "core/Registry.h"
#include "search/AppState.h"
#include "search/JapaneseSearch.h"
#include "search/Sorting.h"
#include "userdata/Copy.h"
#include "userdata/StudyList.h"
#include "ui/ResultWindow.h"

namespace mirudex::ui {

std::vector<dict::Entry>& AppResultHost::Results(int index)
{
    return state_.edict_results[index == search::kStudyList ? 1 : 0];
}

bool AppResultHost::ThreadSearching() const { return state_.thread_searching.load(); }

bool AppResultHost::SearchLock() const { return state_.SEARCH_LOCK; }

ResultSortView AppResultHost::SortView() const
{
    const search::EntrySortState& s = state_.edict_sort;
    return {s.primary.key, s.primary.descending, s.secondary.key, s.secondary.descending};
}

bool AppResultHost::ClickSortKey(int t) { return search::ClickEntrySortKey(state_.edict_sort, t); }

void AppResultHost::SortList(int index) { search::SortEntries(Results(index), state_.edict_sort); }

void AppResultHost::ShowKanjiOf(const std::vector<std::u16string>& words)
{
    state_.kanji_results.clear();
    for (const std::u16string& word : words)
        search::CollectWordKanji(state_, word);
    if (kanjiSetUp)
        kanjiSetUp();
}

void AppResultHost::SetSearchText(std::u16string_view text, bool search)
{
    if (searchText)
        searchText(text, search);
}

void AppResultHost::FocusSearchBox()
{
    if (focusSearchBox)
        focusSearchBox();
}

void AppResultHost::CopyEntries(int index, int kind)
{
    const int position =
        encodingPosition ? encodingPosition() : state_.options.GetINT(".\\Search\\Toolbars\\Encoding");
    userdata::CopyEntries(Results(index), static_cast<userdata::CopyKind>(kind), state_.options, position);
}

void AppResultHost::AddToStudyList(int index)
{
    if (index == search::kStudyList)
        return;
    userdata::AddToStudyList(Results(index), state_.edict_results[search::kStudyList]);
    if (studySetUp)
        studySetUp();
}

ResultPanes::ResultPanes(search::AppState& state, Registry& options, const Resources& resources)
    : state_(state), options_(options), resources_(resources), host_(state)
{
    host_.studySetUp = [this] {
        if (windows_[1])
            windows_[1]->SetUpForNewResults();
    };
}

ResultWindow* ResultPanes::Create(int slot, QWidget* parent)
{
    const int index = slot == 1 ? 1 : 0;
    windows_[static_cast<size_t>(index)] = new ResultWindow(index, host_, options_, resources_, parent);
    return windows_[static_cast<size_t>(index)];
}

void ResultPanes::ClearSorts() { state_.edict_sort = {}; }

void ResultPanes::RestoreSort(int column, bool ascending)
{
    // The click rules are applied also when no bar shows the column, so a
    // hidden column keeps its sort.
    for (int click = 0; click < (ascending ? 1 : 2); ++click) {
        if (windows_[0] && windows_[0]->ClickHeaderItem(column))
            continue;
        if (host_.ClickSortKey(column))
            host_.SortList(0);
    }
}

void ResultPanes::SaveHeaderItems()
{
    for (ResultWindow* window : windows_)
        if (window)
            window->SaveHeaderItems();
}

}  // namespace mirudex::ui
