#include "drawing/FormationProfile.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace tarmela;

namespace
{

// The profile painted into an image of 560 x 440 pixels: 8,400 x 6,600 twips, 12 columns
// (600 m) and 20 rows, the base line at y = 400 px standing for datum - 1.
QImage paint(const FormationProfileDrawing& d, std::optional<QPointF> marker = {})
{
    QImage image(560, 440, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter p(&image);
    p.scale(1 / kProfileTwipsPerPixel, 1 / kProfileTwipsPerPixel);
    paintFormationProfile(p, d);
    if (marker)
        paintFormationMarker(p, marker->x(), marker->y());
    return image;
}

// Whether any pixel of the rectangle (pixels, inclusive) passes the test.
template <typename Test> bool anyIn(const QImage& image, QRect r, Test test)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (test(QColor(image.pixel(x, y))))
                return true;
    return false;
}

bool dark(const QColor& c)
{
    return c.lightness() < 100;
}

bool reddish(const QColor& c)
{
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}

} // namespace

// Rows at 0, 100 and 200 m: x = 40, 120, 200 px. With datum 97 a level L lies at
// y = 400 - 20 (L - 96) px: FC 101 at 300, C 100 at 320, L8 99 at 340.
TEST(FormationProfilePainter, CurvesLabelsCulvertsAndMarkerWhereTheyBelong)
{
    FormationProfileDrawing d;
    d.frame = {8400, 6600};
    d.startChainage = 0;
    d.datum = 97;
    d.rows = {{1, 0, 99, 100, std::nullopt, 101},
              {2, 100, 99, std::nullopt, std::nullopt, 101},
              {3, 200, 99, 100, std::nullopt, 101},
              {4, 900, 99, 100, 99, 90}};         // beyond the view: not drawn
    QImage picture(30, 30, QImage::Format_RGB32); // 450 twips square at 96 dpi
    picture.fill(QColor(0, 200, 0));
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    d.culverts = {{150, 99.5, picture}};

    const QImage image = paint(d, QPointF(600 + 12 * 100, 4500));
    EXPECT_EQ(QColor(image.pixel(510, 30)), QColor(Qt::white)); // the plot is cleared
    EXPECT_TRUE(anyIn(image, {80, 299, 1, 3}, dark));           // FC, solid
    EXPECT_TRUE(anyIn(image, {40, 339, 80, 3}, reddish));       // outer left, dotted
    // The centre curve breaks at the empty C of 100 m: nothing joins 0 and 200 at level 100.
    EXPECT_FALSE(anyIn(image, {60, 318, 120, 5}, dark));
    // Level labels right-aligned at 36 px, the datum on the first line above the base line.
    EXPECT_TRUE(anyIn(image, {10, 374, 26, 12}, dark));
    // Chainage labels under the base line.
    EXPECT_TRUE(anyIn(image, {112, 405, 16, 20}, dark));
    // The culvert at 150 m, centred on x = 160 px, its top at 99.5 (330 px).
    EXPECT_EQ(QColor(image.pixel(160, 340)), QColor(0, 200, 0));
    EXPECT_NE(QColor(image.pixel(160, 326)), QColor(0, 200, 0));
    // The marker: a cyan square of 10 px around the picked row.
    EXPECT_EQ(QColor(image.pixel(122, 302)), QColor(0, 255, 255));
    EXPECT_NE(QColor(image.pixel(128, 300)), QColor(0, 255, 255));
    // Nothing runs on towards the row beyond the view.
    EXPECT_FALSE(
        anyIn(image, {210, 290, 290, 60}, [](const QColor& c) { return dark(c) || reddish(c); }));

    // Without a datum only the grid is drawn.
    d.datum.reset();
    const QImage bare = paint(d);
    EXPECT_FALSE(
        anyIn(bare, {60, 290, 120, 60}, [](const QColor& c) { return c.lightness() < 200; }));
    EXPECT_TRUE(anyIn(bare, {40, 399, 400, 2}, dark)); // the base line
}
