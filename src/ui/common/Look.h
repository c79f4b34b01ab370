#pragma once
// Start-up steps that make what the panes draw with (cursors, sort arrows,
// fonts, colours) into the program's Resources, with their progress lines.

#include "core/Registry.h"
#include "ui/common/Resources.h"

namespace mirudex::ui {

// The four cursors and the four sort arrows: "Loading cursors..." and "Loading bitmaps...".
void LoadCursorsAndBitmaps(Resources& resources);
// The eight fonts and eighteen colours: "Loading Result Window Fonts..." to "Loading miscellaneous fonts...".
void LoadFontsAndColors(Registry& registry, Resources& resources, int dpiY);
// The screen's vertical dpi (96 when no screen is known).
int ScreenDpiY();

}  // namespace mirudex::ui
