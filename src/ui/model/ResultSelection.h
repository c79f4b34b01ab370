#pragma once
// The row arithmetic of a result window, without Qt: which entries are
// visible for a scroll position, which entry lies under a point, and the
// selection rules of plain, Ctrl, Shift and Alt clicks and of Delete.
//
// Threads: user-interface thread, on a list no worker is filling.

#include <utility>
#include <vector>

#include "dict/Entry.h"

namespace mirudex::ui {

// Modifier flags of SelectEntry.
inline constexpr int kSelectCtrl = 1;
inline constexpr int kSelectShift = 2;
inline constexpr int kSelectAlt = 4;

struct SelectionState {
    int anchor = -1;   // where a Shift range starts
    int current = -1;  // what the keyboard and the context menu act on
};

// Visible entries for a scroll position: first = position; fit = rows that fit
// in the entries area; last = first + min(fit, count - first - 1) (-1 on an empty list).
struct VisibleRows {
    int first = 0;
    int last = -1;
    int fit = 0;
};
VisibleRows ComputeVisibleRows(int count, int position, int areaHeight, int entryHeight);

// The entry j in first..last whose row (j - first) x entryHeight + areaTop ...
// + entryHeight - 1 holds y, or -1. The x coordinate plays no part.
int EntryAtPoint(const VisibleRows& rows, int entryHeight, int areaTop, int y);

// Makes e the current entry (-1: none) and applies the modifier flags:
// none: e alone selected, anchor e. Alt: the selected entries move, in list
// order, to the place of e (the end for -1); anchor and current become the
// place of the first moved one. Otherwise Ctrl toggles e and makes it the
// anchor, then Shift unselects anchor..old current and selects anchor..e.
// Indexes outside the list are never touched.
void SelectEntry(std::vector<dict::Entry>& list, SelectionState& state, int e, int flags);

// What one removal took out: each entry with the place it had, in list order.
struct Removal {
    std::vector<std::pair<size_t, dict::Entry>> entries;
};

// Removes every selected entry; anchor and current are kept at most count - 1
// and current is then selected alone. Returns what was removed.
Removal DeleteSelected(std::vector<dict::Entry>& list, SelectionState& state);

// Puts the entries of a removal back at their places (at the end when the
// list has since grown shorter), selected alone; the first of them becomes
// anchor and current.
void UndoRemoval(std::vector<dict::Entry>& list, SelectionState& state, Removal removal);

void SelectAll(std::vector<dict::Entry>& list);
int SelectedCount(const std::vector<dict::Entry>& list);

}  // namespace mirudex::ui
