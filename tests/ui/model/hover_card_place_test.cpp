// Where a hover card opens: off the pointer's row, inside the work area.
#include <gtest/gtest.h>

#include "ui/model/HoverCardPlace.h"

namespace mirudex::ui {
namespace {

TEST(HoverCardPlace, BelowOrAboveTheRowNeverOverIt)
{
    const WorkArea screen{0, 0, 1280, 1000};
    struct Case {
        const char* what;
        int mouseX, rowTop, rowBottom, w, h;
        WorkArea area;
        int wantX, wantY;
    };
    const Case cases[] = {
        {"room below", 100, 200, 240, 300, 200, screen, 100, 242},
        {"fits exactly below", 100, 200, 240, 300, 758, screen, 100, 242},
        {"no room below: above", 100, 700, 740, 300, 400, screen, 100, 298},
        {"fits exactly above", 100, 700, 740, 300, 698, screen, 100, 0},
        {"room on neither side: below", 100, 500, 540, 300, 600, screen, 100, 542},
        {"right edge: moved left", 1200, 200, 240, 300, 200, screen, 980, 242},
        {"wider than the screen: from its left edge", 50, 200, 240, 1500, 200, screen, 0, 242},
        {"a second screen", 1900, 100, 120, 300, 200, WorkArea{1280, 0, 1920, 1080}, 1620, 122},
        {"a second screen on the left", -100, 500, 520, 300, 400, WorkArea{-1024, 0, 0, 768}, -300, 98},
    };
    for (const Case& c : cases) {
        const CardPlace p = PlaceCardOffRow(c.mouseX, c.rowTop, c.rowBottom, c.w, c.h, c.area);
        EXPECT_EQ(p.x, c.wantX) << c.what;
        EXPECT_EQ(p.y, c.wantY) << c.what;
        // The card never covers the row.
        EXPECT_TRUE(p.y >= c.rowBottom || p.y + c.h <= c.rowTop) << c.what;
    }
}

TEST(HoverCardPlace, ALongCardIsCutToTheRoomBesideItsRowAndScrolls)
{
    const WorkArea screen{0, 0, 1280, 1024};
    constexpr int kBar = 16;
    struct Case {
        const char* what;
        int mouseX, rowTop, rowBottom, w, h;
        WorkArea area;
        ScreenRect want;
    };
    const Case cases[] = {
        {"fits below: whole, no scroll bar", 100, 200, 240, 300, 200, screen, {116, 242, 300, 200}},
        {"fits above: whole", 100, 700, 740, 300, 600, screen, {116, 98, 300, 600}},
        // The long card of a verb with many senses on a 1024-pixel screen.
        {"taller than both sides, more room below", 100, 300, 340, 327, 1545, screen, {116, 342, 343, 682}},
        {"taller than both sides, more room above", 100, 524, 564, 327, 1545, screen, {116, 0, 343, 522}},
        {"the same at twice the scale", 50, 262, 282, 656, 3090, WorkArea{0, 0, 1280, 800}, {66, 284, 672, 516}},
        {"scroll bar pushes it off the right edge: moved left",
         1000,
         300,
         340,
         270,
         1545,
         screen,
         {994, 342, 286, 682}},
        {"wider than the screen: cut to it", 400, 100, 120, 2000, 100, screen, {0, 122, 1280, 100}},
        {"a screen that does not start at 0",
         1500,
         900,
         920,
         300,
         2000,
         WorkArea{1280, 100, 1920, 1180},
         {1516, 100, 316, 798}},
        {"a row below the screen (window partly off it): above",
         100,
         1100,
         1140,
         300,
         2000,
         screen,
         {116, 0, 316, 1024}},
        {"a row on another screen: the whole area", 100, 2000, 2040, 300, 2000, screen, {116, 0, 316, 1024}},
    };
    for (const Case& c : cases) {
        const ScreenRect r = FitCardOffRow(c.mouseX, c.rowTop, c.rowBottom, c.w, c.h, kBar, c.area);
        EXPECT_EQ(r, c.want) << c.what << ": got " << r.x << "," << r.y << " " << r.w << "x" << r.h;
        // Wholly inside the area, and off the row wherever the row is on it.
        EXPECT_GE(r.x, c.area.left) << c.what;
        EXPECT_GE(r.y, c.area.top) << c.what;
        EXPECT_LE(r.x + r.w, c.area.right) << c.what;
        EXPECT_LE(r.y + r.h, c.area.bottom) << c.what;
        if (c.rowTop < c.area.bottom && c.rowBottom > c.area.top) {
            EXPECT_TRUE(r.y >= c.rowBottom || r.y + r.h <= c.rowTop) << c.what;
        }
        // The pointer's column stays free of the card.
        if (c.mouseX + kCardPointerGap + r.w <= c.area.right) {
            EXPECT_EQ(r.x, c.mouseX + kCardPointerGap) << c.what;
        }
        // Above or below as the simple placement puts it when the card fits.
        if (r.h == c.h && r.w == c.w) {
            EXPECT_EQ(PlaceCardOffRow(c.mouseX, c.rowTop, c.rowBottom, c.w, c.h, c.area).y, r.y) << c.what;
        }
    }
}

TEST(HoverCardPlace, ThePointerKeepsTheCardOnItsRowOnTheCardAndOnTheWayBetween)
{
    const ScreenRect row{0, 200, 600, 40};       // a pane's row, 200 to 239
    const ScreenRect below{100, 242, 300, 400};  // the card under it
    const ScreenRect above{100, 0, 300, 198};    // the card over it
    const ScreenRect far{100, 600, 300, 100};    // a card not next to the row
    struct Case {
        const char* what;
        int x, y;
        ScreenRect card;
        bool keeps;
    };
    const Case cases[] = {
        {"on the row", 590, 239, below, true},
        {"on the card", 399, 641, below, true},
        {"in the gap under the row", 150, 240, below, true},
        {"in the gap, last pixel", 150, 241, below, true},
        {"in the gap over the row", 150, 199, above, true},
        {"past the row's right end, beside the card", 620, 260, below, false},
        {"the row under it, beside the card", 50, 250, below, false},
        {"the row over it", 50, 190, below, false},
        {"just under the card", 150, 642, below, false},
        {"between the row and a card far from it", 150, 400, far, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PointerKeepsCard(c.x, c.y, row, c.card), c.keeps) << c.what;
}

TEST(HoverCardPlace, ARememberedWindowIsFittedToTheScreen)
{
    const FrameMargins frame{2, 24, 2, 2};
    struct Case {
        const char* what;
        ScreenRect window;
        WorkArea area;
        ScreenRect want;
    };
    const Case cases[] = {
        {"fits: left alone", {352, 213, 800, 600}, WorkArea{0, 0, 1280, 1024}, {352, 213, 800, 600}},
        {"partly off the right and bottom: moved in",
         {900, 700, 800, 600},
         WorkArea{0, 0, 1280, 1024},
         {476, 398, 800, 600}},
        // 1000 x 800 remembered at twice the scale of a 2560 x 1600 screen with a panel.
        {"taller than the screen: cut, status bar on screen",
         {100, 50, 1000, 800},
         WorkArea{0, 0, 1280, 770},
         {100, 0, 1000, 744}},
        {"larger than the screen both ways", {-50, -50, 3000, 3000}, WorkArea{0, 30, 1024, 768}, {0, 30, 1020, 712}},
        {"off the left and top", {-400, -300, 600, 400}, WorkArea{0, 0, 1280, 1024}, {0, 0, 600, 400}},
        {"on a second screen", {1500, 100, 800, 600}, WorkArea{1280, 0, 1920, 1080}, {1280, 100, 636, 600}},
    };
    for (const Case& c : cases) {
        const ScreenRect r = FitWindowToArea(c.window, frame, c.area);
        EXPECT_EQ(r, c.want) << c.what << ": got " << r.x << "," << r.y << " " << r.w << "x" << r.h;
        EXPECT_LE(r.x + r.w + frame.left + frame.right, c.area.right) << c.what;
        EXPECT_LE(r.y + r.h + frame.top + frame.bottom, c.area.bottom) << c.what;
    }
}

}  // namespace
}  // namespace mirudex::ui
