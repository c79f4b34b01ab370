// The header-item arithmetic of the result windows: defaults, normalisation,
// widths, dragging, divider resizing and the double click.
#include <gtest/gtest.h>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "support/TestSupport.h"
#include "ui/model/ResultHeaderItems.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

std::vector<int> Percentages(const ResultHeaderItems& items, int bar)
{
    std::vector<int> out;
    for (int id : DisplayOrder(items, bar))
        out.push_back(items[static_cast<size_t>(id)].percentage);
    return out;
}

ResultHeaderItems Bar0(std::initializer_list<int> percentages)
{
    ResultHeaderItems items{};
    for (auto& item : items)
        item.bar = kNoBar;
    int id = 0;
    for (int p : percentages) {
        items[static_cast<size_t>(id)] = {0, p, id};
        ++id;
    }
    return items;
}

}  // namespace

TEST(ResultHeaderItems, DefaultsOfBothWindowsAndTheirNormalisation)
{
    Registry options;
    options.LoadFromText(DefaultOptionsText());
    struct Case {
        int index;
        std::vector<int> top, bottom, topPercent, bottomPercent;
    };
    const Case cases[] = {
        // The result window shows Relevance, its first sort key, last on the top bar.
        {0,
         {kItemWord, kItemInfo, kItemWordLength, kItemKanaLength, kItemRelevance},
         {kItemKana, kItemMeaning},
         {30, 52, 5, 5, 8},
         {30, 70}},
        {1, {kItemWord, kItemKana, kItemMeaning}, {}, {19, 20, 61}, {}},
    };
    for (const Case& c : cases) {
        ResultHeaderItems items = LoadHeaderItems(options, c.index);
        NormalizePercentages(items);
        EXPECT_EQ(DisplayOrder(items, 0), c.top) << c.index;
        EXPECT_EQ(DisplayOrder(items, 1), c.bottom) << c.index;
        EXPECT_EQ(Percentages(items, 0), c.topPercent) << c.index;
        EXPECT_EQ(Percentages(items, 1), c.bottomPercent) << c.index;
    }
    EXPECT_EQ(HeaderItemLabel(kItemWordLength), u"W");
    EXPECT_EQ(HeaderItemLabel(kItemKanaLength), u"K");
}

TEST(ResultHeaderItems, RelevanceIsHiddenUntilChosenAndMissingFromOlderOptionsFiles)
{
    for (int index : {0, 1}) {
        Registry options;
        options.LoadFromText(DefaultOptionsText());
        // Shown in the result window of a new options file (the first sort
        // key), hidden in the study list until chosen.
        EXPECT_EQ(LoadHeaderItems(options, index)[kItemRelevance].bar, index == 0 ? 0 : kNoBar) << index;

        // Chosen in the dialog, it is saved and read back like any other item.
        ResultHeaderItems items = LoadHeaderItems(options, index);
        items[kItemRelevance].bar = 1;
        items[kItemRelevance].position = 9;
        SaveHeaderItems(options, index, items);
        EXPECT_EQ(DisplayOrder(LoadHeaderItems(options, index), 1).back(), kItemRelevance) << index;

        // An options file written before the item existed.
        options.DeleteKey(std::string(HeaderItemsKey(index)) + "\\6");
        const ResultHeaderItems older = LoadHeaderItems(options, index);
        EXPECT_EQ(older[kItemRelevance].bar, kNoBar) << index;
        EXPECT_EQ(older[kItemWord].bar, items[kItemWord].bar) << index;
        // Chosen there, it is written, and the current key stays where it was.
        options.CD(".\\Results");
        SaveHeaderItems(options, index, older);
        EXPECT_EQ(LoadHeaderItems(options, index)[kItemRelevance].bar, kNoBar) << index;
        SaveHeaderItems(options, index, items);
        EXPECT_EQ(LoadHeaderItems(options, index)[kItemRelevance].bar, 1) << index;
        EXPECT_EQ(options.current().name, "Results") << index;
    }
    EXPECT_EQ(HeaderItemLabel(kItemRelevance), u"Relevance");
}

TEST(ResultHeaderItems, NormalisationScalesTruncatesAndPutsTheExcessOnTheFirstItem)
{
    struct Case {
        std::vector<int> in, out;
    };
    const Case cases[] = {
        {{50, 30, 30}, {46, 27, 27}},  // 45.45, 27.27, 27.27 -> 99, -1 excess
        {{30, 70}, {30, 70}},          // already 100
        {{0, 0, 100}, {1, 1, 98}},     // the 1 % floor, then 102 - 2 on the first that stays positive
        {{1, 1, 1}, {34, 33, 33}},    {{0, 0}, {99, 1}},  // nothing to scale: floor, then the rest on the first
        {{-5, 200}, {1, 99}},
    };
    for (const Case& c : cases) {
        ResultHeaderItems items = Bar0({});
        for (size_t k = 0; k < c.in.size(); ++k)
            items[k] = {0, c.in[k], static_cast<int>(k)};
        NormalizePercentages(items);
        EXPECT_EQ(Percentages(items, 0), c.out) << ::testing::PrintToString(c.in);
    }
}

TEST(ResultHeaderItems, WidthsTruncateAndTheLastItemTakesTheRest)
{
    EXPECT_EQ(ItemWidths(Bar0({30, 70}), 0, 801), (std::vector<int>{240, 561}));
    EXPECT_EQ(ItemWidths(Bar0({33, 33, 34}), 0, 100), (std::vector<int>{33, 33, 34}));
    EXPECT_EQ(ItemWidths(Bar0({30, 60, 5, 5}), 0, 99), (std::vector<int>{29, 59, 4, 7}));
    EXPECT_TRUE(ItemWidths(Bar0({30, 70}), 1, 500).empty());
}

TEST(ResultHeaderItems, SharedPositionsGiveAStableOrder)
{
    ResultHeaderItems items = Bar0({10, 20, 30, 40});
    items[3].position = 0;  // moved onto the bar by the dialog with a Position already in use
    items[1].position = 9;  // beyond the bar's item count
    EXPECT_EQ(DisplayOrder(items, 0), (std::vector<int>{0, 3, 2, 1}));
}

TEST(ResultHeaderItems, DraggingAnItemShiftsThePassedNeighbours)
{
    struct Case {
        int from, to;
        std::vector<int> order;
    };
    const Case cases[] = {
        {0, 2, {1, 2, 0, 3}},
        {3, 0, {3, 0, 1, 2}},
        {1, 3, {0, 2, 3, 1}},
        {2, 2, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        ResultHeaderItems items = Bar0({25, 25, 25, 25});
        MoveHeaderItem(items, 0, c.from, c.to);
        EXPECT_EQ(DisplayOrder(items, 0), c.order) << c.from << " -> " << c.to;
    }
}

class ResultHeaderItemsLog : public test::WorkDirTest {};

TEST_F(ResultHeaderItemsLog, DraggingPastTheLastItemIsLogged)
{
    OpenLog();
    ResultHeaderItems items = Bar0({50, 50});
    MoveHeaderItem(items, 0, 0, 5);  // a place the bar does not have
    EXPECT_EQ(items[0].position, 5);
    EXPECT_EQ(items[1].position, 0);
    EXPECT_EQ(DisplayOrder(items, 0), (std::vector<int>{1, 0}));
    EXPECT_NE(Log().find("ERROR: right is -1!\n"), std::string::npos);
}

TEST(ResultHeaderItems, DividerResizeSnapsAndTheRightNeighbourAbsorbs)
{
    struct Case {
        std::vector<int> start;
        int id, newWidth, barWidth;
        ResizeOutcome outcome;
        std::vector<int> after;
        int snapped;
    };
    const Case cases[] = {
        {{50, 50}, 0, 100, 200, ResizeOutcome::Applied, {50, 50}, 100},
        {{50, 50}, 0, 121, 200, ResizeOutcome::Applied, {60, 40}, 120},
        {{50, 50}, 0, 189, 200, ResizeOutcome::Applied, {94, 6}, 188},     // the neighbour keeps 12 pixels
        {{50, 50}, 0, 190, 200, ResizeOutcome::TooNarrow, {50, 50}, 190},  // 10 pixels left: refused
        {{50, 50}, 0, 10, 200, ResizeOutcome::TooNarrow, {50, 50}, 10},    // the item itself 10 pixels
        {{50, 50}, 0, 22, 200, ResizeOutcome::Applied, {11, 89}, 22},
        {{30, 30, 40}, 1, 30, 100, ResizeOutcome::Applied, {30, 30, 40}, 30},
        {{50, 50}, 1, 60, 200, ResizeOutcome::NoRightNeighbour, {50, 50}, 60},
    };
    for (const Case& c : cases) {
        ResultHeaderItems items = Bar0({});
        for (size_t k = 0; k < c.start.size(); ++k)
            items[k] = {0, c.start[k], static_cast<int>(k)};
        const ResizeResult r = ResizeHeaderItem(items, c.id, c.newWidth, c.barWidth);
        EXPECT_EQ(r.outcome, c.outcome) << c.newWidth;
        EXPECT_EQ(Percentages(items, 0), c.after) << c.newWidth;
        EXPECT_EQ(r.snappedWidth, c.snapped) << c.newWidth;
    }
}

TEST(ResultHeaderItems, DoubleClickGivesEqualSharesWithTheRestOnTheLastShown)
{
    ResultHeaderItems items = Bar0({10, 20, 70});
    items[0].position = 2;  // shown last
    items[2].position = 0;
    EqualShares(items, 0);
    EXPECT_EQ(items[0].percentage, 34);
    EXPECT_EQ(items[1].percentage, 33);
    EXPECT_EQ(items[2].percentage, 33);

    ResultHeaderItems four = Bar0({1, 2, 3, 94});
    EqualShares(four, 0);
    EXPECT_EQ(Percentages(four, 0), (std::vector<int>{25, 25, 25, 25}));
    EqualShares(four, 1);  // an empty bar is left alone
}

TEST(ResultHeaderItems, SavedItemsReadBackPerWindow)
{
    Registry options;
    options.LoadFromText(DefaultOptionsText());
    ResultHeaderItems items = LoadHeaderItems(options, 1);
    items[kItemInfo] = {1, 42, 7};
    SaveHeaderItems(options, 1, items);
    EXPECT_EQ(options.GetINT(".\\StudyList\\HeaderItems\\2\\Header"), 1);
    EXPECT_EQ(options.GetINT(".\\StudyList\\HeaderItems\\2\\Percentage"), 42);
    EXPECT_EQ(options.GetINT(".\\StudyList\\HeaderItems\\2\\Position"), 7);
    EXPECT_EQ(options.GetINT(".\\Results\\HeaderItems\\2\\Header"), 0) << "the result window's items are apart";
    const ResultHeaderItems back = LoadHeaderItems(options, 1);
    EXPECT_EQ(back[kItemInfo].percentage, 42);

    options.SetINT(".\\Results\\HeaderItems\\4\\Header", 7);
    EXPECT_EQ(LoadHeaderItems(options, 0)[kItemWordLength].bar, kNoBar) << "an unknown bar is not shown";
}
