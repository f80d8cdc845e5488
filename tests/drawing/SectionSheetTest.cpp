// Sections planned on their sheet: every section fits its slot at the sheet's scales and no
// text touches another, on a gentle road and a hill road, in the slots of an A4 page and of
// the drawing file.
#include "drawing/CrossSectionSheet.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarmela
{
namespace
{

// A section across a hillside: ground falling `cross` a metre from left to right, readings
// every `step` metres, the formation `depth` above the centre's ground (negative: in cut).
RlRow hillside(double centre, double cross, double depth)
{
    RlRow r;
    r.chainage = 1500;
    r.centre = centre;
    for (int i = 0; i < 8; ++i) {
        r.left[i] = centre + cross * 5 * (i + 1);
        r.right[i] = centre - cross * 5 * (i + 1);
    }
    r.left[2] = NAN; // an empty reading
    r.fc = r.fl1 = r.fr1 = centre + depth;
    r.fl2 = r.fr2 = centre + depth - 0.1;
    r.width = 7.5;
    r.leftSlope = r.rightSlope = 2;
    r.fillArea = 1234.567;
    r.cutArea = 0;
    return r;
}

TEST(SectionSheet, StandardScales)
{
    const struct {
        double metres, mm;
        int scale;
    } cases[] = {{5, 60, 100},    {6, 60, 100},   {11, 60, 200},  {14, 60, 250},
                 {23.5, 60, 500}, {31, 60, 1000}, {87, 40, 2500}, {0, 10, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(standardScale(c.metres, c.mm), c.scale) << c.metres << " in " << c.mm;
}

TEST(SectionSheet, EverySectionFitsAndNoTextTouchesAnother)
{
    const SectionSlot page{120, 10, 15.3, -83, 83}; // A4, 2 cm margins, 6 to a page
    const SectionSlot file{160, 10, 25.3, -93, 93}; // the drawing file's sheet
    const SectionSlot crowded{120, 10, 6, -83, 83}; // many sections to a page
    CrossDistances near, wide;
    near.left = near.right = {0.5, 0.5, 1, 1, 1, 1, 1, 1}; // 7 m a side
    wide.left = wide.right = {2, 3, 5, 5, 5, 5, 7.5, 7.5}; // 40 m a side
    const struct {
        const char* what;
        RlRow row;
        CrossDistances distances;
    } roads[] = {
        {"gentle fill", hillside(102.5, 0.002, 0.4), near},
        {"hill fill", hillside(90, 0.05, 20), wide},
        {"hill cut", hillside(131, 0.05, -20), wide},
    };
    for (const SectionSlot& slot : {page, file, crowded})
        for (const auto& road : roads)
            for (int view : {3, 8}) {
                SCOPED_TRACE(::testing::Message() << road.what << ", slot " << slot.room << " mm, "
                                                  << view << " readings");
                const SectionFigure f = sectionFigure(road.row, road.distances, view);
                const SheetScales s = sheetScales({&f}, slot);
                const SectionPlan plan = planSection(f, {1500, 1234.567, 0}, slot, s, QLocale());
                // The figure within the box across and within its band upwards.
                EXPECT_LE(std::max(f.leftExtent, f.rightExtent) * s.mmPerMetreAcross(),
                          slot.boxWidth / 2);
                EXPECT_GE((f.low - plan.datum) * s.mmPerMetreUp(), plan.figureBottom - 1e-6);
                EXPECT_LE((f.high - plan.datum) * s.mmPerMetreUp(), plan.figureTop + 1e-6);
                EXPECT_GE(plan.labels.size(), 6u); // the four texts, C and FC at least
                for (std::size_t i = 0; i < plan.labels.size(); ++i) {
                    const SectionLabel& a = plan.labels[i];
                    EXPECT_GE(a.left, slot.rowLeft - 1e-6) << a.text.toStdString();
                    EXPECT_LE(a.left + a.width, slot.rowRight + 1e-6) << a.text.toStdString();
                    EXPECT_GE(a.bottom, -2 * slot.bandHeight) << a.text.toStdString();
                    EXPECT_LE(a.bottom + a.height, slot.room) << a.text.toStdString();
                    for (std::size_t j = i + 1; j < plan.labels.size(); ++j)
                        EXPECT_FALSE(a.touches(plan.labels[j], 0))
                            << a.text.toStdString() << " / " << plan.labels[j].text.toStdString();
                }
            }
}

} // namespace
} // namespace tarmela
