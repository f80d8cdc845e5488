#include "compute/MassHaul.h"

#include <gtest/gtest.h>

using namespace tarmela;

// Worked by hand: the ordinates are the running sums of factor x cut - fill by average end
// areas; the hauls the trapezoids of |M| over the real chainages.
TEST(MassHaul, OrdinatesBalancePointsAndHaulsWorkedByHand)
{
    struct Case {
        const char* name;
        double cutFactor;
        std::vector<SectionAreas> sections; // chainage, fill, cut
        std::vector<double> balancePoints;
        std::vector<MassHaulStretch> stretches; // from, to, volume, haul
        double endOrdinate;
    };
    const Case cases[] = {
        {"cut then fill: M 0, 200, 200, -100; crossing at 40 + 20 x 200/300",
         1,
         {{0, 0, 10}, {20, 0, 10}, {40, 10, 0}, {60, 20, 0}},
         {40 + 40.0 / 3},
         {{0, 40 + 40.0 / 3, 200, 2000 + 4000 + 200 * (40.0 / 3) / 2},
          {40 + 40.0 / 3, 60, 100, 100 * (20 - 40.0 / 3) / 2}},
         -100},
        {"the same road with factor 1.5: M 0, 300, 350, 50, no balance point",
         1.5,
         {{0, 0, 10}, {20, 0, 10}, {40, 10, 0}, {60, 20, 0}},
         {},
         {{0, 60, 350, 3000 + 6500 + 4000}},
         50},
        {"exactly 0 at a section: M 0, 200, 200, 0, -100",
         1,
         {{0, 0, 10}, {20, 0, 10}, {40, 10, 0}, {60, 10, 0}, {80, 0, 0}},
         {60},
         {{0, 60, 200, 8000}, {60, 80, 100, 1000}},
         -100},
        {"a 300 m gap counts 50 m of volume but 300 m of haul: M 0, 500, 400",
         1,
         {{0, 0, 10}, {300, 0, 10}, {320, 20, 0}},
         {},
         {{0, 320, 500, 75000 + 9000}},
         400},
        {"balanced at the last section: no empty stretch after it",
         1,
         {{0, 0, 10}, {20, 0, 0}, {40, 10, 0}},
         {40},
         {{0, 40, 100, 1000 + 1000}},
         0},
        {"nothing to move", 1, {{0, 0, 0}, {20, 0, 0}}, {}, {{0, 20, 0, 0}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MassHaulBuilder builder(c.cutFactor);
        for (const SectionAreas& s : c.sections)
            builder.add(s);
        const MassHaul m = builder.finish();
        ASSERT_EQ(m.balancePoints.size(), c.balancePoints.size());
        for (std::size_t i = 0; i < c.balancePoints.size(); ++i)
            EXPECT_NEAR(m.balancePoints[i], c.balancePoints[i], 1e-9);
        ASSERT_EQ(m.stretches.size(), c.stretches.size());
        for (std::size_t i = 0; i < c.stretches.size(); ++i) {
            const MassHaulStretch &got = m.stretches[i], &want = c.stretches[i];
            EXPECT_NEAR(got.from, want.from, 1e-9);
            EXPECT_NEAR(got.to, want.to, 1e-9);
            EXPECT_NEAR(got.volume, want.volume, 1e-9);
            EXPECT_NEAR(got.haul, want.haul, 1e-6);
            EXPECT_NEAR(got.averageDistance(), want.averageDistance(), 1e-9);
        }
        EXPECT_NEAR(m.endOrdinate, c.endOrdinate, 1e-9);
        EXPECT_EQ(m.sections, std::int64_t(c.sections.size()));
    }
}
