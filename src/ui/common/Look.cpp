#include "ui/common/Look.h"

#include <QGuiApplication>
#include <QScreen>

#include "core/DebugLog.h"

namespace mirudex::ui {

int ScreenDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

namespace {

// A progress line with one level-1 line per item, or the summary at level 0.
void ItemLines(const char16_t* progress, std::initializer_list<std::pair<const char16_t*, bool>> items)
{
    dlog::Write(progress);
    if (dlog::Level() > 0)
        dlog::Write(u"\n");
    bool all = true;
    for (const auto& [label, ok] : items) {
        all = all && ok;
        dlog::WriteAt(1, label, ok ? u"OKAY" : u"FAILED");
    }
    if (dlog::Level() == 0)
        dlog::Write(all ? u"OKAY\n" : u"FAILED\n");
}

// A font is made whatever the face: a missing face falls back to the family list.
bool Made(const QFont& font) { return !font.families().isEmpty() && !font.families().front().isEmpty(); }

}  // namespace

void LoadCursorsAndBitmaps(Resources& r)
{
    r.cursor_arrow = QCursor(Qt::ArrowCursor);
    r.cursor_resize_horizontal = QCursor(Qt::SizeHorCursor);
    r.cursor_resize_vertical = QCursor(Qt::SizeVerCursor);
    r.cursor_hand = QCursor(Qt::PointingHandCursor);
    ItemLines(u"Loading cursors...............", {{u"   cursor_arrow: %s\n", true},
                                                  {u"   cursor_resize_horizontal: %s\n", true},
                                                  {u"   cursor_resize_vertical: %s\n", true},
                                                  {u"   cursor_hand: %s\n", true}});
    MakeSortArrows(r);
    ItemLines(u"Loading bitmaps...............", {{u"   bitmap_sort_asc1: %s\n", !r.bitmap_sort_asc1.isNull()},
                                                  {u"   bitmap_sort_asc2: %s\n", !r.bitmap_sort_asc2.isNull()},
                                                  {u"   bitmap_sort_dsc1: %s\n", !r.bitmap_sort_dsc1.isNull()},
                                                  {u"   bitmap_sort_dsc2: %s\n", !r.bitmap_sort_dsc2.isNull()}});
}

void LoadFontsAndColors(Registry& registry, Resources& r, int dpiY)
{
    LoadFonts(registry, r.fonts, dpiY);
    const Fonts& f = r.fonts;
    ItemLines(u"Loading Result Window Fonts...", {{u"   hfont_result_word: %s\n", Made(f.result_word)},
                                                  {u"   hfont_result_kana: %s\n", Made(f.result_kana)},
                                                  {u"   hfont_result_meaning: %s\n", Made(f.result_meaning)},
                                                  {u"   hfont_result_info: %s\n", Made(f.result_info)}});
    dlog::Write(u"Loading Result Window Colors..");
    LoadResultColors(registry, r.result);
    dlog::Write(u"OKAY\n");
    ItemLines(u"Loading Kanji Window Fonts....", {{u"   hfont_kanji_kanji: %s\n", Made(f.kanji_kanji)},
                                                  {u"   hfont_kanji_onkun: %s\n", Made(f.kanji_onkun)},
                                                  {u"   hfont_kanji_meaning: %s\n", Made(f.kanji_meaning)}});
    dlog::Write(u"Loading Kanji Window Colors...");
    LoadKanjiColors(registry, r.kanji);
    dlog::Write(u"OKAY\n");
    ItemLines(u"Loading miscellaneous fonts...", {{u"   hfont_msgothic12: %s\n", Made(f.misc)}});
}

}  // namespace mirudex::ui
