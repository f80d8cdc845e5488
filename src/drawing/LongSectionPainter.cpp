// The longitudinal-section page: a header line, the profile frame with its level labels and
// four curves, six bands of figures and the title block with the road's fields and a legend.
//
// A curve joins two rows only when both have its level; an empty cell breaks the curve. The
// slope band shows the grade of FC from the previous row when both rows have an FC above 0.
#include "drawing/LongSectionPainter.h"

#include "drawing/PagePens.h"
#include "store/Numbers.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace tarmela
{

namespace
{

constexpr const char* kBandCaptions[LongSectionLayout::BandRows] = {
    "", "   FC", "SLOPE", "    C", " LEFT", "RIGHT", "FC-C"};
const QColor kGridColour(162, 162, 162);

struct Curve {
    QColor colour;
    LineStyle style;
    int bandRow;
};

class Painter
{
public:
    Painter(QPainter& painter, const LongSectionLayout& layout, const LongSectionPage& pageData,
            const LongSectionStyle& style)
        : p(painter), l(layout), page(pageData), s(style), normal(kTwipsPerScreenPixelWidth)
    {
        curves = {{{s.centre, LineStyle::Dashed, 3},
                   {s.left, LineStyle::Dotted, 4},
                   {s.right, LineStyle::DashDot, 5},
                   {s.formation, LineStyle::Solid, 1}}};
    }

    void paint()
    {
        p.save();
        p.fillRect(QRectF(0, 0, l.pageWidth, l.pageHeight), Qt::white);
        p.setFont(pageFont(l.FontSize + 2, true));
        p.setPen(Qt::black);
        textAt(p, l.LeftX, l.TopY - l.RowHeight / 2.0,
               QStringLiteral("%1 to %2 : %3/%4")
                   .arg(page.from, page.to)
                   .arg(page.pageIndex + 1)
                   .arg(page.pageCount));
        if (page.levels.any)
            textAt(p, (l.LeftX + l.RightX) / 2.0, l.TopY - l.RowHeight / 2.0,
                   scaleLine(page.levels));
        titleBlock();
        legend();
        // The band captions stand in a column of their own right of the bands, level, each in
        // the middle of its band: turned, a five-letter caption takes its band's whole height
        // and runs into the next one's.
        p.setFont(pageFont(l.FontSize, true));
        p.setPen(Qt::black);
        const double captionHeight = l.FontSize * 20.0 * 1.2;
        for (int r = 1; r < LongSectionLayout::BandRows; ++r)
            textAt(p, l.RightX + l.FontSize * 24.0 + 45, // clear of the last column's figures
                   l.bandBottom(r) - (l.BandHeight + captionHeight) / 2.0,
                   QString::fromLatin1(kBandCaptions[r]).trimmed());
        grids();
        levelLabels();
        rows();
        culverts();
        p.restore();
    }

private:
    static constexpr double kTwipsPerScreenPixelWidth = 15;

    void line(double x1, double y1, double x2, double y2)
    {
        p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    void box(double x1, double y1, double x2, double y2)
    {
        p.setPen(pagePen(Qt::black, normal));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
    }

    // The title block's size for a text, or a smaller one down to the figures' where the text
    // would not fit its room at that size.
    void fitFont(const QString& text, double room)
    {
        for (int size = l.FontSize + 2; size >= l.FontSize; --size) {
            p.setFont(pageFont(size, true));
            if (textWidth(p, text) <= room)
                break;
        }
    }

    void titleBlock()
    {
        const double top = l.TitleTopY, rh = l.RowHeight;
        box(l.LeftX, top, l.RightX, top + 2 * rh);
        const double x1 = (l.LeftX + l.RightX) / 4.0 + l.LeftX;
        const double x2 = (l.LeftX + l.RightX) / 2.0 + l.LeftX;
        const double x3 = l.RightX - (l.LeftX + l.RightX) / 4.0;
        line(l.LeftX, top + rh, x2, top + rh);
        for (double x : {x1, x2, x3})
            line(x, top, x, top + 2 * rh);
        const double inset = 8.0 * l.FontSize;
        const double upper = top + rh / 2 - inset, lower = top + 1.5 * rh - inset;
        p.setPen(Qt::black);
        const double xs[4] = {l.LeftX + inset, l.LeftX + inset, x1 + inset, x1 + inset};
        const double ys[4] = {upper, lower, upper, lower};
        for (int i = 0; i < 4; ++i)
            if (!page.fields[i].isEmpty()) {
                fitFont(page.fields[i], x1 - l.LeftX - 2 * inset);
                textAt(p, xs[i], ys[i], page.fields[i]);
            }
        m_x3 = x3;
    }

    void legend()
    {
        const double x35 = (m_x3 + l.RightX) / 2;
        const double upper = l.TitleTopY + l.RowHeight / 2.0;
        const double lower = l.TitleTopY + 1.5 * l.RowHeight;
        const double inset = 8.0 * l.FontSize;
        struct Entry {
            const char* caption;
            const Curve& curve;
            double a, b, y;
        };
        const Entry entries[4] = {{"FORMATION", curves[3], m_x3, x35, upper},
                                  {"CENTRE", curves[0], x35, double(l.RightX), upper},
                                  {"RIGHT", curves[2], x35, double(l.RightX), lower},
                                  {"LEFT", curves[1], m_x3, x35, lower}};
        for (const Entry& e : entries) {
            p.setPen(pagePen(e.curve.colour, &e.curve == &curves[3] ? normal : s.thinWidth,
                             e.curve.style));
            line(e.a + inset, e.y, (e.a + e.b) / 2 - inset, e.y);
            p.setPen(Qt::black);
            const QString caption = QString::fromLatin1(e.caption);
            fitFont(caption, (e.b - e.a) / 2 - 2 * inset);
            textAt(p, (e.a + e.b) / 2 + inset, e.y - inset, caption);
        }
    }

    void grids()
    {
        p.setPen(pagePen(kGridColour, s.thinWidth));
        if (s.grid)
            gridLines(l.TopY, l.BandTopY, l.RowHeight);
        gridLines(l.BandTopY, l.TitleTopY, l.BandHeight);
        box(l.LeftX, l.TopY, l.RightX, l.BandTopY);
    }

    void gridLines(double y1, double y2, double dy)
    {
        if (l.IntervalWidth > 0)
            for (double x = l.LeftX; x <= l.RightX; x += l.IntervalWidth)
                line(x, y1, x, y2);
        for (double y = y1; y <= y2 + 1e-6; y += dy)
            line(l.LeftX, y, l.RightX, y);
    }

    // Level labels stand right of the frame (left of it there is no room for them), clear
    // of its edge, above their lines; only the levels inside the frame are shown.
    void levelLabels()
    {
        if (!page.levels.any)
            return;
        p.setPen(Qt::black);
        const LevelRange& r = page.levels;
        const int decimals = r.step == std::floor(r.step) ? 0 : 1;
        for (int k = 0; k < LongSectionLayout::ProfileRows; ++k) {
            const double v = r.low + k * r.step;
            if (v > r.high + 1e-9)
                break;
            const QString text = s.locale.toString(v, 'f', decimals);
            textAt(p, l.RightX + l.FontSize * 4.0, l.levelToY(v, r.low, r.step) - l.RowHeight / 5.0,
                   text);
        }
    }

    QString scaleLine(const LevelRange& r) const
    {
        QString text = QStringLiteral("H 1:2500  V 1:%1  DATUM %2")
                           .arg(r.verticalScale(), 0, 'f', 0)
                           .arg(s.locale.toString(r.low, 'f', 2));
        if (r.ownDatum)
            text += QStringLiteral(" (this sheet)");
        return text;
    }

    // A figure stands beside its chainage's line, a pixel clear of it, not across it.
    void bandText(int row, double x, const QString& text, const QColor& colour)
    {
        p.save();
        p.setFont(pageFont(l.FontSize, true));
        p.setPen(colour);
        turnedTextAt(p, nearestEven(x) + kTwipsPerScreenPixelWidth,
                     l.bandBottom(row) - kTwipsPerScreenPixelWidth, text);
        p.restore();
    }

    QString two(double v) const { return s.locale.toString(v, 'f', 2); }

    void rows()
    {
        if (page.rows.empty())
            return;
        const double low = page.levels.low, step = page.levels.step;
        const double first = page.rows.front().chainage;
        p.save();
        p.setClipRect(QRectF(QPointF(l.LeftX, l.TopY), QPointF(l.RightX, l.BandTopY)));
        for (const CurveSegment& c : longSectionCurves(page.rows)) {
            p.setPen(pagePen(curves[c.curve].colour, c.curve == 3 ? normal : s.thinWidth,
                             curves[c.curve].style));
            line(l.chainageX(c.chainage1, first), l.levelToY(c.level1, low, step),
                 l.chainageX(c.chainage2, first), l.levelToY(c.level2, low, step));
        }
        p.restore();
        for (const BandFigure& b : longSectionBandFigures(page.rows, s.locale, l.figureSpacing()))
            bandText(b.bandRow, l.chainageX(b.chainage, first), b.text,
                     b.curve < 0 ? QColor(Qt::black) : curves[b.curve].colour);
    }

    // Each culvert as lines in its own colour (existing black, proposed in the formation's),
    // inside the frame, labelled with its chainage above it (clear of the ground lines under a
    // fill) or, where the frame has no room for that, on the side with more room.
    void culverts()
    {
        if (page.rows.empty())
            return;
        const double first = page.rows.front().chainage;
        const double cm = 567 * l.zoom;
        using S = CulvertMarkShape;
        p.save();
        p.setClipRect(QRectF(QPointF(l.LeftX, l.TopY), QPointF(l.RightX, l.BandTopY)));
        p.setFont(pageFont(l.FontSize, false));
        p.setBrush(Qt::NoBrush);
        for (const CulvertMark& c : page.culverts) {
            const double x = l.chainageX(c.chainage, first);
            const double top = l.levelToY(c.level, page.levels.low, page.levels.step);
            const QColor colour = c.existing ? QColor(Qt::black) : s.formation;
            p.setPen(pagePen(colour, normal));
            p.drawRect(
                QRectF(x - S::MarkWidth / 2 * cm, top, S::MarkWidth * cm, S::MarkHeight * cm));
            QPolygonF ring;
            for (const auto& [dx, dy] : S::opening())
                ring << QPointF(x + dx * cm, top + dy * cm);
            p.drawPolyline(ring);
            const QString label = culvertLabel(c);
            const double length = textWidth(p, label);
            const double bottom = top + S::MarkHeight * cm;
            const double roomAbove = top - l.TopY, roomBelow = l.BandTopY - bottom;
            const bool above = roomAbove >= (S::LabelGap * cm + length) || roomAbove >= roomBelow;
            p.setPen(colour);
            turnedTextAt(p, x - l.FontSize * 10.0,
                         above ? top - S::LabelGap * cm : bottom + S::LabelGap * cm + length,
                         label);
        }
        p.restore();
    }

    QPainter& p;
    const LongSectionLayout& l;
    const LongSectionPage& page;
    const LongSectionStyle& s;
    const double normal;
    std::array<Curve, 4> curves;
    double m_x3 = 0;
};

} // namespace

namespace
{

// A figure with two decimals and its sign, + included (0.00 reads +0.00).
QString signedFigure(double v, const QLocale& locale)
{
    // A value that rounds to nothing has no sign to show.
    const QString figure = locale.toString(std::abs(v) < 0.005 ? 0.0 : v, 'f', 2);
    return figure.startsWith(locale.negativeSign()) ? figure : locale.positiveSign() + figure;
}

// Walks the rows as the page draws them: a curve's previous point is 0 when there is none (at
// the start of the page and after an empty cell, which breaks the curve).
template <typename Visit> void walkRows(const std::vector<LongSectionRow>& rows, Visit visit)
{
    std::array<double, 4> prev{};
    double prevChainage = rows.empty() ? 0 : rows.front().chainage;
    for (const LongSectionRow& r : rows) {
        const double values[4] = {r.centre, r.left, r.right, r.fc};
        visit.row(r);
        for (int j = 0; j < 4; ++j) {
            const double v = values[j];
            if (std::isnan(v)) {
                prev[j] = 0;
                continue;
            }
            visit.value(j, r, v, prev[j], prevChainage);
            prev[j] = v;
        }
        prevChainage = r.chainage;
    }
}

// The chainages kept of those given (in any order) by the thinning rule.
std::vector<double> keptChainages(std::vector<double> at, double spacing)
{
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    if (at.empty())
        return at;
    std::vector<double> kept{at.front()};
    for (std::size_t i = 1; i + 1 < at.size(); ++i)
        if (at[i] - kept.back() >= spacing && at.back() - at[i] >= spacing)
            kept.push_back(at[i]);
    if (at.size() > 1 && at.back() - kept.back() >= spacing)
        kept.push_back(at.back());
    return kept;
}

std::vector<BandFigure> thinned(std::vector<BandFigure> figures, double spacing)
{
    std::vector<double> columns, grades;
    for (const BandFigure& f : figures)
        (f.bandRow == 2 ? grades : columns).push_back(f.chainage);
    columns = keptChainages(std::move(columns), spacing);
    grades = keptChainages(std::move(grades), spacing);
    figures.erase(
        std::remove_if(figures.begin(), figures.end(),
                       [&](const BandFigure& f) {
                           const std::vector<double>& kept = f.bandRow == 2 ? grades : columns;
                           return !std::binary_search(kept.begin(), kept.end(), f.chainage);
                       }),
        figures.end());
    return figures;
}

} // namespace

std::vector<std::pair<double, double>> CulvertMarkShape::opening()
{
    constexpr int kSides = 16;
    const double cy = MarkHeight - 0.05 - Opening;
    std::vector<std::pair<double, double>> ring;
    for (int k = 0; k <= kSides; ++k) {
        const double a = 2 * M_PI * k / kSides;
        ring.emplace_back(Opening * std::sin(a), cy - Opening * std::cos(a));
    }
    return ring;
}

QString culvertLabel(const CulvertMark& c)
{
    return QStringLiteral("CULVERT ") + plainDecimal(c.chainage);
}

std::vector<BandFigure> longSectionBandFigures(const std::vector<LongSectionRow>& rows,
                                               const QLocale& locale, double spacing)
{
    struct Visit {
        std::vector<BandFigure>& out;
        const QLocale& locale;
        void row(const LongSectionRow& r)
        {
            out.push_back({0, r.chainage, plainDecimal(r.chainage), -1});
            depth(r);
        }
        void value(int j, const LongSectionRow& r, double v, double, double)
        {
            static constexpr int bandOf[4] = {3, 4, 5, 1};
            out.push_back({bandOf[j], r.chainage, locale.toString(v, 'f', 2), j});
        }
        // The depth of fill (+) or cut (-) at the centre, where both levels are present.
        void depth(const LongSectionRow& r)
        {
            if (isReading(r.fc) && isReading(r.centre))
                out.push_back({6, r.chainage, signedFigure(r.fc - r.centre, locale), -1});
        }
    };
    std::vector<BandFigure> out;
    walkRows(rows, Visit{out, locale});
    for (const StraightGrade& g : longSectionGrades(rows)) {
        out.push_back(
            {2, (g.chainage1 + g.chainage2) / 2, signedFigure(g.percent, locale) + '%', -1});
    }
    return spacing > 0 ? thinned(std::move(out), spacing) : out;
}

std::vector<StraightGrade> longSectionGrades(const std::vector<LongSectionRow>& rows)
{
    // FC is stored to the millimetre: two segments lie on one straight grade when they differ
    // by no more than that rounding can make.
    constexpr double kRounding = 0.0011; // m, a little over two half millimetres
    std::vector<StraightGrade> out;
    const LongSectionRow* start = nullptr; // the first row of the grade being followed
    const LongSectionRow* last = nullptr;  // its last row
    auto grade = [](const LongSectionRow& a, const LongSectionRow& b) {
        return 100 * (b.fc - a.fc) / (b.chainage - a.chainage);
    };
    auto close = [&] {
        if (start && last && last != start)
            out.push_back({start->chainage, last->chainage, grade(*start, *last)});
    };
    for (const LongSectionRow& r : rows) {
        if (!(r.fc > 0)) { // an empty FC ends the grade
            close();
            start = last = nullptr;
            continue;
        }
        if (last && r.chainage == last->chainage)
            continue;
        if (start && last != start) {
            const double tolerance = 100 * kRounding / (r.chainage - last->chainage);
            if (std::abs(grade(*last, r) - grade(*start, *last)) > tolerance) {
                close();
                start = last;
            }
        } else if (!start) {
            start = &r;
        }
        last = &r;
    }
    close();
    return out;
}

std::vector<CurveSegment> longSectionCurves(const std::vector<LongSectionRow>& rows)
{
    struct Visit {
        std::vector<CurveSegment>& out;
        void row(const LongSectionRow&) {}
        void value(int j, const LongSectionRow& r, double v, double prev, double prevChainage)
        {
            if (prev != 0)
                out.push_back({j, prevChainage, prev, r.chainage, v});
        }
    };
    std::vector<CurveSegment> out;
    walkRows(rows, Visit{out});
    return out;
}

void paintLongSectionPage(QPainter& p, const LongSectionLayout& l, const LongSectionPage& page,
                          const LongSectionStyle& style)
{
    Painter(p, l, page, style).paint();
}

} // namespace tarmela
