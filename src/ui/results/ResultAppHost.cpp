#include "ui/results/ResultAppHost.h"

#include "core/Registry.h"
#include "search/AppState.h"
#include "search/JapaneseSearch.h"
#include "search/Sorting.h"
#include "userdata/Copy.h"
#include "userdata/StudyList.h"

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
        encodingPosition ? encodingPosition() : state_.options.GetINT(opt::search::toolbars::kEncoding);
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

}  // namespace mirudex::ui
