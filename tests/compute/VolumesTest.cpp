#include "compute/Volumes.h"

#include <gtest/gtest.h>

using namespace tarmela;

namespace
{
std::vector<double> fills(const VolumeSummary& s)
{
    std::vector<double> out;
    for (const auto& k : s.kilometres)
        out.push_back(k.filling);
    return out;
}
} // namespace

TEST(Volumes, SegmentsByAverageEndAreasGapsCountedAsFiftyAndKilometreEnds)
{
    struct Case {
        double secondChainage, fill;
    };
    // Fill areas 10 and 30, cut areas 4 and 6, at chainage 0 and at the second chainage.
    const Case cases[] = {{20, 400}, {200, 4000}, {200.001, 1000}, {250, 1000}};
    for (const Case& c : cases) {
        const SegmentVolumes v = segmentVolumes({0, 10, 4}, {c.secondChainage, 30, 6});
        EXPECT_DOUBLE_EQ(v.fill, c.fill) << c.secondChainage;
        EXPECT_DOUBLE_EQ(v.cut, c.fill / 4) << c.secondChainage;
    }
    const VolumeSummary cut = kilometreVolumes({{0, 0, 4}, {100, 0, 6}}, 100);
    EXPECT_DOUBLE_EQ(cut.totalCut, 500);
    EXPECT_DOUBLE_EQ(cut.totalFill, 0);
    EXPECT_DOUBLE_EQ(cut.total(), 500); // filling plus cutting

    // The stretch across a kilometre end goes to the later kilometre.
    const VolumeSummary s = kilometreVolumes({{900, 2, 0}, {1000, 4, 0}, {1100, 6, 0}}, 1100);
    EXPECT_EQ(fills(s), (std::vector<double>{300, 500}));
    EXPECT_EQ(s.kilometres[0].number, 1);
    EXPECT_DOUBLE_EQ(s.totalFill, 800);

    // Without the step back (the limit at or below the kilometre end) the boundary stretch
    // is lost to both kilometres.
    const VolumeSummary noStep = kilometreVolumes({{900, 2, 0}, {1010, 4, 0}, {1100, 6, 0}}, 1000);
    EXPECT_EQ(fills(noStep), (std::vector<double>{0, 450}));

    // Empty kilometres and late starts.
    EXPECT_EQ(fills(kilometreVolumes({{500, 2, 0}, {2500, 6, 0}}, 2500)),
              (std::vector<double>{0, 0, 200}));
    const VolumeSummary single = kilometreVolumes({{2500, 7, 7}}, 2500);
    EXPECT_EQ(fills(single), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(single.kilometres.back().number, 3);
    const VolumeSummary late = kilometreVolumes({{5000, 1, 0}, {5020, 1, 0}}, 5020);
    EXPECT_EQ(fills(late), (std::vector<double>{0, 0, 0, 0, 0, 20}));
    EXPECT_TRUE(kilometreVolumes({}, 0).kilometres.empty());
}

TEST(Volumes, PrismoidalPairsEqualIntervalsInsideEachKilometre)
{
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> sections; // chainage, fill area
        std::vector<double> fills;                       // per kilometre
    };
    const Case cases[] = {
        {"two pairs: 20/3 (20 + 120 + 40) + 20/3 (40 + 140 + 25)",
         {{0, 20}, {20, 30}, {40, 40}, {60, 35}, {80, 25}},
         {7700.0 / 3}},
        {"a pair across 1 km is two average end areas",
         {{980, 10}, {1000, 40}, {1020, 10}},
         {500, 500}},
        {"the interval left over", {{0, 10}, {20, 10}, {40, 10}, {60, 40}}, {400 + 500}},
        {"unequal intervals", {{0, 0}, {20, 30}, {50, 0}}, {300 + 450}},
        {"a gap counting 50 m, then a pair", {{0, 10}, {300, 10}, {320, 40}, {340, 10}}, {1700}},
        {"equal gaps over 200 m never pair", {{0, 10}, {300, 40}, {600, 10}}, {2500}},
        {"200 m intervals still pair", {{0, 10}, {200, 40}, {400, 10}}, {12000}},
    };
    for (const Case& c : cases) {
        std::vector<SectionAreas> sections;
        for (auto [chainage, fill] : c.sections)
            sections.push_back({chainage, fill, fill / 2});
        const VolumeSummary v = kilometreVolumes(sections, std::int64_t(sections.back().chainage),
                                                 VolumeFormula::Prismoidal);
        ASSERT_EQ(v.kilometres.size(), c.fills.size()) << c.name;
        for (std::size_t k = 0; k < c.fills.size(); ++k)
            EXPECT_NEAR(v.kilometres[k].filling, c.fills[k], 1e-9) << c.name;
        EXPECT_NEAR(v.totalCut, v.totalFill / 2, 1e-9) << c.name;
    }
    const VolumeSummary byEnds =
        kilometreVolumes({{0, 20, 0}, {20, 30, 0}, {40, 40, 0}, {60, 35, 0}, {80, 25, 0}}, 80);
    EXPECT_DOUBLE_EQ(byEnds.totalFill, 2550);
}
