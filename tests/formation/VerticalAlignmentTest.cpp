#include "formation/VerticalAlignment.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::formation;

namespace
{

// A crest 0.02 / -0.02 with L 40 about 100; an uneven crest 0.03 / -0.01 with L 100 (its high
// point past the PVI); a sag -0.02 / 0.01 with L 50; two curves, the first ending where the
// second begins (at 150).
const std::vector<Pvi> kCrest{{0, 100, 0}, {100, 102, 40}, {200, 100, 0}};
const std::vector<Pvi> kUneven{{0, 100, 0}, {100, 103, 100}, {200, 102, 0}};
const std::vector<Pvi> kSag{{0, 100, 0}, {100, 98, 50}, {200, 99, 0}};
const std::vector<Pvi> kTouching{{0, 100, 0}, {100, 102, 100}, {200, 100, 100}, {300, 102, 0}};

} // namespace

// Levels worked by hand from level_BVC + g_in d + A/(2L) d^2.
TEST(VerticalAlignmentTest, LevelsOnCurvesAndTangents)
{
    struct Case {
        const char* what;
        const std::vector<Pvi>& pvis;
        double chainage;
        double level;
    };
    const Case cases[] = {
        {"tangent before the curve", kCrest, 50, 101},
        {"BVC", kCrest, 80, 101.6},
        {"crest, 10 m into the curve", kCrest, 90, 101.75},
        {"crest at its PVI", kCrest, 100, 101.8},
        {"tangent after the curve", kCrest, 150, 101},
        {"uneven crest, high point", kUneven, 125, 102.625},
        {"sag at its PVI", kSag, 100, 98.1875},
        {"first curve before the join", kTouching, 125, 101.375},
        {"the join", kTouching, 150, 101},
        {"second curve after the join", kTouching, 175, 100.625},
    };
    for (const Case& c : cases) {
        const std::optional<double> level = alignmentLevel(c.pvis, c.chainage);
        ASSERT_TRUE(level) << c.what;
        EXPECT_NEAR(*level, c.level, 1e-9) << c.what;
    }
    EXPECT_FALSE(alignmentLevel(kCrest, -0.5));
    EXPECT_FALSE(alignmentLevel(kCrest, 200.5));
}

TEST(VerticalAlignmentTest, Readouts)
{
    struct Case {
        const char* what;
        const std::vector<Pvi>& pvis;
        double a, k, bvcLevel, evcLevel;
        std::optional<double> turning, turningLevel;
        bool crest;
    };
    const Case cases[] = {
        {"crest", kCrest, -0.04, 10, 101.6, 101.6, 100, 101.8, true},
        {"uneven crest", kUneven, -0.04, 25, 101.5, 102.5, 125, 102.625, true},
        {"sag", kSag, 0.03, 50.0 / 3, 98.5, 98.25, 75 + 100.0 / 3, 98 + 1.0 / 6, false},
        {"curve on one grade side", kTouching, -0.04, 25, 101, 101, 100, 101.5, true},
    };
    for (const Case& c : cases) {
        const PviReadout r = alignmentReadouts(c.pvis)[1];
        EXPECT_NEAR(*r.a, c.a, 1e-12) << c.what;
        EXPECT_NEAR(*r.k, c.k, 1e-9) << c.what;
        EXPECT_NEAR(r.bvcLevel, c.bvcLevel, 1e-9) << c.what;
        EXPECT_NEAR(r.evcLevel, c.evcLevel, 1e-9) << c.what;
        ASSERT_EQ(r.turningChainage.has_value(), c.turning.has_value()) << c.what;
        EXPECT_NEAR(*r.turningChainage, *c.turning, 1e-9) << c.what;
        EXPECT_NEAR(*r.turningLevel, *c.turningLevel, 1e-9) << c.what;
        EXPECT_EQ(r.crest, c.crest) << c.what;
    }
    // A grade that keeps its sign has no turning point in its curve. (The ends' single grades
    // and the curves' ends are printed by the batch tool's grade command.)
    EXPECT_FALSE(
        alignmentReadouts({{0, 100, 0}, {100, 101, 40}, {200, 101.5, 0}})[1].turningChainage);
}

TEST(VerticalAlignmentTest, Refusals)
{
    struct Case {
        std::vector<Pvi> pvis;
        const char* message;
    };
    // Too few PVIs, chainages out of order, a curve at the first PVI, two curves that overlap
    // and a level out of range are refused through the batch tool's grade command; two
    // curves that touch are not.
    const Case cases[] = {
        {{{0, 100, 0}, {100, 101, -5}, {200, 102, 0}},
         "The curve length of the PVI at chainage 100 is negative"},
        {{{0, 100, 0}, {100, 101, 20}}, "The last PVI (chainage 100) can't have a curve"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(alignmentFault(c.pvis).toStdString(), c.message);
    EXPECT_EQ(alignmentFault(kTouching), "");
}
