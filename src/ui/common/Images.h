#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace mirudex::ui {

// The program's small pictures are pixel drawings: on a screen that scales by
// a whole factor (2x, 3x) each pixel becomes a square of pixels instead of a
// blur. PixelIcon holds the picture at 1x, 2x and 3x; PixelPixmap gives it
// for one device pixel ratio (drawn at the picture's own size in logical
// pixels).
QIcon PixelIcon(const QString& path);
QPixmap PixelPixmap(const QString& path, qreal devicePixelRatio);

// The program's own icon, for its windows' title bars.
QIcon ProgramIcon();

// Registers the main window's pictures (the icon and the About picture) with
// Qt. The library is static, so its resources must be pulled in by a call.
void InitImageResources();

}  // namespace mirudex::ui
