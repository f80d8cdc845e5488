#pragma once

#include "drawing/PageUnits.h"
#include "store/RlRows.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarmela
{

// Where everything of a longitudinal-section page lies, in twips at one zoom: an A3 sheet on
// its side at 100 %, a profile frame of 18 one-metre rows, seven bands of figures under it and a
// two-row title block. Horizontally 1000 m of chainage is KmWidth (1:2500 at 100 %),
// vertically one metre of level is RowHeight (1:100).
struct LongSectionLayout {
    static constexpr int BandRows = 7;
    static constexpr int ProfileRows = 18;

    double zoom = 1.0;
    int pageWidth = 23814, pageHeight = 16840;
    int LeftX = 300, TopY = 1134, RightX = 22980;
    int BandTopY = 11340;  // bottom of the profile frame, top of the bands
    int TitleTopY = 15309; // bottom of the bands, top of the title block
    int IntervalWidth = 0; // one chainage interval of the road
    int RowHeight = 567;   // one metre of level, and a row of the title block
    int BandHeight = 567;  // one band of figures
    int KmWidth = 22680;   // 1000 m of chainage
    int FontSize = 8;      // points

    // The layout at a zoom factor (1.0 = 100 %) for a road with this chainage interval.
    static LongSectionLayout at(double zoom, int interval);
    // The page as it is printed: on A3 the layout at 100 %; on A4 at 65 %, but with type no
    // smaller than MinPrintedPoints and bands deep enough for their turned figures at that
    // size (the title block moves down into the sheet's foot).
    static constexpr int MinPrintedPoints = 6;
    static LongSectionLayout onPaper(Paper paper, int interval);

    // Height of a level on a page whose lowest level line is lowLevel, with step metres of
    // level to a row (1 at 1:100).
    double levelToY(double level, double lowLevel, double step = 1) const
    {
        return (BandTopY - RowHeight) - (level - lowLevel) / step * RowHeight;
    }
    // Position of a chainage on a page whose first row is at firstChainage.
    double chainageX(double chainage, double firstChainage) const
    {
        return LeftX + (chainage - firstChainage) * KmWidth * 0.001;
    }
    // Bottom of band row r (0 = chainage, 1 = FC, 2 = slope, 3 centre, 4 left, 5 right,
    // 6 the depth FC - C).
    int bandBottom(int row) const { return BandTopY + (row + 1) * BandHeight; }
    // The metres of chainage two turned figures of a band must lie apart not to touch: the
    // height of their type and a point between them.
    double figureSpacing() const { return (FontSize * 20.0 * 1.2 + 20) / (KmWidth * 0.001); }
};

// How a road's chainage is divided into pages (sheets of the drawing): page k covers the
// chainages origin + k * pageLength to origin + (k + 1) * pageLength, both ends included, so a
// row on a boundary is on both pages.
struct SectionPaging {
    double origin = 0;
    double pageLength = 1000;
    std::int64_t pageCount = 0;

    double pageStart(std::int64_t page) const { return origin + double(page) * pageLength; }
    double pageEnd(std::int64_t page) const { return origin + double(page + 1) * pageLength; }
};

// A page spans the last chainage of the first kilometre, so that pages end on a section;
// enough pages to reach the road's length or its last row, whichever is further. A road
// without a row in its first kilometre (or with only chainage 0 there) has kilometre pages
// starting at the kilometre of its first row, so that its first page is not empty.
// No rows: no pages.
SectionPaging sectionPaging(std::optional<double> lastInFirstKm,
                            std::optional<double> firstChainage, std::optional<double> lastChainage,
                            double roadLength);

// The levels one page shows: the lowest level line (the datum), the highest labelled level
// and the metres of level to a row of the frame (1 at the drawing's 1:100).
struct LevelRange {
    bool any = false; // no present level on the page: nothing to label
    double low = 0, high = 0;
    double step = 1;
    bool ownDatum = false; // the fixed datum was asked for but the page's levels leave it
    double verticalScale() const { return 100 * step; } // 1:100, 1:200, ...
};

// The datum rule, from the present levels (not null, above 0) of the centre, the outermost
// shown left and right columns and the formation: low = floor of the lowest - 1 (or the fixed
// datum), high = floor of the highest + 1. The levels must lie between the datum and the top
// of the frame (ProfileRows - 1 rows above it): when they do not at the fixed datum, the page
// takes the nearest whole metre at which they do; when they span more than the frame holds
// at 1:100, the next smaller vertical scale at which they fit (1:200, 1:250, 1:500, 1:1000,
// ...) with a datum on a whole step below the lowest. Values are fed one at a time.
class LevelRangeBuilder
{
public:
    void take(double level)
    {
        if (!isReading(level))
            return;
        if (!m_any || level < m_low)
            m_low = level;
        if (!m_any || level > m_high)
            m_high = level;
        m_any = true;
    }
    LevelRange result(bool fixedDatum, double fixedDatumValue) const;

private:
    bool m_any = false;
    double m_low = 0, m_high = 0;
};

} // namespace tarmela
