// The geometry of one cross section, shared by the page and the drawing file.
#include "drawing/CrossSectionFigure.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarmela
{
namespace
{

RlRow flatRow(double ground, double formation)
{
    RlRow r;
    r.chainage = 100;
    r.centre = ground;
    for (int i = 0; i < 8; ++i)
        r.left[i] = r.right[i] = ground;
    r.fc = r.fl1 = r.fr1 = formation;
    r.fl2 = r.fr2 = formation - 0.1;
    r.width = 8;
    r.leftSlope = r.rightSlope = 2;
    return r;
}

CrossDistances everyMetre(double d = 1)
{
    CrossDistances c;
    c.left.fill(d);
    c.right.fill(d);
    return c;
}

TEST(SectionFigure, Readings)
{
    // An empty reading is left out and the next measured on from the one before it
    // (CrossSectionDxf.WorldUnitsTrueGeometryEachSectionAtItsOwnPoint); so is a zero level.
    RlRow r = flatRow(100, 101);
    r.left[2] = NAN;
    r.right[2] = 0;
    const SectionFigure g = sectionFigure(r, everyMetre(1.5));
    EXPECT_EQ(g.groundTicks.size(), 14u);
    EXPECT_EQ(g.ground.size(), 14u);
    // Only the readings the areas use are drawn.
    const SectionFigure three = sectionFigure(flatRow(100, 101), everyMetre(), 3);
    EXPECT_EQ(three.groundTicks.size(), 6u);
    EXPECT_EQ(three.low, 100);
    EXPECT_EQ(three.high, 101);
}

TEST(SectionFigure, SideSlopesEndWhereTheyMeetTheGround)
{
    struct Case {
        const char* what;
        double ground, formation, leftSlope, rise; // rise: of the left ground, per metre out
        std::size_t slopes, carried;
        double meetOffset, meetLevel; // where the left slope ends
    };
    const Case cases[] = {
        // Edge at -4 (width 8), 0.1 below FC: fill 1.9 m high at 1:2 runs 3.8 m out.
        {"fill", 100, 102, 2, 0, 2, 0, -7.8, 100},
        // Cut: the ground 2.1 m above the edge; the slope rises outwards and passes the
        // outermost reading (8 m) before it reaches the ground's level.
        {"cut", 102, 100, 2, 0, 2, 2, -8.2, 102},
        // The ground rising 0.25 a metre out from the centre meets the falling slope at
        // 101.9 - (d - 4) / 2 = 100 + 0.25 d, d = 5.2.
        {"rising ground", 100, 102, 2, 0.25, 2, 0, -5.2, 101.3},
        // A fill 9.9 m high: past the outermost reading (8 m) the slope is carried on to the
        // level of that reading, 23.8 m out.
        {"carried", 100, 110, 2, 0, 2, 2, -23.8, 100},
        {"empty slope", 100, 102, NAN, 0, 1, 0, 0, 0},
        {"zero slope", 100, 102, 0, 0, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        RlRow r = flatRow(c.ground, c.formation);
        r.leftSlope = c.leftSlope;
        for (int i = 0; i < 8; ++i)
            r.left[i] = c.ground + c.rise * (i + 1);
        const SectionFigure f = sectionFigure(r, everyMetre());
        SCOPED_TRACE(c.what);
        ASSERT_EQ(f.slopes.size(), c.slopes);
        ASSERT_EQ(f.slopesCarried.size(), c.carried);
        ASSERT_EQ(f.groundCarried.size(), c.carried);
        if (c.meetOffset == 0)
            continue;
        const FigurePoint end = c.carried ? f.slopesCarried[0].b : f.slopes[0].b;
        EXPECT_NEAR(end.offset, c.meetOffset, 1e-9);
        EXPECT_NEAR(end.level, c.meetLevel, 1e-9);
        EXPECT_NEAR(f.leftExtent, std::max(8.0, -c.meetOffset), 1e-9);
        if (c.carried) {
            EXPECT_EQ(f.slopes[0].b.offset, -8); // solid to the outermost reading
            EXPECT_EQ(f.groundCarried[0].a.offset, -8);
        }
    }
    // (Without a width: CrossSectionDxf.EmptyCellsLeaveOutOnlyWhatNeedsThemAndBad...)
}

} // namespace
} // namespace tarmela
