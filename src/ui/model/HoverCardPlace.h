#pragma once
// Where a pane's hover card opens: next to the row the mouse rests on, never
// over it, so the pointer stays on the pane (a card under the pointer would
// take the mouse from the pane, which then closes the card at once) and the
// row stays readable.

#include "ui/model/KanjiWindowLayout.h"

namespace mirudex::ui {

// A screen's work area; right and bottom are exclusive.
struct WorkArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Pixels between the row and the card.
inline constexpr int kCardRowGap = 2;

// Top-left corner of a card of size (w, h) for the row from rowTop to
// rowBottom (exclusive, screen coordinates) with the mouse at mouseX: below
// the row when the card fits there, else above it, else below it all the
// same (its top, the headword, stays in view). Across, the card starts at the
// mouse and is moved left as far as needed to end inside the work area, but
// never past its left edge.
CardPlace PlaceCardOffRow(int mouseX, int rowTop, int rowBottom, int w, int h, const WorkArea& area);

}  // namespace mirudex::ui
