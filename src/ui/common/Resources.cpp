#include "ui/common/Resources.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/Registry.h"

namespace mirudex::ui {

QColor ColorFromColorref(int colorref)
{
    const unsigned c = static_cast<unsigned>(colorref);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF),
                  255);
}

QColor Complement(const QColor& color)
{
    return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue(), color.alpha());
}

namespace {

double Luminance(const QColor& c)
{
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleOn(const QColor& color, const QColor& background)
{
    constexpr double kEnough = 3.0;
    if (ContrastRatio(color, background) >= kEnough)
        return color;
    const QColor target = Luminance(background) > 0.18 ? QColor(0, 0, 0) : QColor(255, 255, 255);
    for (int step = 1; step <= 10; ++step) {
        const double t = step / 10.0;
        const QColor mixed(static_cast<int>(color.red() + (target.red() - color.red()) * t),
                           static_cast<int>(color.green() + (target.green() - color.green()) * t),
                           static_cast<int>(color.blue() + (target.blue() - color.blue()) * t));
        if (ContrastRatio(mixed, background) >= kEnough)
            return mixed;
    }
    return target;
}

QStringList FallbackFamilies()
{
    return {QStringLiteral("IPAMincho"),   QStringLiteral("IPAPMincho"),       QStringLiteral("IPAGothic"),
            QStringLiteral("IPAPGothic"),  QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Serif CJK JP"),
            QStringLiteral("TakaoMincho"), QStringLiteral("VL Gothic")};
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long product = static_cast<long long>(a) * b;
    long long half = std::llabs(static_cast<long long>(c)) / 2;
    bool negative = (product < 0) != (c < 0);
    long long q = (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
    return static_cast<int>(negative ? -q : q);
}

namespace {

// A family several foundries make is named once for each, as "Family [Foundry]".
QString WithoutFoundry(const QString& name)
{
    const qsizetype bracket = name.indexOf(QStringLiteral(" ["));
    return bracket > 0 ? name.left(bracket) : name;
}

}  // namespace

QStringList InstalledFamilies()
{
    QStringList names = QFontDatabase::families();
    for (QString& name : names)
        name = WithoutFoundry(name);
    return names;
}

QStringList FamiliesToGive(const QStringList& wanted, const QStringList& installed)
{
    QStringList given;
    for (const QString& family : wanted) {
        // A name in another script may be an installed font's name in its own
        // language, which only Qt's matching knows: it is kept.
        const bool latin = std::all_of(family.begin(), family.end(), [](QChar c) { return c.unicode() < 0x80; });
        if ((installed.contains(WithoutFoundry(family), Qt::CaseInsensitive) || !latin) &&
            !given.contains(family, Qt::CaseInsensitive))
            given << family;
    }
    if (given.isEmpty())
        return wanted;  // nothing known is installed: all is left to fontconfig
    // Our Japanese faces have a glyph for all the program shows (Latin, kana,
    // kanji): given alone, fontconfig is asked for fallbacks only when a
    // glyph is missing, not at the first use of each script.
    if (FallbackFamilies().contains(given.front(), Qt::CaseInsensitive))
        given.erase(given.begin() + 1, given.end());
    return given;
}

QFont MakeFont(const QString& face, int pointSize, int dpiY)
{
    QFont font;
    QStringList families{face};
    // Faces of the other platform map to what exists here, keeping the look:
    // a proportional Latin face for the Latin text, then a Japanese face of
    // the same kind (Mincho for serif faces, Gothic otherwise) for the rest.
    // "Sans Serif", "MS Sans Serif", "Noto Sans": a "Sans" in the name says sans serif, whatever follows.
    const bool sans =
        face.contains(QRegularExpression(QStringLiteral("\\bsans\\b"), QRegularExpression::CaseInsensitiveOption));
    const bool serif = !sans && (face.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) ||
                                 face.contains(QStringLiteral("Times"), Qt::CaseInsensitive) ||
                                 face.contains(QStringLiteral("Serif"), Qt::CaseInsensitive));
    const bool japanese = face.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) ||
                          face.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive);
    if (!japanese) {
        if (serif)
            families << QStringLiteral("Liberation Serif") << QStringLiteral("DejaVu Serif");
        else
            families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    }
    if (serif)
        families << QStringLiteral("IPAPMincho") << QStringLiteral("IPAMincho");
    else
        families << QStringLiteral("IPAPGothic") << QStringLiteral("IPAGothic");
    families << FallbackFamilies();
    families.removeDuplicates();
    font.setFamilies(qApp ? FamiliesToGive(families, InstalledFamilies()) : families);
    font.setPixelSize(std::max(1, MulDiv(pointSize, dpiY, 72)));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

const QPixmap& Resources::Arrow(SortArrow which) const
{
    switch (which) {
    case SortArrow::Asc1: return bitmap_sort_asc1;
    case SortArrow::Asc2: return bitmap_sort_asc2;
    case SortArrow::Dsc1: return bitmap_sort_dsc1;
    case SortArrow::Dsc2: return bitmap_sort_dsc2;
    }
    return bitmap_sort_asc1;
}

namespace {

QFont FontFromOptions(Registry& options, const opt::FontItems& font, int dpiY)
{
    const std::string face = options.GetString(font.face);
    const int size = options.GetINT(font.size);
    return MakeFont(QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size())), size, dpiY);
}

QColor ColorOption(Registry& options, std::string_view path) { return ColorFromColorref(options.GetINT(path)); }

QPixmap DrawArrow(bool up, bool primary)
{
    // Drawn for the screen's pixel ratio, so that it is sharp at 2x as well.
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(9, 9) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygon triangle;
    if (up)
        triangle << QPoint(4, 1) << QPoint(8, 7) << QPoint(0, 7);
    else
        triangle << QPoint(0, 1) << QPoint(8, 1) << QPoint(4, 7);
    // In the header's own text colour, so that it shows on a dark desktop as well.
    const QColor ink = qApp ? QGuiApplication::palette().color(QPalette::ButtonText) : QColor(32, 32, 32);
    p.setPen(QPen(ink, 1));
    p.setBrush(primary ? QBrush(ink) : QBrush(Qt::NoBrush));
    p.drawPolygon(triangle);
    return pm;
}

}  // namespace

void LoadFonts(Registry& options, Fonts& fonts, int dpiY)
{
    fonts.result_word = FontFromOptions(options, opt::results::fonts::word::kFontItems, dpiY);
    fonts.result_kana = FontFromOptions(options, opt::results::fonts::kana::kFontItems, dpiY);
    fonts.result_meaning = FontFromOptions(options, opt::results::fonts::meaning::kFontItems, dpiY);
    fonts.result_info = FontFromOptions(options, opt::results::fonts::info::kFontItems, dpiY);
    fonts.kanji_kanji = FontFromOptions(options, opt::kanji::fonts::kanji::kFontItems, dpiY);
    fonts.kanji_onkun = FontFromOptions(options, opt::kanji::fonts::on::kFontItems, dpiY);
    fonts.kanji_meaning = FontFromOptions(options, opt::kanji::fonts::meaning::kFontItems, dpiY);
    fonts.misc = FontFromOptions(options, opt::misc::font::kFontItems, dpiY);
}

void LoadResultColors(Registry& options, ResultColors& c)
{
    c.word = ColorOption(options, opt::results::fonts::word::kColor);
    c.kana = ColorOption(options, opt::results::fonts::kana::kColor);
    c.meaning = ColorOption(options, opt::results::fonts::meaning::kColor);
    c.info = ColorOption(options, opt::results::fonts::info::kColor);
    c.bg1 = ColorOption(options, opt::results::colors::kBG1);
    c.bg2 = ColorOption(options, opt::results::colors::kBG2);
    c.border_inside = ColorOption(options, opt::results::colors::kBorderInside);
    c.border_outside = ColorOption(options, opt::results::colors::kBorderOutside);
    c.bg_window = ColorOption(options, opt::results::colors::kBGWindow);
}

void LoadKanjiColors(Registry& options, KanjiColors& c)
{
    c.kanji = ColorOption(options, opt::kanji::fonts::kanji::kColor);
    c.on = ColorOption(options, opt::kanji::fonts::on::kColor);
    c.kun = ColorOption(options, opt::kanji::fonts::kun::kColor);
    c.meaning = ColorOption(options, opt::kanji::fonts::meaning::kColor);
    c.bg1 = ColorOption(options, opt::kanji::colors::kBG1);
    c.bg2 = ColorOption(options, opt::kanji::colors::kBG2);
    c.border_inside = ColorOption(options, opt::kanji::colors::kBorderInside);
    c.border_outside = ColorOption(options, opt::kanji::colors::kBorderOutside);
    c.bg_window = ColorOption(options, opt::kanji::colors::kBGWindow);
}

void MakeSortArrows(Resources& r)
{
    r.bitmap_sort_asc1 = DrawArrow(true, true);
    r.bitmap_sort_asc2 = DrawArrow(true, false);
    r.bitmap_sort_dsc1 = DrawArrow(false, true);
    r.bitmap_sort_dsc2 = DrawArrow(false, false);
}

}  // namespace mirudex::ui
