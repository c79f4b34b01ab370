#pragma once
// The seven header items of a result window (Word, Kana, Info, Meaning, W, K,
// Relevance):
// which header bar shows each, its share of the bar in percent and its place
// on the bar, and the arithmetic the header bars are laid out and edited by.
// No Qt here: the header bar widget and the dialog only call these routines.
//
// Threads: user-interface thread only.

#include <array>
#include <string_view>
#include <vector>

namespace mirudex {
class Registry;
}

namespace mirudex::ui {

inline constexpr int kHeaderItemCount = 7;
inline constexpr int kBarCount = 2;
inline constexpr int kNoBar = -1;
// No item may be drawn narrower than this while its divider is dragged.
inline constexpr int kMinItemWidth = 11;

// Item ids; the id is also the sort key of the item.
// Relevance shows nothing in the rows: it is there to be clicked, sorting the
// list with the most relevant entries first (Candidates.h).
enum HeaderItemId : int {
    kItemWord = 0,
    kItemKana,
    kItemInfo,
    kItemMeaning,
    kItemWordLength,
    kItemKanaLength,
    kItemRelevance
};

struct ResultHeaderItem {
    int bar = kNoBar;    // 0 top, 1 bottom, -1 not shown
    int percentage = 0;  // share of the bar's width
    int position = 0;    // place among the items of its bar (sorting key for the display order)
};

using ResultHeaderItems = std::array<ResultHeaderItem, kHeaderItemCount>;

// "Word", "Kana", "Info", "Meaning", "W", "K", "Relevance".
std::u16string_view HeaderItemLabel(int id);

// The options key of a result window's header items: .\Results\HeaderItems
// (index 0) or .\StudyList\HeaderItems (index 1).
std::string_view HeaderItemsKey(int windowIndex);

// Reads N\Header, N\Percentage, N\Position for N = 0..6. A missing key ends
// the program, as every options read does, except for item 6 (Relevance),
// which options files of earlier versions lack: it is then not shown. Values outside -1..1 for the bar
// are taken as "not shown".
ResultHeaderItems LoadHeaderItems(Registry& options, int windowIndex);
void SaveHeaderItems(Registry& options, int windowIndex, const ResultHeaderItems& items);

// The ids of the items on bar b in display order: by Position, then by id
// (two items may share a Position after the dialog moved one between bars).
std::vector<int> DisplayOrder(const ResultHeaderItems& items, int bar);

// Brings the percentages of every bar to a sum of 100: each share is scaled by
// 100 / (sum of the bar), truncated and kept at least 1; what is then still
// missing or too much is put on the first item (by id) that stays positive.
void NormalizePercentages(ResultHeaderItems& items);

// Widths of the items of bar b in display order on a bar `width` pixels wide:
// truncate(width x percentage / 100), the last item taking the rest.
std::vector<int> ItemWidths(const ResultHeaderItems& items, int bar, int width);

// An item dragged from place oldPlace to newPlace of bar b (places in the
// display order before the drag): the item takes Position newPlace and the
// items it passed move one place towards where it came from. A place beyond
// the bar's items logs and ends the walk.
void MoveHeaderItem(ResultHeaderItems& items, int bar, int oldPlace, int newPlace);

enum class ResizeOutcome {
    Applied,           // percentages changed
    NoRightNeighbour,  // the item is the last of its bar: "Right is -1"
    TooNarrow,         // one of the two would be narrower than kMinItemWidth; nothing changed
};

struct ResizeResult {
    ResizeOutcome outcome;
    int snappedWidth;  // the tracked width snapped to the new percentage
};

// The divider right of item `id` dragged so that the item is newWidth pixels
// wide on a bar whose items are barWidth pixels wide together. The item's
// right-hand neighbour in display order absorbs the change.
ResizeResult ResizeHeaderItem(ResultHeaderItems& items, int id, int newWidth, int barWidth);

// Double click on a divider of bar b: equal shares (100 / n each); the item
// last in display order also gets what the integer division left over.
void EqualShares(ResultHeaderItems& items, int bar);

// Number of items on bar b.
int ItemCount(const ResultHeaderItems& items, int bar);

}  // namespace mirudex::ui
