#pragma once
// Fonts and colours of the panes, made from the options at start-up.
//
// A font comes from a face name and a point size: pixel height = size × the
// screen's vertical dpi / 72, rounded half away from zero. The faces the
// options name by default (MS Mincho, Arial, Times New Roman) are not found on
// Linux, so each font carries a family list: the user's face first, then a
// similar Latin face, then a Japanese face (IPA Mincho for serif faces, IPA
// Gothic otherwise) so that Japanese text always has glyphs. The option keeps
// the user's face name untouched.

#include <QColor>
#include <QFont>
#include <QStringList>
#include <string>

#include "core/Registry.h"

namespace mirudex::ui {

// Pixel height of a point size at dpi, rounded as the system's MulDiv rounds.
int PointsToPixels(int points, int dpi);
QStringList FontFamilies(const std::string& face);
QFont MakeFont(const std::string& face, int points, int dpi);
// A COLORREF (0x00BBGGRR) as an opaque colour.
QColor ColorFromColorref(int colorref);
// The screen's vertical dpi (96 when no screen is known).
int ScreenDpiY();

struct Look {
    QFont resultWord, resultKana, resultMeaning, resultInfo;
    QFont kanjiKanji, kanjiOnKun, kanjiMeaning;
    QFont misc;
    // Result window: word, kana, meaning, info, BG1, BG2, Border_Inside, Border_Outside, BGWindow.
    QColor resultColors[9];
    // Kanji window: kanji, on, kun, meaning, BG1, BG2, Border_Inside, Border_Outside, BGWindow.
    QColor kanjiColors[9];
};

// Start-up steps 13 to 17: the fonts and colours with their log lines.
void LoadLook(Registry& registry, Look& look, int dpi);

}  // namespace mirudex::ui
