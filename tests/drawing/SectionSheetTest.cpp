// The scales a sheet's sections are drawn at. (Sections planned on a page:
// PagePaint.CrossSectionsStayInsideTheirBoxesWhenOneReachesFarOnOneSide; on the drawing file's
// sheets: CrossSectionDxf.SheetsSideBySideEveryEntityInsideItsSheetAndItsTextsInItsSlot.)
#include "drawing/CrossSectionSheet.h"

#include <gtest/gtest.h>

namespace tarmela
{
namespace
{

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

} // namespace
} // namespace tarmela
