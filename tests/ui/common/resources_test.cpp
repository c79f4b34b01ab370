#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <cstdlib>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "ui/common/Images.h"
#include "ui/common/Resources.h"

using namespace mirudex;
using namespace mirudex::ui;

TEST(Resources, ColorrefChannelsAndComplement)
{
    EXPECT_EQ(ColorFromColorref(8388608), QColor(0, 0, 128));  // navy
    EXPECT_EQ(ColorFromColorref(7347451), QColor(251, 28, 112));
    EXPECT_EQ(ColorFromColorref(12632256), QColor(192, 192, 192));
    EXPECT_EQ(ColorFromColorref(0x7F00FF00), QColor(0, 255, 0)) << "the high byte is not a channel";
    EXPECT_EQ(ColorFromColorref(0).alpha(), 255);
    EXPECT_EQ(Complement(QColor(0, 0, 128)), QColor(255, 255, 127));
}

TEST(Resources, PixelHeightRoundsLikeMulDiv)
{
    EXPECT_EQ(MulDiv(12, 96, 72), 16);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);  // 10.67 rounds up
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
    EXPECT_EQ(MulDiv(7, 120, 72), 12);  // 11.67
    EXPECT_EQ(MulDiv(-3, 5, 2), -8);    // half away from zero
    EXPECT_EQ(MakeFont("Arial", 8, 96).pixelSize(), 11);
}

TEST(Resources, JapaneseTextFindsAJapaneseFace)
{
    Registry options;
    options.LoadFromText(DefaultOptionsText());
    Fonts fonts;
    LoadFonts(options, fonts, 96);
    // The default face does not exist here: the installed Mincho face that stands for it comes first.
    EXPECT_EQ(fonts.result_word.families().front(), "IPAPMincho");
    EXPECT_EQ(fonts.kanji_kanji.pixelSize(), 32);
    QFontMetrics metrics(fonts.result_word);
    EXPECT_TRUE(metrics.inFont(QChar(0x732B))) << "猫 must have a glyph";
    EXPECT_TRUE(metrics.inFont(QChar(0x306D))) << "ね must have a glyph";
}

TEST(Resources, LatinFacesOfTheOtherPlatformMapToProportionalFaces)
{
    const QFont arial = MakeFont("Arial", 8, 96);
    EXPECT_EQ(arial.families().front(), "DejaVu Sans");
    EXPECT_LT(arial.families().indexOf("DejaVu Sans"), arial.families().indexOf("IPAPGothic"));
    const QFont times = MakeFont("Times New Roman", 8, 96);
    EXPECT_EQ(times.families().front(), "DejaVu Serif");
    EXPECT_LT(times.families().indexOf("DejaVu Serif"), times.families().indexOf("IPAPMincho"));
    // A "Sans" anywhere in the name is a sans face, though "Serif" follows it.
    for (const char* sansFace : {"Sans Serif", "MS Sans Serif", "Microsoft Sans Serif"}) {
        const QFont sans = MakeFont(sansFace, 8, 96);
        const QStringList families = sans.families();
        EXPECT_EQ(families.indexOf("DejaVu Serif"), -1) << sansFace;
        EXPECT_LT(families.indexOf("IPAPGothic"), families.indexOf("IPAPMincho")) << sansFace;
        EXPECT_FALSE(QFontInfo(sans).family().contains("Serif"))
            << sansFace << ": " << QFontInfo(sans).family().toStdString();
    }
    for (const char* serifFace : {"DejaVu Serif", "Serif", "Times"}) {
        const QStringList families = MakeFont(serifFace, 8, 96).families();
        EXPECT_LT(families.indexOf("IPAPMincho"), families.indexOf("IPAPGothic")) << serifFace;
    }
    const QFont mincho = MakeFont("MS Mincho", 12, 96);
    EXPECT_EQ(mincho.families(), QStringList{"IPAPMincho"}) << "a Japanese face keeps a Japanese look";
    QFontMetrics japanese(mincho);
    EXPECT_TRUE(japanese.inFont(QChar(0x732B)) && japanese.inFont(QChar('W')));
    // The meaning font is not monospaced where a proportional face exists.
    QFontMetrics metrics(arial);
    EXPECT_NE(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
}

// Qt asks fontconfig for a sorted list of every font for each family it cannot
// find and for each family given with fallbacks: only what can be used is given.
TEST(Resources, FontsAreGivenOnlyInstalledFamilies)
{
    const QStringList installed{"DejaVu Sans", "DejaVu Serif", "IPAPMincho", "IPAMincho", "IPAPGothic"};
    const struct {
        const char* what;
        QStringList wanted, given;
    } cases[] = {
        {"an installed Latin face keeps the installed fallbacks after it",
         {"DejaVu Serif", "Liberation Serif", "IPAPMincho", "IPAMincho", "Noto Serif CJK JP"},
         {"DejaVu Serif", "IPAPMincho", "IPAMincho"}},
        {"a face not installed gives way to the first installed one",
         {"Arial", "Liberation Sans", "DejaVu Sans", "IPAPGothic"},
         {"DejaVu Sans", "IPAPGothic"}},
        {"a face chosen with its foundry is kept as chosen",
         {"DejaVu Sans [PfEd]", "IPAPGothic"},
         {"DejaVu Sans [PfEd]", "IPAPGothic"}},
        {"names are matched ignoring case, and given once",
         {"dejavu sans", "DejaVu Sans", "IPAPGothic"},
         {"dejavu sans", "IPAPGothic"}},
        {"one of the Japanese fallbacks is given alone",
         {"MS Mincho", "IPAPMincho", "IPAMincho", "IPAPGothic"},
         {"IPAPMincho"}},
        {"a name in another script may be a font's own name, which Qt knows",
         {"ＭＳ 明朝", "IPAPMincho"},
         {"ＭＳ 明朝", "IPAPMincho"}},
        {"with nothing installed, all is left to fontconfig",
         {"Arial", "Liberation Sans"},
         {"Arial", "Liberation Sans"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FamiliesToGive(c.wanted, installed), c.given) << c.what;
    EXPECT_EQ(FamiliesToGive({"Arial", "IPAGothic"}, {}), QStringList({"Arial", "IPAGothic"})) << "no font at all";
}

TEST(Resources, InstalledFamiliesAreNamedWithoutTheirFoundry)
{
    const QStringList names = InstalledFamilies();
    EXPECT_TRUE(names.contains("IPAMincho"));
    for (const QString& name : names)
        EXPECT_FALSE(name.contains(" [")) << name.toStdString();
}

TEST(Resources, SortArrowsStandOutFromTheHeaderInLightAndDarkPalettes)
{
    const QPalette saved = QGuiApplication::palette();
    for (const QColor& background : {QColor(239, 239, 239), QColor(49, 54, 59)}) {
        QPalette palette(background);  // a button text colour that contrasts with the background
        QGuiApplication::setPalette(palette);
        Resources r;
        MakeSortArrows(r);
        const QImage arrow = r.bitmap_sort_asc1.toImage();
        const QColor middle = arrow.pixelColor(arrow.width() / 2, arrow.height() * 2 / 3);
        const QColor text = palette.color(QPalette::ButtonText);
        EXPECT_EQ(middle.alpha(), 255) << "the primary arrow is filled";
        EXPECT_LT(std::abs(middle.lightness() - text.lightness()), 40) << background.name().toStdString();
        EXPECT_GT(std::abs(middle.lightness() - background.lightness()), 100) << background.name().toStdString();
    }
    QGuiApplication::setPalette(saved);
}

TEST(Resources, PicturesAreLiftedOnADarkBackgroundAlongTheirEdgesOnly)
{
    // A 7 x 7 picture: a black ring on a transparent ground around a white
    // field with a black dot in its middle, and a dark blue stroke on the ground.
    QImage picture(7, 7, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j)
            picture.setPixelColor(i, j, (i == 1 || i == 5 || j == 1 || j == 5) ? Qt::black : Qt::white);
    picture.setPixelColor(3, 3, Qt::black);
    picture.setPixelColor(0, 6, QColor(0, 0, 128));
    struct Case {
        const char* what;
        QColor background;
        bool lifted;
    };
    const Case cases[] = {
        {"light window colour: as drawn", QColor(239, 239, 239), false},
        {"white: as drawn", Qt::white, false},
        {"dark colour scheme: lifted", QColor(49, 54, 59), true},
        {"black: lifted", Qt::black, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage out = LegiblePicture(picture, c.background);
        ASSERT_EQ(out.size(), picture.size());
        for (const QPoint edge : {QPoint(1, 1), QPoint(3, 1), QPoint(5, 5), QPoint(0, 6)}) {
            const QColor now = out.pixelColor(edge);
            EXPECT_EQ(now.alpha(), 255);
            if (c.lifted) {
                EXPECT_GE(ContrastRatio(now, c.background), 3.0) << edge.x() << "," << edge.y();
            } else {
                EXPECT_EQ(now, picture.pixelColor(edge)) << edge.x() << "," << edge.y();
            }
        }
        EXPECT_EQ(out.pixelColor(3, 3), QColor(Qt::black)) << "the dot inside the field keeps its colour";
        EXPECT_EQ(out.pixelColor(2, 2), QColor(Qt::white)) << "and so does the field";
        EXPECT_EQ(out.pixelColor(0, 0).alpha(), 0) << "the ground stays transparent";
    }
}
