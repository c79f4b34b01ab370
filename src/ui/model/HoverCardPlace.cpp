#include "ui/model/HoverCardPlace.h"

#include <algorithm>

namespace mirudex::ui {

CardPlace PlaceCardOffRow(int mouseX, int rowTop, int rowBottom, int w, int h, const WorkArea& area)
{
    int x = mouseX;
    if (x + w > area.right)
        x = area.right - w;
    x = std::max(x, area.left);
    const int below = rowBottom + kCardRowGap;
    const int above = rowTop - kCardRowGap - h;
    const bool fitsBelow = below + h <= area.bottom;
    const bool fitsAbove = above >= area.top;
    return {x, fitsBelow || !fitsAbove ? below : above};
}

}  // namespace mirudex::ui
