#include "ui/model/KanjiWindowLayout.h"

#include <algorithm>
#include <numeric>

namespace mirudex::ui {

std::vector<int> LayoutPercentWidths(const std::vector<int>& percents, int total)
{
    std::vector<int> widths(percents.size(), 0);
    int sum = 0;
    for (size_t i = 0; i < percents.size(); ++i) {
        if (i + 1 == percents.size()) {
            widths[i] = total - sum;
        } else {
            widths[i] = static_cast<int>(static_cast<long long>(total) * percents[i] / 100);
            sum += widths[i];
        }
    }
    return widths;
}

int KanjiHeaderItems::Total() const { return std::accumulate(widths.begin(), widths.end(), 0); }

namespace {

int PercentOf(int width, int total) { return static_cast<int>(static_cast<double>(width) / total * 100.0); }

// The new width of the right neighbour when item becomes newWidth; false when
// there is none.
bool Neighbour(const KanjiHeaderItems& bar, int item, int newWidth, int& right, int& rightWidth)
{
    right = item + 1;
    if (right >= static_cast<int>(bar.widths.size()))
        return false;
    rightWidth = bar.widths[right] - (newWidth - bar.widths[item]);
    return true;
}

}  // namespace

TrackOutcome TrackHeaderItem(KanjiHeaderItems& bar, KanjiHeaderItems* other, int item, int proposedWidth)
{
    const int total = bar.Total();
    if (item < 0 || item >= static_cast<int>(bar.widths.size()) || total <= 0)
        return TrackOutcome::Refused;
    const int percent = PercentOf(proposedWidth, total);
    const int width = static_cast<int>(static_cast<long long>(percent) * total / 100);
    int right = 0;
    int rightWidth = 0;
    if (!Neighbour(bar, item, width, right, rightWidth))
        return TrackOutcome::NoRightItem;
    if (rightWidth < kMinHeaderItemWidth || width < kMinHeaderItemWidth)
        return TrackOutcome::Refused;

    const bool linked = item == 0 && other != nullptr && !other->widths.empty();
    int otherRight = 0;
    int otherRightWidth = 0;
    if (linked) {
        if (!Neighbour(*other, 0, width, otherRight, otherRightWidth))
            return TrackOutcome::NoRightItem;
        if (otherRightWidth < kMinHeaderItemWidth)
            return TrackOutcome::Refused;
        const int otherTotal = other->Total();
        other->widths[0] = width;
        other->percents[0] = percent;
        other->widths[otherRight] = otherRightWidth;
        other->percents[otherRight] = otherTotal > 0 ? PercentOf(otherRightWidth, otherTotal) : 0;
    }
    bar.widths[item] = width;
    bar.percents[item] = percent;
    bar.widths[right] = rightWidth;
    bar.percents[right] = PercentOf(rightWidth, total);
    return TrackOutcome::Applied;
}

void KanjiListGeometry::SetRows(int onHeight, int meaningHeight)
{
    const int meaning = meaningHeight > 0 ? meaningHeight : 0;
    row1 = std::max(onHeight, meaningHeight) + 2 * kKanjiCellMargin;
    row2 = meaning + 2 * kKanjiCellMargin;
    entry = row1 + row2;
}

int KanjiListGeometry::Page() const { return entry > 0 ? (listHeight - listTop) / entry : 0; }

int KanjiListGeometry::LastVisible(int first, int entries) const
{
    const int count = std::min(Page(), entries - first - 1);
    return first + count;
}

int KanjiListGeometry::HitTest(int y, int first, int entries) const
{
    const int last = LastVisible(first, entries);
    for (int i = first; i <= last; ++i) {
        const int top = EntryTop(i, first);
        if (y >= top && y <= top + entry - 1)
            return i;
    }
    return -1;
}

KeyOutcome ApplyListKey(ListKey key, int selected, int first, int lastVisible, int entries, int page, bool busy)
{
    KeyOutcome out;
    out.selected = selected;
    const bool has = selected >= 0;
    switch (key) {
    case ListKey::Enter:
        if (busy)
            break;
        if (has)
            out.searchSelected = true;
        else if (entries > 0)
            out.selected = first;
        break;
    case ListKey::PageUp:
        if (has)
            out.selected = selected > page - 1 ? selected - page : 0;
        out.scroll = ScrollRequest::PageUp;
        break;
    case ListKey::PageDown:
        if (has)
            out.selected = selected < entries - page ? selected + page : entries - 1;
        out.scroll = ScrollRequest::PageDown;
        break;
    case ListKey::End:
        if (has)
            out.selected = entries - 1;
        out.scroll = ScrollRequest::Bottom;
        break;
    case ListKey::Home:
        if (has)
            out.selected = 0;
        out.scroll = ScrollRequest::Top;
        break;
    case ListKey::Up:
        if (has && selected >= 1) {
            out.selected = selected - 1;
            if (selected == first)
                out.scroll = ScrollRequest::LineUp;
        } else {
            out.scroll = ScrollRequest::LineUp;
        }
        break;
    case ListKey::Down:
        if (has && selected < entries - 1) {
            out.selected = selected + 1;
            if (out.selected == lastVisible)
                out.scroll = ScrollRequest::LineDown;
        } else {
            out.scroll = ScrollRequest::LineDown;
        }
        break;
    case ListKey::CtrlC: out.copySelected = has; break;
    case ListKey::Other: break;
    }
    return out;
}

int ScrollMaximum(int entries, int page)
{
    if (entries <= 0)
        return 0;
    return std::max(0, entries - 1 - std::max(page - 1, 0));
}

}  // namespace mirudex::ui
