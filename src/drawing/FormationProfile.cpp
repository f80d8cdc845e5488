#include "drawing/FormationProfile.h"

#include "store/Numbers.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace tarmela
{

namespace
{

constexpr double kAxis = 600;   // left axis, and the margin under the base line
constexpr double kColumn = 600; // 50 m of chainage
constexpr double kMarkerHalf = 75;
constexpr double kTwipsPerPoint = 20;

QFont fontOfPoints(const QString& family, double points)
{
    QFont f(family);
    // The painter works in twips: a point is 20 of them.
    f.setPixelSize(int(points * kTwipsPerPoint));
    return f;
}

// A cosmetic pen: one device pixel whatever the scale, its dashes in device pixels too.
QPen linePen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, 0, style);
    pen.setCosmetic(true);
    return pen;
}

void drawGrid(QPainter& p, const FormationProfileFrame& f)
{
    const double base = f.height - kAxis;
    const double kRow = f.rowMetres() * f.levelScale();
    p.setPen(linePen(QColor(228, 228, 228)));
    for (int i = 1; i < f.columns(); ++i)
        p.drawLine(QPointF(kAxis + kColumn * i, 0), QPointF(kAxis + kColumn * i, base));
    for (int i = 1; i < f.gridRows(); ++i)
        p.drawLine(QPointF(615, base - kRow * i), QPointF(f.width - kAxis, base - kRow * i));
    p.setPen(linePen(Qt::black));
    p.drawLine(QPointF(kAxis, 0), QPointF(kAxis, base));
    p.drawLine(QPointF(f.width - kAxis, 0), QPointF(f.width - kAxis, base));
    p.drawLine(QPointF(kAxis, base), QPointF(f.width - kAxis, base));
}

void drawLevelLabels(QPainter& p, const FormationProfileFrame& f, std::int64_t datum)
{
    const QFont font = fontOfPoints(QStringLiteral("Sans Serif"), 9);
    const QFontMetricsF m(font);
    p.setFont(font);
    p.setPen(Qt::black);
    const double halfA = m.height() / 2;
    const double kRow = f.rowMetres() * f.levelScale();
    for (int i = 1; i <= f.gridRows(); ++i) {
        const QString label =
            plainDecimal(std::round((double(datum) + (i - 1) * f.rowMetres()) * 10) / 10);
        const double w = m.horizontalAdvance(label);
        p.drawText(QRectF(540 - w, f.height - kAxis - kRow * i - halfA, w, m.height()),
                   Qt::AlignLeft | Qt::AlignTop, label);
    }
}

// The chainage under its row, reading upward, ending just below the base line.
void drawChainageLabel(QPainter& p, const FormationProfileFrame& f, double x, double chainage)
{
    static const QFont font = fontOfPoints(QStringLiteral("Arial"), 8);
    const QFontMetricsF m(font);
    const QString label = plainDecimal(chainage);
    const double w = m.horizontalAdvance(label);
    p.save();
    p.setFont(font);
    p.translate(x - m.height() / 2, f.height - 540 + w);
    p.rotate(-90);
    p.drawText(QRectF(0, 0, w, m.height()), Qt::AlignLeft | Qt::AlignTop, label);
    p.restore();
}

struct Curve {
    std::optional<double> FormationProfileRow::*field;
    QPen pen;
};

// A picture's own size in twips, from the resolution stored with it (96 dpi when none).
QSizeF twipsOf(const QImage& image)
{
    const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 96 / 0.0254;
    return {image.width() / dpmX / 0.0254 * 1440, image.height() / dpmY / 0.0254 * 1440};
}

} // namespace

int FormationProfileFrame::columns() const
{
    return int(std::max<std::int64_t>(0, nearestEven((width - 1200) / 600)));
}

int FormationProfileFrame::gridRows() const
{
    return int(
        std::max<std::int64_t>(0, nearestEven((height - 600) / (rowMetres() * levelScale()))));
}

double FormationProfileFrame::rowMetres() const
{
    const double scale = levelScale();
    for (double decade = 0.1; decade < 1e6; decade *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (std::round(m * decade * 10) / 10 * scale >= 240)
                return std::round(m * decade * 10) / 10;
    return 1e6;
}

void paintFormationProfile(QPainter& p, const FormationProfileDrawing& d)
{
    const FormationProfileFrame& f = d.frame;
    p.save();
    p.fillRect(QRectF(0, 0, f.width, f.height), Qt::white);
    drawGrid(p, f);
    if (!d.datum) {
        p.restore();
        return;
    }
    const double datum = double(*d.datum);
    drawLevelLabels(p, f, *d.datum);

    const std::array<Curve, 4> curves{{
        {&FormationProfileRow::left, linePen(QColor(255, 0, 0), Qt::DotLine)},
        {&FormationProfileRow::centre, linePen(Qt::black, Qt::DashLine)},
        {&FormationProfileRow::right, linePen(QColor(0, 0, 255), Qt::DashDotDotLine)},
        {&FormationProfileRow::fc, linePen(Qt::black)},
    }};
    std::array<std::optional<double>, 4> previousY;
    double previousX = kAxis;
    // Zoomed out, many rows share a pixel: one of them is drawn, and a chainage label only
    // where it does not overlap the last one.
    const double labelHeight = QFontMetricsF(fontOfPoints(QStringLiteral("Arial"), 8)).height();
    std::optional<double> lastLabelX;
    std::optional<double> drawnX;
    const double end = double(d.startChainage + f.visibleSpan());
    for (const FormationProfileRow& row : d.rows) {
        if (row.chainage < double(d.startChainage) || row.chainage >= end)
            continue;
        const double x = f.x(row.chainage, double(d.startChainage));
        if (drawnX && x - *drawnX < kProfileTwipsPerPixel && &row != &d.rows.back())
            continue;
        drawnX = x;
        for (std::size_t j = 0; j < curves.size(); ++j) {
            const std::optional<double>& level = row.*curves[j].field;
            if (!level) {
                previousY[j].reset(); // the curve breaks at an empty cell
                continue;
            }
            const double y = f.y(*level, datum);
            if (previousY[j]) {
                p.setPen(curves[j].pen);
                p.drawLine(QPointF(previousX, *previousY[j]), QPointF(x, y));
            }
            previousY[j] = y;
        }
        if (!lastLabelX || x - *lastLabelX >= labelHeight) {
            p.setPen(Qt::black);
            drawChainageLabel(p, f, x, row.chainage);
            lastLabelX = x;
        }
        previousX = x;
    }

    for (const FormationProfileCulvert& c : d.culverts) {
        const QSizeF size = twipsOf(c.picture);
        const QRectF target(f.x(c.chainage, double(d.startChainage)) - size.width() / 2,
                            f.y(c.top, datum), size.width(), size.height());
        p.drawImage(target, c.picture);
    }
    p.restore();
}

void paintFormationMarker(QPainter& p, double x, double y)
{
    p.fillRect(QRectF(x - kMarkerHalf, y - kMarkerHalf, 2 * kMarkerHalf, 2 * kMarkerHalf),
               QColor(0, 255, 255));
}

} // namespace tarmela
