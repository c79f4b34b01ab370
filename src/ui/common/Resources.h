#pragma once
// What the panes draw with, made once at start-up from the options: the eight
// fonts, the eighteen colours, the four cursors and the four sort arrows.
// Owned by the program; windows keep a reference. User-interface thread only.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace mirudex {
class Registry;
}

namespace mirudex::ui {

// A COLORREF (0x00BBGGRR) as an opaque colour.
QColor ColorFromColorref(int colorref);
// The colour a selected entry is drawn with: each channel's complement.
QColor Complement(const QColor& color);

// A fixed colour drawn on a background the user chose (the hover cards'
// frame, radicals, numbers and bullets on BG1): the colour itself when it
// stands out from the background (contrast ratio 3 or more), else the colour
// moved towards black or white, whichever the background lacks, until it does.
QColor LegibleOn(const QColor& color, const QColor& background);
// The contrast ratio of two colours (1 to 21), from their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);

// Families tried after the user's face so that Japanese text always finds a
// glyph (the faces named by the default options do not exist on Linux).
QStringList FallbackFamilies();
// The families a font is given, of those wanted, in their order: those
// installed (and names in other scripts, which may be an installed font's own
// name), and only the first when it is one of the Japanese fallbacks; all
// wanted when none is installed. Qt asks fontconfig for a sorted list of all
// fonts (a costly call) for each family it cannot find, and for each family
// given with fallbacks in each script it is used in.
QStringList FamiliesToGive(const QStringList& wanted, const QStringList& installed);
// The installed families' names (without a foundry).
QStringList InstalledFamilies();
// A font from a face name and a size in points: pixel height = size x dpiY / 72,
// rounded as MulDiv rounds; weight normal, not italic. The user's face comes
// first, then the fallbacks, of which those FamiliesToGive keeps are given.
QFont MakeFont(const QString& face, int pointSize, int dpiY);
// MulDiv(a, b, c): a x b / c rounded half away from zero.
int MulDiv(int a, int b, int c);

struct Fonts {
    QFont result_word, result_kana, result_meaning, result_info;
    QFont kanji_kanji, kanji_onkun, kanji_meaning;
    QFont misc;  // "msgothic12"
};

struct ResultColors {
    QColor word, kana, meaning, info, bg1, bg2, border_inside, border_outside, bg_window;
};

struct KanjiColors {
    QColor kanji, on, kun, meaning, bg1, bg2, border_inside, border_outside, bg_window;
};

enum class SortArrow { Asc1, Asc2, Dsc1, Dsc2 };  // resource ids 113, 114, 122, 123

struct Resources {
    Fonts fonts;
    ResultColors result;
    KanjiColors kanji;
    QCursor cursor_arrow{Qt::ArrowCursor};
    QCursor cursor_resize_horizontal{Qt::SizeHorCursor};
    QCursor cursor_resize_vertical{Qt::SizeVerCursor};
    QCursor cursor_hand{Qt::PointingHandCursor};
    QPixmap bitmap_sort_asc1, bitmap_sort_asc2, bitmap_sort_dsc1, bitmap_sort_dsc2;

    const QPixmap& Arrow(SortArrow which) const;
};

// Reads the font and colour options (".\Results\Fonts\Word\Font" ...).
// Missing options end the program as every option read does.
void LoadFonts(Registry& options, Fonts& fonts, int dpiY);
void LoadResultColors(Registry& options, ResultColors& colors);
void LoadKanjiColors(Registry& options, KanjiColors& colors);
// Draws the four sort arrows (primary: solid, secondary: outlined), 9 x 9.
void MakeSortArrows(Resources& resources);

}  // namespace mirudex::ui
