#include "ui/model/HoverCardPlace.h"

#include <algorithm>

namespace mirudex::ui {

namespace {

// x of something w wide that starts at want, moved left to end inside the area
// but never past its left edge.
int FitAcross(int want, int w, const WorkArea& area)
{
    int x = want;
    if (x + w > area.right)
        x = area.right - w;
    return std::max(x, area.left);
}

}  // namespace

CardPlace PlaceCardOffRow(int mouseX, int rowTop, int rowBottom, int w, int h, const WorkArea& area)
{
    const int x = FitAcross(mouseX, w, area);
    const int below = rowBottom + kCardRowGap;
    const int above = rowTop - kCardRowGap - h;
    const bool fitsBelow = below + h <= area.bottom;
    const bool fitsAbove = above >= area.top;
    return {x, fitsBelow || !fitsAbove ? below : above};
}

ScreenRect FitCardOffRow(int mouseX, int rowTop, int rowBottom, int w, int h, int scrollBarWidth, const WorkArea& area)
{
    // A row beyond an edge of the area counts as lying just past that edge,
    // so the card keeps to the area.
    rowTop = std::min(rowTop, area.bottom + kCardRowGap);
    rowBottom = std::max(rowBottom, area.top - kCardRowGap);
    const int below = rowBottom + kCardRowGap;
    const int roomBelow = area.bottom - below;
    const int roomAbove = rowTop - kCardRowGap - area.top;
    ScreenRect card{0, 0, w, h};
    if (h <= roomBelow) {
        card.y = below;
    } else if (h <= roomAbove) {
        card.y = rowTop - kCardRowGap - h;
    } else {
        card.w = w + scrollBarWidth;
        if (roomBelow >= roomAbove) {
            card.h = roomBelow;
            card.y = below;
        } else {
            card.h = roomAbove;
            card.y = area.top;
        }
    }
    card.w = std::clamp(card.w, 1, std::max(1, area.Width()));
    card.h = std::max(1, card.h);
    card.x = FitAcross(mouseX + kCardPointerGap, card.w, area);
    return card;
}

bool PointerKeepsCard(int px, int py, const ScreenRect& row, const ScreenRect& card)
{
    if (row.Contains(px, py) || card.Contains(px, py))
        return true;
    // The strip between the row and the card, over the columns both share
    // and any the card spans: the pointer crosses it on its way.
    const int left = std::min(row.x, card.x);
    const int right = std::max(row.x + row.w, card.x + card.w);
    const int top = std::min(row.y + row.h, card.y + card.h);
    const int bottom = std::max(row.y, card.y);
    return left <= px && px < right && top <= py && py < bottom && bottom - top <= 2 * kCardRowGap;
}

ScreenRect FitWindowToArea(const ScreenRect& window, const FrameMargins& frame, const WorkArea& area)
{
    const int frameW = frame.left + frame.right;
    const int frameH = frame.top + frame.bottom;
    ScreenRect fitted = window;
    fitted.w = std::max(1, std::min(window.w, area.Width() - frameW));
    fitted.h = std::max(1, std::min(window.h, area.Height() - frameH));
    const int outerW = fitted.w + frameW;
    const int outerH = fitted.h + frameH;
    if (fitted.x + outerW > area.right)
        fitted.x = area.right - outerW;
    if (fitted.y + outerH > area.bottom)
        fitted.y = area.bottom - outerH;
    fitted.x = std::max(fitted.x, area.left);
    fitted.y = std::max(fitted.y, area.top);
    return fitted;
}

}  // namespace mirudex::ui
