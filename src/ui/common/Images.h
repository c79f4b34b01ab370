#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
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

// The pictures are drawn for a light background. On a dark one (a dark
// colour scheme), the pixels of a picture that touch its transparent
// surroundings (outlines, thin strokes, lettering) and stand out too little
// from that background are made lighter until they are legible; pixels inside
// a filled shape keep their colour, and so does a picture on a light background.
QImage LegiblePicture(const QImage& picture, const QColor& background);
// PixelIcon of the picture made legible on background.
QIcon PixelIconOn(const QString& path, const QColor& background);

// The program's own icon, for its windows' title bars.
QIcon ProgramIcon();

// Registers the main window's pictures (the icon and the About picture) with
// Qt. The library is static, so its resources must be pulled in by a call.
void InitImageResources();

}  // namespace mirudex::ui
