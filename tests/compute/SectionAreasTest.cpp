#include "compute/SectionAreas.h"
#include "store/Numbers.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tarmela;

namespace
{

// A section whose formation is level at fc (no camber) over the ground given.
RlRow levelFormation(double fc, double width = 7.5)
{
    RlRow s;
    s.fc = s.fl1 = s.fl2 = s.fr1 = s.fr2 = fc;
    s.width = width;
    s.crust = 0.25;
    s.leftSlope = s.rightSlope = 2;
    return s;
}

void flatGround(RlRow& s, double level, int readings = kReadingsPerSide)
{
    s.centre = level;
    for (int i = 0; i < readings; ++i)
        s.left[i] = s.right[i] = level;
}

} // namespace

TEST(SectionDefaults, EmptyOrZeroValuesGetTheirDefaultsAndSideLevelsFollowTheCentreLevel)
{
    // (The defaults as stored, and a width given kept:
    // EarthworkQuantities.DefaultsAndSideLevelsAreWrittenAsThreeDecimals.)
    // k = Width/4 + Crust/2. The carriage camber sets FL1, the formation camber FL2 from FL1
    // as it is written, to the nearest 0.001.
    struct Case {
        double fc, width, formationCamber, carriageCamber, fl1, fl2;
    };
    const Case cases[] = {
        {50, 7.5, 0.045, 0.02, 49.96, 49.859}, // 49.96 - 0.045 * 2.25 = 49.85875
        {100, 7, 0.025, 0.02, 99.963, 99.910}, // from 99.9625 it would be 99.909
    };
    for (const Case& c : cases) {
        RlRow d;
        d.fc = c.fc;
        d.width = c.width;
        applySectionDefaults(d);
        ASSERT_TRUE(deriveSideLevels(d, c.formationCamber, c.carriageCamber));
        EXPECT_EQ((std::vector{d.fl1, d.fr1, d.fl2, d.fr2}),
                  (std::vector<double>{c.fl1, c.fl1, c.fl2, c.fl2}))
            << c.fc;
    }

    // A missing or zero centre level leaves the stored side levels.
    for (double fc : {kEmpty, 0.0}) {
        RlRow t;
        t.fc = fc;
        t.fl1 = 12.3456;
        applySectionDefaults(t);
        EXPECT_FALSE(deriveSideLevels(t, 0.035, 0.035));
        EXPECT_EQ(t.fl1, 12.3456);
        EXPECT_FALSE(present(t.fl2));
    }
}

TEST(MeanLevelArea, OnlyThePresentReadingsInUseMakeTheMeanGroundAndADeepCutStaysACut)
{
    // Width 10: the base widens by the slopes over the crust, b = 10 + 4 * 0.25 = 11, and the
    // area is the textbook trapezoid (b + n h) h. Missing, zero and negative readings don't
    // count.
    RlRow t = levelFormation(102.5, 10);
    t.centre = 100;
    t.left = {99.5, 0, kEmpty, kEmpty, 101, kEmpty, kEmpty, kEmpty};
    t.right = {100.5, -3, kEmpty, kEmpty, 99, kEmpty, kEmpty, kEmpty};
    // Mean 100, h = 2.5: (11 + 2 * 2.5) * 2.5 = 40.
    EXPECT_DOUBLE_EQ(meanLevelArea(t, AreaMethod::MeanLevel, 8).fill, 40);
    // With two readings per side in use, L5/R5 drop out: mean of 100, 99.5, 100.5 is 100.
    EXPECT_DOUBLE_EQ(meanLevelArea(t, AreaMethod::MeanLevel, 2).fill, 40);
    t.left[4] = 104; // mean 100.6 with them, 100 without
    EXPECT_DOUBLE_EQ(meanLevelArea(t, AreaMethod::MeanLevel, 2).fill, 40);
    EXPECT_DOUBLE_EQ(meanLevelArea(t, AreaMethod::MeanLevel, 5).fill, d3((11 + 2 * 1.9) * 1.9));

    // A deep cut stays a cut.
    // Formation 6 m below flat ground: (11 + 2 * 6) * 6 = 138 of cut (a signed formula would
    // turn it to fill).
    RlRow s = levelFormation(94, 10);
    flatGround(s, 100);
    const SectionArea a = meanLevelArea(s, AreaMethod::MeanLevel, 8);
    EXPECT_DOUBLE_EQ(a.cut, 138);
    EXPECT_DOUBLE_EQ(a.fill, 0);
    // Without any reading the ground counts as zero.
    EXPECT_DOUBLE_EQ(meanLevelArea(levelFormation(2), AreaMethod::MeanLevel, 8).fill,
                     (8.5 + 2 * 2) * 2);
}

TEST(MeanLevelArea, ShortMethodDeductsTheExistingRoadAndEmptyValuesAreNamed)
{
    // An existing road at 100.5 on the inner readings, the ground beyond at 100.
    RlRow s = levelFormation(101);
    flatGround(s, 100);
    s.centre = s.left[0] = s.left[1] = s.right[0] = s.right[1] = 100.5;
    s.topWidth = 7;
    s.bottomWidth = 9;
    // Outer mean 100, h = 1: (8.5 + 2) * 1 = 10.5, less (7 + 9)/2 * 0.5 = 4.
    EXPECT_DOUBLE_EQ(meanLevelArea(s, AreaMethod::TrapezoidalShort, 8).fill, 6.5);
    // The mean-level method takes all readings instead: mean d3((5*100.5 + 12*100)/17).
    const double mean = d3((5 * 100.5 + 12 * 100) / 17.0);
    const double h = 101 - mean;
    EXPECT_DOUBLE_EQ(meanLevelArea(s, AreaMethod::MeanLevel, 8).fill, d3((8.5 + 2 * h) * h));

    // Without outer readings the inner mean is the ground and nothing is deducted.
    EXPECT_DOUBLE_EQ(meanLevelArea(s, AreaMethod::TrapezoidalShort, 2).fill, d3((8.5 + 1) * 0.5));

    // A large existing road turns the net area into cut, never both.
    s.topWidth = s.bottomWidth = 40;
    const SectionArea a = meanLevelArea(s, AreaMethod::TrapezoidalShort, 8);
    EXPECT_DOUBLE_EQ(a.fill, 0);
    EXPECT_DOUBLE_EQ(a.cut, 9.5); // 10.5 - 20

    // Empty values the formula needs are named.
    s = levelFormation(101);
    flatGround(s, 100);
    s.fr2 = s.fl2 = kEmpty;
    const auto missing = [&](AreaMethod m) {
        const auto e = test::thrown([&] { meanLevelArea(s, m, 8); });
        return e ? e->message() : QString("(nothing)");
    };
    EXPECT_EQ(missing(AreaMethod::MeanLevel), "FL2 is empty");
    // (A TopWidth only the short method needs:
    // EarthworkQuantities.ARowLackingAValueStopsTheRunAfterTheRowsBeforeIt.)
}
