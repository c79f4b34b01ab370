#pragma once
// The arithmetic of the kanji window, free of Qt so it can be tested alone:
// header items kept as whole percentages of their bar, the tracking step that
// resizes an item against its right neighbour (and keeps the Kanji column of
// both bars equal), the list geometry (rows, page, visible range, hit test),
// and the keyboard rules.

#include <vector>

namespace mirudex::ui {

// Narrowest an item may become by tracking.
inline constexpr int kMinHeaderItemWidth = 11;
// Inset of cell text in the list.
inline constexpr int kKanjiCellMargin = 3;

// Widths for items that keep percentages of total: truncate(total x p / 100)
// each, the last item taking what the others left, so the items fill the bar.
std::vector<int> LayoutPercentWidths(const std::vector<int>& percents, int total);

// One header bar's items as the tracking step sees them (index = display order).
struct KanjiHeaderItems {
    std::vector<int> widths;
    std::vector<int> percents;
    int Total() const;
};

enum class TrackOutcome {
    Applied,
    Refused,      // an item would drop below kMinHeaderItemWidth: nothing changed
    NoRightItem,  // the item has no right neighbour: nothing changed
};

// One tracking step: item of bar is proposed to become proposedWidth pixels.
// The width moves in whole percents of the bar and the right neighbour absorbs
// the difference. For item 0 (the Kanji column) the other bar's item 0 takes
// the same width and percentage and its right neighbour absorbs the
// difference there; if either bar would refuse, neither changes.
TrackOutcome TrackHeaderItem(KanjiHeaderItems& bar, KanjiHeaderItems* other, int item, int proposedWidth);

// Rows and drawing area of the list.
struct KanjiListGeometry {
    int row1 = 0;
    int row2 = 0;
    int entry = 0;
    int listTop = 0;
    int listWidth = 0;
    int listHeight = 0;

    // From the line heights of the On font and the meaning font (a meaning
    // height that is not positive counts as 0).
    void SetRows(int onHeight, int meaningHeight);
    // Whole entries that fit between the list top and the bottom.
    int Page() const;
    // Last visible index (inclusive) for this scroll position; below first
    // when nothing is visible.
    int LastVisible(int first, int entries) const;
    // The entry whose band holds y, or -1.
    int HitTest(int y, int first, int entries) const;
    // Top of entry i's band.
    int EntryTop(int i, int first) const { return listTop + (i - first) * entry; }
};

enum class ListKey { Enter, PageUp, PageDown, Home, End, Up, Down, CtrlC, Other };
enum class ScrollRequest { None, LineUp, LineDown, PageUp, PageDown, Top, Bottom };

struct KeyOutcome {
    int selected = -1;
    ScrollRequest scroll = ScrollRequest::None;
    bool searchSelected = false;  // Enter on a selection: search for that kanji
    bool copySelected = false;    // Ctrl+C on a selection: copy the character
};

// What a key does to the selection and the scroll position. page and
// lastVisible as in KanjiListGeometry; busy = a worker runs or a search holds
// the lock (Enter then does nothing).
KeyOutcome ApplyListKey(ListKey key, int selected, int first, int lastVisible, int entries, int page, bool busy);

// Position of a pop-up (the hover card, HoverCardPlace.h).
struct CardPlace {
    int x;
    int y;
};

// Value range of the vertical scroll bar for entries and page: the highest
// position is entries - page (entries - 1 when the page is empty).
int ScrollMaximum(int entries, int page);

}  // namespace mirudex::ui
