// The kanji window's and the radical window's arithmetic, without widgets.
#include <gtest/gtest.h>

#include "ui/model/KanjiWindowLayout.h"
#include "ui/model/KanjiWindowText.h"
#include "ui/model/RadicalGrid.h"

using namespace mirudex;
using namespace mirudex::ui;

TEST(KanjiLayout, PercentWidthsGiveTheRestToTheLastItem)
{
    struct Case {
        std::vector<int> percents;
        int total;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {{20, 34, 34, 11}, 801, {160, 272, 272, 97}},  // "#" gets 12 % and the fractions
        {{20, 34, 34, 11}, 100, {20, 34, 34, 12}},
        {{20, 80}, 801, {160, 641}},
        {{20, 34, 34, 11}, 0, {0, 0, 0, 0}},
        {{50, 60}, 100, {50, 50}},  // more than 100 %: the last still closes the bar
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayoutPercentWidths(c.percents, c.total), c.widths) << c.total;
}

TEST(KanjiLayout, TrackingMovesWholePercentsAgainstTheRightNeighbour)
{
    KanjiHeaderItems one{{160, 272, 272, 97}, {20, 34, 34, 11}};
    KanjiHeaderItems two{{160, 641}, {20, 80}};

    // On: 300 px of 801 is 37 % = 296 px; Kun gives up 24 px.
    EXPECT_EQ(TrackHeaderItem(one, &two, 1, 300), TrackOutcome::Applied);
    EXPECT_EQ(one.widths, (std::vector<int>{160, 296, 248, 97}));
    EXPECT_EQ(one.percents, (std::vector<int>{20, 37, 30, 11}));
    EXPECT_EQ(two.widths, (std::vector<int>{160, 641})) << "only the Kanji column is shared";

    // The Kanji divider of either bar moves both.
    EXPECT_EQ(TrackHeaderItem(two, &one, 0, 240), TrackOutcome::Applied);
    EXPECT_EQ(two.widths, (std::vector<int>{232, 569})) << "240 / 801 = 29.96 %: 29 % = 232 px";
    EXPECT_EQ(one.widths[0], 232);
    EXPECT_EQ(one.widths[1], 296 - 72);
    EXPECT_EQ(one.percents[0], 29);
    EXPECT_EQ(two.percents, (std::vector<int>{29, 71}));
    EXPECT_EQ(one.Total(), 801);
    EXPECT_EQ(two.Total(), 801);
}

TEST(KanjiLayout, TrackingRefusals)
{
    struct Case {
        const char* what;
        int item;
        int proposed;
        TrackOutcome outcome;
    };
    const Case cases[] = {
        {"the item itself below 11 px", 1, 5, TrackOutcome::Refused},
        {"the right neighbour below 11 px", 2, 560, TrackOutcome::Refused},
        {"the last item has no right neighbour", 3, 50, TrackOutcome::NoRightItem},
        {"the other bar's neighbour below 11 px", 0, 800, TrackOutcome::Refused},
    };
    for (const auto& c : cases) {
        KanjiHeaderItems one{{160, 272, 272, 97}, {20, 34, 34, 11}};
        KanjiHeaderItems two{{160, 641}, {20, 80}};
        const KanjiHeaderItems before1 = one, before2 = two;
        EXPECT_EQ(TrackHeaderItem(one, &two, c.item, c.proposed), c.outcome) << c.what;
        EXPECT_EQ(one.widths, before1.widths) << c.what;
        EXPECT_EQ(two.widths, before2.widths) << c.what;
    }
    // The other bar refuses although this bar would allow it: neither changes.
    KanjiHeaderItems one{{160, 100, 520, 21}, {20, 12, 64, 2}};
    KanjiHeaderItems two{{160, 641}, {20, 80}};
    EXPECT_EQ(TrackHeaderItem(two, &one, 0, 300), TrackOutcome::Refused);
    EXPECT_EQ(two.widths[0], 160);
    EXPECT_EQ(one.widths[0], 160);
}

TEST(KanjiLayout, RowsPageVisibleRangeAndHitTest)
{
    KanjiListGeometry g;
    g.SetRows(13, 13);
    EXPECT_EQ(g.row1, 19);
    EXPECT_EQ(g.row2, 19);
    g.SetRows(10, -1);
    EXPECT_EQ(g.row1, 16);
    EXPECT_EQ(g.row2, 6) << "a non-positive meaning height counts as 0";
    g.SetRows(14, 13);
    g.listTop = 32;
    g.listHeight = 32 + 39 * 3 + 20;
    EXPECT_EQ(g.entry, 39);
    EXPECT_EQ(g.Page(), 3);
    EXPECT_EQ(g.LastVisible(0, 10), 3) << "page + 1 entries are drawn, the last one cut";
    EXPECT_EQ(g.LastVisible(0, 1), 0) << "one entry is still shown";
    EXPECT_EQ(g.LastVisible(8, 10), 9);
    EXPECT_LT(g.LastVisible(0, 0), 0);
    EXPECT_EQ(g.HitTest(31, 0, 10), -1);
    EXPECT_EQ(g.HitTest(32, 0, 10), 0);
    EXPECT_EQ(g.HitTest(32 + 38, 0, 10), 0);
    EXPECT_EQ(g.HitTest(32 + 39, 0, 10), 1);
    EXPECT_EQ(g.HitTest(32 + 39, 5, 10), 6);
    EXPECT_EQ(g.HitTest(32 + 39, 0, 1), -1) << "below the last entry";
}

TEST(KanjiLayout, KeysMoveTheSelectionAndScroll)
{
    using K = ListKey;
    using S = ScrollRequest;
    struct Case {
        const char* what;
        K key;
        int selected, first, last, entries, page;
        bool busy;
        int wantSelected;
        S wantScroll;
    };
    const Case cases[] = {
        {"no selection: down only scrolls", K::Down, -1, 0, 4, 10, 4, false, -1, S::LineDown},
        {"no selection: page down only scrolls", K::PageDown, -1, 0, 4, 10, 4, false, -1, S::PageDown},
        {"no selection: Enter selects the first visible", K::Enter, -1, 3, 7, 10, 4, false, 3, S::None},
        {"no selection: Enter while busy", K::Enter, -1, 3, 7, 10, 4, true, -1, S::None},
        {"one entry: page down selects it", K::PageDown, 0, 0, 0, 1, 4, false, 0, S::PageDown},
        {"one entry, empty page", K::PageDown, 0, 0, 0, 1, 0, false, 0, S::PageDown},
        {"page up near the top goes to 0", K::PageUp, 2, 0, 4, 10, 4, false, 0, S::PageUp},
        {"page up", K::PageUp, 6, 3, 7, 10, 4, false, 2, S::PageUp},
        {"page down near the end goes to the last", K::PageDown, 7, 4, 8, 10, 4, false, 9, S::PageDown},
        {"home", K::Home, 5, 3, 7, 10, 4, false, 0, S::Top},
        {"end", K::End, 5, 3, 7, 10, 4, false, 9, S::Bottom},
        {"up inside the page", K::Up, 5, 3, 7, 10, 4, false, 4, S::None},
        {"up from the first visible scrolls", K::Up, 3, 3, 7, 10, 4, false, 2, S::LineUp},
        {"up on 0 scrolls", K::Up, 0, 0, 4, 10, 4, false, 0, S::LineUp},
        {"down inside the page", K::Down, 4, 3, 7, 10, 4, false, 5, S::None},
        {"down onto the last visible scrolls", K::Down, 6, 3, 7, 10, 4, false, 7, S::LineDown},
        {"down on the last entry scrolls", K::Down, 9, 6, 9, 10, 4, false, 9, S::LineDown},
    };
    for (const auto& c : cases) {
        const KeyOutcome out = ApplyListKey(c.key, c.selected, c.first, c.last, c.entries, c.page, c.busy);
        EXPECT_EQ(out.selected, c.wantSelected) << c.what;
        EXPECT_EQ(out.scroll, c.wantScroll) << c.what;
    }
    EXPECT_FALSE(ApplyListKey(K::CtrlC, -1, 0, 4, 10, 4, false).copySelected) << "Ctrl+C copies nothing unselected";
    EXPECT_TRUE(ApplyListKey(K::CtrlC, 2, 0, 4, 10, 4, false).copySelected);
    EXPECT_TRUE(ApplyListKey(K::Enter, 2, 0, 4, 10, 4, false).searchSelected);
    EXPECT_FALSE(ApplyListKey(K::Enter, 2, 0, 4, 10, 4, true).searchSelected);
}

TEST(KanjiLayout, ScrollMaximum)
{
    EXPECT_EQ(ScrollMaximum(10, 4), 6);
    EXPECT_EQ(ScrollMaximum(1, 4), 0);
    EXPECT_EQ(ScrollMaximum(10, 0), 9);
    EXPECT_EQ(ScrollMaximum(0, 4), 0);
}

TEST(KanjiText, CopyKindsAndSearchTexts)
{
    dict::KanjiRecord r;
    r.code = 0x65E5;  // 日
    r.onReadings = {u"ニチ", u"ジツ"};
    r.kunReadings = {u"ひ", u"-び", u"-か"};
    r.nanori = {u"あ", u"あき"};
    r.radicalReadings = {u"にち"};
    r.meanings = {u"day", u"sun", u"Japan"};
    r.strokes = 4;
    r.frequency = 1;
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::Kanji), u"日");
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::On), u"ニチ | ジツ");
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::Kun), u"ひ | -び | -か");
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::Nanori), u"あ | あき");
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::RadicalReadings), u"にち");
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::Meanings), u"day | sun | Japan");
    EXPECT_EQ(KanjiCopyText(r, KanjiCopyKind::AllInfo),
              u"日\nStrokes: 4\nFrequency: 1 / 2501\nOn: ニチ | ジツ\nKun: ひ | -び | -か\nNanori: あ | あき\n"
              u"Radical Readings: にち\nMeaning: day | sun | Japan");
    dict::KanjiRecord empty;
    empty.code = 0x4E00;
    EXPECT_EQ(KanjiCopyText(empty, KanjiCopyKind::AllInfo),
              u"一\nStrokes: 0\nFrequency: 0 / 2501\nOn: \nKun: \nNanori: \nRadical Readings: \nMeaning: ");

    EXPECT_EQ(KanjiSearchText(u'日', KanjiSearchKind::ThisKanji), u"日");
    EXPECT_EQ(KanjiSearchText(u'日', KanjiSearchKind::StartingWith), u"日\uFF3F");
    EXPECT_EQ(KanjiSearchText(u'日', KanjiSearchKind::EndingWith), u"\uFF3F日");
    EXPECT_EQ(KanjiSearchText(u'日', KanjiSearchKind::Anywhere), u"\uFF3F日\uFF3F");
}

TEST(RadicalGridMath, CellsIndexesAndScrolling)
{
    RadicalGrid g;
    g.count = 25;
    g.Resize(16, 100, 50);  // cell 22: 4 columns, 3 visible rows
    EXPECT_EQ(g.cell, 22);
    EXPECT_EQ(g.columns, 4);
    EXPECT_EQ(g.visibleRows, 3);
    EXPECT_EQ(g.FirstIndex(), 0);
    EXPECT_EQ(g.LastIndex(), 12);
    EXPECT_EQ(g.IndexAt(0, 0), 0);
    EXPECT_EQ(g.IndexAt(23, 0), 1);
    EXPECT_EQ(g.IndexAt(95, 0), 4) << "the strip right of the last full column is the next row's first cell";
    EXPECT_EQ(g.IndexAt(0, 23), 4);
    EXPECT_EQ(g.CellX(5), 22);
    EXPECT_EQ(g.CellY(5), 22);
    g.firstRow = 5;
    EXPECT_EQ(g.FirstIndex(), 20);
    EXPECT_EQ(g.LastIndex(), 24);
    EXPECT_EQ(g.IndexAt(0, 0), 20);
    EXPECT_EQ(g.CellY(24), 22);
    EXPECT_EQ(g.RangeMax(), 7);
    EXPECT_EQ(g.ScrollMaximum(), 5);

    RadicalGrid narrow;
    narrow.count = 25;
    narrow.Resize(16, 21, 50);
    EXPECT_EQ(narrow.columns, 0);
    EXPECT_FALSE(narrow.HasCells());
    EXPECT_EQ(narrow.IndexAt(5, 5), -1);
    EXPECT_LT(narrow.LastIndex(), narrow.FirstIndex());
    EXPECT_EQ(narrow.ScrollMaximum(), 0);
}
