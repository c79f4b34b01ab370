#pragma once
// Where things open on the screen. A pane's hover card opens next to the row
// the mouse rests on, never over it, so the row stays readable and the pointer
// stays on the pane; it never leaves the available area of the screen, and
// what does not fit scrolls inside it. The pointer may go from the row to the
// card and rest there. A remembered main window is fitted to the screen in
// the same way.

#include "ui/model/KanjiWindowLayout.h"

namespace mirudex::ui {

// A screen's available area; right and bottom are exclusive.
struct WorkArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A rectangle in screen coordinates (right and bottom exclusive as x + w, y + h).
struct ScreenRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool Contains(int px, int py) const { return x <= px && px < x + w && y <= py && py < y + h; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Pixels between the row and the card.
inline constexpr int kCardRowGap = 2;
// Pixels between the pointer and the card's left edge: the column under the
// pointer stays free, so the pointer can go straight down or up the list to
// the next rows (each with its own card) or sideways onto the card.
inline constexpr int kCardPointerGap = 16;

// Top-left corner of a card of size (w, h) for the row from rowTop to
// rowBottom (exclusive, screen coordinates) with the mouse at mouseX: below
// the row when the card fits there, else above it, else below it all the
// same (its top, the headword, stays in view). Across, the card starts at the
// mouse and is moved left as far as needed to end inside the work area, but
// never past its left edge.
CardPlace PlaceCardOffRow(int mouseX, int rowTop, int rowBottom, int w, int h, const WorkArea& area);

// The whole card for content of size (w, h): kCardPointerGap right of the
// mouse (moved left as far as needed to end inside the area), below or above
// the row as PlaceCardOffRow does when the content fits; otherwise on the side with
// more room, cut to that room (the content then scrolls, and the card grows
// by scrollBarWidth across for its scroll bar). Never wider than the area,
// never outside it, never over the row. A row lying wholly outside the area
// (a window partly off screen) leaves the card the whole area's height.
ScreenRect FitCardOffRow(int mouseX, int rowTop, int rowBottom, int w, int h, int scrollBarWidth, const WorkArea& area);

// Whether an open card stays for a pointer at (px, py): on its row, on the
// card, or in the strip between them (the gap the pointer crosses from one to
// the other), across the card's width and the row's.
bool PointerKeepsCard(int px, int py, const ScreenRect& row, const ScreenRect& card);

// A window's outer frame around its client area, in pixels per side.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A remembered window (frame position x, y and client size w, h) fitted to
// the available area: a client larger than the area less the frame is cut to
// it, and the frame is then moved inside the area, the top-left corner last so
// that the title bar stays reachable. A window that fits is left where it was.
ScreenRect FitWindowToArea(const ScreenRect& window, const FrameMargins& frame, const WorkArea& area);

}  // namespace mirudex::ui
