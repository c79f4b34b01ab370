// The pane tree: splits, layout on resize, divider moves and hit tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/model/PaneNode.h"

namespace mirudex::ui {
namespace {

class FakePane : public PaneWindow {
public:
    void PlacePane(const PaneRect& rect) override { placements.push_back(rect); }
    PaneRect last() const { return placements.empty() ? PaneRect{-1, -1, -1, -1} : placements.back(); }
    std::vector<PaneRect> placements;
};

PaneRect R(int x, int y, int w, int h) { return {x, y, w, h}; }

TEST(PaneNode, NewNodeIsAnEmptyLeafWithBarFour)
{
    PaneNode n;
    EXPECT_EQ(n.kind(), SplitKind::None);
    EXPECT_EQ(n.rect(), R(0, 0, 0, 0));
    EXPECT_EQ(n.bar(), 4);
    EXPECT_EQ(n.window(), nullptr);
    EXPECT_TRUE(n.DividerRect().IsEmpty());
    EXPECT_FALSE(n.HitTestDividers(0, 0));
}

TEST(PaneNode, SplitRefusalsAndResults)
{
    struct Case {
        const char* name;
        SplitKind kind;
        int position;
        int expected;
        PaneRect child0, child1;
    };
    // The node is (10, 20, 200, 100).
    const Case cases[] = {
        {"top/bottom", SplitKind::TopBottom, 30, 0, R(10, 20, 200, 30), R(10, 54, 200, 66)},
        {"top/bottom at zero", SplitKind::TopBottom, 0, 0, R(10, 20, 200, 0), R(10, 24, 200, 96)},
        {"top/bottom leaving one pixel", SplitKind::TopBottom, 95, 0, R(10, 20, 200, 95), R(10, 119, 200, 1)},
        {"top/bottom with bar touching the bottom", SplitKind::TopBottom, 96, kPaneNoRoom, {}, {}},
        {"top/bottom at the full height", SplitKind::TopBottom, 100, kPaneNoRoom, {}, {}},
        {"left/right", SplitKind::LeftRight, 50, 0, R(10, 20, 50, 100), R(64, 20, 146, 100)},
        {"left/right with no room", SplitKind::LeftRight, 196, kPaneNoRoom, {}, {}},
        {"unsplit of a leaf", SplitKind::None, 0, kPaneNotSplit, {}, {}},
        {"unknown kind", static_cast<SplitKind>(7), 10, kPaneBadKind, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaneNode n;
        n.SetPosition(10, 20, 200, 100);
        EXPECT_EQ(n.Split(c.kind, c.position), c.expected);
        if (c.expected == 0) {
            EXPECT_EQ(n.kind(), c.kind);
            EXPECT_EQ(n.child(0)->rect(), c.child0);
            EXPECT_EQ(n.child(1)->rect(), c.child1);
        } else {
            EXPECT_EQ(n.kind(), SplitKind::None);
            EXPECT_EQ(n.child(0), nullptr);
        }
    }
}

TEST(PaneNode, SplitOfSplitNodeIsRefusedAndUnsplitDropsChildren)
{
    PaneNode n;
    n.SetPosition(0, 0, 100, 100);
    ASSERT_EQ(n.Split(SplitKind::TopBottom, 50), 0);
    EXPECT_EQ(n.Split(SplitKind::LeftRight, 10), kPaneAlreadySplit);
    EXPECT_EQ(n.Split(SplitKind::TopBottom, 10), kPaneAlreadySplit);
    EXPECT_EQ(n.child(0)->rect(), R(0, 0, 100, 50));
    EXPECT_EQ(n.Split(SplitKind::None, 0), 0);
    EXPECT_TRUE(n.IsLeaf());
    EXPECT_EQ(n.child(0), nullptr);
    EXPECT_EQ(n.Split(SplitKind::None, 0), kPaneNotSplit);
}

TEST(PaneNode, AttachWindowOnlyOnLeavesAndPlacesIt)
{
    PaneNode n;
    n.SetPosition(0, 0, 300, 200);
    FakePane a, b;
    ASSERT_EQ(n.Split(SplitKind::LeftRight, 100), 0);
    EXPECT_EQ(n.AttachWindow(&a), kPaneNotLeaf);
    EXPECT_TRUE(a.placements.empty());
    EXPECT_EQ(n.child(0)->AttachWindow(&a), 0);
    EXPECT_EQ(a.last(), R(0, 0, 100, 200));
    EXPECT_EQ(n.child(1)->AttachWindow(&b), 0);
    EXPECT_EQ(b.last(), R(104, 0, 196, 200));
    EXPECT_EQ(n.child(1)->AttachWindow(nullptr), 0);
    EXPECT_EQ(n.child(1)->window(), nullptr);
}

TEST(PaneNode, SplittingALeafWithAWindowLaysOutItsChildren)
{
    // The pane toggles split a column that holds a window and then attach
    // windows to the halves; later resizes must reach the halves.
    PaneNode n;
    FakePane whole, top, bottom;
    n.SetPosition(0, 0, 100, 90);
    n.AttachWindow(&whole);
    ASSERT_EQ(n.Split(SplitKind::TopBottom, 60), 0);
    n.child(0)->AttachWindow(&top);
    n.child(1)->AttachWindow(&bottom);
    whole.placements.clear();
    n.SetPosition(0, 0, 120, 90);
    EXPECT_TRUE(whole.placements.empty());
    EXPECT_EQ(top.last(), R(0, 0, 120, 60));
    EXPECT_EQ(bottom.last(), R(0, 64, 120, 26));
}

// The main window's tree: search on top, kanji column left, result column right.
struct MainTree {
    PaneNode root;
    FakePane search, kanji, result;
    MainTree(int w, int h, int top, int left)
    {
        root.SetPosition(0, 0, w, h);
        EXPECT_EQ(root.Split(SplitKind::TopBottom, top), 0);
        root.child(0)->AttachWindow(&search);
        EXPECT_EQ(root.child(1)->Split(SplitKind::LeftRight, left), 0);
        root.child(1)->child(0)->AttachWindow(&kanji);
        root.child(1)->child(1)->AttachWindow(&result);
    }
};

TEST(PaneNode, ResizeKeepsTopAndLeftSizes)
{
    struct Case {
        const char* name;
        int w, h;
        PaneRect search, kanji, result;
    };
    const Case cases[] = {
        {"larger", 1000, 700, R(0, 0, 1000, 145), R(0, 149, 220, 551), R(224, 149, 776, 551)},
        {"smaller", 600, 400, R(0, 0, 600, 145), R(0, 149, 220, 251), R(224, 149, 376, 251)},
        // Lower than the top pane: the top pane never exceeds height - 4.
        {"lower than the top pane", 600, 100, R(0, 0, 600, 96), R(0, 100, 220, 0), R(224, 100, 376, 0)},
        // Narrower than the left column: the left column keeps its width and
        // the right column's width goes to zero or below.
        {"as narrow as the left column plus bar", 224, 400, R(0, 0, 224, 145), R(0, 149, 220, 251),
         R(224, 149, 0, 251)},
        {"narrower than the left column", 150, 400, R(0, 0, 150, 145), R(0, 149, 220, 251), R(224, 149, -74, 251)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainTree t(800, 550, 145, 220);
        t.root.SetPosition(0, 0, c.w, c.h);
        EXPECT_EQ(t.search.last(), c.search);
        EXPECT_EQ(t.kanji.last(), c.kanji);
        EXPECT_EQ(t.result.last(), c.result);
    }
}

TEST(PaneNode, ShrinkingBelowTheTopPaneThenGrowingGivesItsHeightBack)
{
    MainTree t(800, 550, 145, 220);
    t.root.SetPosition(0, 0, 800, 100);
    EXPECT_EQ(t.search.last(), R(0, 0, 800, 96));
    t.root.SetPosition(0, 0, 800, 550);
    EXPECT_EQ(t.search.last(), R(0, 0, 800, 145));
    EXPECT_EQ(t.kanji.last(), R(0, 149, 220, 401));

    // A dragged divider is the size given back, and so is a nested one: the
    // kanji window over the radical pane, squeezed to nothing and grown again.
    EXPECT_EQ(t.root.MoveDivider(-45), 0);
    PaneNode& column = *t.root.child(1)->child(0);
    column.AttachWindow(nullptr);
    ASSERT_EQ(column.Split(SplitKind::TopBottom, column.rect().height * 2 / 3), 0);
    FakePane kanji, radical;
    column.child(0)->AttachWindow(&kanji);
    column.child(1)->AttachWindow(&radical);
    const PaneRect before = kanji.last();
    for (int h : {120, 60, 20, 3}) {
        t.root.SetPosition(0, 0, 250, h);
        EXPECT_LE(kanji.last().height, std::max(0, column.rect().height)) << h;
    }
    t.root.SetPosition(0, 0, 800, 550);
    EXPECT_EQ(t.search.last(), R(0, 0, 800, 100));
    EXPECT_EQ(kanji.last(), before);
    EXPECT_GT(radical.last().height, 0);
}

TEST(PaneNode, AColumnKeepingItsBottomHeightGivesTheTopPaneTheExtra)
{
    // The result column: the result window over the study list, split at two
    // thirds; the study list keeps its height and the results take the rest.
    struct Case {
        const char* name;
        int columnHeight;
        int dragBy;  // divider moved after the split
        PaneRect top, bottom;
    };
    const Case cases[] = {
        {"as split", 400, 0, R(0, 0, 300, 266), R(0, 270, 300, 130)},
        {"grown: all of it to the top", 900, 0, R(0, 0, 300, 766), R(0, 770, 300, 130)},
        {"shrunk: the top gives way first", 200, 0, R(0, 0, 300, 66), R(0, 70, 300, 130)},
        {"lower than the bottom pane", 100, 0, R(0, 0, 300, 0), R(0, 4, 300, 96)},
        {"dragged up, then grown", 900, -66, R(0, 0, 300, 700), R(0, 704, 300, 196)},
        {"dragged down, then shrunk", 300, 100, R(0, 0, 300, 266), R(0, 270, 300, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaneNode column;
        column.SetPosition(0, 0, 300, 400);
        column.KeepBottomHeight(true);
        ASSERT_EQ(column.Split(SplitKind::TopBottom, 400 * 2 / 3), 0);
        EXPECT_EQ(column.keptSize(), 130);
        FakePane top, bottom;
        column.child(0)->AttachWindow(&top);
        column.child(1)->AttachWindow(&bottom);
        ASSERT_EQ(column.MoveDivider(c.dragBy), 0);
        column.SetPosition(0, 0, 300, c.columnHeight);
        EXPECT_EQ(top.last(), c.top);
        EXPECT_EQ(bottom.last(), c.bottom);
        // Back at the first size, the bottom pane has the height it was given.
        column.SetPosition(0, 0, 300, 400);
        EXPECT_EQ(bottom.last().height, 130 - c.dragBy);
    }

    // Switched on after the split, the bottom pane's height at that moment is kept.
    PaneNode column;
    column.SetPosition(0, 0, 300, 400);
    ASSERT_EQ(column.Split(SplitKind::TopBottom, 100), 0);
    EXPECT_EQ(column.keptSize(), 100);
    column.KeepBottomHeight(true);
    EXPECT_EQ(column.keptSize(), 296);
    column.SetPosition(0, 0, 300, 500);
    EXPECT_EQ(column.child(0)->rect(), R(0, 0, 300, 200));
    EXPECT_TRUE(column.keepsBottomHeight());
}

TEST(PaneNode, MoveDividerLimits)
{
    struct Case {
        const char* name;
        int delta;
        int expected;
        int topHeight;  // height of the search pane afterwards
    };
    // Usable height 550, top pane 145 with a 4-pixel bar below it.
    const Case cases[] = {
        {"down", 10, 0, 155},
        {"up", -45, 0, 100},
        {"up to zero", -145, 0, 0},
        {"up beyond zero", -146, kPaneNoRoom, 145},
        // The bottom part may shrink to one pixel: its top stays below the node's bottom.
        {"down to one pixel above the bottom", 400, 0, 545},
        {"down to the bottom", 401, kPaneNoRoom, 145},
        {"on a leaf", 5, kPaneIsLeaf, 145},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainTree t(800, 550, 145, 220);
        PaneNode& target = c.expected == kPaneIsLeaf ? *t.root.child(0) : t.root;
        EXPECT_EQ(target.MoveDivider(c.delta), c.expected);
        EXPECT_EQ(t.root.child(0)->rect().height, c.topHeight);
        EXPECT_EQ(t.search.last().height, c.topHeight);
        const PaneRect lower = t.root.child(1)->rect();
        EXPECT_EQ(lower.y, c.topHeight + 4);
        EXPECT_EQ(lower.y + lower.height, 550);
        EXPECT_EQ(t.kanji.last().height, lower.height);
    }
}

TEST(PaneNode, MoveDividerAcross)
{
    MainTree t(800, 550, 145, 220);
    PaneNode& lower = *t.root.child(1);
    EXPECT_EQ(lower.MoveDivider(30), 0);
    EXPECT_EQ(t.kanji.last(), R(0, 149, 250, 401));
    EXPECT_EQ(t.result.last(), R(254, 149, 546, 401));
    EXPECT_EQ(lower.MoveDivider(-251), kPaneNoRoom);
    EXPECT_EQ(lower.MoveDivider(-250), 0);
    EXPECT_EQ(t.kanji.last().width, 0);
    EXPECT_EQ(lower.MoveDivider(799), kPaneNoRoom);
    EXPECT_EQ(lower.MoveDivider(795), 0);
    EXPECT_EQ(t.result.last(), R(799, 149, 1, 401));
}

TEST(PaneNode, DividerRectsAndHitTests)
{
    MainTree t(800, 550, 145, 220);
    EXPECT_EQ(t.root.DividerRect(), R(0, 145, 800, 4));
    EXPECT_EQ(t.root.child(1)->DividerRect(), R(220, 149, 4, 401));

    struct Case {
        int x, y;
        bool hit;
        PaneCursor cursor;
    };
    const Case cases[] = {
        {0, 145, true, PaneCursor::NorthSouth}, {799, 148, true, PaneCursor::NorthSouth},
        {400, 144, false, PaneCursor::None},    {400, 149, false, PaneCursor::None},
        {800, 146, false, PaneCursor::None},    {220, 300, true, PaneCursor::WestEast},
        {223, 549, true, PaneCursor::WestEast}, {224, 300, false, PaneCursor::None},
        {219, 300, false, PaneCursor::None},    {222, 550, false, PaneCursor::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        PaneCursor cursor = PaneCursor::None;
        EXPECT_EQ(t.root.HitTestDividers(c.x, c.y, &cursor), c.hit);
        EXPECT_EQ(cursor, c.cursor);
    }
}

TEST(PaneNode, HitTestFindsNestedDividers)
{
    MainTree t(800, 550, 145, 220);
    PaneNode& column = *t.root.child(1)->child(1);
    ASSERT_EQ(column.Split(SplitKind::TopBottom, column.rect().height * 2 / 3), 0);
    const PaneRect bar = column.DividerRect();
    EXPECT_EQ(bar, R(224, 149 + 267, 576, 4));
    PaneCursor cursor = PaneCursor::None;
    EXPECT_TRUE(t.root.HitTestDividers(500, bar.y + 2, &cursor));
    EXPECT_EQ(cursor, PaneCursor::NorthSouth);
}

}  // namespace
}  // namespace mirudex::ui
