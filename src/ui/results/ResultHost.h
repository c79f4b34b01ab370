#pragma once
// What a result window needs from the rest of the program: its list, the two
// worker flags, the shared sort state, and the actions that reach other
// windows (kanji window, search box, clipboard, study list). The program
// implements it over its state object and its panes; tests record the calls.
//
// Threads: user-interface thread only. While ThreadSearching() or
// SearchLock() is true a worker may be filling a list: the window then reads
// no list and changes none.

#include <string>
#include <string_view>
#include <vector>

#include "dict/Entry.h"

namespace mirudex::ui {

// The sort keys as the header bars show them (shared by both result windows).
struct ResultSortView {
    int primary = -1;  // item id, -1 unset
    bool primaryDescending = false;
    int secondary = -1;
    bool secondaryDescending = false;
};

class ResultHost {
public:
    virtual ~ResultHost() = default;

    // edict_results of the window index (0 results, 1 study list).
    virtual std::vector<dict::Entry>& Results(int index) = 0;
    virtual bool ThreadSearching() const = 0;
    virtual bool SearchLock() const = 0;

    virtual ResultSortView SortView() const = 0;
    // A click on header item t under the sort rules; false when nothing changed (Info).
    virtual bool ClickSortKey(int t) = 0;
    // Sorts list index by the current keys (an empty list is left alone).
    virtual void SortList(int index) = 0;

    // Clears the kanji list, collects the kanji of these words into it (each
    // kanji once) and sets the kanji window up for the new list.
    virtual void ShowKanjiOf(const std::vector<std::u16string>& words) = 0;
    // Replaces the whole text of the search box (undoable) and selects it;
    // with search, then sends the search command to the search window.
    virtual void SetSearchText(std::u16string_view text, bool search) = 0;
    virtual void FocusSearchBox() = 0;
    // CopyEntries of the window's list, kind 0 word .. 3 formatted entry.
    virtual void CopyEntries(int index, int kind) = 0;
    // Appends copies of the selected entries of list index to the study list
    // and sets the study list window up for new results.
    virtual void AddToStudyList(int index) = 0;
};

}  // namespace mirudex::ui
