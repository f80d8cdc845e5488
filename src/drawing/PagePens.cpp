#include "drawing/PagePens.h"

#include "drawing/Fonts.h"
#include "drawing/PageUnits.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVector>
#include <algorithm>

namespace tarmela
{

QPen pagePen(const QColor& colour, double width, LineStyle style)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (style == LineStyle::Solid)
        return pen;
    // Qt counts dash lengths in line widths; the pattern is given in screen pixels.
    const double unit = kTwipsPerScreenPixel / std::max(width, 0.01);
    QVector<qreal> pattern;
    switch (style) {
    case LineStyle::Dashed:
        pattern = {18 * unit, 6 * unit};
        break;
    case LineStyle::Dotted:
        pattern = {3 * unit, 3 * unit};
        break;
    default:
        pattern = {9 * unit, 6 * unit, 3 * unit, 6 * unit};
        break;
    }
    pen.setDashPattern(pattern);
    return pen;
}

QFont pageFont(double points, bool bold)
{
    // "Arial" is taken to a font of the same metrics wherever it is missing.
    static const bool substituted = (installFontSubstitutions(), true);
    (void)substituted;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(points * kTwipsPerPoint)));
    font.setBold(bold);
    // Glyph outlines scale with the page; hinting to the screen's pixels would move them.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void textAt(QPainter& p, double x, double y, const QString& text)
{
    const QFontMetricsF m(p.font());
    p.drawText(QPointF(x, y + m.ascent()), text);
}

void turnedTextAt(QPainter& p, double x, double y, const QString& text)
{
    p.save();
    p.translate(x, y);
    p.rotate(-90);
    textAt(p, 0, 0, text);
    p.restore();
}

double textWidth(QPainter& p, const QString& text)
{
    return QFontMetricsF(p.font()).horizontalAdvance(text);
}

} // namespace tarmela
