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

TEST(SectionFigure, DatumAndReadings)
{
    RlRow r = flatRow(1000.5, 1001);
    EXPECT_NEAR(sectionFigure(r, everyMetre()).datum, 999.70, 1e-4);

    r = flatRow(100, 101);
    r.left[2] = NAN; // L3 missing: L4 is measured from L2
    const SectionFigure f = sectionFigure(r, everyMetre(1.5));
    int left = 0;
    for (const FigureTick& t : f.groundTicks)
        left += t.offset < 0;
    EXPECT_EQ(left, 7);
    EXPECT_EQ(f.groundTicks[2].offset, -4.5);     // L4 at 3 intervals from the centre...
    EXPECT_EQ(f.groundTicks[2].prevOffset, -3.0); // ...written from L2
    EXPECT_EQ(f.ground.size(), 15u);
    EXPECT_NEAR(f.datum, 99.7, 1e-4);

    r.right[2] = 0; // a zero level is no reading either: R4 is measured from R2
    const SectionFigure g = sectionFigure(r, everyMetre(1.5));
    EXPECT_EQ(g.groundTicks.size(), 14u);
    EXPECT_EQ(g.ground.size(), 14u);
    for (const FigureSegment& s : g.ground)
        EXPECT_GT(std::min(s.a.level, s.b.level), g.datum);
}

TEST(SectionFigure, SideSlopesRunOutwardsToTheGround)
{
    struct Case {
        const char* what;
        double ground, formation, leftSlope;
        std::size_t slopes;
        double meetOffset; // of the left slope
    };
    const Case cases[] = {
        // Edge at -4 (width 8), 0.1 below FC: fill 1.9 m high at 1:2 runs 3.8 m out.
        {"fill", 100, 102, 2, 2, -7.8},
        // Cut: the ground 2.1 m above the edge, the slope rises outwards.
        {"cut", 102, 100, 2, 2, -8.2},
        {"empty slope", 100, 102, NAN, 1, 0},
        {"zero slope", 100, 102, 0, 1, 0},
    };
    for (const Case& c : cases) {
        RlRow r = flatRow(c.ground, c.formation);
        r.leftSlope = c.leftSlope;
        const SectionFigure f = sectionFigure(r, everyMetre());
        ASSERT_EQ(f.slopes.size(), c.slopes) << c.what;
        if (c.slopes == 2) {
            EXPECT_NEAR(f.slopes[0].b.offset, c.meetOffset, 1e-9) << c.what;
            EXPECT_EQ(f.slopes[0].b.level, c.ground) << c.what;
            EXPECT_EQ(f.groundCarried[0].a.offset, -8) << c.what; // from the outermost reading
        }
    }
    RlRow noWidth = flatRow(100, 102);
    noWidth.width = NAN;
    const SectionFigure f = sectionFigure(noWidth, everyMetre());
    EXPECT_TRUE(f.formation.empty() && f.slopes.empty());
    EXPECT_EQ(f.ground.size(), 16u);
}

TEST(SectionFigure, SheetScaleFitsTheWidestSection)
{
    // Half of a 12 cm figure box (A4 with 2 cm margins).
    const struct {
        double reach;
        int scale;
    } cases[] = {{5.9, 100}, {6, 100}, {11, 200}, {14, 250}, {23.5, 500}, {31, 500}};
    for (const auto& c : cases)
        EXPECT_EQ(sheetScale(c.reach, 6), c.scale) << c.reach;

    SectionFigure f = sectionFigure(flatRow(100, 102), everyMetre(5)); // 40 m each side
    EXPECT_EQ(f.leftExtent, 40);
    clipFigure(f, 32);
    EXPECT_EQ(f.leftExtent, 32);
    for (const FigureSegment& s : f.ground) {
        EXPECT_LE(std::abs(s.a.offset), 32);
        EXPECT_LE(std::abs(s.b.offset), 32);
    }
    EXPECT_EQ(f.groundTicks.size(), 12u); // 5..30 m on each side
    EXPECT_EQ(f.ground.size(), 14u);      // the segment from 30 to 35 m cut at 32
}

} // namespace
} // namespace tarmela
