// The cross-section page: a header line, a frame with a title block at its foot, and for each
// section a two-band figure box (existing levels above, proposed below) with the ground line,
// the formation and its side slopes above it, and the chainage, datum and areas.
#include "drawing/CrossSectionPainter.h"

#include "drawing/PagePens.h"
#include "store/Numbers.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

constexpr double kNormal = 15; // one screen pixel

class Painter
{
public:
    Painter(QPainter& painter, const CrossSectionLayout& layout, const CrossSectionPage& pageData,
            const CrossSectionStyle& style)
        : p(painter), l(layout), page(pageData), s(style)
    {
    }

    void paint()
    {
        p.save();
        p.fillRect(QRectF(0, 0, l.PageWidth, l.PageHeight), Qt::white);
        p.setPen(Qt::black);
        p.setFont(pageFont(l.FontSize + 2, true));
        textAt(p, l.LeftX + l.Len10, nearestEven(l.TopY + l.Len10 / 2.0),
               QStringLiteral("%1 To %2 : %3/%4")
                   .arg(page.from, page.to)
                   .arg(page.pageNumber)
                   .arg(page.pageCount));
        frame();
        for (std::size_t k = 0; k < page.sections.size(); ++k)
            section(page.sections[k], l.boxTop(int(k), s.sectionsOnPage),
                    l.sectionTop(int(k), s.sectionsOnPage));
        p.restore();
    }

private:
    void line(double x1, double y1, double x2, double y2)
    {
        p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }

    void frame()
    {
        const double left = l.LeftX + l.Len10, right = l.RightX - l.Len10;
        const double bottom = l.BottomY - l.Len10;
        p.setPen(pagePen(Qt::black, kNormal));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(QPointF(left, l.TopY + l.Len10), QPointF(right, bottom)));
        const double third = nearestEven((l.RightX - l.LeftX - 2 * l.Len10) / 3.0);
        line(left, l.BottomY - 3 * l.Len10, right, l.BottomY - 3 * l.Len10);
        line(left, l.BottomY - 2 * l.Len10, right - third, l.BottomY - 2 * l.Len10);
        for (double x : {left + third, right - third})
            line(x, l.BottomY - 3 * l.Len10, x, bottom);
        p.setPen(Qt::black);
        const double inset = 8.0 * l.FontSize;
        const double upper = l.BottomY - 2.5 * l.Len10 - inset;
        const double lower = l.BottomY - 1.5 * l.Len10 - inset;
        const double xs[4] = {left + inset, left + inset, left + third + inset,
                              left + third + inset};
        const double ys[4] = {upper, lower, upper, lower};
        // A long field is cut short with an ellipsis inside its cell of the title block.
        const QFontMetricsF metrics(p.font());
        for (int i = 0; i < 4; ++i)
            if (!page.fields[i].isEmpty())
                textAt(p, xs[i], ys[i],
                       metrics.elidedText(page.fields[i], Qt::ElideRight, third - 2 * inset));
        // A sheet drawn smaller across says so at the right end of its header line.
        if (page.scale != 100) {
            p.setFont(pageFont(l.FontSize, false));
            const QString note = scaleNote(page.scale);
            textAt(p, right - textWidth(p, note), nearestEven(l.TopY + l.Len10 / 2.0), note);
        }
    }

    // A text in a rectangle, in the normal font: flags say where (Qt alignment).
    void textIn(double left, double top, double right, double bottom, const QString& text,
                Qt::Alignment align = Qt::AlignHCenter | Qt::AlignBottom)
    {
        p.setFont(pageFont(l.FontSize, false));
        p.drawText(
            QRectF(QPointF(std::min(left, right), top), QPointF(std::max(left, right), bottom)),
            int(align) | Qt::TextDontClip, text);
    }
    void verticalNumber(double x, double y, double value)
    {
        p.setFont(pageFont(l.FontSize, false));
        turnedTextAt(p, x, y, s.locale.toString(value, 'f', 2));
    }
    void bold(double y, const QString& text)
    {
        p.setFont(pageFont(l.FontSize + 2, true));
        const double x = nearestEven(l.RightX - l.Len25 - l.Len353 / 2.0 - textWidth(p, text));
        textAt(p, x, nearestEven(y), text);
    }
    QString stored(double v) const { return std::isnan(v) ? QString() : plainDecimal(v); }
    QString two(double v) const { return s.locale.toString(v, 'f', 2); }

    // The section whose figure box starts at y, within its own room from top down.
    void section(const CrossSectionEntry& e, double y, double top)
    {
        const SectionFigure& f = e.figure;
        const double boxX = l.boxX(), boxRight = l.boxX() + l.BoxWidth, cx = l.centreX();
        const double L = l.Len10;
        const double across = L * 100.0 / page.scale;
        auto X = [&](double offset) { return cx + offset * across; };
        auto Y = [&](double level) { return y - (level - f.datum) * L; };
        auto segment = [&](const FigureSegment& sg) {
            line(X(sg.a.offset), Y(sg.a.level), X(sg.b.offset), Y(sg.b.level));
        };

        p.setPen(pagePen(Qt::black, kNormal));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(QPointF(boxX, y), QPointF(boxRight, y + 2 * L)));
        line(boxX, y + L, boxRight, y + L);
        line(cx, top, cx, y + 2 * L);

        p.setPen(Qt::black);
        const double a = nearestEven(top + 0.4 * L + l.Len053);
        const double b = nearestEven(top + 0.8 * L + l.Len053);
        textIn(boxRight - 5 * L, top + l.Len053, boxRight, a,
               "FILL AREA = " + stored(e.fillArea) + " SQM", Qt::AlignRight | Qt::AlignBottom);
        textIn(boxRight - 5 * L, a, boxRight, b, "CUT AREA = " + stored(e.cutArea) + " SQM",
               Qt::AlignRight | Qt::AlignBottom);
        // The chainage a centimetre down where the room allows, else beside the fill area.
        const double chainageBottom = top + std::clamp(y - top - 2 * L, 0.4 * L, L) + l.Len053;
        textIn(boxX, top + l.Len053, boxX + 5 * L, chainageBottom,
               "CHAINAGE = " + stored(e.chainage), Qt::AlignLeft | Qt::AlignBottom);
        textIn(boxX, nearestEven(y - L / 2), boxX + 5 * L, y, "DATUM = " + two(f.datum),
               Qt::AlignLeft | Qt::AlignBottom);

        // The ground and the formation stay in the section's own room (a tall section on a
        // crowded page is cut at the top instead of running into the section above).
        p.save();
        p.setClipRect(QRectF(QPointF(l.LeftX, top), QPointF(l.RightX, y + 2 * L)),
                      p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        // Existing ground.
        p.setPen(s.existing);
        bold(y + L / 2, QStringLiteral("EX. LEVEL"));
        if (f.hasCentre)
            verticalNumber(cx - l.Len353, y + L - l.Len088, f.centre);
        p.setPen(pagePen(s.existing, s.thinWidth, LineStyle::Dashed));
        for (const FigureSegment& sg : f.ground)
            segment(sg);
        for (const FigureTick& t : f.groundTicks) {
            const double x = X(t.offset);
            p.setPen(pagePen(s.existing, kNormal));
            line(x, y, x, y + L);
            p.setPen(s.existing);
            textIn(x, y - l.Len353, X(t.prevOffset), y, two(t.interval));
            verticalNumber(x - l.Len353, y + L - l.Len088, t.level);
        }

        // Proposed formation.
        p.setPen(s.formation);
        bold(y + L + L / 2, QStringLiteral("PR. LEVEL"));
        if (f.hasFc)
            verticalNumber(cx - l.Len353, y + 2 * L - l.Len088, f.fc);
        p.setPen(pagePen(s.formation, kNormal));
        for (const FigureSegment& sg : f.formation)
            segment(sg);
        for (const FigureTick& t : f.formationTicks) {
            const double x = X(t.offset);
            p.setPen(pagePen(s.formation, kNormal));
            line(x, y + L, x, y + 2 * L);
            p.setPen(s.formation);
            textIn(x, y + L + l.Len053, X(t.prevOffset), y + L + l.Len353 + l.Len053,
                   two(t.interval));
            verticalNumber(x - l.Len353, y + 2 * L - l.Len088, t.level);
        }

        // Side slopes and the ground carried out to them.
        p.setPen(pagePen(s.existing, s.thinWidth, LineStyle::Dashed));
        for (const FigureSegment& sg : f.groundCarried)
            segment(sg);
        p.setPen(pagePen(s.formation, kNormal));
        for (const FigureSegment& sg : f.slopes)
            segment(sg);
        p.restore();
    }

    QPainter& p;
    const CrossSectionLayout& l;
    const CrossSectionPage& page;
    const CrossSectionStyle& s;
};

} // namespace

void fitSectionsAcross(CrossSectionPage& page, double halfBoxCm)
{
    double reach = 0;
    for (const CrossSectionEntry& e : page.sections)
        reach = std::max({reach, e.figure.leftExtent, e.figure.rightExtent});
    page.scale = sheetScale(reach, halfBoxCm);
    const double halfWidth = halfBoxCm * page.scale / 100.0;
    for (CrossSectionEntry& e : page.sections)
        if (e.figure.leftExtent > halfWidth || e.figure.rightExtent > halfWidth)
            clipFigure(e.figure, halfWidth);
}

void paintCrossSectionPage(QPainter& p, const CrossSectionLayout& l, const CrossSectionPage& page,
                           const CrossSectionStyle& style)
{
    Painter(p, l, page, style).paint();
}

} // namespace tarmela
