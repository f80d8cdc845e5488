// The cross-section page: a header line, a frame with a title block at its foot, and for each
// section a two-band figure box (existing levels above, proposed below) with the ground line,
// the formation and its side slopes above it, and the chainage, datum and areas.
#include "drawing/CrossSectionPainter.h"

#include "drawing/PagePens.h"
#include "store/Numbers.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>

namespace tarmela
{

namespace
{

constexpr double kNormal = 15; // one screen pixel
constexpr double kCaptionPoints = 7;

// The points of the lines given, by offset: the ground and the proposed outline each run
// outwards from the centre line, so taken in order of offset they are one line from left to
// right.
std::vector<FigurePoint> byOffset(std::initializer_list<const std::vector<FigureSegment>*> lists)
{
    std::map<double, double> points;
    for (const auto* list : lists)
        for (const FigureSegment& s : *list)
            for (const FigurePoint& p : {s.a, s.b})
                points.emplace(p.offset, p.level);
    std::vector<FigurePoint> line;
    for (const auto& [offset, level] : points)
        line.push_back({offset, level});
    return line;
}

QString chainageText(double chainage)
{
    return QStringLiteral("Km %1").arg(chainage / 1000, 0, 'f', 3);
}

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
        const double headY = nearestEven(l.TopY + l.Len10 / 2.0);
        textAt(p, l.LeftX + l.Len10, headY,
               QStringLiteral("%1 To %2 : %3/%4")
                   .arg(page.from, page.to)
                   .arg(page.pageNumber)
                   .arg(page.pageCount));
        // The sheet's scales at the right end of the header line.
        p.setFont(pageFont(8 * l.zoom, false));
        const QString scales = "SCALE " + scalesText(page.scales);
        textAt(p, l.RightX - l.Len10 - textWidth(p, scales), headY, scales);
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

    // A text that fills its cell: wrapped at word ends, and smaller until it fits.
    void fitted(const QRectF& cell, const QString& text, double points, bool bold)
    {
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
        for (double pt = points;; pt -= 0.5) {
            p.setFont(pageFont(pt * l.zoom, bold));
            const QRectF need = p.boundingRect(cell, flags, text);
            if ((need.height() <= cell.height() && need.width() <= cell.width()) || pt <= 6) {
                p.drawText(cell, flags, text);
                return;
            }
        }
    }

    void frame()
    {
        const double left = l.LeftX + l.Len10, right = l.RightX - l.Len10;
        const double bottom = l.BottomY - l.Len10, top = l.BottomY - 3 * l.Len10;
        p.setPen(pagePen(Qt::black, kNormal));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(QPointF(left, l.TopY + l.Len10), QPointF(right, bottom)));
        const double third = nearestEven((l.RightX - l.LeftX - 2 * l.Len10) / 3.0);
        line(left, top, right, top);
        line(left, l.BottomY - 2 * l.Len10, right - third, l.BottomY - 2 * l.Len10);
        for (double x : {left + third, right - third})
            line(x, top, x, bottom);
        p.setPen(Qt::black);
        // The user's four fields, two to a column.
        const double inset = 1.5 * l.Mm, half = l.Len10;
        for (int i = 0; i < 4; ++i) {
            const double x = left + (i / 2) * third + inset;
            const double y = top + (i % 2) * half;
            if (!page.fields[i].isEmpty())
                fitted(QRectF(x, y + inset / 2, third - 2 * inset, half - inset), page.fields[i],
                       10, true);
        }
        // The sheet's own particulars in the right column.
        QStringList lines;
        lines << page.from + " To " + page.to;
        if (!page.sections.empty())
            lines << chainageText(page.sections.front().chainage) + " to " +
                         chainageText(page.sections.back().chainage);
        lines << "Scale " + scalesText(page.scales)
              << QStringLiteral("Sheet %1 of %2").arg(page.pageNumber).arg(page.pageCount);
        if (page.date.isValid())
            lines << "Date " + page.date.toString(Qt::ISODate);
        if (!s.method.isEmpty())
            lines << s.method;
        const QRectF column(right - third + inset, top + inset / 2, third - 2 * inset,
                            2 * half - inset);
        for (double pt = 7;; pt -= 0.5) {
            p.setFont(pageFont(pt * l.zoom, false));
            const double rowHeight = QFontMetricsF(p.font()).lineSpacing();
            bool fits = rowHeight * lines.size() <= column.height();
            for (const QString& t : lines)
                fits = fits && textWidth(p, t) <= column.width();
            if (fits || pt <= 6) {
                for (int i = 0; i < lines.size(); ++i)
                    p.drawText(QRectF(column.left(), column.top() + i * rowHeight, column.width(),
                                      rowHeight),
                               Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
                return;
            }
        }
    }

    void label(double cx, double y, const SectionLabel& t)
    {
        const double points = t.turned ? 7 : kLabelPoints;
        p.setFont(pageFont(points * l.zoom, false));
        const double mm = l.Mm;
        const QPointF centre(cx + t.centreX() * mm, y - t.centreY() * mm);
        p.save();
        p.translate(centre);
        if (t.turned)
            p.rotate(-90);
        const double w = (t.turned ? t.height : t.width) * mm;
        const double h = (t.turned ? t.width : t.height) * mm;
        p.drawText(QRectF(-w / 2, -h / 2, w, h), Qt::AlignCenter | Qt::TextDontClip, t.text);
        p.restore();
    }

    // The section whose figure box starts at y, within its own room from top down.
    void section(const CrossSectionEntry& e, double y, double top)
    {
        const SectionFigure& f = e.figure;
        const SectionPlan& plan = e.plan;
        const double mm = l.Mm, cx = l.centreX();
        const double boxX = l.boxX(), boxRight = l.boxX() + l.BoxWidth;
        const double band = 10 * mm;
        const double across = page.scales.mmPerMetreAcross() * mm;
        const double up = page.scales.mmPerMetreUp() * mm;
        auto at = [&](const FigurePoint& q) {
            return QPointF(cx + q.offset * across, y - (q.level - plan.datum) * up);
        };
        auto segment = [&](const FigureSegment& sg) { p.drawLine(at(sg.a), at(sg.b)); };

        p.setPen(pagePen(Qt::black, kNormal));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(QPointF(boxX, y), QPointF(boxRight, y + 2 * band)));
        line(boxX, y + band, boxRight, y + band);
        line(cx, y - plan.figureTop * mm, cx, y + 2 * band);

        // The band captions in the column right of the box.
        p.setFont(pageFont(kCaptionPoints * l.zoom, false));
        const QRectF caption(boxRight + mm, y, l.RightX - l.Len10 - boxRight - 2 * mm, band);
        p.setPen(s.existing);
        p.drawText(caption, Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("EX. LEVEL"));
        p.setPen(s.formation);
        p.drawText(caption.translated(0, band), Qt::AlignCenter | Qt::TextDontClip,
                   QStringLiteral("PR. LEVEL"));

        p.save();
        p.setClipRect(QRectF(QPointF(l.LeftX, top), QPointF(l.RightX, y + 2 * band)),
                      p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        tint(f, at, top, y);
        p.setPen(pagePen(s.existing, s.thinWidth, LineStyle::Dashed));
        for (const FigureSegment& sg : f.ground)
            segment(sg);
        p.setPen(pagePen(s.existing, kNormal));
        for (const FigureTick& t : f.groundTicks)
            line(cx + t.offset * across, y, cx + t.offset * across, y + band);
        p.setPen(pagePen(s.formation, kNormal));
        for (const FigureSegment& sg : f.formation)
            segment(sg);
        for (const FigureTick& t : f.formationTicks)
            line(cx + t.offset * across, y + band, cx + t.offset * across, y + 2 * band);
        for (const FigureSegment& sg : f.slopes)
            segment(sg);
        // Beyond the outermost reading the slope and the ground it meets are carried, dashed.
        p.setPen(pagePen(s.formation, s.thinWidth, LineStyle::Dashed));
        for (const FigureSegment& sg : f.slopesCarried)
            segment(sg);
        p.setPen(pagePen(s.existing, s.thinWidth, LineStyle::Dotted));
        for (const FigureSegment& sg : f.groundCarried)
            segment(sg);
        p.restore();

        for (const SectionLabel& t : plan.labels) {
            const bool ground =
                t.kind == LabelKind::GroundInterval || t.kind == LabelKind::GroundLevel;
            const bool formation =
                t.kind == LabelKind::FormationWidth || t.kind == LabelKind::FormationLevel;
            p.setPen(ground ? s.existing : formation ? s.formation : QColor(Qt::black));
            label(cx, y, t);
        }
    }

    // Fill where the proposed outline stands above the ground, cut where below.
    template <typename At> void tint(const SectionFigure& f, At at, double top, double bottom)
    {
        const auto proposed = byOffset({&f.formation, &f.slopes, &f.slopesCarried});
        const auto ground = byOffset({&f.ground, &f.groundCarried});
        if (proposed.size() < 2 || ground.size() < 2)
            return;
        auto side = [&](const std::vector<FigurePoint>& line, bool below) {
            QPainterPath path(at(line.front()));
            for (std::size_t i = 1; i < line.size(); ++i)
                path.lineTo(at(line[i]));
            const double edge = below ? bottom : top;
            path.lineTo(at(line.back()).x(), edge);
            path.lineTo(at(line.front()).x(), edge);
            path.closeSubpath();
            return path;
        };
        p.setPen(Qt::NoPen);
        p.setBrush(s.fillTint);
        p.drawPath(side(proposed, true).intersected(side(ground, false)));
        p.setBrush(s.cutTint);
        p.drawPath(side(proposed, false).intersected(side(ground, true)));
        p.setBrush(Qt::NoBrush);
    }

    QPainter& p;
    const CrossSectionLayout& l;
    const CrossSectionPage& page;
    const CrossSectionStyle& s;
};

} // namespace

SectionSlot crossSectionSlot(const CrossSectionLayout& l, int sectionsOnPage)
{
    SectionSlot slot;
    const double mm = l.Mm, cx = l.centreX();
    slot.boxWidth = l.BoxWidth / mm;
    slot.bandHeight = 10;
    slot.room = (l.boxTop(0, sectionsOnPage) - l.sectionTop(0, sectionsOnPage)) / mm;
    slot.rowLeft = (l.LeftX + l.Len10 - cx) / mm + 2;
    slot.rowRight = (l.RightX - l.Len10 - cx) / mm - 2;
    return slot;
}

void planCrossSectionPage(CrossSectionPage& page, const SectionSlot& slot, const QLocale& locale)
{
    std::vector<const SectionFigure*> figures;
    for (const CrossSectionEntry& e : page.sections)
        figures.push_back(&e.figure);
    page.scales = sheetScales(figures, slot);
    for (CrossSectionEntry& e : page.sections)
        e.plan =
            planSection(e.figure, {e.chainage, e.fillArea, e.cutArea}, slot, page.scales, locale);
}

void paintCrossSectionPage(QPainter& p, const CrossSectionLayout& l, const CrossSectionPage& page,
                           const CrossSectionStyle& style)
{
    Painter(p, l, page, style).paint();
}

} // namespace tarmela
