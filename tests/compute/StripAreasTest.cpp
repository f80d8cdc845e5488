#include "compute/StripAreas.h"
#include "compute/SectionAreas.h"
#include "store/Numbers.h"

#include <gtest/gtest.h>

using namespace tarmela;

namespace {

SectionLevels longSection(double fc, double centre, double width)
{
    SectionLevels s;
    s.fc = fc;
    s.centre = centre;
    s.width = width;
    s.crust = 0.25;
    s.leftSlope = s.rightSlope = 2;
    return s;
}

CrossDistances distances(std::initializer_list<double> left, std::initializer_list<double> right)
{
    CrossDistances d;
    std::copy(left.begin(), left.end(), d.left.begin());
    std::copy(right.begin(), right.end(), d.right.begin());
    return d;
}

// One strip from (proposed p1, ground g1) to (p2, g2), w wide.
StripSums strip(double p1, double g1, double p2, double g2, double w)
{
    SidePoints p;
    p.ProposedPoints[0] = p1;
    p.GroundPoints[0] = g1;
    p.ProposedPoints[1] = p2;
    p.GroundPoints[1] = g2;
    p.StripWidths[0] = w;
    StripSums sums;
    AccumulateStripAreas(p, 1, sums);
    return sums;
}

} // namespace

TEST(StripAreas, FillCutAndACrossingInsideTheStrip)
{
    StripSums s = strip(101, 100, 102, 100, 4); // trapezoid (1 + 2) / 2 * 4
    EXPECT_DOUBLE_EQ(s.FillSum, 6);
    EXPECT_DOUBLE_EQ(s.CutSum, 0);
    s = strip(99, 100, 98, 100, 4);
    EXPECT_DOUBLE_EQ(s.CutSum, 6);
    EXPECT_DOUBLE_EQ(s.FillSum, 0);

    // The formation crosses the ground a quarter of the way along: two triangles,
    // 0.5 * 1 * 0.5 of fill and 0.5 * 3 * 1.5 of cut.
    s = strip(100, 99.5, 100, 101.5, 4);
    EXPECT_DOUBLE_EQ(s.FillSum, 0.25);
    EXPECT_DOUBLE_EQ(s.CutSum, 2.25);
    s = strip(100, 101.5, 100, 99.5, 4); // the same, mirrored
    EXPECT_DOUBLE_EQ(s.FillSum, 0.25);
    EXPECT_DOUBLE_EQ(s.CutSum, 2.25);

    // A zero at one end counts with the other end; zero at both adds nothing.
    s = strip(100, 100, 101, 100, 2);
    EXPECT_DOUBLE_EQ(s.FillSum, 1);
    s = strip(100, 100, 100, 101, 2);
    EXPECT_DOUBLE_EQ(s.CutSum, 1);
    EXPECT_DOUBLE_EQ(s.FillSum, 0);
    s = strip(100, 100, 100, 100, 2);
    EXPECT_DOUBLE_EQ(s.FillSum + s.CutSum, 0);
}

TEST(LongMethod, EdgePointBetweenReadingsAndTheFallingSlope)
{
    // Width 8: the edge at offset 4 lies between L1 (offset 2) and L2 (offset 5). Strips:
    // centre-L1 fill 2, L1-edge fill 2, edge-L2 (1 + 0.5) / 2 * 1 = 0.75 (proposed 99.5).
    SectionLevels s = longSection(100, 99, 8);
    s.left[0] = 99;
    s.left[1] = 99;
    CentrePoint centre;
    const SectionArea a = longMethodArea(s, distances({2, 3}, {}), 8, centre);
    EXPECT_DOUBLE_EQ(a.fill, 4.75);
    EXPECT_DOUBLE_EQ(a.cut, 0);

    // The right side adds to the same sums; a reading exactly on the edge needs no extra
    // point: 2 + 2 up to the edge on the right, then (1 + 0) / 2 * 2 out to R3 at offset 6,
    // where the slope has fallen to the ground (99).
    s.right[0] = 99;
    s.right[1] = 99;
    s.right[2] = 99;
    const SectionArea both = longMethodArea(s, distances({2, 3}, {2, 2, 2}), 8, centre);
    EXPECT_DOUBLE_EQ(both.fill, 4.75 + 2 + 2 + 1);
    EXPECT_DOUBLE_EQ(both.cut, 0);
}

TEST(LongMethod, FirstReadingBeyondTheEdgeInterpolatesFromTheCentre)
{
    // Width 4 (edge at 2), L1 at offset 4 at 102, centre ground 100: the edge's ground is
    // 101, level with the formation. Centre to edge: fill (1 + 0) / 2 * 2 = 1. Beyond the
    // edge the ground rises 1 in 2, exactly along a 1 in 2 cut slope: nothing to dig.
    SectionLevels s = longSection(101, 100, 4);
    s.left[0] = 102;
    CentrePoint centre;
    const SectionArea a = longMethodArea(s, distances({4}, {}), 8, centre);
    EXPECT_DOUBLE_EQ(a.fill, 1);
    EXPECT_DOUBLE_EQ(a.cut, 0);

    // L1 on the edge level with FC, L2 2 m further rising 1 in 1: a cut wedge between the
    // ground and the 1 in 2 slope, 2 wide and 1 deep at L2: 1.
    s.left[0] = 101;
    s.left[1] = 103;
    CentrePoint again;
    const SectionArea steep = longMethodArea(s, distances({2, 2}, {}), 8, again);
    EXPECT_DOUBLE_EQ(steep.fill, 1);
    EXPECT_DOUBLE_EQ(steep.cut, 1);
}

TEST(LongMethod, TheSlopeStopsWhereItMeetsTheGround)
{
    // Level ground: a 1 m fill and a 1 m cut of width 8 with 1 in 2 slopes on both sides,
    // readings out to 10 m. Each must equal the textbook trapezoid (8 + 2 * 1) * 1 = 10;
    // the ground beyond the toe (fill) or the top of the cut adds nothing.
    for (double ground : {99.0, 101.0}) {
        SectionLevels s = longSection(100, ground, 8);
        for (int i = 0; i < 5; ++i)
            s.left[i] = s.right[i] = ground;
        CentrePoint centre;
        const SectionArea a =
            longMethodArea(s, distances({2, 2, 2, 2, 2}, {2, 2, 2, 2, 2}), 8, centre);
        EXPECT_DOUBLE_EQ(ground < 100 ? a.fill : a.cut, 10) << ground;
        EXPECT_DOUBLE_EQ(ground < 100 ? a.cut : a.fill, 0) << ground;
    }
}

TEST(LongMethod, TheSideEndsAtTheFirstMissingReading)
{
    SectionLevels s = longSection(100, 99, 8);
    s.left[0] = 99;
    s.left[1] = 99;
    CentrePoint centre;
    const CrossDistances d = distances({2, 3, 1, 1}, {});
    const SectionArea base = longMethodArea(s, d, 8, centre);
    s.left[2] = 0;  // L3 missing (0 is no reading) ...
    s.left[3] = 50; // ... so L4 is ignored although present
    EXPECT_DOUBLE_EQ(longMethodArea(s, d, 8, centre).fill, base.fill);
    EXPECT_DOUBLE_EQ(longMethodArea(s, d, 8, centre).cut, 0);
    // Fewer readings in use end the side the same way.
    s.left[2] = 99;
    EXPECT_DOUBLE_EQ(longMethodArea(s, d, 2, centre).fill, base.fill);
    EXPECT_GT(longMethodArea(s, d, 3, centre).fill, base.fill);
}

TEST(LongMethod, TheCentrePointCarriesOverFromThePreviousSection)
{
    CentrePoint centre;
    SectionLevels first = longSection(100, 99, 8);
    first.left[0] = 99;
    const CrossDistances d = distances({2}, {});
    EXPECT_DOUBLE_EQ(longMethodArea(first, d, 8, centre).fill, 2);
    EXPECT_DOUBLE_EQ(centre.ground, 99);

    // No centre reading: the previous section's 99 stands in for it.
    SectionLevels second = longSection(100, 0, 8);
    second.centre.reset();
    second.left[0] = 99.5;
    EXPECT_DOUBLE_EQ(longMethodArea(second, d, 8, centre).fill, (1 + 0.5) / 2 * 2);

    // FC 0 keeps the previous centre formation level; the side uses FC itself (0): all cut.
    SectionLevels third = longSection(0, 99, 8);
    third.left[0] = 99;
    const SectionArea a = longMethodArea(third, d, 8, centre);
    EXPECT_DOUBLE_EQ(centre.proposed, 100);
    EXPECT_DOUBLE_EQ(a.fill, 0.5 * (1 / 100.0 * 2)); // crossing 2 cm from the centre
    EXPECT_DOUBLE_EQ(a.cut, d3(99 / 2.0 * (99 / 100.0 * 2)));

    // A run starts from zero: without C the first section's centre ground is 0.
    CentrePoint fresh;
    EXPECT_DOUBLE_EQ(longMethodArea(second, d, 8, fresh).fill, d3((100 + 0.5) / 2 * 2));
}

TEST(LongMethod, WithoutAnFcTheSectionCannotBeComputed)
{
    SectionLevels s = longSection(100, 99, 8);
    s.fc.reset();
    CentrePoint centre;
    try {
        longMethodArea(s, distances({2}, {}), 8, centre);
        FAIL() << "no error";
    } catch (const MissingValue& e) {
        EXPECT_EQ(e.column(), "FC");
    }
}

TEST(LongMethod, LevelFillSectionAgreesWithTheTrapezoidUpToTheToe)
{
    // Flat ground 1 m below a formation 10 wide, slopes 2: the toe lies 2 m beyond each
    // edge. Readings every 1 m to exactly the toe give the textbook (10 + 2 * 1) * 1 = 12.
    SectionLevels s = longSection(101, 100, 10);
    CrossDistances d;
    for (int i = 0; i < 7; ++i) {
        s.left[i] = s.right[i] = 100;
        d.left[i] = d.right[i] = 1;
    }
    CentrePoint centre;
    const SectionArea a = longMethodArea(s, d, 7, centre);
    EXPECT_DOUBLE_EQ(a.fill, 12);
    EXPECT_DOUBLE_EQ(a.cut, 0);
}
