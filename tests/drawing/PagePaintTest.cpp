// Pages painted into images: what lands where the layout says, in the colour the data says.
#include "drawing/CrossSectionPainter.h"
#include "drawing/LongSectionPainter.h"
#include "drawing/PageUnits.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

namespace tarmela
{
namespace
{

// The page at 15 twips to the pixel, as on screen.
template <typename Paint> QImage paintPage(int width, int height, Paint paint)
{
    QImage image(width / 15 + 1, height / 15 + 1, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    QPainter p(&image);
    mapTwipsToScreen(p);
    paint(p);
    return image;
}

bool colourNear(const QImage& image, double xTwips, double yTwips, QColor colour, int reach = 1)
{
    const int x = int(xTwips / 15), y = int(yTwips / 15);
    for (int dx = -reach; dx <= reach; ++dx)
        for (int dy = -reach; dy <= reach; ++dy)
            if (image.pixelColor(x + dx, y + dy) == colour)
                return true;
    return false;
}

TEST(PagePaint, LongSectionFrameCurvesAndClipping)
{
    const LongSectionLayout l = LongSectionLayout::at(1.0, 20);
    LongSectionPage page;
    page.from = "A";
    page.to = "B";
    page.pageCount = 1;
    // FC climbs 100 -> 101 between 0 and 200; C leaps 60 m above the frame at 400.
    page.rows = {{0, 99.5, NAN, NAN, 100}, {200, 99.5, NAN, NAN, 101}, {400, 160, NAN, NAN, NAN}};
    LevelRangeBuilder b;
    for (const auto& r : page.rows)
        b.take(r.centre);
    page.levels = b.result(false, 0); // 95 .. 180 at 1:500, so that 160 fits
    LongSectionStyle style;
    style.formation = QColor(255, 0, 0);
    style.centre = QColor(0, 0, 255);

    const QImage image = paintPage(l.pageWidth, l.pageHeight,
                                   [&](QPainter& p) { paintLongSectionPage(p, l, page, style); });
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white)); // the page is cleared
    // The frame's left edge half way down.
    EXPECT_TRUE(colourNear(image, l.LeftX, (l.TopY + l.BandTopY) / 2.0, Qt::black));
    // FC at chainage 100 is 100.5: on the curve between its two rows.
    EXPECT_TRUE(colourNear(image, l.chainageX(100, 0),
                           l.levelToY(100.5, page.levels.low, page.levels.step), style.formation));
    EXPECT_FALSE(colourNear(image, l.chainageX(100, 0),
                            l.levelToY(102.5, page.levels.low, page.levels.step), style.formation,
                            3));
    // Nothing of the centre curve reaches above the frame.
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < l.TopY / 15 - 1; ++y)
            ASSERT_NE(image.pixelColor(x, y), style.centre) << x << "," << y;
}

// A sheet's scale follows its widest section on either side: one section reaching far out on
// its left or its right (a fill slope carried 32 m past the last reading) next to a narrow one
// draws nothing of either outside its figure box's width, nor outside its slot, and no text of
// it on another; what it draws lies on its levels.
TEST(PagePaint, CrossSectionsStayInsideTheirBoxesWhenOneReachesFarOnOneSide)
{
    const CrossSectionLayout l = CrossSectionLayout::at(1.0, Paper::A4, PageMargins{});
    CrossDistances d;
    d.left = d.right = {2, 2};
    for (const bool farLeft : {true, false}) {
        SCOPED_TRACE(farLeft ? "far left" : "far right");
        CrossSectionPage page;
        page.pageCount = 1;
        for (const double fc : {101.0, 116.0}) {
            RlRow r;
            r.chainage = fc == 101 ? 0 : 20;
            r.centre = 100;
            r.left = r.right = {100, 100};
            r.fc = r.fl1 = r.fl2 = r.fr1 = r.fr2 = fc;
            r.width = 8;
            (farLeft ? r.leftSlope : r.rightSlope) = 2;
            page.sections.push_back({r.chainage, 1, 0, sectionFigure(r, d), {}});
        }
        planCrossSectionPage(page, crossSectionSlot(l, 6), QLocale::c());
        CrossSectionStyle style;
        style.existing = QColor(0, 0, 200);
        style.formation = QColor(0, 160, 0);
        style.sectionsOnPage = 6;
        const QImage image = paintPage(l.PageWidth, l.PageHeight, [&](QPainter& p) {
            paintCrossSectionPage(p, l, page, style);
        });
        const QColor figure[4] = {style.existing, style.formation, style.fillTint, style.cutTint};
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::find(std::begin(figure), std::end(figure), c) == std::end(figure))
                    continue;
                const int yt = y * 15, xt = x * 15;
                const bool above0 = yt >= l.sectionTop(0, 6) && yt < l.boxTop(0, 6);
                const bool above1 = yt >= l.sectionTop(1, 6) && yt < l.boxTop(1, 6);
                if (!above0 && !above1)
                    continue; // the boxes' bands, their captions and the other slots
                ++drawn;
                ASSERT_TRUE(xt >= l.boxX() - 15 && xt <= l.boxX() + l.BoxWidth + 15)
                    << x << "," << y;
            }
        EXPECT_GT(drawn, 100);
        EXPECT_EQ(page.scales.up, 2000); // the largest standard scale the 16 m rise fits at
        // No text of a section touches another.
        for (const CrossSectionEntry& e : page.sections) {
            ASSERT_GE(e.plan.labels.size(), 6u); // the four texts, C and FC at least
            for (std::size_t i = 0; i < e.plan.labels.size(); ++i)
                for (std::size_t j = i + 1; j < e.plan.labels.size(); ++j)
                    EXPECT_FALSE(e.plan.labels[i].touches(e.plan.labels[j], 0))
                        << e.plan.labels[i].text.toStdString();
        }
        // The first section's formation 2 m left of the centre line at its level above the
        // datum; the figure box's left edge; the frame 3 cm from the paper's edge.
        const double up = l.Mm * page.scales.mmPerMetreUp();
        const double datum = page.sections[0].plan.datum;
        EXPECT_TRUE(colourNear(image, l.centreX() - 2 * l.Mm * page.scales.mmPerMetreAcross(),
                               l.boxTop(0, 6) - (101 - datum) * up, style.formation));
        EXPECT_TRUE(colourNear(image, l.boxX(), l.boxTop(0, 6) + l.Len10 / 2.0, Qt::black));
        EXPECT_TRUE(colourNear(image, 30 * kTwipsPerMm, l.PageHeight / 2.0, Qt::black));
    }
}

} // namespace
} // namespace tarmela
