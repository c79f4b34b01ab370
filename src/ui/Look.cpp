#include "ui/Look.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include "core/DebugLog.h"

namespace mirudex::ui {

int PointsToPixels(int points, int dpi)
{
    const long long product = static_cast<long long>(points) * dpi;
    const long long half = 36;
    return static_cast<int>(product >= 0 ? (product + half) / 72 : -((-product + half) / 72));
}

QStringList FontFamilies(const std::string& face)
{
    // Each byte of the option is one character of the face name.
    QString name;
    for (unsigned char c : face)
        name += QChar(c);
    const QString lower = name.toLower();
    const bool serif = lower.contains(QLatin1String("mincho")) || lower.contains(QLatin1String("times")) ||
                       lower.contains(QLatin1String("serif")) || name.contains(QString::fromUtf8("明朝"));
    QStringList families{name};
    if (lower.contains(QLatin1String("arial")))
        families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    else if (lower.contains(QLatin1String("times")))
        families << QStringLiteral("Liberation Serif") << QStringLiteral("DejaVu Serif");
    if (serif)
        families << QStringLiteral("IPAMincho") << QStringLiteral("IPAGothic") << QStringLiteral("Noto Serif CJK JP");
    else
        families << QStringLiteral("IPAGothic") << QStringLiteral("IPAMincho") << QStringLiteral("Noto Sans CJK JP");
    return families;
}

QFont MakeFont(const std::string& face, int points, int dpi)
{
    QFont font;
    const QStringList families = FontFamilies(face);
    font.setFamilies(families);
    font.setPixelSize(std::max(1, PointsToPixels(points, dpi)));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QColor ColorFromColorref(int colorref)
{
    const unsigned c = static_cast<unsigned>(colorref);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 255);
}

int ScreenDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

namespace {

struct FontSpec {
    const char* key;  // the key holding Font and Size
    const char16_t* label;
    QFont Look::*font;
};

void LoadFonts(Registry& registry, Look& look, int dpi, std::initializer_list<FontSpec> specs)
{
    if (dlog::Level() > 0)
        dlog::Write(u"\n");
    bool all = true;
    for (const FontSpec& spec : specs) {
        const std::string key = spec.key;
        const std::string face = registry.GetString(key + "\\Font");
        const int size = registry.GetINT(key + "\\Size");
        look.*spec.font = MakeFont(face, size, dpi);
        // A font always results: a face that is missing falls back to the family list.
        const bool made = !face.empty();
        all = all && made;
        dlog::WriteAt(1, spec.label, made ? u"OKAY" : u"FAILED");
    }
    if (dlog::Level() == 0)
        dlog::Write(all ? u"OKAY\n" : u"FAILED\n");
}

void LoadColors(Registry& registry, QColor* colors, std::initializer_list<const char*> keys)
{
    int i = 0;
    for (const char* key : keys)
        colors[i++] = ColorFromColorref(registry.GetINT(key));
    dlog::Write(u"OKAY\n");
}

}  // namespace

void LoadLook(Registry& registry, Look& look, int dpi)
{
    dlog::Write(u"Loading Result Window Fonts...");
    LoadFonts(registry, look, dpi,
              {{".\\Results\\Fonts\\Word", u"   hfont_result_word: %s\n", &Look::resultWord},
               {".\\Results\\Fonts\\Kana", u"   hfont_result_kana: %s\n", &Look::resultKana},
               {".\\Results\\Fonts\\Meaning", u"   hfont_result_meaning: %s\n", &Look::resultMeaning},
               {".\\Results\\Fonts\\Info", u"   hfont_result_info: %s\n", &Look::resultInfo}});
    dlog::Write(u"Loading Result Window Colors..");
    LoadColors(registry, look.resultColors,
               {".\\Results\\Fonts\\Word\\Color", ".\\Results\\Fonts\\Kana\\Color", ".\\Results\\Fonts\\Meaning\\Color",
                ".\\Results\\Fonts\\Info\\Color", ".\\Results\\Colors\\BG1", ".\\Results\\Colors\\BG2",
                ".\\Results\\Colors\\Border_Inside", ".\\Results\\Colors\\Border_Outside",
                ".\\Results\\Colors\\BGWindow"});
    dlog::Write(u"Loading Kanji Window Fonts....");
    LoadFonts(registry, look, dpi,
              {{".\\Kanji\\Fonts\\Kanji", u"   hfont_kanji_kanji: %s\n", &Look::kanjiKanji},
               {".\\Kanji\\Fonts\\On", u"   hfont_kanji_onkun: %s\n", &Look::kanjiOnKun},
               {".\\Kanji\\Fonts\\Meaning", u"   hfont_kanji_meaning: %s\n", &Look::kanjiMeaning}});
    dlog::Write(u"Loading Kanji Window Colors...");
    LoadColors(registry, look.kanjiColors,
               {".\\Kanji\\Fonts\\Kanji\\Color", ".\\Kanji\\Fonts\\On\\Color", ".\\Kanji\\Fonts\\Kun\\Color",
                ".\\Kanji\\Fonts\\Meaning\\Color", ".\\Kanji\\Colors\\BG1", ".\\Kanji\\Colors\\BG2",
                ".\\Kanji\\Colors\\Border_Inside", ".\\Kanji\\Colors\\Border_Outside", ".\\Kanji\\Colors\\BGWindow"});
    dlog::Write(u"Loading miscellaneous fonts...");
    LoadFonts(registry, look, dpi, {{".\\Misc\\Font", u"   hfont_msgothic12: %s\n", &Look::misc}});
}

}  // namespace mirudex::ui
