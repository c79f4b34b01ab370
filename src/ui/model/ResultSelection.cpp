#include "ui/model/ResultSelection.h"

#include <algorithm>

namespace mirudex::ui {

namespace {

// Sets the selected flag of list[from..to] (both ends included, clamped to the list).
void SetRange(std::vector<dict::Entry>& list, int from, int to, bool selected)
{
    const int lo = std::max(0, std::min(from, to));
    const int hi = std::min(static_cast<int>(list.size()) - 1, std::max(from, to));
    for (int j = lo; j <= hi; ++j)
        list[static_cast<size_t>(j)].selected = selected;
}

bool InList(const std::vector<dict::Entry>& list, int e) { return e >= 0 && e < static_cast<int>(list.size()); }

void MoveSelected(std::vector<dict::Entry>& list, SelectionState& state, int e)
{
    int target = e == -1 ? static_cast<int>(list.size()) : e;
    std::vector<dict::Entry> taken;
    for (size_t i = 0; i < list.size();) {
        if (!list[i].selected) {
            ++i;
            continue;
        }
        taken.push_back(std::move(list[i]));
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        if (static_cast<int>(i) <= target)
            --target;
    }
    if (taken.empty())
        return;
    target = std::clamp(target, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + target, std::make_move_iterator(taken.begin()), std::make_move_iterator(taken.end()));
    state.anchor = state.current = target;
}

}  // namespace

VisibleRows ComputeVisibleRows(int count, int position, int areaHeight, int entryHeight)
{
    VisibleRows rows;
    rows.first = position;
    rows.fit = entryHeight > 0 ? areaHeight / entryHeight : 0;
    rows.last = rows.first + std::min(rows.fit, count - rows.first - 1);
    return rows;
}

int EntryAtPoint(const VisibleRows& rows, int entryHeight, int areaTop, int y)
{
    if (entryHeight <= 0 || y < areaTop)
        return -1;
    const int j = rows.first + (y - areaTop) / entryHeight;
    return j >= rows.first && j <= rows.last ? j : -1;
}

void SelectEntry(std::vector<dict::Entry>& list, SelectionState& state, int e, int flags)
{
    const int old = state.current;
    state.current = e;
    if (flags == 0) {
        state.anchor = e;
        for (size_t j = 0; j < list.size(); ++j)
            list[j].selected = static_cast<int>(j) == e;
        return;
    }
    if (flags & kSelectAlt) {
        MoveSelected(list, state, e);
        return;
    }
    if (flags & kSelectCtrl) {
        state.anchor = e;
        if (InList(list, e))
            list[static_cast<size_t>(e)].selected = !list[static_cast<size_t>(e)].selected;
    }
    if ((flags & kSelectShift) && state.anchor != -1 && e != -1) {
        SetRange(list, state.anchor, old, false);
        SetRange(list, state.anchor, e, true);
    }
}

Removal DeleteSelected(std::vector<dict::Entry>& list, SelectionState& state)
{
    Removal removal;
    std::vector<dict::Entry> kept;
    kept.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].selected)
            removal.entries.emplace_back(i, std::move(list[i]));
        else
            kept.push_back(std::move(list[i]));
    }
    list = std::move(kept);
    const int lastIndex = static_cast<int>(list.size()) - 1;
    state.anchor = std::min(state.anchor, lastIndex);
    state.current = std::min(state.current, lastIndex);
    SelectEntry(list, state, state.current, 0);
    return removal;
}

void UndoRemoval(std::vector<dict::Entry>& list, SelectionState& state, Removal removal)
{
    if (removal.entries.empty())
        return;
    for (dict::Entry& entry : list)
        entry.selected = false;
    // In ascending order of place, each insertion restores the list as it was up to there.
    int first = -1;
    for (auto& [place, entry] : removal.entries) {
        const size_t at = std::min(place, list.size());
        entry.selected = true;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        if (first < 0)
            first = static_cast<int>(at);
    }
    state.anchor = state.current = first;
}

void SelectAll(std::vector<dict::Entry>& list)
{
    for (dict::Entry& entry : list)
        entry.selected = true;
}

int SelectedCount(const std::vector<dict::Entry>& list)
{
    return static_cast<int>(std::count_if(list.begin(), list.end(), [](const dict::Entry& e) { return e.selected; }));
}

}  // namespace mirudex::ui
