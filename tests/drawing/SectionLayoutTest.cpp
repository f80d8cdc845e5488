// Page division, datum rule, zoom steps and page geometry of the two section views.
#include "drawing/CrossSectionLayout.h"
#include "drawing/LongSectionLayout.h"
#include "drawing/LongSectionPainter.h"
#include "drawing/PagePens.h"

#include <QFontMetricsF>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tarmela
{
namespace
{

TEST(SectionLayout, PagingFollowsTheFirstKilometre)
{
    struct Case {
        const char* what;
        std::optional<double> lastInFirstKm, first, last;
        double length, origin, pageLength;
        std::int64_t pages;
    };
    const Case cases[] = {
        {"rows every 20 m", 1000, 0, 5400, 5400, 0, 1000, 6},
        {"rows every 30 m", 990, 0, 5400, 5400, 0, 990, 6},
        {"rows beyond the length", 1000, 0, 7200, 5400, 0, 1000, 8},
        {"no row in the first kilometre", std::nullopt, 5020, 8000, 8000, 5000, 1000, 3},
        {"only chainage 0 in it", 0, 0, 3000, 3000, 0, 1000, 3},
        {"no rows", std::nullopt, std::nullopt, std::nullopt, 5400, 0, 1000, 0},
    };
    for (const Case& c : cases) {
        const SectionPaging p = sectionPaging(c.lastInFirstKm, c.first, c.last, c.length);
        EXPECT_EQ(p.origin, c.origin) << c.what;
        EXPECT_EQ(p.pageLength, c.pageLength) << c.what;
        EXPECT_EQ(p.pageCount, c.pages) << c.what;
        EXPECT_EQ(p.pageStart(1), c.origin + c.pageLength) << c.what;
        EXPECT_EQ(p.pageEnd(1), c.origin + 2 * c.pageLength) << c.what;
    }
}

// Chainages and levels are placed; printed, no text is under 6 pt, a turned figure fits its band
// and the title block its sheet.
TEST(SectionLayout, LongSectionPlacesChainagesAndLevelsAndItsPrintedTypeFitsItsBands)
{
    const LongSectionLayout screen = LongSectionLayout::at(1.0, 20);
    EXPECT_EQ(screen.chainageX(1250, 1000), 5970);
    EXPECT_EQ(screen.levelToY(96, 96), screen.BandTopY - screen.RowHeight);
    for (const Paper paper : {Paper::A4, Paper::A3}) {
        const LongSectionLayout l = LongSectionLayout::onPaper(paper, 20);
        SCOPED_TRACE(int(paper));
        EXPECT_GE(l.FontSize, 6);
        const QFontMetricsF figure(pageFont(l.FontSize, true));
        EXPECT_LE(figure.horizontalAdvance(QStringLiteral("+12.34")), l.BandHeight - 15);
        EXPECT_LE(l.TitleTopY + 2 * l.RowHeight, l.pageHeight);
        EXPECT_EQ(l.bandBottom(LongSectionLayout::BandRows - 1), l.TitleTopY);
    }
}

// Figures that would touch are thinned: the first and last columns stay, then each that
// clears the last kept one and the last; the gradients among themselves.
TEST(SectionLayout, LongSectionBandFiguresThinned)
{
    std::vector<LongSectionRow> rows;
    for (const double ch : {0.0, 3.0, 20.0, 40.0, 42.0})
        rows.push_back({ch, 100, NAN, NAN, 100 + ch * ch / 1000}); // a grade per segment
    std::map<int, std::set<double>> at;
    for (const BandFigure& f : longSectionBandFigures(rows, QLocale::c(), 12))
        at[f.bandRow].insert(f.chainage);
    for (const int row : {0, 1, 3, 6})
        EXPECT_EQ(at[row], (std::set<double>{0, 20, 42})) << row;
    EXPECT_EQ(at[2], (std::set<double>{1.5, 41})); // of the grades at 1.5, 11.5, 30 and 41
    EXPECT_EQ(longSectionBandFigures(rows, QLocale::c()).size(), 5 * 4 + 4u);
}

// A sheet keeps the fixed datum while its levels fit the frame's 17 rows above it, takes the
// nearest whole metre that fits otherwise, and a smaller vertical scale when 17 m are too few.
TEST(SectionLayout, LongSectionDatumKeepsEveryLevelInTheFrame)
{
    const struct {
        std::vector<double> levels;
        bool fixed;
        double low, step;
        bool own;
    } cases[] = {
        {{97.35, 101.8}, true, 95, 1, false}, {{90.4, 100}, true, 90, 1, true},
        {{110, 120.2}, true, 104, 1, true},   {{100, 115.5}, false, 99, 1, false},
        {{100, 117.5}, false, 100, 2, false}, // 99 + 17 is too low
        {{90, 131}, true, 90, 2.5, true},     {{0.5, 160}, false, 0, 10, false},
    };
    for (const auto& c : cases) {
        LevelRangeBuilder b;
        for (const double v : c.levels)
            b.take(v);
        const LevelRange r = b.result(c.fixed, 95);
        SCOPED_TRACE(c.levels.back());
        EXPECT_EQ(r.low, c.low);
        EXPECT_EQ(r.step, c.step);
        EXPECT_EQ(r.ownDatum, c.own);
        for (const double v : c.levels) {
            EXPECT_GE(v, r.low);
            EXPECT_LE(v, r.low + (LongSectionLayout::ProfileRows - 1) * r.step);
        }
    }
    // Empty and zero levels are no levels.
    LevelRangeBuilder none;
    none.take(NAN);
    none.take(0);
    EXPECT_FALSE(none.result(false, 95).any);
}

// One signed figure per straight grade, however the millimetres of FC round.
TEST(SectionLayout, LongSectionGradesOnePerStraightGrade)
{
    std::vector<LongSectionRow> rows;
    for (int ch = 0; ch <= 400; ch += 20) {
        const double fc = ch <= 200 ? 100 + 0.0035 * ch : 100.7 - 0.005 * (ch - 200);
        rows.push_back({double(ch), NAN, NAN, NAN, std::round(fc * 1000) / 1000});
    }
    rows[19].fc = NAN; // an empty FC ends a grade
    QStringList grades;
    for (const BandFigure& f : longSectionBandFigures(rows, QLocale::c()))
        if (f.bandRow == 2)
            grades << QStringLiteral("%1@%2").arg(f.text).arg(f.chainage);
    EXPECT_EQ(grades.join(" "), "+0.35%@100 -0.50%@280");
    // The formation's curve breaks there too; C, empty throughout, has none.
    const std::vector<CurveSegment> curves = longSectionCurves(rows);
    EXPECT_EQ(curves.size(), 18u);
    EXPECT_TRUE(std::all_of(curves.begin(), curves.end(),
                            [](const CurveSegment& c) { return c.curve == 3; }));
}

TEST(SectionLayout, CrossSectionPage)
{
    // (The frame 3 cm from the paper's edge:
    // PagePaint.CrossSectionsStayInsideTheirBoxesWhenOneReachesFarOnOneSide; margins that leave
    // no room: DesktopPages.PageSetupRefusesMarginsThatLeaveNoDrawing.)

    // However many sections share a page, each keeps to its own room: below the frame's top
    // and the section above, three centimetres above its box where the page has them.
    for (Paper paper : {Paper::A4, Paper::A3})
        for (int n = 1; n <= 8; ++n) {
            const CrossSectionLayout l = CrossSectionLayout::at(1.0, paper, PageMargins{});
            EXPECT_GE(l.sectionTop(0, n), l.TopY + l.Len10) << n;
            for (int k = 1; k < n; ++k)
                EXPECT_GE(l.sectionTop(k, n), l.boxTop(k - 1, n) + 2 * l.Len10) << n;
            if (n <= 2) {
                EXPECT_EQ(l.boxTop(0, n) - l.sectionTop(0, n), 3 * l.Len10) << n;
            }
        }

    EXPECT_EQ(crossSectionPageCount(13, 6), 3);
    EXPECT_EQ(crossSectionPageCount(12, 6), 2);
    EXPECT_EQ(crossSectionPageCount(0, 6), 0);
}

} // namespace
} // namespace tarmela
