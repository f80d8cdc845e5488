#include "compute/StripAreas.h"
#include "compute/SectionAreas.h"
#include "store/Numbers.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tarmela;

namespace
{

RlRow longSection(double fc, double centre, double width, double left1 = kEmpty)
{
    RlRow s;
    s.left[0] = left1;
    s.fc = fc;
    s.centre = centre;
    s.width = width;
    s.crust = 0.25;
    s.leftSlope = s.rightSlope = 2;
    return s;
}

// One strip from (proposed p1, ground g1) to (p2, g2), w wide.
StripSums strip(double p1, double g1, double p2, double g2, double w)
{
    const SidePoints p{{g1, g2}, {p1, p2}, {w}}; // ground, proposed, strip widths
    StripSums sums;
    AccumulateStripAreas(p, 1, sums);
    return sums;
}

} // namespace

TEST(StripAreas, FillCutAndACrossingInsideTheStrip)
{
    struct Case {
        double p1, g1, p2, g2, w, fill, cut;
    };
    const Case cases[] = {
        {101, 100, 102, 100, 4, 6, 0}, // trapezoid (1 + 2) / 2 * 4
        {99, 100, 98, 100, 4, 0, 6},
        // The formation crosses the ground a quarter of the way along: two triangles,
        // 0.5 * 1 * 0.5 of fill and 0.5 * 3 * 1.5 of cut; then the same, mirrored.
        {100, 99.5, 100, 101.5, 4, 0.25, 2.25},
        {100, 101.5, 100, 99.5, 4, 0.25, 2.25},
        // A zero at one end counts with the other end; zero at both adds nothing.
        {100, 100, 101, 100, 2, 1, 0},
        {100, 100, 100, 101, 2, 0, 1},
        {100, 100, 100, 100, 2, 0, 0}};
    for (const Case& c : cases) {
        const StripSums s = strip(c.p1, c.g1, c.p2, c.g2, c.w);
        EXPECT_DOUBLE_EQ(s.FillSum, c.fill) << &c - cases;
        EXPECT_DOUBLE_EQ(s.CutSum, c.cut) << &c - cases;
    }
}

TEST(LongMethod, StripsFromTheCentreOutToTheLastReadingOfEachSide)
{
    // Slopes 2, crust 0.25; a reading of 0 is no reading.
    struct Case {
        double fc, centre, width;
        std::vector<double> left, right, leftDistances, rightDistances;
        int viewSections;
        double fill, cut;
    };
    const Case cases[] = {
        // The edge at offset 4 lies between L1 (offset 2) and L2 (offset 5): centre-L1 fill 2,
        // L1-edge fill 2, edge-L2 (1 + 0.5) / 2 * 1 = 0.75 (proposed 99.5).
        {100, 99, 8, {99, 99}, {}, {2, 3}, {}, 8, 4.75, 0},
        // The right side adds to the same sums; a reading exactly on the edge needs no extra
        // point: 2 + 2 up to the edge, then (1 + 0) / 2 * 2 out to R3 at offset 6, where the
        // slope has fallen to the ground.
        {100, 99, 8, {99, 99}, {99, 99, 99}, {2, 3}, {2, 2, 2}, 8, 4.75 + 2 + 2 + 1, 0},
        // Fewer readings in use end the side as a missing reading does; more take L3 in.
        {100, 99, 8, {99, 99, 99, 50}, {}, {2, 3, 1, 1}, {}, 2, 4.75, 0},
        {100, 99, 8, {99, 99, 99, 50}, {}, {2, 3, 1, 1}, {}, 3, 5, 0},
        // Width 4 (edge at 2), L1 at offset 4 at 102, centre ground 100: the edge's ground is
        // interpolated from the centre to 101, level with the formation. Centre to edge fill
        // (1 + 0) / 2 * 2 = 1; beyond, the ground rises exactly along a 1 in 2 cut slope.
        {101, 100, 4, {102}, {}, {4}, {}, 8, 1, 0},
        // L1 on the edge level with FC, L2 2 m further rising 1 in 1: a cut wedge between
        // the ground and the 1 in 2 slope, 2 wide and 1 deep at L2.
        {101, 100, 4, {101, 103}, {}, {2, 2}, {}, 8, 1, 1},
        // Flat ground 1 m below a formation 10 wide: the toe lies 2 m beyond each edge.
        // Readings every 1 m to exactly the toe give the textbook (10 + 2 * 1) * 1 = 12.
        {101, 100, 10, std::vector<double>(7, 100), std::vector<double>(7, 100),
         std::vector<double>(7, 1), std::vector<double>(7, 1), 7, 12, 0},
    };
    for (const Case& c : cases) {
        RlRow s = longSection(c.fc, c.centre, c.width);
        CrossDistances d;
        for (std::size_t i = 0; i < c.left.size(); ++i)
            s.left[i] = c.left[i], d.left[i] = c.leftDistances[i];
        for (std::size_t i = 0; i < c.right.size(); ++i)
            s.right[i] = c.right[i], d.right[i] = c.rightDistances[i];
        CentrePoint centre;
        const SectionArea a = longMethodArea(s, d, c.viewSections, centre);
        EXPECT_DOUBLE_EQ(a.fill, c.fill) << &c - cases;
        EXPECT_DOUBLE_EQ(a.cut, c.cut) << &c - cases;
    }
}

TEST(LongMethod, TheCentrePointCarriesOverAndWithoutAnFcNothingIsComputed)
{
    CentrePoint centre;
    RlRow first = longSection(100, 99, 8, 99);
    CrossDistances d; // L1 2 m out
    d.left[0] = 2;
    EXPECT_DOUBLE_EQ(longMethodArea(first, d, 8, centre).fill, 2);
    EXPECT_DOUBLE_EQ(centre.ground, 99);

    // No centre reading: the previous section's 99 stands in for it.
    RlRow second = longSection(100, kEmpty, 8, 99.5);
    EXPECT_DOUBLE_EQ(longMethodArea(second, d, 8, centre).fill, (1 + 0.5) / 2 * 2);

    // FC 0 keeps the previous centre formation level; the side uses FC itself (0): all cut.
    RlRow third = longSection(0, 99, 8, 99);
    const SectionArea a = longMethodArea(third, d, 8, centre);
    EXPECT_DOUBLE_EQ(centre.proposed, 100);
    EXPECT_DOUBLE_EQ(a.fill, 0.5 * (1 / 100.0 * 2)); // crossing 2 cm from the centre
    EXPECT_DOUBLE_EQ(a.cut, d3(99 / 2.0 * (99 / 100.0 * 2)));

    // A run starts from zero: without C the first section's centre ground is 0.
    CentrePoint fresh;
    EXPECT_DOUBLE_EQ(longMethodArea(second, d, 8, fresh).fill, d3((100 + 0.5) / 2 * 2));

    // Without an FC the section cannot be computed.
    const RlRow s = longSection(kEmpty, 99, 8);
    const auto e = test::thrown([&] { longMethodArea(s, d, 8, centre); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->message(), "FC is empty");
}
