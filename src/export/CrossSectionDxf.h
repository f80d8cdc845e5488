#pragma once

#include "compute/RlRows.h"
#include "store/Roads.h"

#include <string>

namespace tarmela {

class DxfWriter;

// The intersection of the infinite line through (x1,y1)-(x2,y2) with the one through
// (x3,y3)-(x4,y4); false for parallel lines. Worked out in double: sheets lie side by side along
// x, and float products of coordinates some hundred metres out lose whole millimetres.
bool IntersectLinesF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                     float& x, float& y);

// The cross-section drawing while it is written: upright sheets of 21.0 x 29.7 (centimetres of
// paper, y upwards) side by side along x, each holding up to sectionsPerPage sections one above
// the other, one metre of offset or level being one unit.
class CrossSectionDrawing {
public:
    static constexpr float SheetWidth = 21.0f;
    static constexpr float SheetTop = 29.7f;
    static constexpr float SheetBottom = 0.0f;

    CrossSectionDrawing(DxfWriter& out, const CrossDistances& distances, int sectionsPerPage);

    // Writes one sheet at SheetLeft..SheetRight from row on, reading the next rows from rows;
    // returns whether a row is left over for the next sheet (then held in row).
    bool DxfCrossSheet(RlRowReader& rows, RlRow& row);

    float SheetLeft = 0.0f;
    float SheetRight = SheetWidth;

private:
    struct Point {
        float x = 0, y = 0;
        bool drawn = false;
    };
    void section(const RlRow& row, float y);
    // Each returns the outermost point it drew (or was given, when it drew none).
    Point groundSide(const RlRow& row, float y, float datum, Point previous, bool leftSide);
    Point formationSide(const RlRow& row, float y, float datum, Point previous, bool leftSide);
    void sideSlope(const Point& edge, const Point& ground, double slope, bool leftSide);

    DxfWriter& m_out;
    std::array<float, 8> m_left{};
    std::array<float, 8> m_right{};
    // The distances as every section writes them, two decimals.
    std::array<std::string, 8> m_leftText;
    std::array<std::string, 8> m_rightText;
    int m_sectionsPerPage;
};

} // namespace tarmela
