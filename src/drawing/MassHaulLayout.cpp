// The mass-haul diagram's sheet. It keeps the longitudinal section's frame, horizontal scale
// and sheets, so that the two drawings laid one above the other line up chainage for
// chainage. The vertical scale is one for the whole road, so sheets compare at a glance.
#include "drawing/MassHaulDiagram.h"

#include "drawing/PagePens.h"
#include "store/Numbers.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

// The sheet of the longitudinal section at 100 %: its frame and its 1000 m across.
const LongSectionLayout kSheet = LongSectionLayout::at(1.0, 0);
constexpr int kRows = LongSectionLayout::ProfileRows;
constexpr double kGap = 60; // twips between a text and whatever is beside it
constexpr double kChainageBandBottom = 11907;
constexpr double kBalanceBandBottom = 13041;
constexpr int kStretchLanes = 3;
constexpr double kLaneHeight = 540;
constexpr double kTextPoints = 8;

// The ordinates' scale: step m3 to a grid row, the zero line rowsAbove rows below the top.
struct OrdinateScale {
    double step = 1;
    int rowsAbove = kRows / 2;
};

OrdinateScale ordinateScale(double low, double high)
{
    if (!(high > 0) && !(low < 0))
        return {};
    for (double decade = 0.01; std::isfinite(decade); decade *= 10)
        for (const double m : {1.0, 2.0, 2.5, 5.0}) {
            const double step = m * decade;
            const int up = int(std::ceil(std::max(0.0, high) / step - 1e-9));
            const int down = int(std::ceil(std::max(0.0, -low) / step - 1e-9));
            if (up + down <= kRows)
                return {step, up + (kRows - up - down) / 2};
        }
    return {};
}

class Layout
{
public:
    Layout(const MassHaulRoad& road, std::int64_t index, const QLocale& locale)
        : r(road), loc(locale), start(road.paging.pageStart(index)),
          end(road.paging.pageEnd(index)),
          scale(ordinateScale(road.summary.lowestOrdinate, road.summary.highestOrdinate))
    {
    }

    DiagramPage make(std::int64_t number, std::int64_t total)
    {
        header(number, total);
        frame();
        chainages();
        curve();
        balancePoints();
        stretches();
        titleBlock();
        bandCaptions();
        return std::move(page);
    }

private:
    double x(double chainage) const { return kSheet.chainageX(chainage, start); }
    double y(double ordinate) const
    {
        return kSheet.TopY + (scale.rowsAbove - ordinate / scale.step) * kSheet.RowHeight;
    }
    double zeroY() const { return y(0); }
    QString volume(double v) const { return groupedLocale(loc).toString(v, 'f', 0); }
    // A value on the ordinate scale, with the decimals its step needs (2.5 m3 a row: one).
    QString ordinate(double v) const
    {
        const double step = scale.step;
        const int decimals = step < 1 ? 2 : step == std::floor(step) ? 0 : 1;
        return groupedLocale(loc).toString(v, 'f', decimals);
    }

    void line(DiagramLayer layer, double x1, double y1, double x2, double y2)
    {
        page.lines.push_back({layer, x1, y1, x2, y2});
    }
    void box(double x1, double y1, double x2, double y2)
    {
        line(DiagramLayer::Frame, x1, y1, x2, y1);
        line(DiagramLayer::Frame, x1, y2, x2, y2);
        line(DiagramLayer::Frame, x1, y1, x1, y2);
        line(DiagramLayer::Frame, x2, y1, x2, y2);
    }
    bool clear(const DiagramText& t) const
    {
        return std::none_of(page.texts.begin(), page.texts.end(), [&](const DiagramText& o) {
            return t.left() < o.right() && o.left() < t.right() && t.top() < o.bottom() &&
                   o.top() < t.bottom();
        });
    }
    // Puts a text whose cell starts at (tx, ty) unless it would lie on another one.
    bool put(DiagramText t, double tx, double ty)
    {
        t.x = tx;
        t.y = ty;
        if (!clear(t))
            return false;
        page.texts.push_back(std::move(t));
        return true;
    }
    // A text cut to fit a width, as much of it as fits followed by an ellipsis.
    DiagramText fitted(const QString& text, double points, bool bold, double width) const
    {
        const QFontMetricsF m(pageFont(points, bold));
        return measuredText(m.elidedText(text, Qt::ElideRight, width), points, bold);
    }

    void header(std::int64_t number, std::int64_t total)
    {
        const DiagramText pageText =
            measuredText(QStringLiteral("Page %1 of %2").arg(number).arg(total), 10, true);
        put(pageText, kSheet.RightX - pageText.width, 250);
        const double room = kSheet.RightX - kSheet.LeftX - pageText.width - 4 * kGap;
        put(fitted(QStringLiteral("%1 to %2 : Mass haul diagram").arg(r.from, r.to), 10, true,
                   room),
            kSheet.LeftX, 250);
        put(measuredText(QStringLiteral("H 1:2500   V 1 row = %1 m\u00b3   mass ordinate = "
                                        "cut \u00d7 %2 - fill, from the first section")
                             .arg(ordinate(scale.step), loc.toString(r.summary.cutFactor, 'f', 2)),
                         kTextPoints, false),
            kSheet.LeftX, 650);
    }

    void frame()
    {
        for (int k = 1; k < kRows; ++k) {
            const double ly = kSheet.TopY + k * kSheet.RowHeight;
            if (k != scale.rowsAbove)
                line(DiagramLayer::Grid, kSheet.LeftX, ly, kSheet.RightX, ly);
        }
        box(kSheet.LeftX, kSheet.TopY, kSheet.RightX, kSheet.BandTopY);
        line(DiagramLayer::Frame, kSheet.LeftX, zeroY(), kSheet.RightX, zeroY());
        // Each grid line's ordinate inside the frame, at its left, above the line (the top
        // line's below it).
        for (int k = 0; k <= kRows; ++k) {
            const DiagramText t =
                measuredText(ordinate((scale.rowsAbove - k) * scale.step), kTextPoints, false);
            const double ly = kSheet.TopY + k * kSheet.RowHeight;
            put(t, kSheet.LeftX + kGap, k == 0 ? ly + kGap / 2 : ly - t.height - kGap / 4);
        }
    }

    void chainages()
    {
        for (double c = std::ceil(start / 100 - 1e-9) * 100; c <= end + 1e-9; c += 100) {
            line(DiagramLayer::Frame, x(c), kSheet.BandTopY, x(c), kSheet.BandTopY + 120);
            const DiagramText t = measuredText(plainDecimal(c), kTextPoints, false);
            put(t, std::clamp(x(c) - t.width / 2, 0.0, page.width - t.width),
                kSheet.BandTopY + 160);
        }
        line(DiagramLayer::Frame, kSheet.LeftX, kChainageBandBottom, kSheet.RightX,
             kChainageBandBottom);
    }

    // The curve over the sheet's chainages: the sections on it and, where the curve runs on
    // past an edge of the sheet, the point where it crosses that edge.
    void curve()
    {
        const std::vector<MassHaulSection>& s = r.sections;
        const auto below = [](const MassHaulSection& a, double c) { return a.chainage < c; };
        auto i = std::size_t(std::lower_bound(s.begin(), s.end(), start, below) - s.begin());
        if (i > 0)
            --i; // the section before the sheet, for the curve's start at its edge
        auto at = [&](std::size_t k, double edge) {
            const MassHaulSection &a = s[k - 1], &b = s[k];
            const double t =
                b.chainage > a.chainage
                    ? std::clamp((edge - a.chainage) / (b.chainage - a.chainage), 0.0, 1.0)
                    : 1.0;
            return a.ordinate + t * (b.ordinate - a.ordinate);
        };
        for (std::size_t k = i + 1; k < s.size() && s[k - 1].chainage < end; ++k) {
            if (s[k].chainage <= start)
                continue;
            const double c1 = std::max(s[k - 1].chainage, start);
            const double c2 = std::min(s[k].chainage, end);
            line(DiagramLayer::Curve, x(c1), y(at(k, c1)), x(c2), y(at(k, c2)));
        }
    }

    bool onSheet(double chainage) const
    {
        return chainage >= start - 1e-9 && chainage <= end + 1e-9;
    }

    // A mark across the zero line and a leader down the frame; the chainage turned in the band
    // below, moved right where it would touch the one before it.
    void balancePoints()
    {
        double free = 0;
        // Chainages as the chainage band writes them: without thousands separators.
        QLocale plain = loc;
        plain.setNumberOptions(loc.numberOptions() | QLocale::OmitGroupSeparator);
        for (const double c : r.summary.balancePoints) {
            if (!onSheet(c))
                continue;
            line(DiagramLayer::Curve, x(c), zeroY() - 150, x(c), zeroY() + 150);
            line(DiagramLayer::Grid, x(c), zeroY() + 150, x(c), kSheet.BandTopY);
            DiagramText t = measuredText(plain.toString(c, 'f', 2), kTextPoints, false);
            t.turned = true;
            const double tx = std::max(x(c) - t.height / 2, free);
            if (tx + t.height <= kSheet.RightX &&
                put(t, tx, kBalanceBandBottom - kGap) /* it reads upwards from the bottom */)
                free = tx + t.height + kGap / 2;
        }
        line(DiagramLayer::Frame, kSheet.LeftX, kBalanceBandBottom, kSheet.RightX,
             kBalanceBandBottom);
    }

    // Each stretch's part on the sheet, labelled at its middle in the first lane where the
    // label has room.
    void stretches()
    {
        for (const MassHaulStretch& h : r.summary.stretches) {
            const double from = std::max(h.from, start), to = std::min(h.to, end);
            if (to <= from || h.volume <= 0)
                continue;
            const DiagramText a =
                measuredText(volume(h.volume) + QStringLiteral(" m\u00b3"), kTextPoints, true);
            const DiagramText b = measuredText(
                QStringLiteral("av. haul %1 m").arg(loc.toString(h.averageDistance(), 'f', 1)),
                kTextPoints, false);
            const double mid = x((from + to) / 2);
            for (int lane = 0; lane < kStretchLanes; ++lane) {
                const double ty = kBalanceBandBottom + kGap + lane * kLaneHeight;
                DiagramText ta = a, tb = b;
                ta.x = std::clamp(mid - a.width / 2, double(kSheet.LeftX), kSheet.RightX - a.width);
                tb.x = std::clamp(mid - b.width / 2, double(kSheet.LeftX), kSheet.RightX - b.width);
                ta.y = ty;
                tb.y = ty + a.height;
                if (clear(ta) && clear(tb)) {
                    page.texts.push_back(ta);
                    page.texts.push_back(tb);
                    break;
                }
            }
        }
    }

    // The bands' names turned in a column of their own right of the bands, as on the long
    // section.
    void bandCaptions()
    {
        line(DiagramLayer::Frame, kSheet.LeftX, kSheet.BandTopY, kSheet.LeftX, kSheet.TitleTopY);
        line(DiagramLayer::Frame, kSheet.RightX, kSheet.BandTopY, kSheet.RightX, kSheet.TitleTopY);
        const std::pair<const char*, double> bands[3] = {{"CHAIN", kChainageBandBottom},
                                                         {"BALANCE", kBalanceBandBottom},
                                                         {"STRETCHES", double(kSheet.TitleTopY)}};
        for (const auto& [caption, bottom] : bands) {
            DiagramText t = measuredText(QString::fromLatin1(caption), kTextPoints - 1, true);
            t.turned = true;
            put(t, (kSheet.RightX + page.width - t.height) / 2, bottom - kGap);
        }
    }

    void titleBlock()
    {
        const double top = kSheet.TitleTopY, rh = kSheet.RowHeight;
        const double mid = (kSheet.LeftX + kSheet.RightX) / 2.0;
        box(kSheet.LeftX, top, kSheet.RightX, top + 2 * rh);
        line(DiagramLayer::Frame, mid, top, mid, top + 2 * rh);
        line(DiagramLayer::Frame, kSheet.LeftX, top + rh, kSheet.RightX, top + rh);
        const double e = r.summary.endOrdinate;
        const QString ending =
            e > 0   ? QStringLiteral("Surplus to waste at the end: %1 m\u00b3").arg(volume(e))
            : e < 0 ? QStringLiteral("Deficit to borrow at the end: %1 m\u00b3").arg(volume(-e))
                    : QStringLiteral("Balanced at the end: no surplus or deficit");
        const QString cells[4] = {
            QStringLiteral("%1 to %2").arg(r.from, r.to),
            QStringLiteral("Cut factor %1; segment volumes by average end areas")
                .arg(loc.toString(r.summary.cutFactor, 'f', 2)),
            QStringLiteral("Balance points: %1   Stretches: %2")
                .arg(r.summary.balancePoints.size())
                .arg(r.summary.stretches.size()),
            ending};
        const double inset = 8.0 * kTextPoints;
        for (int i = 0; i < 4; ++i) {
            const double cx = (i < 2 ? kSheet.LeftX : mid) + 2 * inset;
            const DiagramText t =
                fitted(cells[i], kTextPoints + 1, i == 0, mid - kSheet.LeftX - 4 * inset);
            put(t, cx, top + (i % 2) * rh + (rh - t.height) / 2);
        }
    }

    const MassHaulRoad& r;
    const QLocale& loc;
    const double start, end;
    const OrdinateScale scale;
    DiagramPage page;
};

} // namespace

DiagramText measuredText(const QString& text, double points, bool bold)
{
    const QFontMetricsF m(pageFont(points, bold));
    DiagramText t;
    t.text = text;
    t.width = m.horizontalAdvance(text);
    t.height = m.height();
    t.ascent = m.ascent();
    t.points = points;
    t.bold = bold;
    return t;
}

DiagramPage massHaulDiagramPage(const MassHaulRoad& road, std::int64_t index, std::int64_t number,
                                std::int64_t total, const QLocale& locale)
{
    return Layout(road, index, locale).make(number, total);
}

} // namespace tarmela
