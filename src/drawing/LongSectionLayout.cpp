#include "drawing/LongSectionLayout.h"

#include "store/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tarmela
{

LongSectionLayout LongSectionLayout::at(double f, int interval)
{
    auto n = [](double v) { return int(nearestEven(v)); };
    LongSectionLayout l;
    l.zoom = f;
    l.pageWidth = n(23814 * f);
    l.pageHeight = n(16840 * f);
    l.LeftX = n(300 * f);
    l.TopY = n(1134 * f);
    l.RightX = n(22980 * f);
    l.BandTopY = n(11340 * f);
    l.TitleTopY = n(567.0 * BandRows * f + l.BandTopY);
    l.IntervalWidth = n(interval * 22.68 * f);
    l.RowHeight = n(567 * f);
    l.BandHeight = l.RowHeight;
    l.KmWidth = n(22680 * f);
    l.FontSize = n(8 * f);
    return l;
}

LongSectionLayout LongSectionLayout::onPaper(Paper paper, int interval)
{
    if (paper == Paper::A3)
        return at(1.0, interval);
    LongSectionLayout l = at(0.65, interval);
    // The bands keep the A3 page's proportion of figure to band.
    l.FontSize = std::max(l.FontSize, MinPrintedPoints);
    l.BandHeight = std::max(l.RowHeight, int(nearestEven(567.0 * l.FontSize / 8)));
    l.TitleTopY = l.BandTopY + BandRows * l.BandHeight;
    // The whole A4 sheet, lying on its side, is the page.
    l.pageWidth = int(nearestEven(297 * kTwipsPerMm));
    l.pageHeight = int(nearestEven(210 * kTwipsPerMm));
    return l;
}

SectionPaging sectionPaging(std::optional<double> lastInFirstKm,
                            std::optional<double> firstChainage, std::optional<double> lastChainage,
                            double roadLength)
{
    SectionPaging p;
    if (!firstChainage || !lastChainage)
        return p;
    if (lastInFirstKm && *lastInFirstKm >= 1) {
        p.pageLength = *lastInFirstKm;
    } else {
        p.pageLength = 1000;
        p.origin = 1000 * std::floor(*firstChainage / 1000);
    }
    const double end = std::max(roadLength, *lastChainage);
    p.pageCount =
        std::max<std::int64_t>(1, std::int64_t(std::ceil((end - p.origin) / p.pageLength - 1e-9)));
    return p;
}

LevelRange LevelRangeBuilder::result(bool fixedDatum, double fixedDatumValue) const
{
    LevelRange r;
    if (!m_any)
        return r;
    r.any = true;
    constexpr double rows = LongSectionLayout::ProfileRows - 1;
    auto fits = [&](double low, double step) {
        return low <= m_low && m_high <= low + rows * step;
    };
    r.low = fixedDatum ? fixedDatumValue : std::floor(m_low) - 1;
    r.high = std::floor(m_high) + 1;
    if (fits(r.low, 1))
        return r;
    r.ownDatum = fixedDatum;
    r.low = m_low < r.low ? std::floor(m_low) : std::ceil(m_high - rows);
    if (fits(r.low, 1))
        return r;
    for (double decade = 1;; decade *= 10) {
        for (const double step : {2 * decade, 2.5 * decade, 5 * decade, 10 * decade}) {
            r.step = step;
            r.low = std::floor(m_low / step) * step;
            r.high = std::min(r.low + rows * step, (std::floor(m_high / step) + 1) * step);
            if (fits(r.low, step) || !std::isfinite(step * 10))
                return r;
        }
    }
}

} // namespace tarmela
