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

}  // namespace
}  // namespace mirudex::ui
